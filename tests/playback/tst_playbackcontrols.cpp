// The transport buttons on a real window: the real player with ffmpeg clips,
// the real web view with test pages that record their calls.

#include "playingwindow.h"

#include "catalogue/uvideoandgpsfiles.h"
#include "playback/displaytexts.h"
#include "playback/mappages.h"
#include "playback/playbackrate.h"
#include "playback/uvlcwrapper.h"
#include "widgets/uspeedmeter.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

using namespace testrecordings;

namespace {

QByteArray logWithFixes(int seconds)
{
    QByteArray log;
    for (int second = 0; second < seconds; ++second)
        log += "A,030410,1310" + QByteArray::number(10 + second)
                + ",4618.9395,N,00656.1347,E,12.00,0.10,0.20,0.99;\n";
    return log;
}

// Second s at s knots: the speed shown tells which record is shown.
QByteArray logCountingSeconds(int seconds)
{
    QByteArray log;
    for (int second = 0; second < seconds; ++second)
        log += "A,030410,1310" + QByteArray::number(10 + second) + ",4618.9395,N,00656.1347,E,"
                + QByteArray::number(second) + ".00,0.10,0.20,0.99;\n";
    return log;
}

constexpr double kKmhPerKnot = 1.852;

// Recordings without a log start as soon as their page has loaded.
QList<QByteArray> withoutLogs(int count)
{
    return QList<QByteArray>(count, QByteArray());
}

} // namespace

class TestPlaybackControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void playPauseFaces();
    void nextAndPrevious_data();
    void nextAndPrevious();
    void stopResetsDisplay();
    void stopDuringMapLoad();
    void deleteRecording_data();
    void deleteRecording();
    void keys_data();
    void keys();
    void seekKeys();
    void buttonsExplainThemselves();
    void nothingToPlay();
    void sliders_data();
    void sliders();
    void rateKeys_data();
    void rateKeys();
    void fastRatePlaysFaster();
    void frameSteps();
    void clockOffsetShiftsTheRecord_data();
    void clockOffsetShiftsTheRecord();

private:
    void waitForState(int state);
    void playThenPause(const QList<QByteArray> &logs);
    int shownSecond();
    void activate();
    void verifyResetDisplay();

    QTemporaryDir clips;
    QString clip;
    QString longClip;
    PlayingWindow w;
};

void TestPlaybackControls::initTestCase()
{
    collectDebugLines();
    clip = clips.filePath(QStringLiteral("clip.MOV"));
    QVERIFY2(makeClip(clip), "ffmpeg could not make a clip");
    longClip = clips.filePath(QStringLiteral("long.MOV"));
    QVERIFY2(makeClip(longClip, 20), "ffmpeg could not make a clip");
}

void TestPlaybackControls::cleanup()
{
    w.close();
}

void TestPlaybackControls::waitForState(int state)
{
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetState(), state, kTimeout);
}

// Shortcuts reach only the active window.
void TestPlaybackControls::activate()
{
    w.window->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(w.window->isActiveWindow(), kTimeout);
}

void TestPlaybackControls::verifyResetDisplay()
{
    QCOMPARE(w.child<QLabel>("VideoTime")->text(), emptyTimeLabelText());
    QCOMPARE(w.child<QSlider>("VideoTimeSlider")->value(), 0);
    QCOMPARE(w.child<QLabel>("CarPositionNumber")->text(), QString());
    QCOMPARE(w.child<QLabel>("VideoName")->text(), QString());
    QCOMPARE(w.probe->playButtonState(), 1);
    QCOMPARE(w.probe->videoPlay()->objectName(), QStringLiteral("VideoPlay"));
    QCOMPARE(w.probe->pathDrawn(), 0);
    QCOMPARE(w.probe->status()->mapState, 0);
    QCOMPARE(w.probe->player()->GetState(), int(UVlcWrapper::Error));
    QVERIFY(!w.probe->notConnectedTimer()->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->googleMap()->url(), mapPageUrl(MapPage::Start), kTimeout);
}

