#ifndef TRIPGROUPER_H
#define TRIPGROUPER_H

#include "trips/trip.h"

#include <QList>

// The drives among `clips`, oldest first, each with its clips in time order.
// A clip that starts more than `gapMs` after the latest end so far begins a
// new trip; clips that overlap belong to the same one. A clip that ends before
// it starts counts as a moment.
QList<Trip> groupTrips(QList<TripClip> clips, qint64 gapMs);

#endif // TRIPGROUPER_H
