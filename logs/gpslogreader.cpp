#include "logs/gpslogreader.h"

#include "logs/gpxlog.h"
#include "logs/nmealog.h"

namespace GpsLogReader {

Format formatOf(QByteArrayView content)
{
    if (GpxLog::looksLike(content))
        return Format::Gpx;
    if (NmeaLog::looksLike(content))
        return Format::Nmea;
    return Format::Camera;
}

QList<GpsLogRecord> read(QByteArrayView content)
{
    switch (formatOf(content)) {
    case Format::Gpx:
        return GpxLog::read(content).records;
    case Format::Nmea:
        return NmeaLog::read(content).records;
    case Format::Camera:
        break;
    }
    return {};
}

} // namespace GpsLogReader
