#include "playback/uvlcwrapper.h"
#include "runfolder.h"
#include "testrecordings.h"
#include "widgets/udoubleclickedwidget.h"
#ifdef VELMORA_TEST_XSERVER
#include "xserverhold.h"
#endif

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <memory>
#include <thread>

// A macro so that a failure names the line and the state actually reached.
#define WAIT_FOR_STATE(state) \
    QTRY_COMPARE_WITH_TIMEOUT(player->GetState(), int(state), kStateTimeout)

using testrecordings::makeClip;

namespace {

// Playback goes through threads and a real X server; this only bounds a wait.
constexpr int kStateTimeout = 15000;
// How long the X server is held at most: a stop that waits for the video
// output comes back only then.
constexpr int kHoldLimitMs = 10000;
constexpr int kStopUnderwayMs = 300;

const QString kMediaLine = QStringLiteral("Media is not NULL");

// Counts the wrapper's snapshot trace line and passes every message on.
QtMessageHandler previousHandler = nullptr;
int mediaLines = 0;

void countingHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg && message == kMediaLine)
        ++mediaLines;
    if (previousHandler)
        previousHandler(type, context, message);
}

QStringList picturesUnder(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// Whole seconds, so that container rounding does not matter.
int seconds(qint64 milliseconds)
{
    return int((milliseconds + 500) / 1000);
}

// How many distinct colours a picture holds: the test pattern has many, an
// unpainted or single-colour surface one or two.
int colourCount(const QImage &picture)
{
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            colours.insert(picture.pixel(x, y));
    return int(colours.size());
}

} // namespace

class TstUVlcWrapper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void freshWrapper();
    void setIndex_data();
    void setIndex();
    void removeMedia_data();
    void removeMedia();
    void stepping_data();
    void stepping();
    void editsLeavePlaybackAlone();
    void stop();
    void stopAndPlayInTurn_data();
    void stopAndPlayInTurn();
    void destroyedWhileStopping();
    void stopWhileVideoOutputWaits();
    void pathsPlay_data();
    void pathsPlay();
    void playsToEnd();
    void continuesWithPrepared_data();
    void continuesWithPrepared();
    void brokenFiles_data();
    void brokenFiles();
    void pauseAndSeek_data();
    void pauseAndSeek();
    void volume_data();
    void volume();
    void takeShot_data();
    void takeShot();
    void pausedTimeIsThePictures_data();
    void pausedTimeIsThePictures();
    void rendersIntoWidget();

private:
    void fill(int count);
    QString clip(int secondsLong) const;
    QImage grabSurface() const;

    QTemporaryDir clips;
    std::unique_ptr<UDoubleClickedWidget> surface;
    std::unique_ptr<UVlcWrapper> player;
};

