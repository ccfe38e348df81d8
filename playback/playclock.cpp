#include "playback/playclock.h"

void PlayClock::reported(qint64 ms, qint64 atMs)
{
    baseMs = baseFromMs = ms;
    baseAtMs = atMs;
}

void PlayClock::setRunning(bool nowRunning, qint64 libvlcMs, qint64 atMs, double rate)
{
    baseMs = time(libvlcMs, atMs, rate);
    baseFromMs = libvlcMs;
    baseAtMs = atMs;
    running = nowRunning;
}

void PlayClock::jumped(qint64 ms, qint64 libvlcMs, qint64 atMs)
{
    baseMs = ms;
    baseFromMs = libvlcMs;
    baseAtMs = atMs;
}

void PlayClock::stepped(qint64 frameMs, qint64 libvlcMs)
{
    baseMs = time(libvlcMs, baseAtMs, 1) + frameMs;
    baseFromMs = libvlcMs;
}

qint64 PlayClock::time(qint64 libvlcMs, qint64 atMs, double rate) const
{
    if (libvlcMs < 0 || libvlcMs != baseFromMs)
        return libvlcMs;
    if (!running)
        return baseMs;
    return baseMs + qint64(qBound<qint64>(0, atMs - baseAtMs, kRunOnMs) * rate);
}
