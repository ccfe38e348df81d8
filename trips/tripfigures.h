#ifndef TRIPFIGURES_H
#define TRIPFIGURES_H

#include "trips/trip.h"

#include <QList>

struct GpsLogRecord;

// What a drive came to, from the logs of its clips.
struct TripFigures
{
    qint64 startMs = 0; // UTC, ms since the epoch
    qint64 endMs = 0;
    qint64 durationSeconds = 0;
    int clips = 0;
    double distanceKm = 0;
    double maxSpeedKmh = 0;
    double meanMovingSpeedKmh = 0; // over the seconds above walking pace; 0 when it never moved
    int hardEvents = 0;
};

// `logs[i]` holds the records of the log of `trip.clips[i]` (empty without
// one). The fixes of the whole trip count as one track across clip
// boundaries; a step between fixes that would take more than 300 km/h is a
// receiver's jump and not driven.
TripFigures tripFigures(const Trip &trip, const QList<QList<GpsLogRecord>> &logs, double hardEventG);
// The same, reading the clips' logs (slow: any thread but the window's). A
// log that cannot be read counts as none.
TripFigures readTripFigures(const Trip &trip, double hardEventG);

// A drive with what it came to.
struct TripRow
{
    Trip trip;
    TripFigures figures;
};

// The drives among `clips`, newest first, with their figures: slow (every
// log is read), for any thread but the window's.
QList<TripRow> tripRows(const QList<TripClip> &clips, qint64 gapMs, double hardEventG);

// The great-circle distance between two points given in degrees.
double greatCircleKm(double latitudeA, double longitudeA, double latitudeB, double longitudeB);

#endif // TRIPFIGURES_H
