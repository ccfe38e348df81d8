#include "widgets/videooverlay.h"

#include <QTimer>

VideoOverlay::VideoOverlay(const QString &name, QWidget *parent)
    : QLabel(parent), hideTimer(new QTimer(this))
{
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    hideTimer->setSingleShot(true);
    connect(hideTimer, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void VideoOverlay::showFor(const QString &text, int ms)
{
    setAttribute(Qt::WA_NativeWindow);
    setText(text);
    show();
    fitToArea();
    raise();
    hideTimer->start(ms);
}

void VideoOverlay::placeOver(const QRect &videoArea)
{
    area = videoArea;
    if (isVisible()) {
        fitToArea();
        raise();
    }
}

// Only while shown: the text and the style decide the size.
void VideoOverlay::fitToArea()
{
    setGeometry(placeIn(area));
}
