#include "widgets/ncframelesshelper.h"

#include <QWidget>

NcFramelessHelper::NcFramelessHelper(QObject *parent)
    : QObject(parent)
{
}

NcFramelessHelper::~NcFramelessHelper()
{
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        restore(it.key(), it.value());
}

void NcFramelessHelper::attachTo(QWidget *widget)
{
    if (!widget || states.contains(widget))
        return;
    const WidgetState state { widget->windowFlags() };
    const bool wasVisible = widget->isVisible();
    widget->setAttribute(Qt::WA_MouseTracking);
    widget->setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    widget->setAttribute(Qt::WA_Hover);
    // Changing the window flags hides the widget.
    if (wasVisible)
        widget->setVisible(true);
    states.insert(widget, state);
    widget->installEventFilter(this);
}

void NcFramelessHelper::detachFrom(QWidget *widget)
{
    const auto it = states.constFind(widget);
    if (it == states.cend())
        return;
    const WidgetState state = it.value();
    states.erase(it);
    widget->removeEventFilter(this);
    restore(widget, state);
}

void NcFramelessHelper::restore(QWidget *widget, const WidgetState &state)
{
    const bool wasVisible = widget->isVisible();
    widget->setAttribute(Qt::WA_MouseTracking, false);
    widget->setWindowFlags(state.savedFlags);
    widget->setAttribute(Qt::WA_Hover, false);
    if (wasVisible)
        widget->setVisible(true);
}

void NcFramelessHelper::setMoveEnabled(bool enabled)
{
    moveEnabled = enabled;
}

bool NcFramelessHelper::isMoveEnabled() const
{
    return moveEnabled;
}

void NcFramelessHelper::setResizeEnabled(bool enabled)
{
    resizeEnabled = enabled;
}

bool NcFramelessHelper::isResizeEnabled() const
{
    return resizeEnabled;
}

bool NcFramelessHelper::eventFilter(QObject *, QEvent *)
{
    return false;
}