// Each click swaps the face first, then starts, pauses or resumes.
void TestPlaybackControls::playPauseFaces()
{
    QVERIFY(w.make(clip, withoutLogs(3)));
    QPushButton *play = w.probe->videoPlay();
    w.probe->player()->SetIndex(1); // as a single click in a list does
    QSignalSpy pageLoaded(w.probe->googleMap(), &QWebEngineView::loadFinished);

    play->click();
    QCOMPARE(play->objectName(), QStringLiteral("VideoPause"));
    QCOMPARE(w.probe->playButtonState(), 0);
    QVERIFY(play->styleSheet().startsWith(QLatin1String(
            "#VideoPlay          {border-image:url(:/images/Video_Play.png); border-radius: 8px;}")));
    waitForState(UVlcWrapper::Playing);
    QCOMPARE(w.probe->player()->GetIndex(), 1);
    // The cycle would put the face right while the player catches up; the
    // recording's page, loaded, has its calls counted from nothing.
    w.probe->updateTimer()->stop();
    QTRY_VERIFY_WITH_TIMEOUT(!pageLoaded.isEmpty(), kTimeout);
    const int located = w.calls().count(asRecorded(setLocationScript()));

    play->click();
    QCOMPARE(play->objectName(), QStringLiteral("VideoPlay"));
    QCOMPARE(w.probe->playButtonState(), 1);
    QVERIFY(play->styleSheet().startsWith(QLatin1String("#VideoPause         {")));
    waitForState(UVlcWrapper::Paused);

    play->click();
    QCOMPARE(play->objectName(), QStringLiteral("VideoPause"));
    waitForState(UVlcWrapper::Playing);
    QCOMPARE(w.calls().count(asRecorded(setLocationScript())), located + 2);
}

void TestPlaybackControls::nextAndPrevious_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("page");

    // Page 5 is where the test leaves the list: a move shows the player's page.
    QTest::newRow("next onto the next page") << 9 << "VideoNext" << 10 << 1;
    QTest::newRow("previous onto the page before") << 10 << "VideoPre" << 9 << 0;
    QTest::newRow("next from nothing chosen") << -1 << "VideoNext" << 0 << 0;
    QTest::newRow("no next after the last") << 11 << "VideoNext" << 11 << 5;
    QTest::newRow("no previous before the first") << 0 << "VideoPre" << 0 << 5;
}

void TestPlaybackControls::nextAndPrevious()
{
    QFETCH(int, start);
    QFETCH(QString, button);
    QFETCH(int, index);
    QFETCH(int, page);

    QVERIFY(w.make(clip, withoutLogs(12)));
    w.probe->loadMapToPlay(start);
    w.probe->status()->currentPage = 5;
    w.child<QPushButton>(button.toLatin1().constData())->click();
    QCOMPARE(w.probe->player()->GetIndex(), index);
    QCOMPARE(w.probe->status()->currentPage, page);
    if (index != start) {
        const int row = index % 10;
        QTableWidget *table = row < 5 ? w.probe->videoListLeft() : w.probe->videoListRight();
        QCOMPARE(table->currentRow(), row % 5);
        QCOMPARE(table->item(row % 5, 0)->text(),
                 QStringLiteral("FILE%1.MOV").arg(index + 1, 4, 10, QLatin1Char('0')));
        waitForState(UVlcWrapper::Playing);
    }
}

// Stopped by the button, the media is released: later ticks find nothing
// loaded and leave the reset display alone.
void TestPlaybackControls::stopResetsDisplay()
{
    QVERIFY(w.make(clip, { logWithFixes(3) }));
    w.probe->loadMapToPlay(0);
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->pathDrawn(), 1, kTimeout);
    QVERIFY(!w.child<QLabel>("CarPositionNumber")->text().isEmpty());
    QCOMPARE(w.probe->playButtonState(), 0);

    debugLines().clear();
    w.child<QPushButton>("VideoStop")->click();
    for (int tick = 0; tick < 3; ++tick)
        w.probe->updateUIData();
    verifyResetDisplay();
    QVERIFY(!debugLines().contains(QStringLiteral("real stopped.")));
}

// The no-connection page would otherwise start the stopped recording later.
void TestPlaybackControls::stopDuringMapLoad()
{
    QVERIFY(w.make(clip, { logWithFixes(3) }));
    w.probe->loadMapToPlay(0);
    QVERIFY(w.probe->notConnectedTimer()->isActive());
    w.child<QPushButton>("VideoStop")->click();
    verifyResetDisplay();
    QCOMPARE(w.evaluate(QStringLiteral("document.title")).toString(), QStringLiteral("start"));
    QCOMPARE(w.probe->player()->GetState(), int(UVlcWrapper::Error));
}

