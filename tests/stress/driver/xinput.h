#ifndef XINPUT_H
#define XINPUT_H

#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

struct _XDisplay;

// Real input through the X server's XTEST extension: the program receives the
// same events as from a mouse and a keyboard. It also tells where the server
// has put a window, which is where the clicks land.
class XInput
{
public:
    XInput();
    ~XInput();
    XInput(const XInput &) = delete;
    XInput &operator=(const XInput &) = delete;

    // False without an X server or without XTEST.
    bool isOpen() const { return display != nullptr; }

    void moveTo(const QPoint &point);
    void click(const QPoint &point);
    void doubleClick(const QPoint &point);
    // Presses at `from`, moves there in small steps and releases at `to`.
    void drag(const QPoint &from, const QPoint &to);

    // The window's place on the screen as the X server has it.
    std::optional<QRect> windowGeometry(quint64 window);

    // A key by its X name ("space", "Left", "KP_Enter"), optionally with Control.
    bool pressKey(const QString &keyName, bool withControl = false);
    // Types the text character by character; characters that the keyboard map
    // lacks are put on a spare key first. The program reads a key's symbol
    // only when it handles the key, so before the spare key is mapped again
    // `taken` must confirm that the program has the text typed so far. False
    // if a character could not be typed or was not taken.
    bool typeText(const QString &text, const std::function<bool(const QString &typed)> &taken);

private:
    void button(bool down);
    // Sets *spareUsed when the character needed the spare key.
    bool typeCharacter(uint codePoint, bool *spareUsed);
    unsigned spareKeycode();
    void tap(unsigned code, unsigned modifier);
    void flush();

    _XDisplay *display = nullptr;
    unsigned spare = 0;
};

#endif // XINPUT_H
