#include "widgets/stillpicture.h"

#include <QPainter>

StillPicture::StillPicture(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void StillPicture::setPicture(const QPixmap &shown)
{
    picture = shown;
    update();
}

void StillPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawPixmap(rect(), picture);
}
