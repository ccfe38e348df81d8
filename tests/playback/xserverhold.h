#ifndef XSERVERHOLD_H
#define XSERVERHOLD_H

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Holds the X server for a test, as another program can: from a connection
// and a thread of their own, it grabs the server, so that every other client's
// requests wait until release() or until the time limit has passed. Anything
// that needs the server meanwhile (libvlc's video output) waits with them.
class XServerHold
{
public:
    explicit XServerHold(int limitMs);
    ~XServerHold();
    XServerHold(const XServerHold &) = delete;
    XServerHold &operator=(const XServerHold &) = delete;

    // False without an X server to hold.
    bool isHeld() const { return held; }
    void release();
    // True if the hold ended only because its time was up.
    bool endedByLimit() const { return limitReached; }

private:
    void hold(int limitMs);

    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool releaseAsked = false;
    std::atomic<bool> held { false };
    std::atomic<bool> limitReached { false };
    std::thread holder;
};

#endif // XSERVERHOLD_H
