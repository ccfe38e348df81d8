#include "widgets/uspeedmeter.h"

#include <QPainter>
#include <QStyleOption>

USpeedMeter::USpeedMeter(QWidget *parent)
    : QWidget(parent)
{
}

void USpeedMeter::SetCarSpeed(double, double[21], double[21], double[21])
{
}

void USpeedMeter::DrawGSensorLine()
{
}

void USpeedMeter::SetLevel()
{
}

void USpeedMeter::ResetLevel()
{
}

void USpeedMeter::paintEvent(QPaintEvent *)
{
    // The dial is the style-sheet background, which custom widgets only get
    // through PE_Widget.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
