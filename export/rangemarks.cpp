#include "export/rangemarks.h"

#include "trips/triptimeline.h"

#include <algorithm>
#include <limits>

namespace {

constexpr double kMsPerSecond = 1000;
// A piece that runs to its clip's end: the cut stops where the video does.
constexpr qint64 kToTheEnd = std::numeric_limits<qint64>::max() / 2;

} // namespace

void RangeMarks::setStart(DriveMark mark)
{
    startMark = mark;
    if (endMark && !(mark < *endMark))
        endMark.reset();
}

void RangeMarks::setEnd(DriveMark mark)
{
    endMark = mark;
    if (startMark && !(*startMark < mark))
        startMark.reset();
}

void RangeMarks::clear()
{
    startMark.reset();
    endMark.reset();
}

QList<ClipPiece> RangeMarks::clipPieces(const QStringList &videos) const
{
    const DriveMark first = startMark.value_or(DriveMark{});
    const DriveMark last = endMark.value_or(DriveMark{ int(videos.size()) - 1, kToTheEnd });
    QList<ClipPiece> pieces;
    for (int clip = std::max(0, first.clip); clip <= last.clip && clip < videos.size(); ++clip) {
        pieces << ClipPiece{ clip, videos.at(clip), clip == first.clip ? first.ms : 0,
                             clip == last.clip ? last.ms : kToTheEnd };
    }
    return pieces;
}

TrackRange RangeMarks::trackRange(const TripTimeline &timeline) const
{
    const auto second = [&](const DriveMark &mark) { return timeline.offsetOf(mark.clip) + mark.ms / kMsPerSecond; };
    TrackRange range;
    if (startMark)
        range.fromSecond = second(*startMark);
    if (endMark)
        range.toSecond = second(*endMark);
    return range;
}

std::optional<std::pair<double, double>> RangeMarks::spanOfClip(int clip, qint64 durationMs) const
{
    if (isEmpty() || durationMs <= 0)
        return std::nullopt;
    const DriveMark first = startMark.value_or(DriveMark{ clip, 0 });
    const DriveMark last = endMark.value_or(DriveMark{ clip, durationMs });
    if (clip < first.clip || clip > last.clip)
        return std::nullopt;
    const qint64 from = clip == first.clip ? first.ms : 0;
    const qint64 to = clip == last.clip ? last.ms : durationMs;
    return std::make_pair(std::clamp(double(from) / durationMs, 0.0, 1.0),
                          std::clamp(double(to) / durationMs, 0.0, 1.0));
}
