#ifndef VIDEOOVERLAY_H
#define VIDEOOVERLAY_H

#include <QLabel>
#include <QRect>

class QTimer;

// Text laid over the video area for a while. It has a native window of its
// own, so that it stays above the video, which libvlc draws into a native
// window too; the native window is made with the first text, as the video's
// is with the first recording: made while the main window is being built, it
// would fix the window's surface before the map view has set up its own.
class VideoOverlay : public QLabel
{
    Q_OBJECT

public:
    // Within `area` of the parent, where the kind of overlay puts itself.
    void placeOver(const QRect &area);

protected:
    VideoOverlay(const QString &name, QWidget *parent);
    // Shows `text` (plain text) for `ms`; a newer text replaces it.
    void showFor(const QString &text, int ms);
    // Where the label goes within `area`, for the text it shows now.
    virtual QRect placeIn(const QRect &area) = 0;

    static constexpr int kMargin = 10;

private:
    void fitToArea();

    QTimer *hideTimer = nullptr;
    QRect area;
};

#endif // VIDEOOVERLAY_H
