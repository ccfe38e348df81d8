#ifndef DISPLAYTEXTS_H
#define DISPLAYTEXTS_H

#include "library/speedunit.h"

#include <QList>
#include <QString>

class GpsLogData;
struct GpsLogRecord;

// The texts that the window shows and the scripts that it sends to the map
// page; code and tests build them here only.

// "HH:MM:SS/HH:MM:SS": the current time one second ahead of the elapsed whole
// seconds, then the length.
QString timeLabelText(qint64 playTimeMs, qint64 mediaLengthMs);
// What the time label shows with nothing playing.
QString emptyTimeLabelText();

// Sent to whatever map page is shown on every swap of the play/pause face.
QString setLocationScript();

// Decimal degrees as the log writes them, negated for south and west; empty
// when the log gives no number.
QString latitudeText(const GpsLogRecord &record);
QString longitudeText(const GpsLogRecord &record);

// "<function>(<lat>,<lon>)", e.g. setposition(-22.50000,-113.90000); empty
// when either coordinate is missing, so that the page never gets a call it
// cannot parse.
QString mapPointScript(const QString &function, const GpsLogRecord &record);

// The route as one script: an appendPathNode(lat,lon,speed,second) call for
// every second of the video whose record has a fix and a position. Seconds
// past the log would only repeat its last record, so the route ends with the
// log, however long the video claims to be. Empty when there is no node.
QString routeNodesScript(const GpsLogData &log, qint64 mediaLengthMs);
// South, west, north and east of the log's fixes in degrees; empty without one.
QList<double> routeBounds(const GpsLogData &log);

// An addHardEvent(lat,lon) call for each hard event of the log that has a
// position; empty when there is none.
QString hardEventsScript(const GpsLogData &log, double thresholdG);

// setSpeedUnit("mph",0.621371…): the map's speed legend in the user's unit.
QString speedUnitScript(SpeedUnit unit);

// Hemisphere letters with the coordinates, or, without a fix, the letters only.
QString positionLabelText(const GpsLogRecord &record);
QString shortPositionLabelText(const GpsLogRecord &record);

#endif // DISPLAYTEXTS_H
