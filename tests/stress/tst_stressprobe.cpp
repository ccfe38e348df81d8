#include "stressprobe.h"

#include "app/velmora.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "playback/uvlcwrapper.h"
#include "runfolder.h"
#include "testrecordings.h"
#include "velmoraprobe.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

QRect rectFrom(const QString &answer)
{
    const QStringList words = answer.split(QLatin1Char(' '));
    if (words.size() < 4)
        return QRect();
    return QRect(
            words.at(0).toInt(), words.at(1).toInt(), words.at(2).toInt(), words.at(3).toInt());
}

QRect globalRect(const QWidget *widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

} // namespace

// The probe runs inside the real program, where it can only see widgets and
// meta-objects; here it looks at a real main window in the test's process.
class TestStressProbe : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void countsFollowCatalogueAndPlaylist_data();
    void countsFollowCatalogueAndPlaylist();
    void rect_data();
    void rect();
    void widgetUnderAnotherIsCovered();
    void cellLiesOverItsRow_data();
    void cellLiesOverItsRow();
    void handleFollowsValue();
    void windowsListModalDialog();
    void textOfLineEdit();
    void unknownRequests_data();
    void unknownRequests();

private:
    QWidget *child(const QString &name) const { return window->findChild<QWidget *>(name); }

    std::unique_ptr<ScratchRunFolder> folder;
    std::unique_ptr<Velmora> window;
};

void TestStressProbe::init()
{
    folder = std::make_unique<ScratchRunFolder>();
    window = std::make_unique<Velmora>(nullptr);
    // The program names its window in main().
    window->setObjectName(QStringLiteral("Velmora"));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestStressProbe::cleanup()
{
    window.reset();
    folder.reset();
}

void TestStressProbe::countsFollowCatalogueAndPlaylist_data()
{
    QTest::addColumn<int>("imported");
    QTest::addColumn<int>("deleted");

    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("three imported") << 3 << 0;
    QTest::newRow("three imported, one deleted") << 3 << 1;
    QTest::newRow("twelve imported, all deleted") << 12 << 12;
}

void TestStressProbe::countsFollowCatalogueAndPlaylist()
{
    QFETCH(int, imported);
    QFETCH(int, deleted);

    QStringList videos;
    for (int i = 0; i < imported; ++i) {
        videos << folder->filePath(
                QStringLiteral("card/DCIM/100MEDIA/FILE%1.MOV").arg(i, 4, 10, QLatin1Char('0')));
        QVERIFY(testrecordings::writeFile(videos.last(), "not a video"));
    }
    window->importVideos(videos);
    VelmoraProbe probe(*window);
    for (int i = 0; i < deleted; ++i)
        probe.catalogue()->DeleteVideoAndGpsfile(0);

    const int left = imported - deleted;
    QCOMPARE(probe.catalogue()->GetVideoCount(), left);
    QCOMPARE(StressProbe::answer(QStringLiteral("counts")),
            QStringLiteral("%1 %2 %3").arg(left).arg(left).arg(probe.player()->GetIndex()));
}

void TestStressProbe::rect_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("expected"); // object name of the widget, or empty for "none"

    QTest::newRow("button") << "VideoStop"
                            << "VideoStop";
    QTest::newRow("play button by either face") << "VideoPause|VideoPlay"
                                                << "VideoPlay";
    QTest::newRow("the window itself") << "Velmora"
                                       << "Velmora";
    QTest::newRow("no such widget") << "NoSuchWidget"
                                    << "";
    QTest::newRow("empty name") << "|"
                                << "";
}

void TestStressProbe::rect()
{
    QFETCH(QString, names);
    QFETCH(QString, expected);

    const QString answer = StressProbe::answer(QStringLiteral("rect ") + names);
    if (expected.isEmpty()) {
        QCOMPARE(answer, QStringLiteral("none"));
        return;
    }
    const QWidget *widget = expected == QLatin1String("Velmora") ? window.get() : child(expected);
    QVERIFY(widget);
    QCOMPARE(rectFrom(answer), globalRect(widget));
    QVERIFY2(!answer.endsWith(QLatin1String("covered")), qPrintable(answer));
}

