#ifndef HARDEVENTS_H
#define HARDEVENTS_H

#include <QList>

struct GpsLogRecord;

// Hard braking, bumps and knocks: seconds where the G-sensor's magnitude
// (sqrt(x² + y² + z²), in g) changes by more than the threshold from the
// second before. A run of such seconds is one event.
class HardEventFinder
{
public:
    explicit HardEventFinder(double thresholdG) : threshold(thresholdG) { }

    // Fed the records one second after the other: true when this second
    // starts an event.
    bool startsEvent(const GpsLogRecord &record);

private:
    double threshold;
    double previous = 0; // 0: no reading in the second before
    bool inEvent = false;
};

// The seconds (record indexes) where hard events start.
QList<int> hardEventSeconds(const QList<GpsLogRecord> &records, double thresholdG);

#endif // HARDEVENTS_H
