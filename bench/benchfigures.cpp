#include "benchfigures.h"

#include <QImage>
#include <QSet>

#include <algorithm>
#include <cstdlib>

namespace benchfigures {

namespace {

// Sample points per side: plenty to tell a picture from a fill, cheap to test.
constexpr int kGridColumns = 32;
constexpr int kGridRows = 18;
// Sum of the three channel differences that counts as a changed pixel; well
// above what scaling and colour conversion do to the same picture.
constexpr int kChangedDistance = 96;
// A picture replaces most of what was there before.
constexpr double kChangedShare = 0.5;
// Colours told apart by the two high bits of each channel: a fill or a dark
// still picture has a handful, a video picture many.
constexpr QRgb kColourBins = 0xc0c0c0;
constexpr int kPictureColours = 6;

int distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
        + std::abs(qBlue(a) - qBlue(b));
}

} // namespace

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool showsPicture(const QImage &now, const QImage &before)
{
    if (now.isNull() || now.size() != before.size())
        return false;
    int changed = 0;
    QSet<QRgb> colours;
    for (int row = 0; row < kGridRows; ++row) {
        const int y = (2 * row + 1) * now.height() / (2 * kGridRows);
        for (int column = 0; column < kGridColumns; ++column) {
            const int x = (2 * column + 1) * now.width() / (2 * kGridColumns);
            const QRgb pixel = now.pixel(x, y);
            if (distance(pixel, before.pixel(x, y)) > kChangedDistance)
                ++changed;
            colours.insert(pixel & kColourBins);
        }
    }
    return changed >= kChangedShare * kGridColumns * kGridRows && colours.size() >= kPictureColours;
}

qint64 kilobytes(const QByteArray &procText, const QByteArray &field)
{
    const QByteArray key = field + ':';
    for (const QByteArray &line : procText.split('\n')) {
        if (!line.startsWith(key))
            continue;
        const QList<QByteArray> words = line.mid(key.size()).simplified().split(' ');
        bool number = false;
        const qint64 value = words.value(0).toLongLong(&number);
        return number && words.value(1) == "kB" ? value : -1;
    }
    return -1;
}

namespace {

// Field `index` of "pid (comm) state ppid ...", counting from the state (0);
// comm ends at the last ')'.
qint64 statField(const QByteArray &statText, int index)
{
    const qsizetype commEnd = statText.lastIndexOf(')');
    if (commEnd < 0)
        return -1;
    const QList<QByteArray> fields = statText.mid(commEnd + 1).simplified().split(' ');
    bool number = false;
    const qint64 value = fields.value(index).toLongLong(&number);
    return number ? value : -1;
}

} // namespace

qint64 cpuTicks(const QByteArray &statText)
{
    const qint64 user = statField(statText, 11);
    const qint64 system = statField(statText, 12);
    return user < 0 || system < 0 ? -1 : user + system;
}

qint64 parentPid(const QByteArray &statText)
{
    return statField(statText, 1);
}

QList<qint64> processTree(qint64 root, const QHash<qint64, qint64> &parentOf)
{
    QList<qint64> tree { root };
    // Breadth first; a pid appears once however the table is ordered.
    for (qsizetype next = 0; next < tree.size(); ++next) {
        for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it) {
            if (it.value() == tree[next] && it.key() != root && !tree.contains(it.key()))
                tree << it.key();
        }
    }
    return tree;
}

} // namespace benchfigures
