#include "logs/gpxlog.h"

#include "logs/logfile.h"
#include "logs/secondtrack.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kKmhPerMetrePerSecond = 3.6;
constexpr double kEarthRadiusMetres = 6371000;
constexpr double kMaxLatitude = 90;
constexpr double kMaxLongitude = 180;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr qsizetype kHeadBytes = 64 * 1024;

QString tr(const char *text)
{
    return QCoreApplication::translate("GpxLog", text);
}

struct TrackPoint
{
    double latitude = 0;
    double longitude = 0;
    qint64 utcMs = 0;
    std::optional<double> metresPerSecond;
};

double radians(double degrees)
{
    return degrees * M_PI / 180;
}

double metresBetween(const TrackPoint &a, const TrackPoint &b)
{
    const double dLatitude = radians(b.latitude - a.latitude);
    const double dLongitude = radians(b.longitude - a.longitude);
    const double h = std::sin(dLatitude / 2) * std::sin(dLatitude / 2)
            + std::cos(radians(a.latitude)) * std::cos(radians(b.latitude)) * std::sin(dLongitude / 2)
                    * std::sin(dLongitude / 2);
    return 2 * kEarthRadiusMetres * std::asin(std::min(1.0, std::sqrt(h)));
}

std::optional<double> finiteNumber(QStringView text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

class GpxReader
{
public:
    explicit GpxReader(QByteArrayView content)
        : xml(QByteArray::fromRawData(content.data(), content.size()))
    {
    }

    GpsLogReading read();

private:
    bool readRoot();
    void readPoint();
    void readPointChild(TrackPoint &point, bool &timed);
    GpsLogReading records();
    void fail(const QString &why, qsizetype line);

    QXmlStreamReader xml;
    std::vector<TrackPoint> points;
    QString errorString;
    qsizetype errorLine = 0;
};

void GpxReader::fail(const QString &why, qsizetype line)
{
    if (errorLine == 0) {
        errorString = why;
        errorLine = line;
    }
}

bool GpxReader::readRoot()
{
    if (!xml.readNextStartElement())
        return false;
    if (xml.name() != QLatin1String("gpx")) {
        fail(tr("not a GPX file"), xml.lineNumber());
        return false;
    }
    return true;
}

// A point without a usable place or time is passed over: it cannot be put
// at a second of the video.
void GpxReader::readPoint()
{
    const qsizetype line = xml.lineNumber();
    const QXmlStreamAttributes attributes = xml.attributes();
    const std::optional<double> latitude = finiteNumber(attributes.value(QLatin1String("lat")));
    const std::optional<double> longitude = finiteNumber(attributes.value(QLatin1String("lon")));
    TrackPoint point;
    bool timed = false;
    while (xml.readNextStartElement())
        readPointChild(point, timed);
    if (!latitude || !longitude || std::abs(*latitude) > kMaxLatitude || std::abs(*longitude) > kMaxLongitude
        || !timed) {
        fail(tr("a track point without place or time"), line);
        return;
    }
    point.latitude = *latitude;
    point.longitude = *longitude;
    if (points.size() < size_t(LogFile::kMaxLines))
        points.push_back(point);
}

// Reads the element that starts here to its end.
void GpxReader::readPointChild(TrackPoint &point, bool &timed)
{
    const QStringView name = xml.name();
    if (name == QLatin1String("time")) {
        const QDateTime time = QDateTime::fromString(xml.readElementText().trimmed(), Qt::ISODateWithMs);
        timed = time.isValid();
        point.utcMs = timed ? time.toMSecsSinceEpoch() : 0;
    } else if (name == QLatin1String("speed")) {
        const bool kmh = xml.namespaceUri() == QLatin1String(kVelmoraGpxNamespace);
        const std::optional<double> speed = finiteNumber(xml.readElementText());
        if (speed && *speed >= 0)
            point.metresPerSecond = kmh ? *speed / kKmhPerMetrePerSecond : *speed;
    } else if (name == QLatin1String("extensions")) {
        // Speeds of extensions are found at any depth inside.
        int depth = 1;
        while (depth > 0 && !xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("speed")) {
                readPointChild(point, timed);
            } else if (xml.isStartElement()) {
                ++depth;
            } else if (xml.isEndElement()) {
                --depth;
            }
        }
    } else {
        xml.skipCurrentElement();
    }
}

GpsLogReading GpxReader::read()
{
    if (readRoot()) {
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("trkpt"))
                readPoint();
        }
    }
    // What was read before a fault (a file cut short) is kept.
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        fail(xml.errorString(), xml.lineNumber());
    else if (xml.hasError())
        fail(tr("the file ends early"), xml.lineNumber());
    if (points.empty())
        fail(tr("no track"), qMax<qsizetype>(1, xml.lineNumber()));
    return records();
}

GpsLogReading GpxReader::records()
{
    SecondTrack track;
    for (size_t i = 0; i < points.size(); ++i) {
        const TrackPoint &point = points[i];
        GpsLogRecord record;
        record.dataAvailable = true;
        record.latitude = GpsLogText::fastDegreesText(std::abs(point.latitude), GpsLogText::kLatitude);
        record.southOrNorth = QString(QLatin1Char(point.latitude < 0 ? 'S' : 'N'));
        record.longitude = GpsLogText::fastDegreesText(std::abs(point.longitude), GpsLogText::kLongitude);
        record.eastOrWest = QString(QLatin1Char(point.longitude < 0 ? 'W' : 'E'));
        if (point.metresPerSecond) {
            const double kmh = *point.metresPerSecond * kKmhPerMetrePerSecond;
            record.velocity = std::isfinite(kmh) ? kmh : 0;
        } else if (points.size() > 1) {
            // The first point takes the speed of the way to the second.
            const TrackPoint &from = points[i == 0 ? 0 : i - 1];
            const TrackPoint &to = points[i == 0 ? 1 : i];
            const qint64 ms = to.utcMs - from.utcMs;
            if (ms > 0)
                record.velocity = metresBetween(from, to) / (ms / 1000.0) * kKmhPerMetrePerSecond;
        }
        const qint64 second = point.utcMs >= 0 ? point.utcMs / 1000 : (point.utcMs - 999) / 1000;
        const SecondTrack::Outcome outcome = track.add(second, std::move(record));
        if (outcome == SecondTrack::Outcome::Backwards)
            fail(tr("a track point earlier than the one before"), 0);
        if (outcome == SecondTrack::Outcome::TooFar || track.full())
            break;
    }
    return { track.take(), errorString, errorLine };
}

} // namespace

namespace GpxLog {

bool looksLike(QByteArrayView content)
{
    if (content.startsWith(kByteOrderMark))
        content = content.sliced(sizeof(kByteOrderMark) - 1);
    // As much as the catalogue looks at to tell the format.
    const QByteArrayView head = content.first(std::min(content.size(), kHeadBytes));
    const qsizetype start = std::find_if(head.cbegin(), head.cend(),
                                         [](char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n'; })
            - head.cbegin();
    // What a GPX file starts with: its declaration, a comment, or the element.
    // A camera log's garbage that merely starts with '<' is not one.
    const QByteArrayView rest = head.sliced(start);
    return rest.startsWith("<?xml") || rest.startsWith("<!--") || rest.startsWith("<gpx");
}

GpsLogReading read(QByteArrayView content)
{
    return GpxReader(content).read();
}

} // namespace GpxLog
