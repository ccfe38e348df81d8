#ifndef GPSLOGREADER_H
#define GPSLOGREADER_H

#include "logs/gpslogrecord.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

// What a reader of a receiver's log found: one record per second, and the
// first thing it had to pass over, with its line (0 when nothing was).
struct GpsLogReading
{
    QList<GpsLogRecord> records;
    QString errorString;
    qsizetype errorLine = 0;
};

// Which reader a log's bytes are for: told by the content, not the name, so
// that a receiver's log named like the camera's (".log") is read as what it is.
namespace GpsLogReader {

enum class Format { Camera, Nmea, Gpx };

// The camera's own format is everything that is neither NMEA nor GPX, as the
// camera's loader takes any bytes.
Format formatOf(QByteArrayView content);
// The records of an NMEA or GPX log; a camera log has none here (GpsLogData
// reads it).
QList<GpsLogRecord> read(QByteArrayView content);

} // namespace GpsLogReader

#endif // GPSLOGREADER_H