void TstUVlcWrapper::initTestCase()
{
    QVERIFY(clips.isValid());

    // Playlist items 2 s, 3 s, 4 s long: the length tells which one plays.
    for (int s = 2; s <= 4; ++s)
        QVERIFY2(makeClip(clip(s), s), "ffmpeg could not make a test clip");

    QFile text(clips.filePath(QStringLiteral("notes.MOV")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    for (int i = 0; i < 200; ++i)
        text.write("This is a trip log, not a video at all.\n");
    text.close();
    QFile empty(clips.filePath(QStringLiteral("empty.MOV")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();


    surface = std::make_unique<UDoubleClickedWidget>();
    surface->setObjectName(QStringLiteral("VideoWindow"));
    surface->setStyleSheet(QStringLiteral("#VideoWindow { background-color: #000000; }"));
    surface->setGeometry(100, 100, 640, 360);
    surface->show();
    QVERIFY(QTest::qWaitForWindowExposed(surface.get()));

    // The wrapper's debug lines are off unless asked for.
    QLoggingCategory::setFilterRules(QStringLiteral("velmora.*.debug=true"));
    previousHandler = qInstallMessageHandler(countingHandler);
}

void TstUVlcWrapper::cleanupTestCase()
{
    player.reset();
    qInstallMessageHandler(previousHandler);
}

void TstUVlcWrapper::init()
{
    // libvlc leaves its last frame on the surface; paint it over so that
    // waiting for a picture cannot be fooled by an earlier test's video.
    surface->repaint();
    QTRY_VERIFY(colourCount(grabSurface()) <= 2);

    player = std::make_unique<UVlcWrapper>();
    player->SetVideoWindow(surface.get());
    mediaLines = 0;
}

void TstUVlcWrapper::cleanup()
{
    player.reset();
}

QString TstUVlcWrapper::clip(int secondsLong) const
{
    return clips.filePath(QStringLiteral("clip%1s.MOV").arg(secondsLong));
}

// Item i of the playlist is 2 + i % 3 seconds long.
void TstUVlcWrapper::fill(int count)
{
    for (int i = 0; i < count; ++i)
        player->AddMedia(clip(2 + i % 3));
}

QImage TstUVlcWrapper::grabSurface() const
{
    // From the screen: libvlc's picture never passes through Qt.
    const QPoint origin = surface->mapToGlobal(QPoint(0, 0));
    return surface->screen()
        ->grabWindow(0, origin.x(), origin.y(), surface->width(), surface->height())
        .toImage();
}

void TstUVlcWrapper::freshWrapper()
{
    const ScratchRunFolder here(ScratchRunFolder::Empty);
    QCOMPARE(player->GetIndex(), -1);
    QCOMPARE(player->GetState(), int(UVlcWrapper::Error));
    QCOMPARE(player->PlayAtIndex(), -1);
    QCOMPARE(player->PlayNext(), -1);
    QCOMPARE(player->PlayPrevious(), -1);
    QCOMPARE(player->RemoveMedia(0), -1);
    player->Stop();
    player->takeShot();
    QCOMPARE(mediaLines, 0);
    QVERIFY(!QFileInfo::exists(here.filePath(QStringLiteral("VideoShots"))));

    // Items alone choose nothing.
    fill(2);
    QCOMPARE(player->GetIndex(), -1);
    QCOMPARE(player->PlayAtIndex(), -1);
    QCOMPARE(player->GetState(), int(UVlcWrapper::Error));
}

void TstUVlcWrapper::setIndex_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("expected");

    QTest::newRow("first") << 3 << -1 << 0 << 0;
    QTest::newRow("last") << 3 << -1 << 2 << 2;
    QTest::newRow("one past the end") << 3 << -1 << 3 << -1;
    QTest::newRow("far past the end keeps current") << 3 << 1 << 99 << 1;
    QTest::newRow("minus one keeps current") << 3 << 1 << -1 << 1;
    QTest::newRow("negative keeps current") << 3 << 2 << -7 << 2;
    QTest::newRow("empty playlist") << 0 << -1 << 0 << -1;
    QTest::newRow("same again") << 3 << 1 << 1 << 1;
}

void TstUVlcWrapper::setIndex()
{
    QFETCH(int, count);
    QFETCH(int, start);
    QFETCH(int, requested);
    QFETCH(int, expected);

    fill(count);
    player->SetIndex(start);
    player->SetIndex(requested);
    QCOMPARE(player->GetIndex(), expected);
    QCOMPARE(player->GetState(), int(UVlcWrapper::Error));
}

void TstUVlcWrapper::removeMedia_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("remaining");

    QTest::newRow("current item") << 5 << 3 << 3 << 0 << 2 << 4;
    QTest::newRow("before current") << 5 << 3 << 1 << 0 << 2 << 4;
    QTest::newRow("after current") << 5 << 3 << 4 << 0 << 3 << 4;
    QTest::newRow("one past the end") << 5 << 3 << 5 << -1 << 3 << 5;
    QTest::newRow("negative") << 5 << 3 << -1 << -1 << 3 << 5;
    QTest::newRow("first while first is current") << 5 << 0 << 0 << 0 << -1 << 4;
    QTest::newRow("nothing current") << 5 << -1 << 0 << 0 << -1 << 4;
    QTest::newRow("only item") << 1 << 0 << 0 << 0 << -1 << 0;
    QTest::newRow("empty playlist") << 0 << -1 << 0 << -1 << -1 << 0;
}

void TstUVlcWrapper::removeMedia()
{
    QFETCH(int, count);
    QFETCH(int, start);
    QFETCH(int, removed);
    QFETCH(int, result);
    QFETCH(int, index);
    QFETCH(int, remaining);

    fill(count);
    player->SetIndex(start);
    QCOMPARE(player->RemoveMedia(removed), result);
    QCOMPARE(player->GetIndex(), index);
    QCOMPARE(player->GetState(), int(UVlcWrapper::Error));

    // The playlist size shows through which indexes are accepted.
    player->SetIndex(remaining);
    QCOMPARE(player->GetIndex(), index);
    if (remaining > 0) {
        player->SetIndex(remaining - 1);
        QCOMPARE(player->GetIndex(), remaining - 1);
    }
}

void TstUVlcWrapper::stepping_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("playedSeconds"); // 0: nothing plays

    QTest::newRow("next from nothing") << 3 << -1 << true << 0 << 0 << 2;
    QTest::newRow("next from first") << 3 << 0 << true << 0 << 1 << 3;
    QTest::newRow("next from middle") << 3 << 1 << true << 0 << 2 << 4;
    QTest::newRow("next wraps from last") << 3 << 2 << true << 0 << 0 << 2;
    QTest::newRow("next with one item") << 1 << 0 << true << 0 << 0 << 2;
    QTest::newRow("next on empty") << 0 << -1 << true << -1 << -1 << 0;
    QTest::newRow("previous from last") << 3 << 2 << false << 0 << 1 << 3;
    QTest::newRow("previous from middle") << 3 << 1 << false << 0 << 0 << 2;
    QTest::newRow("previous wraps from first") << 3 << 0 << false << 0 << 2 << 4;
    QTest::newRow("previous with one item") << 1 << 0 << false << 0 << 0 << 2;
    QTest::newRow("previous from nothing") << 3 << -1 << false << 0 << -1 << 0;
    QTest::newRow("previous on empty") << 0 << -1 << false << -1 << -1 << 0;
}

void TstUVlcWrapper::stepping()
{
    QFETCH(int, count);
    QFETCH(int, start);
    QFETCH(bool, forward);
    QFETCH(int, result);
    QFETCH(int, index);
    QFETCH(int, playedSeconds);

    fill(count);
    player->SetIndex(start);
    QCOMPARE(forward ? player->PlayNext() : player->PlayPrevious(), result);
    QCOMPARE(player->GetIndex(), index);

    if (playedSeconds == 0) {
        QCOMPARE(player->GetState(), int(UVlcWrapper::Error));
        return;
    }
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetMediaLength() > 0, kStateTimeout);
    QCOMPARE(seconds(player->GetMediaLength()), playedSeconds);
}

