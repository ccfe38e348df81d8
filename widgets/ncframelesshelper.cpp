#include "widgets/ncframelesshelper.h"

#include <QHoverEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWidget>

#include <optional>
#include <unordered_map>

namespace {

constexpr int kInitialEdgeWidth = 5;

int classEdgeWidth = kInitialEdgeWidth;

// Only the first matching corner or edge moves, corners before edges.
QRect withDraggedEdges(QRect frame, const FrameEdgeHits &hits, const QPoint &position)
{
    if (hits.topLeft) {
        frame.setTopLeft(position);
    } else if (hits.bottomLeft) {
        frame.setBottomLeft(position);
    } else if (hits.topRight) {
        frame.setTopRight(position);
    } else if (hits.bottomRight) {
        frame.setBottomRight(position);
    } else if (hits.left) {
        frame.setLeft(position.x());
    } else if (hits.right) {
        frame.setRight(position.x());
    } else if (hits.top) {
        frame.setTop(position.y());
    } else if (hits.bottom) {
        frame.setBottom(position.y());
    }
    return frame;
}

// Below the minimum on one axis, the edge that moved on that axis stops where
// the minimum is reached, however far a fast drag ran past it.
QRect clampedToMinimumSize(QRect next, const QRect &old, const QSize &minimum)
{
    if (next.width() < minimum.width()) {
        if (next.left() == old.left())
            next.setRight(next.left() + minimum.width() - 1);
        else
            next.setLeft(next.right() - minimum.width() + 1);
    }
    if (next.height() < minimum.height()) {
        if (next.top() == old.top())
            next.setBottom(next.top() + minimum.height() - 1);
        else
            next.setTop(next.bottom() - minimum.height() + 1);
    }
    return next;
}

std::optional<Qt::CursorShape> resizeCursor(const FrameEdgeHits &hits)
{
    if (hits.topLeft || hits.bottomRight)
        return Qt::SizeFDiagCursor;
    if (hits.topRight || hits.bottomLeft)
        return Qt::SizeBDiagCursor;
    if (hits.left || hits.right)
        return Qt::SizeHorCursor;
    if (hits.top || hits.bottom)
        return Qt::SizeVerCursor;
    return std::nullopt;
}

} // namespace

void FrameEdgeHits::recompute(const QPoint &position, const QRect &frame)
{
    const int band = NcFramelessHelper::edgeWidth();
    const int x = position.x();
    const int y = position.y();
    const int frameRight = frame.x() + frame.width();
    const int frameBottom = frame.y() + frame.height();
    left = x >= frame.x() && x <= frame.x() + band;
    right = x >= frameRight - band && x <= frameRight;
    top = y >= frame.y() && y <= frame.y() + band;
    bottom = y >= frameBottom - band && y <= frameBottom;
    topLeft = top && left;
    bottomLeft = bottom && left;
    topRight = top && right;
    bottomRight = bottom && right;
    anyEdge = left || right || top || bottom;
}

class FramelessWidgetState;

struct FramelessSettings
{
    std::unordered_map<QWidget *, std::unique_ptr<FramelessWidgetState>> states;
    bool moveEnabled = true;
    bool resizeEnabled = true;
    bool resizeOutline = false;
    bool moveOutline = false;
};

// The helper's view of one attached widget: the press in progress, the
// cursor it has set and what to give back at detach.
class FramelessWidgetState
{
public:
    FramelessWidgetState(const FramelessSettings &settings, QWidget *widget)
        : settings(settings), widget(widget), savedFlags(widget->windowFlags())
    {
    }

    void takeOver();
    void giveBack();
    void syncOutline();
    void handle(QEvent *event);

private:
    void mousePress(const QMouseEvent &event);
    void mouseMove(const QMouseEvent &event);
    void hoverMove(const QHoverEvent &event);
    void mouseRelease(const QMouseEvent &event);
    void leave();

    void dragMove(const QPoint &position);
    void dragResize(const QPoint &position);
    void pickCursor(const QPoint &position);
    void resetCursor();

    const FramelessSettings &settings;
    std::unique_ptr<QRubberBand> outline;
    bool leftPressed = false;
    QWidget *widget;
    QPoint dragOffset;
    FrameEdgeHits pressHits;
    FrameEdgeHits hoverHits;
    bool cursorChanged = false;
    Qt::WindowFlags savedFlags;
};

void FramelessWidgetState::takeOver()
{
    const bool wasVisible = widget->isVisible();
    widget->setAttribute(Qt::WA_MouseTracking);
    widget->setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    widget->setAttribute(Qt::WA_Hover);
    syncOutline();
    // Changing the window flags hides the widget.
    if (wasVisible)
        widget->setVisible(true);
}

void FramelessWidgetState::giveBack()
{
    const bool wasVisible = widget->isVisible();
    widget->setAttribute(Qt::WA_MouseTracking, false);
    widget->setWindowFlags(savedFlags);
    widget->setAttribute(Qt::WA_Hover, false);
    if (wasVisible)
        widget->setVisible(true);
    outline.reset();
}

void FramelessWidgetState::syncOutline()
{
    const bool wanted = settings.moveOutline || settings.resizeOutline;
    if (wanted && !outline)
        outline = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    else if (!wanted)
        outline.reset();
}

void FramelessWidgetState::handle(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        mousePress(*static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseMove:
        mouseMove(*static_cast<QMouseEvent *>(event));
        break;
    case QEvent::HoverMove:
        hoverMove(*static_cast<QHoverEvent *>(event));
        break;
    case QEvent::MouseButtonRelease:
        mouseRelease(*static_cast<QMouseEvent *>(event));
        break;
    case QEvent::Leave:
        leave();
        break;
    default:
        break;
    }
}

