#include "app/velmora.h"
#include "runfolder.h"
#include "velmoraprobe.h"

#include "playback/mappages.h"
#include "playback/uvlcwrapper.h"
#include "widgets/udoubleclickedwidget.h"
#include "widgets/uspeedmeter.h"

#include <QGraphicsView>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <memory>

using Geometry = QHash<QString, QRect>;
Q_DECLARE_METATYPE(Geometry)

namespace {

const QStringList kButtonNames = {
    QStringLiteral("VideoPre"), QStringLiteral("VideoNext"), QStringLiteral("VideoPlay"),
    QStringLiteral("VideoStop"), QStringLiteral("VideoListPrePage"),
    QStringLiteral("VideoListNextPage"), QStringLiteral("VideoListItemImport"),
    QStringLiteral("VideoListItemDelete"), QStringLiteral("WindowMin"), QStringLiteral("WindowMax"),
    QStringLiteral("WindowClose"), QStringLiteral("Shot"),
};

} // namespace

class TestVelmora : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void bannerCoversOddAndEvenWidths_data();
    void bannerCoversOddAndEvenWidths();
    void cannotShrinkBelowMinimum();

    void childrenHaveNamesParentsAndInitialValues();
    void windowSettings();
    void stateStartsCleared();
    void tablesAreSetUpAlike();
    void videoSurfaceIsTopmost();

    void startPageLoadsAtStartUp();
    void missingImagesFolderStillStarts();

private:
    QWidget *child(const QString &name) const;
    void showAt(const QSize &size);

    std::unique_ptr<ScratchRunFolder> folder;
    std::unique_ptr<Velmora> window;
};

void TestVelmora::init()
{
    folder = std::make_unique<ScratchRunFolder>();
    window = std::make_unique<Velmora>(nullptr);
}

void TestVelmora::cleanup()
{
    window.reset();
    folder.reset();
}

QWidget *TestVelmora::child(const QString &name) const
{
    auto *widget = window->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
    if (!widget)
        qWarning("no child widget named %s", qPrintable(name));
    return widget;
}

void TestVelmora::showAt(const QSize &size)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->resize(size);
    QTRY_COMPARE(window->size(), size);
}

