#include "xserverhold.h"

#include <chrono>

#include <X11/Xlib.h>

XServerHold::XServerHold(int limitMs) : holder([this, limitMs] { hold(limitMs); })
{
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return started; });
}

XServerHold::~XServerHold()
{
    release();
    holder.join();
}

void XServerHold::release()
{
    const std::lock_guard<std::mutex> lock(mutex);
    releaseAsked = true;
    changed.notify_all();
}

// Every Xlib call on this thread, so that the connection needs no locking.
void XServerHold::hold(int limitMs)
{
    Display *display = XOpenDisplay(nullptr);
    if (display) {
        XGrabServer(display);
        XSync(display, False);
        held = true;
    }
    std::unique_lock<std::mutex> lock(mutex);
    started = true;
    changed.notify_all();
    if (!display)
        return;
    limitReached = !changed.wait_for(
            lock, std::chrono::milliseconds(limitMs), [this] { return releaseAsked; });
    lock.unlock();
    XUngrabServer(display);
    XSync(display, False);
    XCloseDisplay(display);
}
