#include "trips/hardevents.h"

#include "catalogue/gpslogdata.h"

#include <cmath>

bool HardEventFinder::startsEvent(const GpsLogRecord &record)
{
    // A line without sensor values reads 0, 0, 0, which no car at rest or
    // moving shows (gravity alone is 1 g): no reading, rather than a jump of
    // 1 g each side of it.
    const double magnitude = std::hypot(record.x, record.y, record.z);
    const bool compared = previous > 0 && magnitude > 0;
    const bool hard = compared && std::abs(magnitude - previous) > threshold;
    const bool starts = hard && !inEvent;
    inEvent = hard;
    previous = magnitude;
    return starts;
}

QList<int> hardEventSeconds(const QList<GpsLogRecord> &records, double thresholdG)
{
    HardEventFinder finder(thresholdG);
    QList<int> seconds;
    for (int second = 0; second < records.size(); ++second) {
        if (finder.startsEvent(records.at(second)))
            seconds.append(second);
    }
    return seconds;
}
