#ifndef NOTICEBAR_H
#define NOTICEBAR_H

#include <QLabel>

class QTimer;

// A short message laid over the top of the video area for a few seconds: what
// went wrong, or where a file went. Never a dialog, so nothing waits for the
// user. It has a native window of its own, so that it stays above the video,
// which libvlc draws into a native window too.
class NoticeBar : public QLabel
{
    Q_OBJECT

public:
    explicit NoticeBar(QWidget *parent = nullptr);

    // Shows `text` (plain text) from now; a newer notice replaces it.
    void showNotice(const QString &text);
    // Within `area` of the parent, at its top, as tall as the text needs.
    void placeOver(const QRect &area);

private:
    void fitToArea();

    QTimer *hideTimer = nullptr;
    QRect area;
};

#endif // NOTICEBAR_H
