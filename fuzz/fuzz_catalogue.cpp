// Feeds the catalogue a recording made from the input: its first line is the
// video's path under a scratch card folder ('/' makes folders, so the input
// chooses the depth), the rest, after the first '\n', is the content of the
// log at the paired path. Without a '\n' no log is written.
//
// Checked: the log is paired at <folder two levels above the video's
// folder>/gps/gps<5th to 8th character of the file name>.log, rated by its share
// of fix lines, every getter agrees with what was added, and deleting keeps the
// count in step.

#include "catalogue/uvideoandgpsfiles.h"
#include "logs/gpslogreader.h"

#include "fuzzcheck.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using fuzzcheck::check;

namespace {

// Names stay far below NAME_MAX (255 bytes) even when every character takes
// four bytes in UTF-8, and paths below PATH_MAX.
constexpr int kMaxNameLength = 60;
constexpr int kMaxComponents = 6;

constexpr int kFolderLevelsToLogRoot = 2; // from the video's folder
constexpr int kSuffixFrom = 4;            // the 5th character of the file name
constexpr int kSuffixLength = 4;

// The share of fix lines must be strictly above one in five.
constexpr int kLinesPerNeededFix = 5;

const QStringList kStateTexts{QStringLiteral("Not Exist"), QStringLiteral("Unavailable"),
                              QStringLiteral("Available")};

// A file or folder name that the file system takes as it is: no '/', no NUL,
// not "." or "..", not empty, and short.
QString nameFromInput(QString name)
{
    name.replace(QChar(u'\0'), QLatin1Char('_'));
    if (name.size() > kMaxNameLength)
        name.truncate(name.at(kMaxNameLength - 1).isHighSurrogate() ? kMaxNameLength - 1
                                                                    : kMaxNameLength);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        name.prepend(QLatin1Char('_'));
    return name;
}

QStringList pathComponents(const QByteArray &pathLine)
{
    QStringList components;
    for (const QString &part : QString::fromUtf8(pathLine).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (components.size() == kMaxComponents)
            break;
        components << nameFromInput(part);
    }
    return components;
}

// The pairing rule on the folders as built here: the video's folder, then two
// levels up, then gps/.
QString expectedLogPath(const QString &cardRoot, const QStringList &components)
{
    QString root = cardRoot;
    const qsizetype folders = components.size() - 1;
    for (qsizetype i = 0; i < folders - kFolderLevelsToLogRoot; ++i)
        root += QLatin1Char('/') + components.at(i);
    for (qsizetype up = folders; up < kFolderLevelsToLogRoot; ++up)
        root = QFileInfo(root).path();
    if (root == QLatin1String("/"))
        root.clear(); // the cut removes the separator, "/" + "gps/..." follows
    const QString suffix = components.constLast().mid(kSuffixFrom, kSuffixLength);
    return root + QStringLiteral("/gps/gps") + suffix + QStringLiteral(".log");
}

// The rating from the log's lines, counted here without the catalogue.
QString expectedState(const QString &logPath, const QByteArray &content, bool logWritten)
{
    if (!QFileInfo(logPath).isFile())
        return kStateTexts.at(GpsFileNotExist);
    // A log that exists although this input wrote none lies outside the
    // scratch folder: it is not rated here.
    if (!logWritten)
        return QString();
    // A receiver's log is rated by its reader's records, which this count of
    // lines does not model.
    if (GpsLogReader::formatOf(content) != GpsLogReader::Format::Camera)
        return QString();
    QList<QByteArray> lines = content.split('\n');
    if (lines.constLast().isEmpty())
        lines.removeLast(); // a final '\n' starts no line
    qsizetype fixes = 0;
    for (const QByteArray &line : std::as_const(lines))
        fixes += line.startsWith('A') ? 1 : 0;
    const bool enough = !lines.isEmpty() && fixes * kLinesPerNeededFix > lines.size();
    return kStateTexts.at(enough ? GpsFileAvailable : GpsFileUnavailable);
}

bool isDigits(QStringView text)
{
    for (const QChar c : text)
        if (!c.isDigit())
            return false;
    return true;
}

// "yyyy-MM-dd" and "hh:mm".
bool isDateText(const QString &date)
{
    return date.size() == 10 && date.at(4) == u'-' && date.at(7) == u'-'
        && isDigits(QStringView(date).first(4)) && isDigits(QStringView(date).sliced(5, 2))
        && isDigits(QStringView(date).sliced(8, 2));
}

bool isTimeText(const QString &time)
{
    return time.size() == 5 && time.at(2) == u':' && isDigits(QStringView(time).first(2))
        && isDigits(QStringView(time).sliced(3, 2));
}

struct Entry
{
    QString path;
    QString fileName;
    QString date;
    QString time;
    QString logPath;
    QString state;

