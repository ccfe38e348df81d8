#include "widgets/wheelpager.h"

#include <QWheelEvent>
#include <QWidget>

namespace {

// One notch of an ordinary mouse wheel.
constexpr int kNotch = 120;

} // namespace

WheelPager::WheelPager(QObject *parent)
    : QObject(parent)
{
}

void WheelPager::watch(QWidget *widget)
{
    widget->installEventFilter(this);
}

bool WheelPager::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    pendingDelta += static_cast<QWheelEvent *>(event)->angleDelta().y();
    for (; pendingDelta >= kNotch; pendingDelta -= kNotch)
        emit previousPage();
    for (; pendingDelta <= -kNotch; pendingDelta += kNotch)
        emit nextPage();
    return true;
}
