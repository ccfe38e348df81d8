#ifndef GPXLOG_H
#define GPXLOG_H

#include "logs/gpslogreader.h"

// GPX 1.0 and 1.1 tracks: every <trkpt> with a <time> is a fix at its second.
// The speed is <speed> (m/s: GPX 1.0, or an extension's <speed>; km/h in the
// program's own extension), else the distance from the point before over the
// time between them. Read as a stream, so a large file costs no more
// than its records; a file that is no GPX, or holds no track, gives none.
// The program's own GPX namespace, for speed (km/h) and G-sensor values.
inline constexpr char kVelmoraGpxNamespace[] = "https://marvenda.invalid/gpx/1";

namespace GpxLog {

// Whether `content` starts as a GPX file does (after a byte order mark and
// blanks): with an XML declaration, a comment or the <gpx> element.
bool looksLike(QByteArrayView content);
GpsLogReading read(QByteArrayView content);

} // namespace GpxLog

#endif // GPXLOG_H
