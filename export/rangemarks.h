#ifndef RANGEMARKS_H
#define RANGEMARKS_H

#include "export/clipexport.h"
#include "export/trackexport.h"

#include <QStringList>

#include <optional>
#include <utility>

class TripTimeline;

// A moment of the playing drive: a clip of it (0 for a single recording) and
// the time in that clip.
struct DriveMark
{
    int clip = 0;
    qint64 ms = 0;

    bool operator<(const DriveMark &other) const
    {
        return clip != other.clip ? clip < other.clip : ms < other.ms;
    }
};

// The start and end marks of what an export takes out of the playing
// recording or trip. A mark set on the wrong side of the other clears that
// one, as video editors do; without marks an export takes the whole drive.
class RangeMarks
{
public:
    void setStart(DriveMark mark);
    void setEnd(DriveMark mark);
    void clear();

    std::optional<DriveMark> start() const { return startMark; }
    std::optional<DriveMark> end() const { return endMark; }
    bool isEmpty() const { return !startMark && !endMark; }

    // The parts of `videos` (the drive's clips in order) that the range takes.
    QList<ClipPiece> clipPieces(const QStringList &videos) const;
    // The range in the seconds of the drive's timeline.
    TrackRange trackRange(const TripTimeline &timeline) const;
    // The part of clip `clip` inside the marked range, as fractions of its
    // `durationMs`; nothing when there are no marks or the clip lies outside.
    std::optional<std::pair<double, double>> spanOfClip(int clip, qint64 durationMs) const;

private:
    std::optional<DriveMark> startMark;
    std::optional<DriveMark> endMark;
};

#endif // RANGEMARKS_H
