#include "catalogue/recordingtime.h"

#include "catalogue/gpslogdata.h"
#include "logs/logfile.h"

#include <QFile>

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

std::optional<qint64> firstFixUtcMs(const QString &logPath)
{
    QFile log;
    if (logPath.isEmpty() || !LogFile::openRegular(log, logPath))
        return std::nullopt;
    const GpsLogData reader;
    qint64 read = 0;
    for (qsizetype lines = 0; lines < LogFile::kMaxLines && read < LogFile::kMaxBytes && !log.atEnd(); ++lines) {
        const QByteArray bytes = log.readLine(LogFile::kMaxBytes - read);
        read += bytes.size();
        if (!bytes.startsWith('A'))
            continue;
        QByteArrayView line(bytes);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        const GpsLogRecord record = reader.recordFromLine(QString::fromUtf8(line));
        if (!record.dataAvailable)
            continue;
        if (const std::optional<qint64> ms = recordUtcMs(record))
            return ms;
    }
    return std::nullopt;
}
