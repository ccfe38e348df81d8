#include "widgets/ncframelesshelper.h"

#include <QApplication>
#include <QMouseEvent>
#include <QRubberBand>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

// Frame (400, 300) to (899, 699): the right band is x 894..900, the bottom
// band y 694..700 with the initial edge width of 5.
const QRect kStart(400, 300, 500, 400);
const QSize kMinimum(300, 200);
const QPoint kMiddle(650, 500);
const QPoint kBottomRight(897, 697);
const QPoint kLeftEdge(401, 500);
// A top-level window keeps an arrow once a cursor has been set on it.
constexpr int kNoCursor = Qt::ArrowCursor;

QRubberBand *outline()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *band = qobject_cast<QRubberBand *>(widget))
            return band;
    }
    return nullptr;
}

} // namespace

class TstNcFramelessHelper : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cursor_data();
    void cursor();
    void drag_data();
    void drag();
    void leaveResetsCursorUnlessDragging();
    void outlineAppliesAtRelease_data();
    void outlineAppliesAtRelease();
    void destructionGivesWidgetsBack();

private:
    void mouse(QEvent::Type type, const QPoint &global, Qt::MouseButton button,
               Qt::MouseButtons held);
    void hover(const QPoint &global);
    int cursorShape() const;

    std::unique_ptr<QWidget> window;
    std::unique_ptr<NcFramelessHelper> helper;
};

void TstNcFramelessHelper::init()
{
    window = std::make_unique<QWidget>();
    window->setMinimumSize(kMinimum);
    helper = std::make_unique<NcFramelessHelper>();
    helper->attachTo(window.get());
    window->setGeometry(kStart);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->frameGeometry(), kStart);
}

void TstNcFramelessHelper::cleanup()
{
    helper.reset();
    window.reset();
    // Class-wide: a test that changed it must not leak it into the next one.
    NcFramelessHelper::setEdgeWidth(5);
}

void TstNcFramelessHelper::mouse(QEvent::Type type, const QPoint &global, Qt::MouseButton button,
                                 Qt::MouseButtons held)
{
    QMouseEvent event(type, window->mapFromGlobal(QPointF(global)), QPointF(global), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &event);
}

void TstNcFramelessHelper::hover(const QPoint &global)
{
    const QPointF local = window->mapFromGlobal(QPointF(global));
    QHoverEvent event(QEvent::HoverMove, local, QPointF(global), local);
    QCoreApplication::sendEvent(window.get(), &event);
}

int TstNcFramelessHelper::cursorShape() const
{
    return window->cursor().shape();
}

void TstNcFramelessHelper::cursor_data()
{
    QTest::addColumn<int>("edgeWidth");
    QTest::addColumn<QPoint>("offset"); // from the frame's top-left
    QTest::addColumn<bool>("byHover");  // else by a move with no button held
    QTest::addColumn<int>("expected");

    const int w = kStart.width();
    const int h = kStart.height();
    const int fdiag = Qt::SizeFDiagCursor, bdiag = Qt::SizeBDiagCursor;
    const int hor = Qt::SizeHorCursor, ver = Qt::SizeVerCursor;
    QTest::newRow("bottom-right 2 px inside") << 5 << QPoint(w - 2, h - 2) << true << fdiag;
    QTest::newRow("top-right beyond") << 5 << QPoint(w, 0) << true << bdiag;
    QTest::newRow("left band, innermost") << 5 << QPoint(5, 200) << true << hor;
    QTest::newRow("left band, just past") << 5 << QPoint(6, 200) << true << kNoCursor;
    QTest::newRow("right band, innermost") << 5 << QPoint(w - 5, 200) << false << hor;
    QTest::newRow("right band, just past") << 5 << QPoint(w - 6, 200) << false << kNoCursor;
    QTest::newRow("bottom, one beyond") << 5 << QPoint(250, h) << false << ver;
    QTest::newRow("middle") << 5 << QPoint(250, 200) << true << kNoCursor;
    QTest::newRow("-1 keeps 5") << -1 << QPoint(5, 200) << true << hor;
    QTest::newRow("0: first column") << 0 << QPoint(0, 200) << true << hor;
    QTest::newRow("0: second column") << 0 << QPoint(1, 200) << true << kNoCursor;
    QTest::newRow("0: one beyond the right") << 0 << QPoint(w, 200) << false << hor;
}

void TstNcFramelessHelper::cursor()
{
    QFETCH(int, edgeWidth);
    QFETCH(QPoint, offset);
    QFETCH(bool, byHover);
    QFETCH(int, expected);

    NcFramelessHelper::setEdgeWidth(edgeWidth);
    QCOMPARE(NcFramelessHelper::edgeWidth(), edgeWidth < 0 ? 5 : edgeWidth);
    // A resize cursor first, so that a spot off the edges must take it away.
    hover(kStart.topLeft());
    QCOMPARE(cursorShape(), int(Qt::SizeFDiagCursor));

    const QPoint global = kStart.topLeft() + offset;
    if (byHover)
        hover(global);
    else
        mouse(QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton);
    QCOMPARE(cursorShape(), expected);
}

