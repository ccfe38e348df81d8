#ifndef FLASHLABEL_H
#define FLASHLABEL_H

#include "widgets/videooverlay.h"

// A word or two over the bottom right corner of the video for a moment: the
// playback speed or the log's offset just chosen. The bottom, so that it
// never hides a notice at the top.
class FlashLabel : public VideoOverlay
{
    Q_OBJECT

public:
    explicit FlashLabel(QWidget *parent = nullptr);

    // Shows `text` from now; a newer one replaces it.
    void flash(const QString &text);

protected:
    QRect placeIn(const QRect &area) override;
};

#endif // FLASHLABEL_H
