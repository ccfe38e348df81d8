#ifndef PLAYCLOCK_H
#define PLAYCLOCK_H

#include <QtGlobal>

// The moment of the picture on screen. libvlc 3 sets its time about four
// times a second while playing, and not at all at a pause or a frame step:
// read as it is, the time of a paused picture lags the picture by up to a
// quarter of a second. The clock runs on from libvlc's last report at the
// play rate, keeps the moment a pause began, and counts stepped pictures.
// Whenever libvlc's own time has moved since (its next report, a seek),
// libvlc's time holds again. Times are milliseconds; `atMs` is a steady
// clock's.
class PlayClock
{
public:
    // libvlc's time became `ms` at `atMs`.
    void reported(qint64 ms, qint64 atMs);
    // From `atMs` on the picture moves, or stands, where the clock has it
    // now; libvlc's time is `libvlcMs`.
    void setRunning(bool running, qint64 libvlcMs, qint64 atMs, double rate);
    // A seek to `ms` was asked for; libvlc's time is still `libvlcMs`.
    void jumped(qint64 ms, qint64 libvlcMs, qint64 atMs);
    // One picture of `frameMs` on, while standing.
    void stepped(qint64 frameMs, qint64 libvlcMs);
    // Nothing known beyond libvlc's time, as for a recording just started.
    void forget() { baseFromMs = -1; }
    bool isRunning() const { return running; }

    qint64 time(qint64 libvlcMs, qint64 atMs, double rate) const;

private:
    // Past libvlc's quarter-second reports, the clock stops rather than run
    // on through a stall.
    static constexpr qint64 kRunOnMs = 400;

    bool running = true;
    qint64 baseMs = 0;
    qint64 baseAtMs = 0;
    // libvlc's time when the base was taken; -1 when there is no base.
    qint64 baseFromMs = -1;
};

#endif // PLAYCLOCK_H
