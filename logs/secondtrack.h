#ifndef SECONDTRACK_H
#define SECONDTRACK_H

#include "logs/gpslogrecord.h"

#include <QList>

// Lays out what a receiver wrote as one record per second, from the second of
// the first sample on, as the camera's log has it: record k is second k. The
// date and time texts come from the second itself.
class SecondTrack
{
public:
    enum class Outcome {
        Added,
        SameSecond, // a second already laid out keeps its first sample (5 or 10 Hz)
        Backwards,  // earlier than the last second: skipped
        TooFar,     // past the gap or record cap: the track ends
    };

    // A gap longer than this is no drive the video can show: six hours.
    static constexpr qint64 kMaxGapSeconds = 6 * 3600;

    // `second` counts UTC seconds since the epoch.
    Outcome add(qint64 second, GpsLogRecord record);
    bool isEmpty() const { return records.isEmpty(); }
    qint64 lastSecond() const { return last; }
    // The record of the last second, to add what a second sentence of it says.
    GpsLogRecord &lastRecord() { return records.last(); }
    bool full() const;
    QList<GpsLogRecord> take() { return std::move(records); }

private:
    GpsLogRecord stamped(qint64 second, GpsLogRecord record);
    GpsLogRecord between(const GpsLogRecord &before, const GpsLogRecord &after) const;

    QList<GpsLogRecord> records;
    qint64 last = 0;
    qint64 dateDay = -1;
    QString dateText;
};

#endif // SECONDTRACK_H