void FramelessWidgetState::mousePress(const QMouseEvent &event)
{
    if (event.button() != Qt::LeftButton)
        return;
    leftPressed = true;
    const QRect frame = widget->frameGeometry();
    const QPoint position = event.globalPosition().toPoint();
    pressHits.recompute(position, frame);
    dragOffset = position - frame.topLeft();
    const bool outlined = pressHits.anyEdge ? settings.resizeOutline : settings.moveOutline;
    if (outlined && outline) {
        outline->setGeometry(frame);
        outline->show();
    }
}

void FramelessWidgetState::mouseMove(const QMouseEvent &event)
{
    const QPoint position = event.globalPosition().toPoint();
    if (!leftPressed) {
        if (settings.resizeEnabled)
            pickCursor(position);
    } else if (settings.resizeEnabled && pressHits.anyEdge) {
        dragResize(position);
    } else if (settings.moveEnabled) {
        dragMove(position);
    }
}

void FramelessWidgetState::hoverMove(const QHoverEvent &event)
{
    // The event's own global position: mapping its local one through the
    // widget goes wrong when a drag has just moved the widget under it.
    if (settings.resizeEnabled)
        pickCursor(event.globalPosition().toPoint());
}

void FramelessWidgetState::mouseRelease(const QMouseEvent &event)
{
    if (event.button() != Qt::LeftButton)
        return;
    leftPressed = false;
    pressHits = FrameEdgeHits();
    if (outline && outline->isVisible()) {
        outline->hide();
        widget->setGeometry(outline->geometry());
    }
}

void FramelessWidgetState::leave()
{
    // During a drag the mouse may run ahead of the edge it pulls.
    if (!leftPressed)
        resetCursor();
}

void FramelessWidgetState::dragMove(const QPoint &position)
{
    const QPoint topLeft = position - dragOffset;
    if (settings.moveOutline && outline)
        outline->move(topLeft);
    else
        widget->move(topLeft);
}

void FramelessWidgetState::dragResize(const QPoint &position)
{
    QWidget *target = settings.resizeOutline && outline ? outline.get() : widget;
    const QRect old = target->frameGeometry();
    const QRect next =
            clampedToMinimumSize(withDraggedEdges(old, pressHits, position), old, widget->minimumSize());
    if (next.right() < next.left() || next.bottom() < next.top())
        return;
    target->setGeometry(next);
}

void FramelessWidgetState::pickCursor(const QPoint &position)
{
    // The window cannot be resized in these states, so no resize cursor.
    if (widget->isFullScreen() || widget->isMaximized()) {
        if (cursorChanged)
            resetCursor();
        return;
    }
    hoverHits.recompute(position, widget->frameGeometry());
    if (const auto shape = resizeCursor(hoverHits)) {
        widget->setCursor(*shape);
        cursorChanged = true;
    } else if (cursorChanged) {
        resetCursor();
    }
}

void FramelessWidgetState::resetCursor()
{
    widget->unsetCursor();
    cursorChanged = false;
}

NcFramelessHelper::NcFramelessHelper(QObject *parent)
    : QObject(parent), settings(std::make_unique<FramelessSettings>())
{
}

NcFramelessHelper::~NcFramelessHelper()
{
    while (!settings->states.empty())
        detachFrom(settings->states.begin()->first);
}

void NcFramelessHelper::attachTo(QWidget *widget)
{
    if (!widget || settings->states.count(widget) != 0)
        return;
    auto state = std::make_unique<FramelessWidgetState>(*settings, widget);
    state->takeOver();
    settings->states.emplace(widget, std::move(state));
    widget->installEventFilter(this);
    // A widget that goes first must not leave a dangling state behind; the
    // pointer is only a key here, never followed.
    connect(widget, &QObject::destroyed, this, [this, widget] { settings->states.erase(widget); });
}

void NcFramelessHelper::detachFrom(QWidget *widget)
{
    const auto it = settings->states.find(widget);
    if (it == settings->states.end())
        return;
    const std::unique_ptr<FramelessWidgetState> state = std::move(it->second);
    settings->states.erase(it);
    disconnect(widget, &QObject::destroyed, this, nullptr);
    widget->removeEventFilter(this);
    state->giveBack();
}

void NcFramelessHelper::setMoveEnabled(bool enabled)
{
    settings->moveEnabled = enabled;
}

bool NcFramelessHelper::isMoveEnabled() const
{
    return settings->moveEnabled;
}

void NcFramelessHelper::setResizeEnabled(bool enabled)
{
    settings->resizeEnabled = enabled;
}

bool NcFramelessHelper::isResizeEnabled() const
{
    return settings->resizeEnabled;
}

void NcFramelessHelper::setResizeOutline(bool enabled)
{
    settings->resizeOutline = enabled;
    syncOutlines();
}

bool NcFramelessHelper::resizeOutline() const
{
    return settings->resizeOutline;
}

void NcFramelessHelper::setMoveOutline(bool enabled)
{
    settings->moveOutline = enabled;
    syncOutlines();
}

bool NcFramelessHelper::moveOutline() const
{
    return settings->moveOutline;
}

void NcFramelessHelper::setEdgeWidth(int width)
{
    if (width >= 0)
        classEdgeWidth = width;
}

int NcFramelessHelper::edgeWidth()
{
    return classEdgeWidth;
}

void NcFramelessHelper::syncOutlines()
{
    for (auto &entry : settings->states)
        entry.second->syncOutline();
}

bool NcFramelessHelper::eventFilter(QObject *watched, QEvent *event)
{
    if (!settings->states.empty()) {
        const auto it = settings->states.find(qobject_cast<QWidget *>(watched));
        if (it != settings->states.end())
            it->second->handle(event);
    }
    return false;
}
