#include "export/trackexport.h"

#include <QBuffer>
#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

namespace {

constexpr char kGpxNamespace[] = "http://www.topografix.com/GPX/1/1";
constexpr char kGpxSchemaLocation[] =
        "http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd";
// The log gives minutes to 1e-4, a little under 2e-6 degrees: seven decimals
// lose nothing the record holds.
constexpr int kDegreeDecimals = 7;
constexpr int kValueDecimals = 2;

// One second of the drive with a position, as both formats write it.
struct TrackPoint
{
    QString latitude;
    QString longitude;
    QString utcTime; // empty when the log gives no valid moment
    QString speed;
    QString x;
    QString y;
    QString z;
};

std::optional<TrackPoint> trackPoint(const GpsLogRecord &record)
{
    if (!record.dataAvailable)
        return std::nullopt;
    const std::optional<double> latitude = latitudeDegrees(record);
    const std::optional<double> longitude = longitudeDegrees(record);
    if (!latitude || !longitude)
        return std::nullopt;
    TrackPoint point;
    point.latitude = QString::number(*latitude, 'f', kDegreeDecimals);
    point.longitude = QString::number(*longitude, 'f', kDegreeDecimals);
    if (const std::optional<qint64> ms = recordUtcMs(record))
        point.utcTime = QDateTime::fromMSecsSinceEpoch(*ms, Qt::UTC).toString(Qt::ISODate);
    point.speed = QString::number(record.velocity, 'f', kValueDecimals);
    point.x = QString::number(record.x, 'f', kValueDecimals);
    point.y = QString::number(record.y, 'f', kValueDecimals);
    point.z = QString::number(record.z, 'f', kValueDecimals);
    return point;
}

// The seconds of clip `position` that lie in the span, as [first, end).
std::pair<int, int> clipSeconds(const TripTimeline &timeline, int position, const TrackSpan &span)
{
    const int clipEnd = position + 1 < timeline.clipCount() ? timeline.offsetOf(position + 1)
                                                            : timeline.seconds();
    return { std::max(span.first, timeline.offsetOf(position)), std::min(span.end, clipEnd) };
}

QString creator()
{
    return QStringLiteral("Marvenda " VELMORA_VERSION);
}

void writeGpxPoint(QXmlStreamWriter &xml, const TrackPoint &point)
{
    const QString velmora = QString::fromLatin1(kVelmoraGpxNamespace);
    xml.writeStartElement(QStringLiteral("trkpt"));
    xml.writeAttribute(QStringLiteral("lat"), point.latitude);
    xml.writeAttribute(QStringLiteral("lon"), point.longitude);
    if (!point.utcTime.isEmpty())
        xml.writeTextElement(QStringLiteral("time"), point.utcTime);
    xml.writeStartElement(QStringLiteral("extensions"));
    xml.writeTextElement(velmora, QStringLiteral("speed"), point.speed);
    xml.writeTextElement(velmora, QStringLiteral("gx"), point.x);
    xml.writeTextElement(velmora, QStringLiteral("gy"), point.y);
    xml.writeTextElement(velmora, QStringLiteral("gz"), point.z);
    xml.writeEndElement();
    xml.writeEndElement();
}

QByteArray gpxText(const TripTimeline &timeline, const TrackSpan &span, const QString &trackName, int &points)
{
    QByteArray text;
    QBuffer buffer(&text);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter xml(&buffer);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QString::fromLatin1(kGpxNamespace));
    xml.writeNamespace(QString::fromLatin1(kVelmoraGpxNamespace), QStringLiteral("velmora"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("xsi"));
    xml.writeStartElement(QStringLiteral("gpx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), creator());
    xml.writeAttribute(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("schemaLocation"),
                       QString::fromLatin1(kGpxSchemaLocation));
    xml.writeStartElement(QStringLiteral("trk"));
    xml.writeTextElement(QStringLiteral("name"), trackName);
    const QList<GpsLogRecord> &records = timeline.records();
    for (int position = 0; position < timeline.clipCount(); ++position) {
        const auto [first, end] = clipSeconds(timeline, position, span);
        bool segmentOpen = false;
        for (int second = first; second < end; ++second) {
            const std::optional<TrackPoint> point = trackPoint(records.at(second));
            if (!point)
                continue;
            if (!segmentOpen)
                xml.writeStartElement(QStringLiteral("trkseg"));
            segmentOpen = true;
            writeGpxPoint(xml, *point);
            ++points;
        }
        if (segmentOpen)
            xml.writeEndElement();
    }
    xml.writeEndDocument();
    return text;
}

// The speed in the user's unit, named in the header: a spreadsheet shows it as it is.
QByteArray csvText(const TripTimeline &timeline, const TrackSpan &span, SpeedUnit unit, int &points)
{
    QByteArray text = "time_utc,latitude,longitude,speed_" + speedUnitName(unit).toLatin1() + ",gx,gy,gz\n";
    const QList<GpsLogRecord> &records = timeline.records();
    for (int second = span.first; second < span.end; ++second) {
        const std::optional<TrackPoint> point = trackPoint(records.at(second));
        if (!point)
            continue;
        const QString speed = QString::number(speedIn(unit, records.at(second).velocity), 'f', kValueDecimals);
        text += QStringList{ point->utcTime, point->latitude, point->longitude, speed,
                             point->x, point->y, point->z }
                        .join(QLatin1Char(','))
                        .toLatin1();
        text += '\n';
        ++points;
    }
    return text;
}

} // namespace

TrackSpan trackSpan(const TripTimeline &timeline, const TrackRange &range)
{
    TrackSpan span;
    // The log's seconds; without an end mark, the log's end.
    const double seconds = timeline.seconds();
    const double from = range.fromSecond + range.clockOffsetSeconds;
    const double to = range.toSecond ? *range.toSecond + range.clockOffsetSeconds : seconds;
    if (!std::isfinite(from) || !std::isfinite(to)) {
        span.error = QStringLiteral("the range's marks are no numbers of seconds");
        return span;
    }
    if (to < from) {
        span.error = QStringLiteral("the range ends (%1 s) before it starts (%2 s)")
                             .arg(to - range.clockOffsetSeconds)
                             .arg(range.fromSecond);
        return span;
    }
    // Clamped as doubles first, so that a huge mark cannot overflow an int.
    span.first = int(std::floor(std::clamp(from, 0.0, seconds)));
    span.end = int(std::ceil(std::clamp(to, 0.0, seconds)));
    return span;
}

QByteArray trackText(const TripTimeline &timeline, const TrackSpan &span, TrackFormat format,
                     const QString &trackName, int *points, SpeedUnit csvUnit)
{
    int written = 0;
    QByteArray text = format == TrackFormat::Gpx ? gpxText(timeline, span, trackName, written)
                                                 : csvText(timeline, span, csvUnit, written);
    if (points)
        *points = written;
    return text;
}

QString trackName(const QStringList &videos)
{
    if (videos.isEmpty())
        return {};
    const QString first = QFileInfo(videos.first()).fileName();
    return videos.size() == 1 ? first
                              : QStringLiteral("%1 to %2").arg(first, QFileInfo(videos.last()).fileName());
}

QString exportTrack(const TripTimeline &timeline, const TrackRange &range, TrackFormat format,
                    const QString &path, const QString &trackName, SpeedUnit csvUnit)
{
    const TrackSpan span = trackSpan(timeline, range);
    if (!span.error.isEmpty())
        return span.error;
    int points = 0;
    const QByteArray text = trackText(timeline, span, format, trackName, &points, csvUnit);
    if (points == 0)
        return QStringLiteral("nothing to export: no GPS fix from %1 s to %2 s").arg(span.first).arg(span.end);
    // Written beside the target and renamed over it only when whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(QFileInfo(path).absoluteFilePath(), file.errorString());
    return QString();
}
