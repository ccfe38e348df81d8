#include "logwatch.h"

#include <QFile>
#include <QRegularExpression>

bool LogWatch::isTrouble(const QString &line)
{
    static const QRegularExpression trouble(
            QStringLiteral("makeCurrent|Expect bad things|QRhi|Segmentation|Fatal|ASSERT"));
    return trouble.match(line).hasMatch();
}

QStringList LogWatch::newTroubleLines()
{
    QStringList lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return lines;
    const QByteArray added = partialLine + file.readAll();
    offset = file.pos();
    // A line still being written is kept for the next call.
    const qsizetype end = added.lastIndexOf('\n') + 1;
    partialLine = added.mid(end);
    const QList<QByteArray> complete = added.left(end).split('\n');
    for (const QByteArray &bytes : complete) {
        const QString line = QString::fromLocal8Bit(bytes);
        if (isTrouble(line))
            lines << line;
    }
    return lines;
}