void TestStressProbe::widgetUnderAnotherIsCovered()
{
    QWidget *stop = child(QStringLiteral("VideoStop"));
    QWidget cover(window.get());
    cover.setGeometry(stop->geometry().adjusted(-2, -2, 2, 2));
    cover.show();
    cover.raise();
    QTRY_VERIFY(StressProbe::answer(QStringLiteral("rect VideoStop"))
                        .endsWith(QLatin1String(" covered")));
    cover.hide();
    QCOMPARE(StressProbe::answer(QStringLiteral("rect VideoStop")),
            QStringLiteral("%1 %2 %3 %4")
                    .arg(globalRect(stop).x())
                    .arg(globalRect(stop).y())
                    .arg(stop->width())
                    .arg(stop->height()));
}

void TestStressProbe::cellLiesOverItsRow_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("left first") << "VideoListLeft" << 0 << 0;
    QTest::newRow("left last") << "VideoListLeft" << 4 << 3;
    QTest::newRow("right middle") << "VideoListRight" << 2 << 1;
}

void TestStressProbe::cellLiesOverItsRow()
{
    QFETCH(QString, table);
    QFETCH(int, row);
    QFETCH(int, column);

    auto *view = qobject_cast<QTableWidget *>(child(table));
    QVERIFY(view);
    const QRect cell = rectFrom(
            StressProbe::answer(QStringLiteral("cell %1 %2 %3").arg(table).arg(row).arg(column)));
    QVERIFY(cell.isValid());
    const QModelIndex under = view->indexAt(view->viewport()->mapFromGlobal(cell.center()));
    QCOMPARE(under.row(), row);
    QCOMPARE(under.column(), column);
    QCOMPARE(StressProbe::answer(QStringLiteral("cell %1 5 0").arg(table)), QStringLiteral("none"));
}

// The driver drags the handle from where the probe says it is.
void TestStressProbe::handleFollowsValue()
{
    auto *slider = qobject_cast<QSlider *>(child(QStringLiteral("VideoTimeSlider")));
    QVERIFY(slider);
    int previousX = -1;
    for (const int value : { 0, 500, 1000 }) {
        slider->setValue(value);
        const QRect handle
                = rectFrom(StressProbe::answer(QStringLiteral("handle VideoTimeSlider")));
        QVERIFY2(globalRect(slider).contains(handle.center()), qPrintable(QString::number(value)));
        QVERIFY2(handle.center().x() > previousX, qPrintable(QString::number(value)));
        previousX = handle.center().x();
    }
}

void TestStressProbe::windowsListModalDialog()
{
    QVERIFY(StressProbe::answer(QStringLiteral("windows"))
                    .startsWith(QLatin1String("Velmora Velmora ")));
    QDialog dialog(window.get());
    dialog.setObjectName(QStringLiteral("Asking"));
    dialog.setModal(true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QStringList windows
            = StressProbe::answer(QStringLiteral("windows")).split(QLatin1Char('|'));
    QCOMPARE(windows.size(), 2);
    const QStringList entry
            = windows.filter(QStringLiteral("QDialog Asking ")).value(0).split(QLatin1Char(' '));
    QCOMPARE(entry.size(), 8);
    QVERIFY2(entry.at(6).contains(QLatin1Char('m')), qPrintable(entry.join(QLatin1Char(' '))));
    QCOMPARE(entry.at(7).toULongLong(), quint64(dialog.winId()));
}

void TestStressProbe::textOfLineEdit()
{
    QDialog dialog(window.get());
    auto *edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("fileNameEdit"));
    edit->setText(QStringLiteral("/media/odd card/FILE0016 ünï 日本.MOV"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(StressProbe::answer(QStringLiteral("text fileNameEdit")), edit->text());
    QCOMPARE(StressProbe::answer(QStringLiteral("text VideoStop")), QStringLiteral("none"));
}

void TestStressProbe::unknownRequests_data()
{
    QTest::addColumn<QString>("request");
    QTest::newRow("empty") << "";
    QTest::newRow("unknown") << "quit";
    QTest::newRow("rect without name") << "rect";
    QTest::newRow("cell of a button") << "cell VideoStop 0 0";
    QTest::newRow("handle of a table") << "handle VideoListLeft";
}

void TestStressProbe::unknownRequests()
{
    QFETCH(QString, request);
    QCOMPARE(StressProbe::answer(request), QStringLiteral("none"));
    QCOMPARE(StressProbe::answer(QStringLiteral("ping")), QStringLiteral("pong"));
}

QTEST_MAIN(TestStressProbe)
#include "tst_stressprobe.moc"
