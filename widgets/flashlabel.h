#ifndef FLASHLABEL_H
#define FLASHLABEL_H

#include <QLabel>

class QTimer;

// A word or two laid over the bottom right corner of the video for a moment:
// the playback speed or the log's offset just chosen. Like the notice, it has
// a native window of its own, so that it stays above libvlc's. The bottom,
// so that it never hides a notice at the top.
class FlashLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FlashLabel(QWidget *parent = nullptr);

    // Shows `text` from now; a newer one replaces it.
    void flash(const QString &text);
    // Within `area` of the parent, at its bottom right corner.
    void placeOver(const QRect &area);

private:
    void fitToArea();

    QTimer *hideTimer = nullptr;
    QRect area;
};

#endif // FLASHLABEL_H
