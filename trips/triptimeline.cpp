#include "trips/triptimeline.h"

#include <algorithm>
#include <cmath>

namespace {

// A clip lasts as long as its video; while that is unknown, as long as its log.
int clipSeconds(const TripClip &clip, int logLines)
{
    if (clip.durationMs > 0)
        return int(std::ceil(clip.durationMs / 1000.0));
    return std::max(1, logLines);
}

} // namespace

TripTimeline::TripTimeline(const Trip &trip)
    : clips(trip.clips)
{
    GpsLogData log;
    for (const TripClip &each : std::as_const(clips)) {
        log.ClearGpsLog();
        if (!each.logPath.isEmpty())
            log.LoadGpsLog(each.logPath);
        const int seconds = clipSeconds(each, int(log.records.size()));
        offsets << int(tripRecords.size());
        // Line k of a log is second k of its video: lines past the video's
        // end are never shown, and seconds past the log's end have no fix.
        log.records.resize(seconds);
        tripRecords << log.records;
    }
}

int TripTimeline::positionOf(int catalogueIndex) const
{
    if (catalogueIndex < 0)
        return -1;
    for (int position = 0; position < clipCount(); ++position) {
        if (clips.at(position).index == catalogueIndex)
            return position;
    }
    return -1;
}

int TripTimeline::positionAtSecond(int second) const
{
    const auto after = std::upper_bound(offsets.cbegin(), offsets.cend(), second);
    return std::max(0, int(after - offsets.cbegin()) - 1);
}

void TripTimeline::forgetRecording(int catalogueIndex)
{
    for (TripClip &each : clips) {
        if (each.index == catalogueIndex)
            each.index = -1;
        else if (each.index > catalogueIndex)
            --each.index;
    }
}
