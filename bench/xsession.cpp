#include "xsession.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <chrono>
#include <thread>

#include <poll.h>

// After every Qt header: Xlib defines macros that Qt uses as names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

namespace {

// A hand rests before it clicks and leaves a gap between the two clicks; the
// gap stays well inside Qt's double-click interval (400 ms).
constexpr auto kPointerRest = std::chrono::milliseconds(100);
constexpr auto kClickGap = std::chrono::milliseconds(80);

// Windows come and go while they are watched; a request about one that has
// just gone fails, and Xlib's default handler would end the program.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

// One channel of a pixel scaled to 0..255, whatever the visual's mask.
int channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long maximum = mask >> shift;
    return int(((pixel & mask) >> shift) * 255 / maximum);
}

} // namespace

XSession::XSession()
{
    XSetErrorHandler(ignoreError);
    display = XOpenDisplay(nullptr);
    if (!display) {
        problem = QStringLiteral("cannot open the X display (DISPLAY=%1)")
                      .arg(qEnvironmentVariable("DISPLAY"));
        return;
    }
    root = DefaultRootWindow(display);
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor))
        problem = QStringLiteral("the X server has no XTEST extension");
    else if (!XDamageQueryExtension(display, &damageEventBase, &errorBase))
        problem = QStringLiteral("the X server has no DAMAGE extension");
}

XSession::~XSession()
{
    if (display)
        XCloseDisplay(display);
}

void XSession::watchTopLevels()
{
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
}

XSession::Shown XSession::waitForPaintedWindow(const QString &title, const QElapsedTimer &clock,
                                               int timeoutMs)
{
    Shown shown;
    const QDeadlineTimer deadline(timeoutMs);
    while (shown.paintedNs < 0 && waitForEvents(int(deadline.remainingTime()))) {
        while (shown.paintedNs < 0 && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
                // Watched from its creation: the program draws as soon as it maps it.
                damages << XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            } else if (event.type == MapNotify && shown.window == 0
                       && windowTitle(event.xmap.window) == title) {
                shown.window = event.xmap.window;
                shown.mappedNs = clock.nsecsElapsed();
            } else if (event.type == damageEventBase + XDamageNotify) {
                const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
                if (shown.window != 0 && damage.drawable == shown.window)
                    shown.paintedNs = clock.nsecsElapsed();
                else
                    XDamageSubtract(display, damage.damage, 0, 0);
            }
        }
    }
    endWatch();
    return shown;
}

void XSession::endWatch()
{
    XSelectInput(display, root, NoEventMask);
    // A damage object whose window has gone went with it; destroying it again
    // fails harmlessly.
    for (const unsigned long damage : std::as_const(damages))
        XDamageDestroy(display, damage);
    damages.clear();
    XSync(display, True);
}

bool XSession::waitForEvents(int timeoutMs)
{
    if (XPending(display) > 0)
        return true;
    if (timeoutMs <= 0)
        return false;
    pollfd connection { ConnectionNumber(display), POLLIN, 0 };
    return ::poll(&connection, 1, timeoutMs) > 0;
}

QString XSession::windowTitle(WindowId window)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    QString title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data)
            == Success
        && data) {
        title = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(count));
        XFree(data);
    }
    char *name = nullptr;
    if (title.isEmpty() && XFetchName(display, window, &name) && name) {
        title = QString::fromLocal8Bit(name);
        XFree(name);
    }
    return title;
}

QRect XSession::geometry(WindowId window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return QRect();
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child);
    return QRect(x, y, attributes.width, attributes.height);
}

QImage XSession::grab(const QRect &area)
{
    XImage *shot = XGetImage(display, root, area.x(), area.y(), unsigned(area.width()),
                             unsigned(area.height()), AllPlanes, ZPixmap);
    if (!shot)
        return QImage();
    QImage image(area.size(), QImage::Format_RGB32);
    const bool sameLayout = shot->bits_per_pixel == 32 && shot->red_mask == 0xff0000
        && shot->green_mask == 0xff00 && shot->blue_mask == 0xff
        && (shot->byte_order == LSBFirst) == (Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    for (int y = 0; y < area.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        if (sameLayout) {
            std::copy_n(reinterpret_cast<const QRgb *>(shot->data + y * shot->bytes_per_line),
                        area.width(), line);
            continue;
        }
        for (int x = 0; x < area.width(); ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            line[x] = qRgb(channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                           channel(pixel, shot->blue_mask));
        }
    }
    XDestroyImage(shot);
    return image;
}

QImage XSession::grabScreen()
{
    return grab(geometry(root));
}

qint64 XSession::doubleClick(const QPoint &screenPoint, const QElapsedTimer &clock)
{
    click(screenPoint);
    std::this_thread::sleep_for(kClickGap);
    const qint64 sent = clock.nsecsElapsed();
    pressAndRelease();
    return sent;
}

void XSession::click(const QPoint &screenPoint)
{
    XTestFakeMotionEvent(display, -1, screenPoint.x(), screenPoint.y(), CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(kPointerRest);
    pressAndRelease();
}

void XSession::pressAndRelease()
{
    XTestFakeButtonEvent(display, Button1, True, CurrentTime);
    XTestFakeButtonEvent(display, Button1, False, CurrentTime);
    XSync(display, False);
}

void XSession::askToClose(WindowId window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}
