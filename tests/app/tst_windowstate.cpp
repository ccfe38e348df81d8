#include "app/velmora.h"
#include "playback/uvlcwrapper.h"
#include "runfolder.h"
#include "testrecordings.h"
#include "velmoraprobe.h"

#include "widgets/ncframelesshelper.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

const QString kNormalFace = QStringLiteral(
    "#WindowNormal          {border-image:url(:/images/Window_Normal.png); border-radius: 8px;}"
    "#WindowNormal:hover    {border-image:url(:/images/Window_Normal_Hover.png);}"
    "#WindowNormal:pressed  {border-image:url(:/images/Window_Normal_Pressed.png);}");

constexpr int kPanelHeight = 40;

} // namespace

class TstWindowState : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void maximiseTwiceRestores();
    void bannerDoubleClick_data();
    void bannerDoubleClick();
    void videoFullScreen_data();
    void videoFullScreen();

private:
    // Sent to the child under the position, as the window system would; a
    // child that ignores it passes it on to the window.
    void doubleClick(const QPoint &windowOffset, Qt::MouseButton button);
    void checkHelperSwitches(bool expected);
    QHash<QWidget *, QRect> childGeometries() const;
    QRect screenRect() const { return window->screen()->geometry(); }

    std::unique_ptr<ScratchRunFolder> folder;
    std::unique_ptr<Velmora> window;
    std::unique_ptr<VelmoraProbe> probe;
};

