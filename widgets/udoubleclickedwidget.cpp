#include "widgets/udoubleclickedwidget.h"

#include <QPainter>
#include <QStyleOption>

UDoubleClickedWidget::UDoubleClickedWidget(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void UDoubleClickedWidget::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleclicked();
}

void UDoubleClickedWidget::paintEvent(QPaintEvent *)
{
    // Custom widgets get their style-sheet background only through PE_Widget.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