void TestPlaybackControls::deleteRecording_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("row");

    QTest::newRow("playing") << int(UVlcWrapper::Playing) << 2;
    QTest::newRow("paused") << int(UVlcWrapper::Paused) << 2;
    QTest::newRow("ended") << int(UVlcWrapper::Ended) << 2;
    QTest::newRow("another one") << int(UVlcWrapper::Playing) << 0;
}

// The loaded recording is the last, so that its end starts no other.
void TestPlaybackControls::deleteRecording()
{
    QFETCH(int, state);
    QFETCH(int, row);

    QVERIFY(w.make(clip, withoutLogs(3)));
    w.probe->loadMapToPlay(2);
    waitForState(UVlcWrapper::Playing);
    if (state == UVlcWrapper::Paused)
        w.probe->player()->Pause();
    waitForState(state);

    w.probe->videoListLeft()->setCurrentCell(row, 0);
    w.child<QPushButton>("VideoListItemDelete")->click();
    QCOMPARE(w.probe->catalogue()->GetVideoCount(), 2);
    if (row == 2) {
        verifyResetDisplay();
    } else {
        QCOMPARE(w.probe->player()->GetState(), state);
        QCOMPARE(w.probe->player()->GetIndex(), 1);
        w.probe->updateUIData();
        QCOMPARE(w.child<QLabel>("VideoName")->text(), QStringLiteral("FILE0003.MOV"));
    }
}

void TestPlaybackControls::keys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("volume");
    QTest::addColumn<bool>("fullScreen");

    const QList<int> f = { Qt::Key_F };
    QTest::newRow("Up") << QList<int>{ Qt::Key_Up } << false << 55 << false;
    QTest::newRow("Down twice") << QList<int>{ Qt::Key_Down, Qt::Key_Down } << false << 40 << false;
    QTest::newRow("F") << f << true << 50 << true;
    QTest::newRow("F with nothing loaded") << f << false << 50 << false;
    QTest::newRow("Enter") << QList<int>{ Qt::Key_Return } << true << 50 << true;
    QTest::newRow("F, Esc") << QList<int>{ Qt::Key_F, Qt::Key_Escape } << true << 50 << false;
    QTest::newRow("Esc alone") << QList<int>{ Qt::Key_Escape } << false << 50 << false;
}

void TestPlaybackControls::keys()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, playing);
    QFETCH(int, volume);
    QFETCH(bool, fullScreen);

    QVERIFY(w.make(clip, withoutLogs(1)));
    if (playing) {
        w.probe->loadMapToPlay(0);
        waitForState(UVlcWrapper::Playing);
    }
    activate();
    for (const int key : keys)
        QTest::keyClick(w.window.get(), Qt::Key(key));
    QCOMPARE(w.child<QSlider>("VideoVolumnSlider")->value(), volume);
    QCOMPARE(w.probe->fullScreenOn(), fullScreen);
}

// Space acts as the button, then the arrows seek from where it paused.
void TestPlaybackControls::seekKeys()
{
    QVERIFY(w.make(longClip, withoutLogs(1)));
    activate();
    w.probe->player()->SetIndex(0);
    QTest::keyClick(w.window.get(), Qt::Key_Space);
    QCOMPARE(w.probe->videoPlay()->objectName(), QStringLiteral("VideoPause"));
    waitForState(UVlcWrapper::Playing);
    w.probe->updateTimer()->stop(); // the cycle would undo the face below
    QTest::keyClick(w.window.get(), Qt::Key_Space);
    waitForState(UVlcWrapper::Paused);
    QCOMPARE(w.probe->videoPlay()->objectName(), QStringLiteral("VideoPlay"));

    UVlcWrapper *player = w.probe->player();
    const qint64 before = player->GetPlayTime();
    QTest::keyClick(w.window.get(), Qt::Key_Right);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayTime() >= before + 4500, kTimeout);
    const qint64 after = player->GetPlayTime();
    QVERIFY2(after <= before + 5500, qPrintable(QString::number(after - before)));
    QTest::keyClick(w.window.get(), Qt::Key_Left);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayTime() <= after - 4500, kTimeout);
}

void TestPlaybackControls::buttonsExplainThemselves()
{
    QVERIFY(w.make(clip, withoutLogs(1)));
    // The speed meter's own buttons are not the window's.
    for (const QPushButton *button :
         w.window->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly)) {
        QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }
    for (const QTableWidget *table :
         w.window->findChildren<QTableWidget *>(QString(), Qt::FindDirectChildrenOnly))
        QCOMPARE(table->focusPolicy(), Qt::NoFocus);
}