void TstWindowState::init()
{
    folder = std::make_unique<ScratchRunFolder>();
    window = std::make_unique<Velmora>(nullptr);
    probe = std::make_unique<VelmoraProbe>(*window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TstWindowState::cleanup()
{
    probe.reset();
    window.reset();
    folder.reset();
}

void TstWindowState::doubleClick(const QPoint &windowOffset, Qt::MouseButton button)
{
    const QPointF global = window->frameGeometry().topLeft() + windowOffset;
    QWidget *target = window->childAt(window->mapFromGlobal(global).toPoint());
    target = target ? target : window.get();
    QMouseEvent event(QEvent::MouseButtonDblClick, target->mapFromGlobal(global), global, button,
                      button, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void TstWindowState::checkHelperSwitches(bool expected)
{
    QCOMPARE(probe->frameless()->isMoveEnabled(), expected);
    QCOMPARE(probe->frameless()->isResizeEnabled(), expected);
}

QHash<QWidget *, QRect> TstWindowState::childGeometries() const
{
    QHash<QWidget *, QRect> geometries;
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        geometries.insert(child, child->geometry());
    return geometries;
}

void TstWindowState::maximiseTwiceRestores()
{
    const QRect normal = window->geometry();
    QPushButton *button = probe->windowMax();

    button->click();
    QCOMPARE(probe->status()->maximized, 1);
    QTRY_COMPARE(window->geometry(), screenRect());
    QVERIFY(window->isFullScreen());
    QCOMPARE(button->objectName(), QStringLiteral("WindowNormal"));
    QCOMPARE(button->styleSheet(), kNormalFace);
    QCOMPARE(probe->maxButtonState(), 0);
    checkHelperSwitches(false);

    button->click();
    QCOMPARE(probe->status()->maximized, 0);
    QTRY_COMPARE(window->geometry(), normal);
    QVERIFY(!window->isFullScreen());
    QCOMPARE(button->objectName(), QStringLiteral("WindowMax"));
    QCOMPARE(probe->maxButtonState(), 1);
    checkHelperSwitches(true);
}

void TstWindowState::bannerDoubleClick_data()
{
    QTest::addColumn<QPoint>("offset"); // from the window's top-left
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("maximises");

    // The window is 1115 wide: W - 6 = 1109. Off the title-bar buttons (y < 20).
    QTest::newRow("inside") << QPoint(100, 20) << Qt::LeftButton << true;
    QTest::newRow("right button") << QPoint(100, 20) << Qt::RightButton << false;
    QTest::newRow("dx 5") << QPoint(5, 30) << Qt::LeftButton << false;
    QTest::newRow("dx 6") << QPoint(6, 30) << Qt::LeftButton << true;
    QTest::newRow("dx W - 7") << QPoint(1108, 30) << Qt::LeftButton << true;
    QTest::newRow("dx W - 6") << QPoint(1109, 30) << Qt::LeftButton << false;
    QTest::newRow("dy 5") << QPoint(100, 5) << Qt::LeftButton << false;
    QTest::newRow("dy 6") << QPoint(100, 6) << Qt::LeftButton << true;
    QTest::newRow("dy 49") << QPoint(100, 49) << Qt::LeftButton << true;
    QTest::newRow("dy 50") << QPoint(100, 50) << Qt::LeftButton << false;
}

void TstWindowState::bannerDoubleClick()
{
    QFETCH(QPoint, offset);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, maximises);

    QCOMPARE(window->width(), 1115);
    doubleClick(offset, button);
    QCOMPARE(probe->status()->maximized, maximises ? 1 : 0);
    QCOMPARE(window->isFullScreen(), maximises);
}

void TstWindowState::videoFullScreen_data()
{
    QTest::addColumn<bool>("fromMaximised");
    QTest::addColumn<Qt::MouseButton>("button");

    QTest::newRow("from normal, right button") << false << Qt::RightButton;
    QTest::newRow("from maximised") << true << Qt::LeftButton;
}

void TstWindowState::videoFullScreen()
{
    QFETCH(bool, fromMaximised);
    QFETCH(Qt::MouseButton, button);

    const QRect normal = window->geometry();
    const QHash<QWidget *, QRect> layout = childGeometries();
    auto *video = window->findChild<QWidget *>(QStringLiteral("VideoWindow"));
    auto *close = window->findChild<QWidget *>(QStringLiteral("WindowClose"));
    const QPoint onVideo = video->geometry().center();
    // With nothing loaded there is nothing to fill the screen with.
    doubleClick(onVideo, button);
    QVERIFY(!probe->fullScreenOn());
    const QString clip = folder->filePath(QStringLiteral("card/DCIM/100MEDIA/FILE0001.MOV"));
    QVERIFY(testrecordings::makeClip(clip, 30));
    window->importVideos({ clip });
    probe->loadMapToPlay(0);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), 20000);
    if (fromMaximised) {
        probe->windowMax()->click();
        QTRY_COMPARE(window->geometry(), screenRect());
    }

    doubleClick(onVideo, button);
    QVERIFY(probe->fullScreenOn());
    QCOMPARE(probe->status()->maximized, 0);
    QCOMPARE(probe->maxButtonState(), 1);
    QCOMPARE(probe->windowMax()->objectName(), QStringLiteral("WindowMax"));
    checkHelperSwitches(false);
    QTRY_COMPARE(window->geometry(), screenRect());
    QCOMPARE(video->geometry(), window->rect());
    QCOMPARE(window->childAt(close->geometry().center()), video);
    // A resize that arrives later through the window system, as a window
    // manager that keeps a panel free would send it.
    const QSize managed = screenRect().size() - QSize(0, kPanelHeight);
    window->windowHandle()->resize(managed);
    QTRY_COMPARE(window->size(), managed);
    QCOMPARE(video->geometry(), window->rect());

    doubleClick(video->geometry().center(), Qt::LeftButton);
    QVERIFY(!probe->fullScreenOn());
    QCOMPARE(probe->maxButtonState(), 1);
    checkHelperSwitches(true);
    QTRY_COMPARE(window->geometry(), normal);
    const QHash<QWidget *, QRect> after = childGeometries();
    for (auto it = layout.cbegin(); it != layout.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()->objectName()));
}

QTEST_MAIN(TstWindowState)
#include "tst_windowstate.moc"
