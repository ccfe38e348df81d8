#include "widgets/rangeband.h"

#include <QEvent>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace {

const QColor kBandColour(255, 170, 40, 150);
const QColor kTickColour(255, 170, 40);
constexpr int kTickWidth = 2;

} // namespace

RangeBand::RangeBand(QSlider *slider)
    : QWidget(slider), slider(slider)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    slider->installEventFilter(this);
    setGeometry(slider->rect());
    hide();
}

void RangeBand::setSpan(std::optional<std::pair<double, double>> span)
{
    if (span == shown)
        return;
    shown = span;
    setVisible(span.has_value());
    update();
}

bool RangeBand::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == slider && event->type() == QEvent::Resize)
        setGeometry(slider->rect());
    return QWidget::eventFilter(watched, event);
}

void RangeBand::paintEvent(QPaintEvent *)
{
    if (!shown)
        return;
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    const QRect groove = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
    const QRect lane = groove.isValid() ? groove : rect();
    const int from = lane.left() + int(shown->first * lane.width());
    const int to = lane.left() + int(shown->second * lane.width());
    QPainter painter(this);
    painter.fillRect(QRect(from, lane.top(), std::max(1, to - from), lane.height()), kBandColour);
    painter.fillRect(QRect(from, 0, kTickWidth, height()), kTickColour);
    painter.fillRect(QRect(to - kTickWidth, 0, kTickWidth, height()), kTickColour);
}
