#ifndef VIDEOSURFACE_H
#define VIDEOSURFACE_H

#include <QWidget>

// A native window that libvlc draws a video into, laid over the video area
// while a recording plays. Qt paints nothing in it, not even a background:
// raised over a sibling, it goes on showing the sibling's last picture until
// its own video draws, so that one clip can follow another without a blink.
// Mouse events pass on to the video area beneath.
class VideoSurface : public QWidget
{
    Q_OBJECT

public:
    explicit VideoSurface(QWidget *parent = nullptr);

    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    void paintEvent(QPaintEvent *) override {}
};

#endif // VIDEOSURFACE_H