void TstUVlcWrapper::editsLeavePlaybackAlone()
{
    fill(3);
    player->SetIndex(1);
    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_COMPARE_WITH_TIMEOUT(seconds(player->GetMediaLength()), 3, kStateTimeout);

    player->SetIndex(2);
    QCOMPARE(player->RemoveMedia(0), 0);
    QCOMPARE(player->GetIndex(), 1);
    QCOMPARE(player->GetState(), int(UVlcWrapper::Playing));
    QCOMPARE(seconds(player->GetMediaLength()), 3);

    // Left: the 3 s and the 4 s clip; the current one replaces what plays.
    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_COMPARE_WITH_TIMEOUT(seconds(player->GetMediaLength()), 4, kStateTimeout);
}

void TstUVlcWrapper::stop()
{
    fill(3);
    player->SetIndex(1);
    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);

    player->Stop();
    QCOMPARE(player->GetState(), int(UVlcWrapper::Error));
    QCOMPARE(player->GetIndex(), 1);

    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
}

// The stop runs on a thread of its own; whatever is asked meanwhile must end
// as if each call had waited for it.
void TstUVlcWrapper::stopAndPlayInTurn_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("playedSeconds"); // 0: nothing plays in the end

    // Items 0, 1 and 2 last 2, 3 and 4 seconds; each row starts at item 0.
    QTest::newRow("play again while playing") << "play wait play" << 0 << 2;
    QTest::newRow("next right after a stop") << "play wait stop next" << 1 << 3;
    QTest::newRow("three steps during one stop") << "play wait next next next" << 0 << 2;
    QTest::newRow("previous while playing") << "play wait previous" << 2 << 4;
    QTest::newRow("stop cancels the waiting play") << "play wait next stop" << 1 << 0;
    QTest::newRow("stop twice") << "play wait stop stop" << 0 << 0;
    QTest::newRow("stop before the video opens") << "play stop play stop" << 0 << 0;
}

