#include "xinput.h"

#include <QThread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr int kDragSteps = 8;
constexpr int kDragStepMs = 10;
// Latin-1 characters are their own keysyms; the rest sit at 0x01000000 + code point.
constexpr unsigned long kUnicodeKeysymBase = 0x01000000;
constexpr uint kLatin1End = 0x100;

KeySym keysymFor(uint codePoint)
{
    if (codePoint >= 0x20 && codePoint < 0x7f)
        return KeySym(codePoint);
    if (codePoint >= 0xa0 && codePoint < kLatin1End)
        return KeySym(codePoint);
    return KeySym(kUnicodeKeysymBase + codePoint);
}

} // namespace

XInput::XInput()
{
    display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (display && !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        display = nullptr;
    }
}

XInput::~XInput()
{
    if (display)
        XCloseDisplay(display);
}

void XInput::flush()
{
    XSync(display, False);
}

void XInput::moveTo(const QPoint &point)
{
    XTestFakeMotionEvent(display, -1, point.x(), point.y(), CurrentTime);
    flush();
}

void XInput::button(bool down)
{
    XTestFakeButtonEvent(display, Button1, down ? True : False, CurrentTime);
    flush();
}

void XInput::click(const QPoint &point)
{
    moveTo(point);
    button(true);
    button(false);
}

void XInput::doubleClick(const QPoint &point)
{
    click(point);
    button(true);
    button(false);
}

void XInput::drag(const QPoint &from, const QPoint &to)
{
    moveTo(from);
    button(true);
    for (int step = 1; step <= kDragSteps; ++step) {
        QThread::msleep(kDragStepMs);
        moveTo(from + (to - from) * step / kDragSteps);
    }
    button(false);
}

std::optional<QRect> XInput::windowGeometry(quint64 window)
{
    // A window that has gone away is no reason to end the run.
    const auto previous = XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    XWindowAttributes attributes;
    Window child = 0;
    int x = 0;
    int y = 0;
    const bool known = XGetWindowAttributes(display, Window(window), &attributes) != 0
            && XTranslateCoordinates(
                    display, Window(window), attributes.root, 0, 0, &x, &y, &child);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!known)
        return std::nullopt;
    return QRect(x, y, attributes.width, attributes.height);
}

bool XInput::pressKey(const QString &keyName, bool withControl)
{
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keyName.toLatin1().constData()));
    const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
    if (code == 0 || control == 0)
        return false;
    tap(code, withControl ? control : 0);
    return true;
}

// A press and release of `code`, with `modifier` held around it unless 0.
void XInput::tap(unsigned code, unsigned modifier)
{
    if (modifier != 0)
        XTestFakeKeyEvent(display, modifier, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (modifier != 0)
        XTestFakeKeyEvent(display, modifier, False, CurrentTime);
    flush();
}

bool XInput::typeText(const QString &text, const std::function<bool(const QString &typed)> &taken)
{
    const QList<uint> codePoints = text.toUcs4();
    for (qsizetype i = 0; i < codePoints.size(); ++i) {
        bool spareUsed = false;
        if (!typeCharacter(codePoints.at(i), &spareUsed))
            return false;
        if (spareUsed
                && !taken(QString::fromUcs4(
                        reinterpret_cast<const char32_t *>(codePoints.constData()), i + 1)))
            return false;
    }
    return true;
}

// A keycode with no symbols at all, which the server's map can spare.
unsigned XInput::spareKeycode()
{
    if (spare != 0)
        return spare;
    int first = 0, last = 0, perCode = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym *map = XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &perCode);
    for (int code = last; code >= first && spare == 0; --code) {
        bool empty = true;
        for (int level = 0; level < perCode; ++level)
            empty = empty && map[(code - first) * perCode + level] == NoSymbol;
        if (empty)
            spare = unsigned(code);
    }
    XFree(map);
    return spare;
}

bool XInput::typeCharacter(uint codePoint, bool *spareUsed)
{
    const KeySym keysym = keysymFor(codePoint);
    KeyCode code = XKeysymToKeycode(display, keysym);
    bool shifted = false;
    if (code != 0 && XkbKeycodeToKeysym(display, code, 0, 0) != keysym) {
        shifted = XkbKeycodeToKeysym(display, code, 0, 1) == keysym;
        if (!shifted)
            code = 0;
    }
    if (code == 0) {
        // Both levels, so that no Shift is needed; the map change reaches the
        // program before the key does.
        code = KeyCode(spareKeycode());
        if (code == 0)
            return false;
        KeySym both[2] = { keysym, keysym };
        XChangeKeyboardMapping(display, code, 2, both, 1);
        flush();
        *spareUsed = true;
    }
    tap(code, shifted ? XKeysymToKeycode(display, XK_Shift_L) : 0);
    return true;
}