void TstNcFramelessHelper::drag_data()
{
    QTest::addColumn<bool>("enabled"); // moving and resizing
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QList<QPoint>>("moves");
    // Qt follows every mouse move with a hover move, so the cursor tracks the
    // mouse during a drag as well.
    QTest::addColumn<int>("cursorAfterMoves");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<QSize>("minimum");

    const int fdiag = Qt::SizeFDiagCursor, hor = Qt::SizeHorCursor;
    const Qt::MouseButton left = Qt::LeftButton;
    QTest::newRow("corner resizes both ways")
        << true << left << kBottomRight << QList<QPoint> { { 947, 727 } } << fdiag
        << QRect(QPoint(400, 300), QPoint(947, 727)) << kMinimum;
    QTest::newRow("left edge stops at the minimum width")
        << true << left << kLeftEdge << QList<QPoint> { { 550, 500 }, { 650, 500 } } << kNoCursor
        << QRect(600, 300, 300, 400) << kMinimum;
    // Without a minimum only the refusal of inverted rectangles stops it.
    QTest::newRow("left edge one past the right edge")
        << true << left << kLeftEdge << QList<QPoint> { { 900, 500 } } << hor << kStart << QSize();
    QTest::newRow("top-left stops at the minimum height")
        << true << left << QPoint(402, 302) << QList<QPoint> { { 350, 550 } } << hor
        << QRect(350, 500, 550, 200) << kMinimum;
    QTest::newRow("middle moves with the grabbed point")
        << true << left << kMiddle << QList<QPoint> { { 700, 540 }, { 600, 450 } } << kNoCursor
        << kStart.translated(-50, -50) << kMinimum;
    QTest::newRow("right button only picks the cursor")
        << true << Qt::RightButton << kBottomRight << QList<QPoint> { { 897, 500 } } << hor
        << kStart << kMinimum;
    // Ends on the corner band, where an enabled helper would show a cursor.
    QTest::newRow("disabled: corner") << false << left << kBottomRight
                                      << QList<QPoint> { { 947, 727 }, { 898, 698 } } << kNoCursor
                                      << kStart << kMinimum;
    QTest::newRow("disabled: middle") << false << left << kMiddle << QList<QPoint> { { 700, 540 } }
                                      << kNoCursor << kStart << kMinimum;
}

void TstNcFramelessHelper::drag()
{
    QFETCH(bool, enabled);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, press);
    QFETCH(QList<QPoint>, moves);
    QFETCH(int, cursorAfterMoves);
    QFETCH(QRect, expected);
    QFETCH(QSize, minimum);

    window->setMinimumSize(minimum);
    helper->setMoveEnabled(enabled);
    helper->setResizeEnabled(enabled);
    hover(press);
    mouse(QEvent::MouseButtonPress, press, button, button);
    for (const QPoint &position : moves)
        mouse(QEvent::MouseMove, position, Qt::NoButton, button);
    QCOMPARE(cursorShape(), cursorAfterMoves);
    mouse(QEvent::MouseButtonRelease, moves.last(), button, Qt::NoButton);
    QCOMPARE(window->frameGeometry(), expected);
    // Nothing may stay pressed: a later button-less move changes no geometry.
    mouse(QEvent::MouseMove, kMiddle, Qt::NoButton, Qt::NoButton);
    QCOMPARE(window->frameGeometry(), expected);
}

void TstNcFramelessHelper::leaveResetsCursorUnlessDragging()
{
    hover(kBottomRight);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(window.get(), &leave);
    QCOMPARE(cursorShape(), kNoCursor);

    hover(kBottomRight);
    mouse(QEvent::MouseButtonPress, kBottomRight, Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::sendEvent(window.get(), &leave);
    QCOMPARE(cursorShape(), int(Qt::SizeFDiagCursor));
}

void TstNcFramelessHelper::outlineAppliesAtRelease_data()
{
    QTest::addColumn<bool>("resizing");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("resize outline") << true << kBottomRight << QPoint(947, 727)
                                    << QRect(QPoint(400, 300), QPoint(947, 727));
    QTest::newRow("move outline") << false << kMiddle << QPoint(700, 540)
                                  << kStart.translated(50, 40);
}

void TstNcFramelessHelper::outlineAppliesAtRelease()
{
    QFETCH(bool, resizing);
    QFETCH(QPoint, press);
    QFETCH(QPoint, to);
    QFETCH(QRect, expected);

    resizing ? helper->setResizeOutline(true) : helper->setMoveOutline(true);
    QRubberBand *band = outline();
    QVERIFY2(band && !band->isVisible(), "an outline must wait, hidden, for the press");

    mouse(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    QVERIFY(band->isVisible());
    QCOMPARE(band->geometry(), expected);
    QCOMPARE(window->frameGeometry(), kStart);

    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QVERIFY(!band->isVisible());
    QCOMPARE(window->frameGeometry(), expected);

    helper->setResizeOutline(false);
    helper->setMoveOutline(false);
    QVERIFY2(!outline(), "with both outline modes off the outline must go");
}

void TstNcFramelessHelper::destructionGivesWidgetsBack()
{
    QWidget other;
    const Qt::WindowFlags original = other.windowFlags();
    helper->attachTo(&other);
    helper->attachTo(&other); // must not record the frameless flags as the originals
    helper.reset();
    for (QWidget *widget : { window.get(), &other }) {
        QCOMPARE(widget->windowFlags(), original);
        QVERIFY(!widget->testAttribute(Qt::WA_MouseTracking));
        QVERIFY(!widget->testAttribute(Qt::WA_Hover));
    }
    QVERIFY2(window->isVisible(), "a visible window must stay visible");
}

QTEST_MAIN(TstNcFramelessHelper)

#include "tst_ncframelesshelper.moc"