// Play and Space with an empty list change nothing, not even the face.
void TestPlaybackControls::nothingToPlay()
{
    QVERIFY(w.make(clip, withoutLogs(0)));
    activate();
    w.probe->videoPlay()->click();
    QTest::keyClick(w.window.get(), Qt::Key_Space);
    QCOMPARE(w.probe->playButtonState(), 1);
    QCOMPARE(w.probe->videoPlay()->objectName(), QStringLiteral("VideoPlay"));
}

void TestPlaybackControls::sliders_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("volume heard from the start") << "start";
    QTest::newRow("click on the time groove") << "time click";
    QTest::newRow("click on the volume groove") << "volume click";
    QTest::newRow("tick leaves a held slider") << "held";
    QTest::newRow("seek while paused") << "paused seek";
}

void TestPlaybackControls::sliders()
{
    QFETCH(QString, action);
    QVERIFY(w.make(longClip, withoutLogs(1)));
    w.probe->loadMapToPlay(0);
    waitForState(UVlcWrapper::Playing);
    UVlcWrapper *player = w.probe->player();
    auto *time = w.child<QSlider>("VideoTimeSlider");
    auto *volume = w.child<QSlider>("VideoVolumnSlider");
    const auto grooveAt = [](QSlider *slider, double share) {
        QTest::mouseClick(slider, Qt::LeftButton, {},
                          QPoint(int(slider->width() * share), slider->height() / 2));
    };
    if (action == QLatin1String("start")) {
        QCOMPARE(player->GetVolume(), volume->value());
    } else if (action == QLatin1String("time click")) {
        // The handle jumps to the click, and the video with it.
        grooveAt(time, 0.75);
        QVERIFY2(qAbs(time->value() - 750) < 60, qPrintable(QString::number(time->value())));
        QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayTime() > 12000, kTimeout);
    } else if (action == QLatin1String("volume click")) {
        grooveAt(volume, 0.25);
        QVERIFY2(qAbs(volume->value() - 25) < 6, qPrintable(QString::number(volume->value())));
        QCOMPARE(player->GetVolume(), volume->value());
    } else if (action == QLatin1String("held")) {
        // The video plays on under a handle the user holds still.
        time->setSliderDown(true);
        const int held = time->sliderPosition();
        const qint64 before = player->GetPlayTime();
        QTest::qWait(1500);
        QCOMPARE(time->sliderPosition(), held);
        QVERIFY(player->GetPlayTime() > before + 700);
        time->setSliderDown(false);
    } else {
        // No tick follows a paused picture: the seek itself moves the display.
        player->Pause();
        waitForState(UVlcWrapper::Paused);
        activate();
        const QString before = w.child<QLabel>("VideoTime")->text();
        QTest::keyClick(w.window.get(), Qt::Key_Right);
        QVERIFY(w.child<QLabel>("VideoTime")->text() != before);
        QVERIFY(time->value() >= 200);
    }
}

void TestPlaybackControls::playThenPause(const QList<QByteArray> &logs)
{
    QVERIFY(w.make(longClip, logs));
    w.probe->loadMapToPlay(0);
    waitForState(UVlcWrapper::Playing);
    QTest::qWait(3000);
    activate();
    QTest::keyClick(w.window.get(), Qt::Key_Space);
    waitForState(UVlcWrapper::Paused);
}

// The log's second whose speed the meter shows.
int TestPlaybackControls::shownSecond()
{
    return qRound(w.probe->speedMeter()->carSpeed() / kKmhPerKnot);
}

void TestPlaybackControls::rateKeys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<double>("rate");

    const auto times = [](int key, int count) { return QList<int>(count, key); };
    QTest::newRow("] once") << times(Qt::Key_BracketRight, 1) << 1.25;
    QTest::newRow("] up to the fastest and past it") << times(Qt::Key_BracketRight, 12) << 4.0;
    QTest::newRow("[ down to the slowest and past it") << times(Qt::Key_BracketLeft, 12) << 0.25;
    QTest::newRow("fastest, then one down") << times(Qt::Key_BracketRight, 12) + times(Qt::Key_BracketLeft, 1)
                                            << 3.0;
    QTest::newRow("] [ is normal again") << QList<int>{ Qt::Key_BracketRight, Qt::Key_BracketLeft } << 1.0;
}