void TestVelmora::layout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Geometry>("expected");

    QTest::newRow("initial 1115 x 670") << QSize(1115, 670) << Geometry {
        { "Header_Left", { 0, 0, 407, 50 } },       { "Header_Center", { 407, 0, 300, 50 } },
        { "Header_Right", { 707, 0, 407, 50 } },    { "VideoWindow", { 5, 55, 640, 360 } },
        { "GoogleMap", { 650, 55, 460, 360 } },     { "CarPosition", { 650, 415, 460, 40 } },
        { "CarPositionNumber", { 650, 455, 460, 40 } },
        { "CarSpeedMeter", { 650, 500, 460, 120 } }, { "VideoName", { 15, 425, 110, 20 } },
        { "VideoTime", { 15, 445, 110, 20 } },      { "VideoTimeSlider", { 5, 468, 426, 20 } },
        { "AudioIndicator", { 513, 468, 20, 20 } }, { "VideoVolumnSlider", { 533, 468, 106, 20 } },
        { "VideoListLeft", { 5, 500, 320, 125 } },  { "VideoListRight", { 325, 500, 320, 125 } },
        { "VideoPre", { 187, 423, 35, 35 } },       { "VideoPlay", { 267, 423, 35, 35 } },
        { "VideoNext", { 347, 423, 35, 35 } },      { "VideoStop", { 427, 423, 35, 35 } },
        { "Shot", { 587, 423, 35, 35 } },           { "VideoListItemImport", { 187, 630, 35, 35 } },
        { "VideoListPrePage", { 267, 630, 35, 35 } },
        { "VideoListNextPage", { 347, 630, 35, 35 } },
        { "VideoListItemDelete", { 427, 630, 35, 35 } },
        { "WindowMin", { 1050, 0, 20, 20 } },       { "WindowMax", { 1070, 0, 20, 20 } },
        { "WindowClose", { 1090, 0, 20, 20 } },
    };

    QTest::newRow("full HD 1920 x 1080") << QSize(1920, 1080) << Geometry {
        { "Header_Left", { 0, 0, 810, 50 } },       { "Header_Center", { 810, 0, 300, 50 } },
        { "Header_Right", { 1110, 0, 810, 50 } },   { "VideoWindow", { 5, 55, 1445, 770 } },
        { "GoogleMap", { 1455, 55, 460, 770 } },    { "CarPosition", { 1455, 825, 460, 40 } },
        { "CarPositionNumber", { 1455, 865, 460, 40 } },
        { "CarSpeedMeter", { 1455, 910, 460, 120 } }, { "VideoName", { 15, 835, 110, 20 } },
        { "VideoTime", { 15, 855, 110, 20 } },      { "VideoTimeSlider", { 5, 878, 963, 20 } },
        { "AudioIndicator", { 1184, 878, 20, 20 } }, { "VideoVolumnSlider", { 1204, 878, 240, 20 } },
        { "VideoListLeft", { 5, 910, 722, 125 } },  { "VideoListRight", { 727, 910, 722, 125 } },
        { "VideoPre", { 590, 833, 35, 35 } },       { "VideoPlay", { 670, 833, 35, 35 } },
        { "VideoNext", { 750, 833, 35, 35 } },      { "VideoStop", { 830, 833, 35, 35 } },
        { "Shot", { 990, 833, 35, 35 } },           { "VideoListItemImport", { 590, 1040, 35, 35 } },
        { "VideoListPrePage", { 670, 1040, 35, 35 } },
        { "VideoListNextPage", { 750, 1040, 35, 35 } },
        { "VideoListItemDelete", { 830, 1040, 35, 35 } },
        { "WindowMin", { 1855, 0, 20, 20 } },       { "WindowMax", { 1875, 0, 20, 20 } },
        { "WindowClose", { 1895, 0, 20, 20 } },
    };

    // An odd width and height: every division truncates (D = 802, A = 383).
    QTest::newRow("odd 1277 x 701") << QSize(1277, 701) << Geometry {
        { "Header_Left", { 0, 0, 488, 50 } },       { "Header_Center", { 488, 0, 300, 50 } },
        { "Header_Right", { 788, 0, 488, 50 } },    { "VideoWindow", { 5, 55, 802, 391 } },
        { "GoogleMap", { 812, 55, 460, 391 } },     { "CarPosition", { 812, 446, 460, 40 } },
        { "CarPositionNumber", { 812, 486, 460, 40 } },
        { "CarSpeedMeter", { 812, 531, 460, 120 } }, { "VideoName", { 15, 456, 110, 20 } },
        { "VideoTime", { 15, 476, 110, 20 } },      { "VideoTimeSlider", { 5, 499, 534, 20 } },
        { "AudioIndicator", { 648, 499, 20, 20 } }, { "VideoVolumnSlider", { 668, 499, 133, 20 } },
        { "VideoListLeft", { 5, 531, 401, 125 } },  { "VideoListRight", { 406, 531, 401, 125 } },
        { "VideoPre", { 268, 454, 35, 35 } },       { "VideoPlay", { 348, 454, 35, 35 } },
        { "VideoNext", { 428, 454, 35, 35 } },      { "VideoStop", { 508, 454, 35, 35 } },
        { "Shot", { 668, 454, 35, 35 } },           { "VideoListItemImport", { 268, 661, 35, 35 } },
        { "VideoListPrePage", { 348, 661, 35, 35 } },
        { "VideoListNextPage", { 428, 661, 35, 35 } },
        { "VideoListItemDelete", { 508, 661, 35, 35 } },
        { "WindowMin", { 1212, 0, 20, 20 } },       { "WindowMax", { 1232, 0, 20, 20 } },
        { "WindowClose", { 1252, 0, 20, 20 } },
    };
}

void TestVelmora::layout()
{
    QFETCH(QSize, size);
    QFETCH(Geometry, expected);

    showAt(size);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QWidget *widget = child(it.key());
        QVERIFY(widget);
        QVERIFY2(widget->geometry() == it.value(),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                .arg(it.key())
                                .arg(widget->x())
                                .arg(widget->y())
                                .arg(widget->width())
                                .arg(widget->height())));
    }
    QCOMPARE(expected.size(), 27);
}

void TestVelmora::bannerCoversOddAndEvenWidths_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("covered");

    QTest::newRow("even width covers all") << 1116 << 1116;
    QTest::newRow("odd width leaves the last column") << 1115 << 1114;
}