void TstUVlcWrapper::stopAndPlayInTurn()
{
    QFETCH(QString, steps);
    QFETCH(int, index);
    QFETCH(int, playedSeconds);

    fill(3);
    player->SetIndex(0);
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        if (step == QLatin1String("play"))
            QCOMPARE(player->PlayAtIndex(), 0);
        else if (step == QLatin1String("next"))
            QCOMPARE(player->PlayNext(), 0);
        else if (step == QLatin1String("previous"))
            QCOMPARE(player->PlayPrevious(), 0);
        else if (step == QLatin1String("stop"))
            player->Stop();
        else if (step == QLatin1String("wait"))
            WAIT_FOR_STATE(UVlcWrapper::Playing);
    }
    QCOMPARE(player->GetIndex(), index);
    if (playedSeconds == 0) {
        QCOMPARE(player->GetState(), int(UVlcWrapper::Error));
        // Long enough for a stop to finish and a wrongly kept play to start.
        QTest::qWait(2000);
        QCOMPARE(player->GetState(), int(UVlcWrapper::Error));
        return;
    }
    QVERIFY(player->GetState() != int(UVlcWrapper::Error));
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_COMPARE_WITH_TIMEOUT(seconds(player->GetMediaLength()), playedSeconds, kStateTimeout);
}

// The wrapper goes while its player still stops: the stop is waited for, and
// its late report finds nobody.
void TstUVlcWrapper::destroyedWhileStopping()
{
    fill(2);
    player->SetIndex(0);
    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    player->Stop();
    QCOMPARE(player->PlayNext(), 0);
    player.reset();
    QTest::qWait(500);
}

