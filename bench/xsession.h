#ifndef XSESSION_H
#define XSESSION_H

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

class QElapsedTimer;

// Xlib's macros (None, Bool, Status, ...) clash with Qt's headers, so only the
// source file sees them.
struct _XDisplay;

// A connection to the X server that the program under test draws on: it sees
// top-level windows get mapped and drawn into (XDamage), reads the screen's
// pixels, and clicks like a user's mouse (XTest).
class XSession
{
public:
    using WindowId = unsigned long;

    // When and where a window was first shown; times in ns on the caller's clock.
    struct Shown
    {
        WindowId window = 0;
        qint64 mappedNs = -1;
        qint64 paintedNs = -1;
    };

    XSession();
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // Empty when the display and the extensions are there.
    QString error() const { return problem; }

    // Reports the top-level windows created from now on; call it before the
    // program starts, so that its first drawing is not missed.
    void watchTopLevels();
    // Waits until a top-level window titled `title` is mapped and drawn into.
    // Ends the watch that watchTopLevels() started.
    Shown waitForPaintedWindow(const QString &title, const QElapsedTimer &clock, int timeoutMs);

    QRect geometry(WindowId window);
    // The screen's pixels in `area` (screen coordinates), windows as they are shown.
    QImage grab(const QRect &area);
    QImage grabScreen();
    // Moves the pointer and double-clicks the left button; returns the time on
    // `clock` at which the second press was sent.
    qint64 doubleClick(const QPoint &screenPoint, const QElapsedTimer &clock);
    void click(const QPoint &screenPoint);
    // What a window manager's close button sends.
    void askToClose(WindowId window);

private:
    void pressAndRelease();
    QString windowTitle(WindowId window);
    bool waitForEvents(int timeoutMs);
    void endWatch();

    _XDisplay *display = nullptr;
    WindowId root = 0;
    int damageEventBase = 0;
    QString problem;
    // Damage objects of the top-level windows seen while watching.
    QList<unsigned long> damages;
};

#endif // XSESSION_H