void TestVelmora::bannerCoversOddAndEvenWidths()
{
    QFETCH(int, width);
    QFETCH(int, covered);

    showAt(QSize(width, 670));
    const QWidget *left = child(QStringLiteral("Header_Left"));
    const QWidget *center = child(QStringLiteral("Header_Center"));
    const QWidget *right = child(QStringLiteral("Header_Right"));
    QCOMPARE(left->x() + left->width(), center->x());
    QCOMPARE(center->x() + center->width(), right->x());
    QCOMPARE(right->x() + right->width(), covered);
}

void TestVelmora::cannotShrinkBelowMinimum()
{
    showAt(QSize(1115, 670));
    window->resize(800, 500);
    QTest::qWait(50);
    QCOMPARE(window->size(), QSize(1115, 670));
    QCOMPARE(child(QStringLiteral("VideoWindow"))->minimumSize(), QSize(640, 360));
}

void TestVelmora::childrenHaveNamesParentsAndInitialValues()
{
    const QStringList others = {
        QStringLiteral("Header_Left"), QStringLiteral("Header_Center"),
        QStringLiteral("Header_Right"), QStringLiteral("VideoWindow"), QStringLiteral("GoogleMap"),
        QStringLiteral("VideoTimeSlider"), QStringLiteral("VideoVolumnSlider"),
        QStringLiteral("AudioIndicator"), QStringLiteral("CarPosition"),
        QStringLiteral("CarPositionNumber"), QStringLiteral("VideoListLeft"),
        QStringLiteral("VideoListRight"), QStringLiteral("CarSpeedMeter"),
        QStringLiteral("VideoTime"), QStringLiteral("VideoName"),
    };
    for (const QString &name : kButtonNames + others) {
        QWidget *widget = child(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->parentWidget(), window.get());
    }
    for (const QString &name : kButtonNames) {
        QVERIFY2(qobject_cast<QPushButton *>(child(name)), qPrintable(name));
        QCOMPARE(child(name)->focusPolicy(), Qt::NoFocus);
    }

    QVERIFY(qobject_cast<UDoubleClickedWidget *>(child(QStringLiteral("VideoWindow"))));
    QVERIFY(qobject_cast<QWebEngineView *>(child(QStringLiteral("GoogleMap"))));
    QVERIFY(qobject_cast<USpeedMeter *>(child(QStringLiteral("CarSpeedMeter"))));
    QVERIFY(qobject_cast<QGraphicsView *>(child(QStringLiteral("AudioIndicator"))));
    QVERIFY(qobject_cast<QGraphicsView *>(child(QStringLiteral("CarPosition"))));

    auto *time = qobject_cast<QLabel *>(child(QStringLiteral("VideoTime")));
    QCOMPARE(time->text(), QStringLiteral("00:00:00/00:00:00"));
    QVERIFY(qobject_cast<QLabel *>(child(QStringLiteral("VideoName")))->text().isEmpty());
    QVERIFY(qobject_cast<QLabel *>(child(QStringLiteral("CarPositionNumber")))->text().isEmpty());

    auto *timeSlider = qobject_cast<QSlider *>(child(QStringLiteral("VideoTimeSlider")));
    QCOMPARE(timeSlider->orientation(), Qt::Horizontal);
    QCOMPARE(timeSlider->minimum(), 0);
    QCOMPARE(timeSlider->maximum(), 1000);
    auto *volumeSlider = qobject_cast<QSlider *>(child(QStringLiteral("VideoVolumnSlider")));
    QCOMPARE(volumeSlider->orientation(), Qt::Horizontal);
    QCOMPARE(volumeSlider->minimum(), 0);
    QCOMPARE(volumeSlider->maximum(), 100);
    QCOMPARE(volumeSlider->value(), 50);
}

void TestVelmora::windowSettings()
{
    QCOMPARE(window->windowFlags(), Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    QCOMPARE(window->windowTitle(), QStringLiteral("Marvenda"));
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->minimumSize(), QSize(1115, 670));
    QVERIFY(window->testAttribute(Qt::WA_MouseTracking));
    QVERIFY(window->testAttribute(Qt::WA_Hover));
    for (const char *banner : { "Header_Left", "Header_Center", "Header_Right" })
        QVERIFY(child(QLatin1String(banner))->testAttribute(Qt::WA_MouseTracking));

    // Centred on what the screen leaves free, wherever the screen is.
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window->geometry().size(), QSize(1115, 670));
    QVERIFY(qAbs(window->geometry().center().x() - free.center().x()) <= 1);
    QVERIFY(qAbs(window->geometry().center().y() - free.center().y()) <= 1);
}

