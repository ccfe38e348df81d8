#ifndef PLAYBACKRATE_H
#define PLAYBACKRATE_H

#include <QString>

// The speeds a recording can play at, slowest first; 1 is normal speed.
namespace PlaybackRate {

constexpr double kNormal = 1.0;
constexpr double kSteps[] = { 0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0 };

// The next step up or down from `rate` (which need not be a step itself);
// the fastest and slowest stay where they are.
double faster(double rate);
double slower(double rate);

// "Speed 1.5×", shown over the video when it changes.
QString overlayText(double rate);

} // namespace PlaybackRate

// The log's clock against the video's, shown over the video when it changes:
// "Log +2 s" (the log's record of two seconds later is shown).
QString clockOffsetOverlayText(int seconds);

#endif // PLAYBACKRATE_H
