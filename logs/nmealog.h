#ifndef NMEALOG_H
#define NMEALOG_H

#include "logs/gpslogreader.h"

// NMEA 0183 logs as receivers and many cameras write them: RMC sentences give
// the seconds (status, position, speed, date); GGA, whose altitude and
// satellites no record keeps, tells an NMEA log too. Any talker ($GP, $GN, $GL...), CR LF or LF, and lines led by a
// millisecond stamp in brackets ("[1234567]$GPRMC,...") are read. Sentences
// with a wrong checksum, or without one in a log whose sentences carry them,
// are passed over, as are those that go back in time.
namespace NmeaLog {

// Whether the head of `content` holds an RMC or GGA sentence.
bool looksLike(QByteArrayView content);
GpsLogReading read(QByteArrayView content);

} // namespace NmeaLog

#endif // NMEALOG_H
