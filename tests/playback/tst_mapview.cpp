// Starting a recording through its map page: the real web view with small test
// pages, the real player with clips made by ffmpeg.

#include "testwindow.h"

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "playback/mappages.h"
#include "playback/uvlcwrapper.h"
#include "widgets/uspeedmeter.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <memory>
#include <optional>

using namespace testrecordings;

Q_DECLARE_METATYPE(MapPage)
Q_DECLARE_METATYPE(MapPageKind)

namespace {

// Catalogue entries made by init(), one for each log state.
enum Entry { AvailableEntry, UnavailableEntry, NotExistEntry, EntryCount };
const QStringList kNames = { QStringLiteral("FILE0001.MOV"), QStringLiteral("FILE0002.MOV"),
                             QStringLiteral("FILE0003.MOV") };

// Answers no request of the stall: scheme, so a page that asks one never
// finishes loading.
class StallHandler : public QWebEngineUrlSchemeHandler
{
public:
    void requestStarted(QWebEngineUrlRequestJob *) override { ++requests; }
    int requests = 0;
};

} // namespace

class TestMapView : public QObject, private TestWindow
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pageFollowsGpsState_data();
    void pageFollowsGpsState();
    void onlineStartsOnce();
    void offlineFallsBackToNoConnection_data();
    void offlineFallsBackToNoConnection();
    void staleOnlineAnswerIsIgnored_data();
    void staleOnlineAnswerIsIgnored();
    void answerAfterWindowIsGone();
    void indexOutOfRangeChangesNothing_data();
    void indexOutOfRangeChangesNothing();
    void brokenRecordings_data();
    void brokenRecordings();
    void missingNoticeStillPlays();

private:
    void start(MapPageKind kind);

    QTemporaryDir clips;
    StallHandler stall;
};

void TestMapView::initTestCase()
{
    QVERIFY2(makeClip(clips.filePath(QStringLiteral("clip.MOV"))), "ffmpeg could not make a clip");
}

void TestMapView::init()
{
    makeFolder();
    const QString card = folder->filePath(QStringLiteral("card"));
    for (const QString &name : kNames)
        QVERIFY(copyFile(clips.filePath(QStringLiteral("clip.MOV")), cardVideo(card, name)));
    QVERIFY(writeLog(cardLog(card, kNames[AvailableEntry]), 3, 0));
    QVERIFY(writeLog(cardLog(card, kNames[UnavailableEntry]), 0, 3));
}

void TestMapView::cleanup()
{
    close();
}

// A shown window with the three recordings imported and the start page loaded.
void TestMapView::start(MapPageKind kind)
{
    QStringList videos;
    for (const QString &name : kNames)
        videos << cardVideo(folder->filePath(QStringLiteral("card")), name);
    QVERIFY(open(videos, kind));
    // Only the map page asks for stall: pages, and it loads later.
    probe->googleMap()->page()->profile()->installUrlSchemeHandler("stall", &stall);
}

void TestMapView::pageFollowsGpsState_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<MapPage>("page");
    QTest::addColumn<int>("mapState");
    QTest::addColumn<bool>("waitsForConnection");
    QTest::addColumn<int>("records");

    QTest::newRow("Available") << int(AvailableEntry) << MapPage::Map << 1 << true << 3;
    QTest::newRow("Unavailable") << int(UnavailableEntry) << MapPage::NoGpsInfo << 3 << false << 3;
    QTest::newRow("Not Exist") << int(NotExistEntry) << MapPage::NoGpsFile << 2 << false << 0;
}

void TestMapView::pageFollowsGpsState()
{
    QFETCH(int, entry);
    QFETCH(MapPage, page);
    QFETCH(int, mapState);
    QFETCH(bool, waitsForConnection);
    QFETCH(int, records);

    start(MapPageKind::Online);
    probe->loadMapToPlay(entry);
    QCOMPARE(probe->status()->mapState, mapState);
    QCOMPARE(probe->googleMap()->url(), mapPageUrl(page));
    QCOMPARE(probe->notConnectedTimer()->isActive(), waitsForConnection);
    if (waitsForConnection)
        QCOMPARE(probe->notConnectedTimer()->interval(), 12000);
    QCOMPARE(probe->player()->GetIndex(), entry);
    // The map holds its recording back until it knows about its tiles; a
    // notice does not.
    if (waitsForConnection)
        QCOMPARE(probe->player()->GetState(), int(UVlcWrapper::Error));

    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    QCOMPARE(probe->status()->mapState, mapState);
    QVERIFY(!probe->notConnectedTimer()->isActive());
    QVERIFY(probe->updateTimer()->isActive());
    QCOMPARE(probe->updateTimer()->interval(), 250);
    QCOMPARE(probe->gpsLog()->records.size(), records);
    QVERIFY(probe->gpsPlaybackStarted());
}