void TestVelmora::stateStartsCleared()
{
    VelmoraProbe probe(*window);
    QCOMPARE(probe.playButtonState(), 1);
    QCOMPARE(probe.maxButtonState(), 1);
    QCOMPARE(probe.pathDrawn(), 0);
    QVERIFY(!probe.fullScreenOn());
    QCOMPARE(probe.status()->maximized, 0);
    QCOMPARE(probe.status()->currentPage, 0);
    QCOMPARE(probe.status()->mapState, 0);
    QVERIFY(!probe.status()->isVisible());
    QVERIFY(probe.frameless());
    QVERIFY(probe.gpsLog());
    QVERIFY(probe.catalogue());
    QCOMPARE(probe.player()->GetIndex(), -1);
    QCOMPARE(probe.player()->GetState(), int(UVlcWrapper::Error));
    for (QTimer *timer : { probe.updateTimer(), probe.notConnectedTimer() }) {
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->parent(), window.get());
    }
    // The map gives up waiting once per recording, not every twelve seconds.
    QVERIFY(!probe.updateTimer()->isSingleShot());
    QVERIFY(probe.notConnectedTimer()->isSingleShot());
}

void TestVelmora::tablesAreSetUpAlike()
{
    showAt(QSize(1115, 670));
    for (const char *name : { "VideoListLeft", "VideoListRight" }) {
        auto *table = qobject_cast<QTableWidget *>(child(QLatin1String(name)));
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 5);
        QCOMPARE(table->columnCount(), 4);
        const QStringList headers = { "File Name", "Date", "Time", "GPS File" };
        for (int column = 0; column < 4; ++column)
            QCOMPARE(table->horizontalHeaderItem(column)->text(), headers.at(column));
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(table->rowHeight(row), 20);
            for (int column = 0; column < 4; ++column) {
                QVERIFY2(table->item(row, column), name);
                QVERIFY(table->item(row, column)->text().isEmpty());
            }
        }
        // The names take what the other columns leave.
        QCOMPARE(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
        QVERIFY2(table->horizontalHeader()->length() == table->viewport()->width(),
                 "the last column must end at the table's right edge");
        QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(table->focusPolicy(), Qt::NoFocus);
        QVERIFY(table->verticalHeader()->isHidden());
        QCOMPARE(table->gridStyle(), Qt::DashDotDotLine);
    }
    auto *left = qobject_cast<QTableWidget *>(child(QStringLiteral("VideoListLeft")));
    auto *right = qobject_cast<QTableWidget *>(child(QStringLiteral("VideoListRight")));
    QCOMPARE(left->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(right->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

// Only a notice or the speed's flash, while shown, lies above the video.
void TestVelmora::videoSurfaceIsTopmost()
{
    QWidget *topmost = nullptr;
    for (QObject *object : window->children()) {
        if (auto *widget = qobject_cast<QWidget *>(object); widget && !widget->isWindow()
            && widget->objectName() != QLatin1String("Notice") && widget->objectName() != QLatin1String("Flash"))
            topmost = widget;
    }
    QCOMPARE(topmost, child(QStringLiteral("VideoWindow")));
}

void TestVelmora::startPageLoadsAtStartUp()
{
    auto *map = qobject_cast<QWebEngineView *>(child(QStringLiteral("GoogleMap")));
    QCOMPARE(map->url(), QUrl::fromLocalFile(folder->filePath(QStringLiteral("images/startupp.html"))));
    QCOMPARE(map->url(), mapPageUrl(MapPage::Start));

    QSignalSpy finished(map, &QWebEngineView::loadFinished);
    window->show();
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), 20000);
    QCOMPARE(finished.first().first().toBool(), true);
}

void TestVelmora::missingImagesFolderStillStarts()
{
    cleanup();
    folder = std::make_unique<ScratchRunFolder>(ScratchRunFolder::Empty);
    window = std::make_unique<Velmora>(nullptr);

    auto *map = qobject_cast<QWebEngineView *>(child(QStringLiteral("GoogleMap")));
    QSignalSpy finished(map, &QWebEngineView::loadFinished);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), 20000);
    QCOMPARE(finished.first().first().toBool(), false);
    QVERIFY(window->isVisible());
}

QTEST_MAIN(TestVelmora)
#include "tst_velmora.moc"
