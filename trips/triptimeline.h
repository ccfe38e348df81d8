#ifndef TRIPTIMELINE_H
#define TRIPTIMELINE_H

#include "catalogue/gpslogdata.h"
#include "trips/trip.h"

#include <QList>

// A trip laid out as one drive: its clips one after the other, each as many
// seconds long as its video, and the log record of every second of it. The
// map, the meter and the graph read a trip through it as they read one log.
class TripTimeline
{
public:
    TripTimeline() = default;
    // Reads every clip's log: slow for a long trip.
    explicit TripTimeline(const Trip &trip);

    int clipCount() const { return int(clips.size()); }
    const TripClip &clip(int position) const { return clips.at(position); }
    // The clip position of a catalogue index; -1 outside the trip.
    int positionOf(int catalogueIndex) const;
    // The trip's second at which the clip at `position` starts.
    int offsetOf(int position) const { return offsets.value(position); }
    // The clip that plays the trip's `second`: the last one when past the end.
    int positionAtSecond(int second) const;
    int seconds() const { return int(tripRecords.size()); }
    // Record k describes second k of the trip.
    const QList<GpsLogRecord> &records() const { return tripRecords; }

    // The catalogue lost recording `catalogueIndex`: its clip leaves the trip
    // (its seconds stay, so the route does not move), later indices shift.
    void forgetRecording(int catalogueIndex);

private:
    QList<TripClip> clips;
    QList<int> offsets;
    QList<GpsLogRecord> tripRecords;
};

#endif // TRIPTIMELINE_H