void TestMapView::onlineStartsOnce()
{
    start(MapPageKind::Online);
    probe->loadMapToPlay(AvailableEntry);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    // Paused, a second start would show as playing again.
    probe->player()->Pause();
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Paused), kTimeout);

    QSignalSpy loaded(probe->googleMap(), &QWebEngineView::loadFinished);
    probe->googleMap()->reload();
    QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, kTimeout);
    QCOMPARE(loaded.first().first().toBool(), true);
    evaluate(QStringLiteral("0"));
    QCOMPARE(probe->player()->GetState(), int(UVlcWrapper::Paused));
    QCOMPARE(probe->status()->mapState, 1);
    QCOMPARE(probe->googleMap()->url(), mapPageUrl(MapPage::Map));
}

void TestMapView::offlineFallsBackToNoConnection_data()
{
    QTest::addColumn<MapPageKind>("kind");
    QTest::addColumn<bool>("byTimer");

    QTest::newRow("not checked") << MapPageKind::Offline << false;
    QTest::newRow("no #isonline") << MapPageKind::WithoutProbe << false;
    QTest::newRow("never finishes") << MapPageKind::NeverFinishes << true;
    QTest::newRow("fails to load") << MapPageKind::Missing << true;
}

void TestMapView::offlineFallsBackToNoConnection()
{
    QFETCH(MapPageKind, kind);
    QFETCH(bool, byTimer);

    start(kind);
    const int stalled = stall.requests;
    probe->loadMapToPlay(AvailableEntry);
    if (byTimer) {
        if (kind == MapPageKind::NeverFinishes)
            QTRY_VERIFY_WITH_TIMEOUT(stall.requests > stalled, kTimeout);
        QVERIFY(probe->notConnectedTimer()->isActive());
        QCOMPARE(probe->notConnectedTimer()->interval(), 12000);
        QCOMPARE(probe->player()->GetState(), int(UVlcWrapper::Error));
        // What the timer does after twelve seconds, without the wait.
        probe->notConnectedTimerHandler();
    }
    const QUrl noConnection = mapPageUrl(MapPage::NoConnection);
    QTRY_COMPARE_WITH_TIMEOUT(probe->googleMap()->url(), noConnection, kTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    QCOMPARE(probe->status()->mapState, 4);
    QCOMPARE(probe->player()->GetIndex(), int(AvailableEntry));
    QVERIFY(!probe->notConnectedTimer()->isActive());
    QVERIFY(probe->updateTimer()->isActive());
    QCOMPARE(probe->gpsLog()->records.size(), 3);
    // Without the map the instruments still read the log: 12 knots, 0.99 g.
    probe->updateUIData();
    QCOMPARE(qRound(probe->speedMeter()->carSpeed() * 1000), 22224);
    QCOMPARE(probe->speedMeter()->sampleZ(USpeedMeter::kSamples / 2), 0.99);
}

void TestMapView::staleOnlineAnswerIsIgnored_data()
{
    QTest::addColumn<MapPageKind>("kind");
    QTest::addColumn<bool>("byTimer");
    QTest::addColumn<MapPage>("page");
    QTest::addColumn<int>("mapState");
    QTest::addColumn<int>("index");

    // An answer honoured late would show the no-connection page ...
    QTest::newRow("offline, then another recording")
            << MapPageKind::Offline << false << MapPage::NoGpsFile << 2 << int(NotExistEntry);
    // ... or mark the map page as having started its recording.
    QTest::newRow("online, then the timer")
            << MapPageKind::Online << true << MapPage::NoConnection << 4 << int(AvailableEntry);
}

void TestMapView::staleOnlineAnswerIsIgnored()
{
    QFETCH(MapPageKind, kind);
    QFETCH(bool, byTimer);
    QFETCH(MapPage, page);
    QFETCH(int, mapState);
    QFETCH(int, index);

    start(kind);
    // Runs right after the window's own slot has sent the online check.
    QObject listener;
    connect(probe->googleMap(), &QWebEngineView::loadFinished, &listener, [&](bool ok) {
        if (!ok || probe->googleMap()->url() != mapPageUrl(MapPage::Map))
            return;
        if (byTimer)
            probe->notConnectedTimerHandler();
        else
            probe->loadMapToPlay(index);
    });
    probe->loadMapToPlay(AvailableEntry);
    QTRY_COMPARE_WITH_TIMEOUT(probe->googleMap()->url(), mapPageUrl(page), kTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    evaluate(QStringLiteral("0"));
    QCOMPARE(probe->googleMap()->url(), mapPageUrl(page));
    QCOMPARE(probe->status()->mapState, mapState);
    QCOMPARE(probe->player()->GetIndex(), index);
}

void TestMapView::answerAfterWindowIsGone()
{
    start(MapPageKind::Offline);
    bool checked = false;
    auto listener = std::make_unique<QObject>();
    connect(probe->googleMap(), &QWebEngineView::loadFinished, listener.get(), [&](bool ok) {
        checked = checked || (ok && probe->googleMap()->url() == mapPageUrl(MapPage::Map));
    });
    probe->loadMapToPlay(AvailableEntry);
    QTRY_VERIFY_WITH_TIMEOUT(checked, kTimeout);
    listener.reset();
    probe.reset();
    window.reset();
    QTest::qWait(200); // room for a late answer to arrive
}

void TestMapView::indexOutOfRangeChangesNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("catalogue size") << int(EntryCount);
}

void TestMapView::indexOutOfRangeChangesNothing()
{
    QFETCH(int, index);

    start(MapPageKind::Online);
    probe->loadMapToPlay(UnavailableEntry);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    const qint64 playedBefore = probe->player()->GetPlayTime();

    probe->loadMapToPlay(index);
    QCOMPARE(probe->player()->GetState(), int(UVlcWrapper::Playing));
    QCOMPARE(probe->player()->GetIndex(), int(UnavailableEntry));
    QVERIFY(probe->player()->GetPlayTime() >= playedBefore);
    QCOMPARE(probe->googleMap()->url(), mapPageUrl(MapPage::NoGpsInfo));
    QCOMPARE(probe->status()->mapState, 3);
    QVERIFY(!probe->notConnectedTimer()->isActive());
}

void TestMapView::brokenRecordings_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("why"); // empty: it plays

    QTest::newRow("video gone") << int(NotExistEntry) << "video gone" << "file not found";
    QTest::newRow("log gone") << int(AvailableEntry) << "log gone" << QString();
    QTest::newRow("not a video") << int(UnavailableEntry) << "text" << "not a video";
}