    bool operator==(const Entry &other) const
    {
        return path == other.path && fileName == other.fileName && date == other.date
            && time == other.time && logPath == other.logPath && state == other.state;
    }
};

Entry entryAt(const UVideoAndGpsfiles &catalogue, int index)
{
    return {catalogue.GetVideoPath(index),   catalogue.GetVideoFileName(index),
            catalogue.GetVideoDate(index),   catalogue.GetVideoTime(index),
            catalogue.GetGpsFilePath(index), catalogue.GetGpsFileState(index)};
}

void checkEntry(const Entry &entry, const QString &video, const QString &fileName,
                const QString &logPath, const QString &state)
{
    check(entry.path == video, QStringLiteral("path not as given: ") + entry.path);
    check(entry.fileName == fileName, QStringLiteral("file name ") + entry.fileName);
    check(isDateText(entry.date) && isTimeText(entry.time),
          QStringLiteral("date and time ") + entry.date + QLatin1Char(' ') + entry.time);
    check(entry.logPath == logPath,
          QStringLiteral("log paired at ") + entry.logPath + QStringLiteral(", not ") + logPath);
    check(kStateTexts.contains(entry.state), QStringLiteral("no state: ") + entry.state);
    check(state.isEmpty() || entry.state == state,
          QStringLiteral("rated ") + entry.state + QStringLiteral(", not ") + state);
}

// Two entries of the video, with the card folder between them, which is no
// video; then one deletion at an index picked by the input.
void checkCatalogue(const QString &card, const QString &video, const QString &fileName,
                    const QString &logPath, const QString &state, int deleteAt)
{
    UVideoAndGpsfiles catalogue;
    QStringList added;
    QObject::connect(&catalogue, &UVideoAndGpsfiles::VideoAdded,
                     [&added](const QString &path) { added << path; });
    QList<int> deleted;
    QObject::connect(&catalogue, &UVideoAndGpsfiles::VideoDeleted,
                     [&deleted](int index) { deleted << index; });

    catalogue.AddVideoAndGpsfiles({video, card, video});
    check(catalogue.GetVideoCount() == 2 && added == QStringList{video, video},
          QStringLiteral("%1 entries, %2 signals for one video added twice")
              .arg(catalogue.GetVideoCount())
              .arg(added.size()));
    const Entry first = entryAt(catalogue, 0);
    checkEntry(first, video, fileName, logPath, state);
    check(entryAt(catalogue, 1) == first, QStringLiteral("one video, two different entries"));
    for (const int outside : {-1, 2})
        check(entryAt(catalogue, outside) == Entry{},
              QStringLiteral("an entry at index %1").arg(outside));

    catalogue.DeleteVideoAndGpsfile(deleteAt);
    const bool inRange = deleteAt == 0 || deleteAt == 1;
    check(deleted == QList<int>{deleteAt}, QStringLiteral("no VideoDeleted(%1)").arg(deleteAt));
    check(catalogue.GetVideoCount() == (inRange ? 1 : 2),
          QStringLiteral("%1 entries after deleting index %2").arg(catalogue.GetVideoCount()).arg(deleteAt));
    check(entryAt(catalogue, 0) == first, QStringLiteral("deleting changed the entry left"));
    check(entryAt(catalogue, catalogue.GetVideoCount()) == Entry{},
          QStringLiteral("an entry past the end after deleting"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzcheck::failOnQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype newline = input.indexOf('\n');
    const bool logWritten = newline != -1;
    const QByteArray logContent = logWritten ? input.sliced(newline + 1) : QByteArray();
    const QStringList components = pathComponents(input.first(logWritten ? newline : input.size()));

    const QTemporaryDir scratch;
    check(scratch.isValid(), QStringLiteral("no scratch folder"));
    const QString card = scratch.filePath(QStringLiteral("card"));
    check(QDir().mkpath(card), QStringLiteral("no card folder"));
    if (components.isEmpty())
        return 0; // no file name to pair

    const QString video = card + QLatin1Char('/') + components.join(QLatin1Char('/'));
    check(fuzzcheck::writeFile(video, "video"), QStringLiteral("cannot write ") + video);
    const QString logPath = expectedLogPath(card, components);
    // Logs are written only inside the scratch folder.
    const bool logInside = logPath.startsWith(card + QLatin1Char('/'));
    if (logWritten && logInside)
        fuzzcheck::writeFile(logPath, logContent); // fails where a folder of the video stands
    const QString state = expectedState(logPath, logContent, logWritten && logInside);

    const int deleteAt = int(size % 4) - 1; // -1 to 2: before, on both entries, past the end
    checkCatalogue(card, video, components.constLast(), logPath, state, deleteAt);
    return 0;
}
