#ifndef NOTICEBAR_H
#define NOTICEBAR_H

#include "widgets/videooverlay.h"

// A short message over the top of the video area for a few seconds: what
// went wrong, or where a file went. Never a dialog, so nothing waits for the
// user.
class NoticeBar : public VideoOverlay
{
    Q_OBJECT

public:
    explicit NoticeBar(QWidget *parent = nullptr);

    // Shows `text` from now; a newer notice replaces it.
    void showNotice(const QString &text);

protected:
    // At the top, as tall as the text needs.
    QRect placeIn(const QRect &area) override;
};

#endif // NOTICEBAR_H