// The speed is the player's, kept for every recording; the keys stop at either end.
void TestPlaybackControls::rateKeys()
{
    QFETCH(QList<int>, keys);
    QFETCH(double, rate);

    QVERIFY(w.make(clip, withoutLogs(1)));
    activate();
    for (const int key : keys)
        QTest::keyClick(w.window.get(), Qt::Key(key));
    QCOMPARE(w.probe->player()->rate(), rate);
    auto *flash = w.child<QLabel>("Flash");
    QCOMPARE(flash->isVisible(), rate != 1.0 || keys.size() > 1);
    if (flash->isVisible())
        QCOMPARE(flash->text(), PlaybackRate::overlayText(rate));
    // A recording the user starts plays at normal speed (a view takes a
    // double click only on the item its first click pressed).
    QTableWidget *list = w.probe->videoListLeft();
    const QPoint at = list->visualItemRect(list->item(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w.probe->player()->rate(), 1.0);
}

void TestPlaybackControls::fastRatePlaysFaster()
{
    QVERIFY(w.make(longClip, withoutLogs(1)));
    w.probe->loadMapToPlay(0);
    waitForState(UVlcWrapper::Playing);
    activate();
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(w.window.get(), Qt::Key_BracketRight);
    UVlcWrapper *player = w.probe->player();
    const qint64 before = player->GetPlayTime();
    QTest::qWait(1500);
    const qint64 played = player->GetPlayTime() - before;
    QVERIFY2(played > 3500, qPrintable(QStringLiteral("%1 ms in 1.5 s at 4x").arg(played)));
}

// A picture on while paused, the display with it; a second back with ','.
void TestPlaybackControls::frameSteps()
{
    playThenPause({ logCountingSeconds(20) });
    UVlcWrapper *player = w.probe->player();
    auto *label = w.child<QLabel>("VideoTime");
    const qint64 paused = player->GetPlayTime();
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(w.window.get(), Qt::Key_Period);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayTime() > paused, kTimeout);
    QCOMPARE(player->GetState(), int(UVlcWrapper::Paused));
    QVERIFY2(player->GetPlayTime() < paused + 1000, qPrintable(QString::number(player->GetPlayTime() - paused)));

    QCOMPARE(label->text(), timeLabelText(player->GetPlayTime(), player->GetMediaLength()));

    // A second back: the time and meter follow.
    const qint64 stepped = player->GetPlayTime();
    QTest::keyClick(w.window.get(), Qt::Key_Comma);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayTime() <= stepped - 900, kTimeout);
    QVERIFY2(player->GetPlayTime() >= stepped - 1600, qPrintable(QString::number(stepped - player->GetPlayTime())));
    QVERIFY2(qAbs(shownSecond() - int(stepped - 1000) / 1000) <= 1, qPrintable(QString::number(shownSecond())));
}

void TestPlaybackControls::clockOffsetShiftsTheRecord_data()
{
    QTest::addColumn<QList<int>>("steps"); // +1 for Ctrl+], -1 for Ctrl+[
    QTest::addColumn<int>("offset");

    QTest::newRow("one later") << QList<int>{ 1 } << 1;
    QTest::newRow("two earlier") << QList<int>{ -1, -1 } << -2;
    QTest::newRow("there and back") << QList<int>{ 1, 1, -1 } << 1;
}

// The picture stays; the speed, graph and position come from the log's
// record that many seconds away, and the library remembers it.
void TestPlaybackControls::clockOffsetShiftsTheRecord()
{
    QFETCH(QList<int>, steps);
    QFETCH(int, offset);

    playThenPause({ logCountingSeconds(20) });
    UVlcWrapper *player = w.probe->player();
    const qint64 paused = player->GetPlayTime();
    const int before = shownSecond();
    QCOMPARE(before, int(paused / 1000));
    for (const int step : steps)
        QTest::keyClick(w.window.get(), step > 0 ? Qt::Key_BracketRight : Qt::Key_BracketLeft, Qt::ControlModifier);
    QCOMPARE(player->GetPlayTime(), paused);
    QCOMPARE(shownSecond(), before + offset);
    QCOMPARE(w.child<QLabel>("Flash")->text(), clockOffsetOverlayText(offset));

    // Playing on, the offset stays.
    QTest::keyClick(w.window.get(), Qt::Key_Space);
    waitForState(UVlcWrapper::Playing);
    QTest::qWait(600);
    w.probe->updateUIData();
    QCOMPARE(shownSecond(), int(player->GetPlayTime() / 1000) + offset);
}

QTEST_MAIN(TestPlaybackControls)

#include "tst_playbackcontrols.moc"
