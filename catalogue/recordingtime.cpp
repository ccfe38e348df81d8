#include "catalogue/recordingtime.h"

#include "catalogue/gpslogdata.h"
#include "logs/gpslogreader.h"
#include "logs/logfile.h"

#include <QFile>

#include <algorithm>

namespace {

const QString kLocalName = QStringLiteral("local");
const QString kUtcName = QStringLiteral("UTC");

} // namespace

DisplayZone DisplayZone::named(const QString &name)
{
    DisplayZone display;
    if (name.isEmpty() || name.compare(kLocalName, Qt::CaseInsensitive) == 0)
        return display;
    if (name.compare(kUtcName, Qt::CaseInsensitive) == 0) {
        display.zone = QTimeZone::utc();
        return display;
    }
    const QTimeZone zone(name.toLatin1());
    if (zone.isValid())
        display.zone = zone;
    return display;
}

QString DisplayZone::name() const
{
    if (!zone)
        return kLocalName;
    return *zone == QTimeZone::utc() ? kUtcName : QString::fromLatin1(zone->id());
}

QDateTime DisplayZone::at(qint64 utcMs) const
{
    return zone ? QDateTime::fromMSecsSinceEpoch(utcMs, *zone)
                : QDateTime::fromMSecsSinceEpoch(utcMs, Qt::LocalTime);
}

QString dateText(qint64 utcMs, const DisplayZone &zone)
{
    return zone.at(utcMs).toString(QStringLiteral("yyyy-MM-dd"));
}

QString clockText(qint64 utcMs, const DisplayZone &zone)
{
    return zone.at(utcMs).toString(QStringLiteral("HH:mm:ss"));
}

// Offset zero is written "Z" whatever the zone, so UTC reads the same from
// every setting that falls on it.
QString isoText(qint64 utcMs, const DisplayZone &zone)
{
    const QDateTime at = zone.at(utcMs);
    if (at.offsetFromUtc() == 0)
        return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC).toString(Qt::ISODate);
    return at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODate);
}

namespace {

// A line of the camera's log is under a hundred bytes; a longer one is no
// record, and is passed over without being parsed (a crafted log of one 32 MB
// line would otherwise cost seconds an import).
constexpr qsizetype kLongestLine = 1024;
// The log is opened unbuffered: it is read in blocks.
constexpr qint64 kBlockBytes = 64 * 1024;
// The first fix is nearly always on the first line: the first read is small,
// and tells the log's format too. An import reads a thousand logs.
constexpr qint64 kFirstBlockBytes = 4 * 1024;

std::optional<qint64> fixTime(const GpsLogData &reader, QByteArrayView line)
{
    if (!line.startsWith('A'))
        return std::nullopt;
    if (line.endsWith('\r'))
        line.chop(1);
    const GpsLogRecord record = reader.recordFromLine(QString::fromUtf8(line));
    return record.dataAvailable ? recordUtcMs(record) : std::nullopt;
}

} // namespace

std::optional<qint64> firstFixUtcMs(const QString &logPath)
{
    QFile log;
    if (logPath.isEmpty() || !LogFile::openRegular(log, logPath))
        return std::nullopt;
    // A receiver's log is read whole by its reader; only the camera's own is
    // read line by line up to its first fix.
    QByteArray block = log.read(kFirstBlockBytes);
    if (GpsLogReader::formatOf(block) != GpsLogReader::Format::Camera) {
        GpsLogData receiverLog;
        receiverLog.LoadGpsLog(logPath);
        const GpsLogRecord first = receiverLog.GetFirstAvailableRecord();
        return first.dataAvailable ? recordUtcMs(first) : std::nullopt;
    }
    const GpsLogData reader;
    QByteArray line;
    bool tooLong = false;
    qint64 read = 0;
    qsizetype lines = 0;
    while (!block.isEmpty()) {
        read += block.size();
        for (qsizetype from = 0; from < block.size() && lines < LogFile::kMaxLines;) {
            const qsizetype newline = block.indexOf('\n', from);
            const qsizetype end = newline < 0 ? block.size() : newline;
            if (!tooLong)
                line.append(block.constData() + from, end - from);
            if (line.size() > kLongestLine) {
                tooLong = true;
                line.clear();
            }
            if (newline < 0)
                break;
            ++lines;
            if (!tooLong) {
                if (const std::optional<qint64> ms = fixTime(reader, line))
                    return ms;
            }
            line.clear();
            tooLong = false;
            from = newline + 1;
        }
        if (read >= LogFile::kMaxBytes || lines >= LogFile::kMaxLines)
            break;
        block = log.read(std::min(kBlockBytes, LogFile::kMaxBytes - read));
    }
    // A last line without its newline counts too.
    return tooLong || lines >= LogFile::kMaxLines ? std::nullopt : fixTime(reader, line);
}
