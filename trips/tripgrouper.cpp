#include "trips/tripgrouper.h"

#include <algorithm>
#include <tuple>

QList<Trip> groupTrips(QList<TripClip> clips, qint64 gapMs)
{
    // The catalogue order breaks ties, so that the same library always gives
    // the same trips.
    std::sort(clips.begin(), clips.end(), [](const TripClip &a, const TripClip &b) {
        return std::tie(a.startMs, a.endMs, a.index) < std::tie(b.startMs, b.endMs, b.index);
    });
    QList<Trip> trips;
    qint64 latestEnd = 0;
    for (TripClip &clip : clips) {
        if (trips.isEmpty() || clip.startMs - latestEnd > gapMs) {
            trips.append(Trip());
            latestEnd = clip.startMs;
        }
        latestEnd = std::max({ latestEnd, clip.startMs, clip.endMs });
        trips.last().clips.append(std::move(clip));
    }
    return trips;
}