// Files changed on disk after the import: a recording that cannot play says
// so over the video and the next one plays; the window stays usable.
void TestMapView::brokenRecordings()
{
    QFETCH(int, entry);
    QFETCH(QString, damage);
    QFETCH(QString, why);

    start(MapPageKind::Online);
    const QString card = folder->filePath(QStringLiteral("card"));
    const QString video = cardVideo(card, kNames[entry]);
    if (damage == QLatin1String("video gone"))
        QVERIFY(QFile::remove(video));
    else if (damage == QLatin1String("log gone"))
        QVERIFY(QFile::remove(cardLog(card, kNames[entry])));
    else
        QVERIFY(writeFile(video, QByteArray("a trip log, not a video\n").repeated(100)));

    probe->loadMapToPlay(entry);
    QTRY_VERIFY_WITH_TIMEOUT(probe->updateTimer()->isActive(), kTimeout); // started
    if (why.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
        QCOMPARE(probe->player()->GetIndex(), entry);
        QCOMPARE(probe->gpsLog()->records.size(), 0);
    } else {
        const auto *notice = window->findChild<QLabel *>(QStringLiteral("Notice"));
        QTRY_VERIFY_WITH_TIMEOUT(notice->isVisible(), kTimeout);
        QCOMPARE(notice->text(), QStringLiteral("Cannot play %1: %2").arg(kNames[entry], why));
        QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetIndex(), (entry + 1) % int(EntryCount), kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    }
    QCOMPARE(probe->catalogue()->GetVideoCount(), int(EntryCount));
}

// A notice needs nothing from its page, so a page that cannot be loaded
// holds nothing back.
void TestMapView::missingNoticeStillPlays()
{
    start(MapPageKind::Online);
    QVERIFY(QFile::remove(folder->filePath(QStringLiteral("images/no_gps_file.html"))));
    probe->loadMapToPlay(NotExistEntry);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
}

// Before any web engine object: a scheme whose requests stay unanswered.
static void registerStallScheme()
{
    QWebEngineUrlScheme stallScheme("stall");
    stallScheme.setFlags(QWebEngineUrlScheme::LocalScheme
                         | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(stallScheme);
}
Q_CONSTRUCTOR_FUNCTION(registerStallScheme)

QTEST_MAIN(TestMapView)

#include "tst_mapview.moc"
