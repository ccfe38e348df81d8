#include "playback/displaytexts.h"

#include "catalogue/gpslogdata.h"
#include "trips/hardevents.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

constexpr qint64 kMsPerHour = 3600000;
constexpr qint64 kMsPerMinute = 60000;
constexpr qint64 kMsPerSecond = 1000;
constexpr int kLabelIndent = 14;
constexpr int kLabelGap = 27;
constexpr int kShortLabelGap = 36;

// Pads by text length rather than by value, so that the label keeps its
// width; from 100 hours on the minutes go unpadded.
QString clockText(qint64 ms)
{
    const qint64 hours = ms / kMsPerHour;
    const qint64 rest = ms - hours * kMsPerHour;
    const qint64 minutes = rest / kMsPerMinute;
    const qint64 seconds = (rest - minutes * kMsPerMinute) / kMsPerSecond;

    QString text = QString::number(hours);
    if (text.size() == 1)
        text.prepend(QLatin1Char('0'));
    text += QLatin1Char(':') + QString::number(minutes);
    if (text.size() == 4)
        text.insert(3, QLatin1Char('0'));
    text += QLatin1Char(':') + QString::number(seconds);
    if (text.size() == 7)
        text.insert(6, QLatin1Char('0'));
    return text;
}

bool isSouth(const GpsLogRecord &record)
{
    return record.southOrNorth == QLatin1String("S");
}

bool isWest(const GpsLogRecord &record)
{
    return record.eastOrWest == QLatin1String("W");
}

// The page takes numbers only: the hemisphere's sign folds into a sign the
// log may already give, and a text that is no number (an empty field) gives
// nothing.
QString signedNumber(const QString &text, bool negative)
{
    bool number = false;
    (void)text.toDouble(&number);
    if (!number)
        return QString();
    if (!negative)
        return text;
    return text.startsWith(QLatin1Char('-')) ? text.mid(1) : QLatin1Char('-') + text;
}

QString spaces(int count)
{
    return QString(count, QLatin1Char(' '));
}

} // namespace

QString timeLabelText(qint64 playTimeMs, qint64 mediaLengthMs)
{
    return clockText(playTimeMs + kMsPerSecond) + QLatin1Char('/') + clockText(mediaLengthMs);
}

QString emptyTimeLabelText()
{
    return QStringLiteral("00:00:00/00:00:00");
}

QString setLocationScript()
{
    return QStringLiteral("SetLocation(22.40,113.40)");
}

QString latitudeText(const GpsLogRecord &record)
{
    return signedNumber(record.latitude, isSouth(record));
}

QString longitudeText(const GpsLogRecord &record)
{
    return signedNumber(record.longitude, isWest(record));
}

QString mapPointScript(const QString &function, const GpsLogRecord &record)
{
    const QString latitude = latitudeText(record);
    const QString longitude = longitudeText(record);
    if (latitude.isEmpty() || longitude.isEmpty())
        return QString();
    return function + QLatin1Char('(') + latitude + QLatin1Char(',') + longitude + QLatin1Char(')');
}

// One string built in place: a ten-hour drive is 36,000 nodes.
QString routeNodesScript(const GpsLogData &log, qint64 mediaLengthMs)
{
    const qint64 seconds = qMin<qint64>(mediaLengthMs / kMsPerSecond, log.records.size());
    QString script;
    script.reserve(int(seconds) * 48);
    for (qint64 second = 0; second < seconds; ++second) {
        const GpsLogRecord &record = log.records.at(second);
        if (!record.dataAvailable)
            continue;
        const QString latitude = latitudeText(record);
        const QString longitude = longitudeText(record);
        if (latitude.isEmpty() || longitude.isEmpty())
            continue;
        if (!script.isEmpty())
            script += QLatin1Char(';');
        script += QLatin1String("appendPathNode(") + latitude + QLatin1Char(',') + longitude + QLatin1Char(',')
                + QString::number(record.velocity, 'f', 1) + QLatin1Char(',') + QString::number(second)
                + QLatin1Char(')');
    }
    return script;
}

QList<double> routeBounds(const GpsLogData &log)
{
    QList<double> bounds;
    for (const GpsLogRecord &record : log.records) {
        const std::optional<double> latitude = latitudeDegrees(record);
        const std::optional<double> longitude = longitudeDegrees(record);
        if (!record.dataAvailable || !latitude || !longitude)
            continue;
        if (bounds.isEmpty())
            bounds = { *latitude, *longitude, *latitude, *longitude };
        bounds[0] = std::min(bounds[0], *latitude);
        bounds[1] = std::min(bounds[1], *longitude);
        bounds[2] = std::max(bounds[2], *latitude);
        bounds[3] = std::max(bounds[3], *longitude);
    }
    return bounds;
}

QString hardEventsScript(const GpsLogData &log, double thresholdG)
{
    QStringList events;
    for (const int second : hardEventSeconds(log.records, thresholdG)) {
        const GpsLogRecord record = log.GetRecord(second);
        if (record.dataAvailable)
            events << mapPointScript(QStringLiteral("addHardEvent"), record);
    }
    events.removeAll(QString());
    return events.join(QLatin1Char(';'));
}

QString positionLabelText(const GpsLogRecord &record)
{
    return spaces(kLabelIndent) + (isWest(record) ? QLatin1String("W:") : QLatin1String("E:"))
            + record.longitude + spaces(kLabelGap)
            + (isSouth(record) ? QLatin1String("S:") : QLatin1String("N:")) + record.latitude;
}

QString shortPositionLabelText(const GpsLogRecord &record)
{
    return spaces(kLabelIndent) + (isWest(record) ? QLatin1String("W:") : QLatin1String("E:"))
            + spaces(kShortLabelGap)
            + (isSouth(record) ? QLatin1String("S:") : QLatin1String("N:"));
}

QString speedUnitScript(SpeedUnit unit)
{
    // The name as a JSON string: quotes and backslashes of a translation stay text.
    const QByteArray label = QJsonDocument(QJsonArray{ speedUnitText(unit) }).toJson(QJsonDocument::Compact);
    return QStringLiteral("setSpeedUnit(%1,%2)")
            .arg(QString::fromUtf8(label.mid(1, label.size() - 2)))
            .arg(speedIn(unit, 1.0), 0, 'g', 9);
}
