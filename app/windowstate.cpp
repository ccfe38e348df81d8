// The title bar, the maximised state and video full screen.

#include "app/velmora.h"

#include <QMouseEvent>

void Velmora::MaxWindow()
{
}

void Velmora::swapMaxButton()
{
}

void Velmora::fullscreen()
{
}

void Velmora::mouseDoubleClickEvent(QMouseEvent *event)
{
    QWidget::mouseDoubleClickEvent(event);
}
