#ifndef TRIP_H
#define TRIP_H

#include <QList>
#include <QString>

#include <algorithm>

// One recording as a part of a drive: where it lies in time.
struct TripClip
{
    int index = -1;         // the recording's place in the catalogue
    QString videoPath;
    QString logPath;        // empty without a log
    qint64 startMs = 0;     // UTC, ms since the epoch
    qint64 endMs = 0;
    qint64 durationMs = -1; // the video's; -1 while unknown
};

// A drive: recordings in time order, each starting soon after the one before
// it ended.
struct Trip
{
    QList<TripClip> clips;

    qint64 startMs() const { return clips.isEmpty() ? 0 : clips.first().startMs; }
    // The latest end: a clip may lie within the one before it when logs overlap.
    qint64 endMs() const
    {
        qint64 end = startMs();
        for (const TripClip &clip : clips)
            end = std::max({ end, clip.startMs, clip.endMs });
        return end;
    }
};

#endif // TRIP_H