// libvlc stops a player by waiting for its video output, which waits for the
// X server: under load, or while the window is being resized, that took
// seconds, and the window froze for as long. Holding the server makes the
// output wait for certain.
void TstUVlcWrapper::stopWhileVideoOutputWaits()
{
#ifdef VELMORA_TEST_XSERVER
    fill(2);
    player->SetIndex(0);
    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    {
        XServerHold hold(kHoldLimitMs);
        QVERIFY(hold.isHeld());
        player->Stop();
        // Time for the stop to reach the output; no events meanwhile, as Qt
        // itself may need the server to handle them.
        std::this_thread::sleep_for(std::chrono::milliseconds(kStopUnderwayMs));
        // What the window may ask while the stop runs: the slider, the keys,
        // the update cycle and the play button.
        player->SetPosition(500);
        player->GetPlayTime();
        player->GetMediaLength();
        player->SetVolume(40);
        player->takeShot();
        QCOMPARE(player->PlayNext(), 0);
        player->Pause();
        hold.release();
        QVERIFY2(!hold.endedByLimit(), "the wrapper waited for the video output");
    }
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QCOMPARE(player->GetIndex(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(seconds(player->GetMediaLength()), 3, kStateTimeout);
#else
    QSKIP("needs an X server to hold");
#endif
}

void TstUVlcWrapper::pathsPlay_data()
{
    QTest::addColumn<QString>("relativePath");

    QTest::newRow("plain") << QStringLiteral("plain/trip.MOV");
    QTest::newRow("spaces") << QStringLiteral("my trips/morning drive 1.MOV");
    QTest::newRow("accents") << QStringLiteral("fahrten/Fahrt_Köln_Straße_été.MOV");
    QTest::newRow("cyrillic and spaces") << QStringLiteral("Поездки 2024/запись утро.MOV");
    QTest::newRow("cjk") << QStringLiteral("行車記録/録画 01.MOV");
}

void TstUVlcWrapper::pathsPlay()
{
    QFETCH(QString, relativePath);

    const QString path = clips.filePath(relativePath);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (!QFileInfo::exists(path))
        QVERIFY(QFile::copy(clip(3), path));

    player->AddMedia(path);
    QCOMPARE(player->PlayNext(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_COMPARE_WITH_TIMEOUT(seconds(player->GetMediaLength()), 3, kStateTimeout);
}

void TstUVlcWrapper::playsToEnd()
{
    fill(1);
    QCOMPARE(player->PlayNext(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayTime() > 0, kStateTimeout);
    WAIT_FOR_STATE(UVlcWrapper::Ended);
    QCOMPARE(player->GetIndex(), 0);

    // An ended item plays again from the start.
    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
}

void TstUVlcWrapper::continuesWithPrepared_data()
{
    QTest::addColumn<QString>("next");
    QTest::addColumn<bool>("seekAfterPreparing");
    QTest::addColumn<bool>("continues");

    QTest::newRow("prepared clip follows") << clip(3) << false << true;
    // The end moved: what was prepared for it is dropped, the end announced.
    QTest::newRow("seek drops it") << clip(3) << true << false;
    QTest::newRow("unplayable clip is not taken") << clips.filePath(QStringLiteral("notes.MOV")) << false
                                                  << false;
}

void TstUVlcWrapper::continuesWithPrepared()
{
    QFETCH(QString, next);
    QFETCH(bool, seekAfterPreparing);
    QFETCH(bool, continues);

    player->AddMedia(clip(2));
    player->AddMedia(next);
    QList<UVlcWrapper::State> announced;
    connect(player.get(), &UVlcWrapper::stateChanged, this,
            [&announced](UVlcWrapper::State state) { announced << state; });
    int continuedWith = -1;
    connect(player.get(), &UVlcWrapper::continued, this, [&continuedWith](int index) { continuedWith = index; });
    QCOMPARE(player->PlayNext(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    player->prepareNext(1);
    QCOMPARE(player->preparedIndex(), 1);
    if (seekAfterPreparing) {
        player->SetPosition(500);
        QCOMPARE(player->preparedIndex(), -1);
    }

    if (continues) {
        QTRY_COMPARE_WITH_TIMEOUT(continuedWith, 1, kStateTimeout);
        QCOMPARE(player->GetIndex(), 1);
        QVERIFY(!announced.contains(UVlcWrapper::State::Ended));
        WAIT_FOR_STATE(UVlcWrapper::Playing);
        QTRY_COMPARE_WITH_TIMEOUT(seconds(player->GetMediaLength()), 3, kStateTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(colourCount(grabSurface()) > 50, kStateTimeout);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(announced.contains(UVlcWrapper::State::Ended), kStateTimeout);
        QCOMPARE(continuedWith, -1);
        QCOMPARE(player->GetIndex(), 0);
    }
}

void TstUVlcWrapper::brokenFiles_data()
{
    QTest::addColumn<QString>("fileName");

    QTest::newRow("text file") << QStringLiteral("notes.MOV");
    QTest::newRow("zero bytes") << QStringLiteral("empty.MOV");
    QTest::newRow("missing file") << QStringLiteral("no such trip.MOV");
}

void TstUVlcWrapper::brokenFiles()
{
    QFETCH(QString, fileName);

    // Between good clips, so that nothing of one item carries over to the next.
    player->AddMedia(clip(2));
    player->AddMedia(clips.filePath(fileName));
    player->AddMedia(clip(3));
    QCOMPARE(player->PlayNext(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QCOMPARE(player->PlayNext(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Error);

    // Everything else still answers, and the next item still plays.
    player->GetPlayTime();
    player->GetMediaLength();
    player->takeShot();
    QCOMPARE(player->PlayNext(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_COMPARE_WITH_TIMEOUT(seconds(player->GetMediaLength()), 3, kStateTimeout);
}

void TstUVlcWrapper::pauseAndSeek_data()
{
    QTest::addColumn<int>("position");

    QTest::newRow("quarter") << 250;
    QTest::newRow("middle") << 500;
    QTest::newRow("three quarters") << 750;
}

void TstUVlcWrapper::pauseAndSeek()
{
    QFETCH(int, position);

    fill(3);
    player->SetIndex(2);
    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetMediaLength() > 0, kStateTimeout);
    // Paused, the clock stands still, so only the seek can move it.
    player->Pause();
    WAIT_FOR_STATE(UVlcWrapper::Paused);

    player->SetPosition(position);
    const qint64 target = player->GetMediaLength() * position / 1000;
    QTRY_VERIFY2_WITH_TIMEOUT(qAbs(player->GetPlayTime() - target) < 300,
                              qPrintable(QStringLiteral("time %1 ms, wanted about %2 ms")
                                             .arg(player->GetPlayTime())
                                             .arg(target)),
                              kStateTimeout);

    player->Pause();
    WAIT_FOR_STATE(UVlcWrapper::Playing);
}

void TstUVlcWrapper::volume_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("result");

    QTest::newRow("silent, idle") << 0 << false << 0;
    QTest::newRow("half, idle") << 50 << false << 0;
    QTest::newRow("full, playing") << 100 << true << 0;
    QTest::newRow("loud, playing") << 150 << true << 0;
    QTest::newRow("negative") << -10 << true << -1;
}

void TstUVlcWrapper::volume()
{
    QFETCH(int, level);
    QFETCH(bool, playing);
    QFETCH(int, result);

    if (playing) {
        fill(1);
        QCOMPARE(player->PlayNext(), 0);
        WAIT_FOR_STATE(UVlcWrapper::Playing);
    }
    QCOMPARE(player->SetVolume(level), result);
    if (result == 0)
        QCOMPARE(player->GetVolume(), level);
}

void TstUVlcWrapper::takeShot_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("picture");

    QTest::newRow("no media") << QStringLiteral("none") << 0 << false;
    QTest::newRow("stopped") << QStringLiteral("stopped") << 0 << false;
    QTest::newRow("playing") << QStringLiteral("playing") << 1 << true;
    QTest::newRow("paused") << QStringLiteral("paused") << 1 << true;
    QTest::newRow("folder already there") << QStringLiteral("folder") << 1 << true;
    QTest::newRow("ended") << QStringLiteral("ended") << 1 << false;
    QTest::newRow("broken file") << QStringLiteral("broken") << 1 << false;
    QTest::newRow("VideoShots is a file") << QStringLiteral("blocked") << 1 << false;
}

void TstUVlcWrapper::takeShot()
{
    QFETCH(QString, situation);
    QFETCH(int, lines);
    QFETCH(bool, picture);

    // Snapshots go into the run folder (one with images/), for which this
    // folder stands in.
    ScratchRunFolder here(ScratchRunFolder::Empty);
    QVERIFY(QDir(here.path()).mkdir(QStringLiteral("images")));
    const QString shots = here.filePath(QStringLiteral("VideoShots"));

    if (situation == QLatin1String("folder"))
        QVERIFY(QDir(here.path()).mkdir(QStringLiteral("VideoShots")));
    if (situation == QLatin1String("blocked")) {
        QFile blocker(shots);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    }

    if (situation == QLatin1String("broken")) {
        player->AddMedia(clips.filePath(QStringLiteral("notes.MOV")));
        QCOMPARE(player->PlayNext(), 0);
        WAIT_FOR_STATE(UVlcWrapper::Error);
    } else if (situation != QLatin1String("none")) {
        fill(3);
        player->SetIndex(2);
        QCOMPARE(player->PlayAtIndex(), 0);
        WAIT_FOR_STATE(UVlcWrapper::Playing);
        // A picture must be on screen before there is anything to take.
        QTRY_VERIFY_WITH_TIMEOUT(colourCount(grabSurface()) > 50, kStateTimeout);
    }
    if (situation == QLatin1String("paused")) {
        player->Pause();
        WAIT_FOR_STATE(UVlcWrapper::Paused);
    } else if (situation == QLatin1String("stopped")) {
        player->Stop();
    } else if (situation == QLatin1String("ended")) {
        player->SetPosition(950);
        WAIT_FOR_STATE(UVlcWrapper::Ended);
    }

    player->takeShot();
    QCOMPARE(mediaLines, lines);

    if (picture) {
        QTRY_VERIFY_WITH_TIMEOUT(!picturesUnder(shots).isEmpty(), kStateTimeout);
        QImage shot;
        QTRY_VERIFY_WITH_TIMEOUT(shot.load(picturesUnder(shots).constFirst()), kStateTimeout);
        QCOMPARE(shot.size(), QSize(320, 180));
        QVERIFY(colourCount(shot) > 50);
    } else {
        QVERIFY(picturesUnder(here.path()).isEmpty());
        // Not even the folder is made; a file in its way stays a file.
        QCOMPARE(QFileInfo::exists(shots), situation == QLatin1String("blocked"));
        QCOMPARE(QFileInfo(shots).isFile(), situation == QLatin1String("blocked"));
    }
    QCOMPARE(picturesUnder(here.path()).size(), picturesUnder(shots).size());
}

void TstUVlcWrapper::pausedTimeIsThePictures_data()
{
    // libvlc's own time moves in quarter seconds: pauses between its steps.
    QTest::addColumn<int>("playMs");
    QTest::newRow("0.9 s") << 900;
    QTest::newRow("1.5 s") << 1500;
    QTest::newRow("2.1 s") << 2100;
}

// The time of a paused picture is the picture's to within two frames: the
// snapshot is the clip's frame nearest to it.
void TstUVlcWrapper::pausedTimeIsThePictures()
{
    QFETCH(int, playMs);
    ScratchRunFolder here(ScratchRunFolder::Empty);
    QVERIFY(QDir(here.path()).mkdir(QStringLiteral("images")));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), { "-v", "error", "-i", clip(4), "-f", "rawvideo", "-pix_fmt", "gray", "-" });
    QVERIFY(ffmpeg.waitForFinished(60000));
    const QByteArray frames = ffmpeg.readAllStandardOutput();
    constexpr int kFrameBytes = 320 * 180;
    QSignalSpy saved(player.get(), &UVlcWrapper::snapshotSaved);
    fill(3);
    player->SetIndex(2);
    QCOMPARE(player->PlayAtIndex(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayTime() > 0, kStateTimeout);
    QTest::qWait(playMs);
    player->Pause();
    WAIT_FOR_STATE(UVlcWrapper::Paused);
    const qint64 paused = player->GetPlayTime();
    player->takeShot();
    QTRY_COMPARE_WITH_TIMEOUT(saved.size(), 1, kStateTimeout);
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(shot.load(saved.at(0).at(0).toString()), kStateTimeout);
    shot = shot.convertToFormat(QImage::Format_Grayscale8);
    QCOMPARE(shot.sizeInBytes(), kFrameBytes);
    const auto distance = [&](qsizetype frame) {
        qint64 sum = 0;
        for (int i = 0; i < kFrameBytes; ++i)
            sum += qAbs(int(shot.constBits()[i]) - int(uchar(frames[frame * kFrameBytes + i])));
        return sum;
    };
    qsizetype best = 0;
    for (qsizetype frame = 1; frame < frames.size() / kFrameBytes; ++frame)
        best = distance(frame) < distance(best) ? frame : best;
    QVERIFY2(qAbs(best * 40 - paused) <= 100, qPrintable(QStringLiteral("frame %1, %2 ms").arg(best).arg(paused)));
}

void TstUVlcWrapper::rendersIntoWidget()
{
    QVERIFY(colourCount(grabSurface()) <= 2);

    fill(3);
    player->SetIndex(2);
    QCOMPARE(player->PlayAtIndex(), 0);
    WAIT_FOR_STATE(UVlcWrapper::Playing);
    QTRY_VERIFY_WITH_TIMEOUT(colourCount(grabSurface()) > 50, kStateTimeout);

    // The picture fills the surface: the clip and the surface are both 16:9,
    // so no corner stays background black.
    player->Pause();
    WAIT_FOR_STATE(UVlcWrapper::Paused);
    const QImage frame = grabSurface();
    const QRgb black = qRgb(0, 0, 0);
    QVERIFY(frame.pixel(8, 8) != black);
    QVERIFY(frame.pixel(frame.width() - 8, frame.height() - 8) != black);

    // A lasting pause shows the picture as a still; a seek brings its own.
    QTest::qWait(800);
    const QImage held = grabSurface();
    QVERIFY(colourCount(held) > 50);
    QVERIFY(held.pixel(held.width() - 8, held.height() - 8) != black);
    player->SetPosition(900);
    QTRY_VERIFY_WITH_TIMEOUT(grabSurface() != held, kStateTimeout);
}

QTEST_MAIN(TstUVlcWrapper)

#include "tst_uvlcwrapper.moc"
