// The 250 ms update cycle end to end: real clips and logs, the real player,
// and a map page that records every call it receives.

#include "playingwindow.h"
#include "widgets/uspeedmeter.h"
#include "app/exportactions.h"
#include "widgets/rangeband.h"

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "library/librarykeeper.h"
#include "library/recordinglibrary.h"
#include "playback/displaytexts.h"
#include "playback/uvlcwrapper.h"
#include "trips/trip.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace testrecordings;

namespace {

constexpr int kRouteClipSeconds = 4;
// The shortest of the real drives, played against a clip of its length.
const char *const kRealDrive = "gps0005.log";
constexpr int kRealDriveSeconds = 43;

// Two seconds without a fix, then one south-west and one north-east.
const QByteArray kRouteLog = "V,030410,131010,,,,,,0.00,0.00,1.02;\n"
                             "V,030410,131011,,,,,,0.00,0.00,1.02;\n"
                             "A,030410,131012,2230.0000,S,11354.0000,W,10.00,0.10,0.20,0.99;\n"
                             "A,030410,131013,2231.0000,N,11355.0000,E,20.00,0.10,0.20,0.99;\n";

QString fileName(int index)
{
    return QStringLiteral("FILE%1.MOV").arg(index + 1, 4, 10, QLatin1Char('0'));
}

double degrees(const QByteArray &field)
{
    const double value = field.toDouble();
    const int whole = int(value / 100);
    return whole + (value - whole * 100) / 60;
}

} // namespace

class TestUpdateCycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void routeAndPosition();
    void endStartsNextAndListFollows();
    void withoutMap_data();
    void withoutMap();
    void realDriveRoute();
    void tripPlaysAsOneDrive_data();
    void tripPlaysAsOneDrive();
    void marksAcrossClipsExport_data();
    void marksAcrossClipsExport();

private:
    QTemporaryDir clips;
    PlayingWindow w;
};

void TestUpdateCycle::initTestCase()
{
    collectDebugLines();
    QVERIFY(makeClip(clips.filePath(QStringLiteral("3.MOV")), 3));
    QVERIFY(makeClip(clips.filePath(QStringLiteral("route.MOV")), kRouteClipSeconds));
    QVERIFY(makeClip(clips.filePath(QStringLiteral("drive.MOV")), kRealDriveSeconds));
}

void TestUpdateCycle::init()
{
    debugLines().clear();
}

void TestUpdateCycle::cleanup()
{
    w.close();
}

// Route once, then one position call a tick in time order, until the end of
// the last recording, which is handled once and starts nothing.
void TestUpdateCycle::routeAndPosition()
{
    QVERIFY(w.make(clips.filePath(QStringLiteral("route.MOV")), { kRouteLog }));
    w.probe->loadMapToPlay(0);
    QLabel *position = w.child<QLabel>("CarPositionNumber");
    QTRY_COMPARE_WITH_TIMEOUT(position->text(), shortPositionLabelText(GpsLogRecord()), kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(debugLines().contains(QStringLiteral("real ended.")), kTimeout);
    for (int tick = 0; tick < 3; ++tick)
        w.probe->updateUIData();

    GpsLogData *log = w.probe->gpsLog();
    const GpsLogRecord first = log->GetFirstAvailableRecord();
    QStringList route = { asRecorded(mapPointScript(QStringLiteral("setstart"), first)),
                          QStringLiteral("clearPath()") };
    const qint64 seconds = w.probe->player()->GetMediaLength() / 1000;
    QVERIFY(seconds >= kRouteClipSeconds - 1);
    for (int i = 0; i < seconds; ++i)
        if (log->GetRecord(i).dataAvailable)
            route << asRecorded(mapPointScript(QStringLiteral("appendPathNode"), log->GetRecord(i)).chopped(1)
                                + QStringLiteral(",%1,%2)").arg(log->GetRecord(i).velocity, 0, 'f', 1).arg(i));
    route << QStringLiteral("showPath()");

    const QStringList calls = w.calls();
    QCOMPARE(calls.mid(0, route.size()), route);

    // What a tick may send for each second of the log.
    const QStringList perSecond = { route.first(), route.first(),
                                    asRecorded(mapPointScript(QStringLiteral("setposition"),
                                                              log->GetRecord(2))),
                                    asRecorded(mapPointScript(QStringLiteral("setposition"),
                                                              log->GetRecord(3))) };
    const QString setLocation = asRecorded(setLocationScript());
    int lastSecond = 0;
    for (const QString &call : calls.mid(route.size())) {
        if (call == setLocation)
            continue;
        const int second = perSecond.indexOf(call, lastSecond);
        QVERIFY2(second >= lastSecond, qPrintable(call + " out of order in " + calls.join(' ')));
        lastSecond = second;
    }
    QCOMPARE(calls.last(), setLocation); // the play face at the end
    QCOMPARE(calls.count(setLocation), 2); // pause face at the start, play face at the end
    QVERIFY(calls.contains(perSecond.last()));

    QCOMPARE(position->text(), positionLabelText(log->GetRecord(3)));
    QCOMPARE(w.child<QSlider>("VideoTimeSlider")->value(), 1000);
    QCOMPARE(w.probe->videoPlay()->objectName(), QStringLiteral("VideoPlay"));
    QCOMPARE(w.probe->pathDrawn(), 0);
    QCOMPARE(w.child<QLabel>("VideoName")->text(), QString());
    QCOMPARE(debugLines().count(QStringLiteral("real ended.")), 1);
    QCOMPARE(w.probe->player()->GetIndex(), 0);
    QCOMPARE(w.probe->player()->GetState(), int(UVlcWrapper::Ended));

    // Play after the end plays the recording again.
    w.probe->videoPlay()->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
}

void TestUpdateCycle::endStartsNextAndListFollows()
{
    QVERIFY(w.make(clips.filePath(QStringLiteral("3.MOV")), QList<QByteArray>(11)));
    w.probe->loadMapToPlay(9);
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetIndex(), 10, 2 * kTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    QCOMPARE(debugLines().count(QStringLiteral("real ended.")), 1);
    QCOMPARE(w.probe->status()->currentPage, 1);
    QCOMPARE(w.probe->videoListLeft()->item(0, 0)->text(), fileName(10));
    QCOMPARE(w.probe->videoListLeft()->currentRow(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(w.child<QLabel>("VideoName")->text(), fileName(10), kTimeout);
}

void TestUpdateCycle::withoutMap_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<int>("mapState");
    QTest::addColumn<QString>("position");
    QTest::addColumn<double>("currentX");
    QTest::addColumn<double>("currentZ");

    // The speed field is filled: without usable fixes the needle still stays at 0.
    QTest::newRow("log without fixes")
            << QByteArray("V,030410,131417,,,,,12.5,0.10,0.00,1.02;\n").repeated(3) << 3
            << shortPositionLabelText(GpsLogRecord()) << 0.10 << 1.02;
    QTest::newRow("no log") << QByteArray() << 2 << QString() << 0.0 << 0.0;
}

// Time and name move; the map is never driven.
void TestUpdateCycle::withoutMap()
{
    QFETCH(QByteArray, log);
    QFETCH(int, mapState);
    QFETCH(QString, position);
    QFETCH(double, currentX);
    QFETCH(double, currentZ);

    QVERIFY(w.make(clips.filePath(QStringLiteral("3.MOV")), { log }));
    w.probe->loadMapToPlay(0);
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    QCOMPARE(w.probe->status()->mapState, mapState);
    w.probe->updateUIData();
    QCOMPARE(w.child<QLabel>("VideoName")->text(), fileName(0));
    QVERIFY(w.child<QLabel>("VideoTime")->text() != emptyTimeLabelText());
    QCOMPARE(w.child<QLabel>("CarPositionNumber")->text(), position);
    const auto *meter = w.child<USpeedMeter>("CarSpeedMeter");
    QCOMPARE(meter->carSpeed(), 0.0);
    QCOMPARE(meter->sampleX(10), currentX);
    QCOMPARE(meter->sampleZ(10), currentZ);
    QCOMPARE(meter->sampleZ(20), 0.0); // ten seconds on lies past the log
    QCOMPARE(w.probe->videoPlay()->objectName(), QStringLiteral("VideoPause"));
    // A notice starts its recording while it loads, so even the face's
    // location call may come too early for it.
    for (const QString &call : w.calls())
        QCOMPARE(call, asRecorded(setLocationScript()));
    QCOMPARE(w.probe->pathDrawn(), 0);
}

// Checked against the log's own fields, converted here, not by the parser.
void TestUpdateCycle::realDriveRoute()
{
    QFile drive(QFINDTESTDATA(QStringLiteral("../data/real-drives/") + QLatin1String(kRealDrive)));
    QVERIFY2(drive.open(QIODevice::ReadOnly), qPrintable(drive.fileName()));
    const QByteArray log = drive.readAll();
    QVERIFY(w.make(clips.filePath(QStringLiteral("drive.MOV")), { log }));
    w.probe->loadMapToPlay(0);
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->pathDrawn(), 1, kTimeout);
    w.probe->player()->Pause();

    QList<QPointF> expected;
    const QList<QByteArray> lines = log.trimmed().split('\n');
    const qint64 seconds = w.probe->player()->GetMediaLength() / 1000;
    for (qint64 i = 0; i < seconds; ++i) {
        const QList<QByteArray> f = lines.at(qMin<qint64>(i, lines.size() - 1)).split(',');
        if (f.at(0) != "A")
            continue;
        expected << QPointF((f.at(4) == "S" ? -1 : 1) * degrees(f.at(3)),
                            (f.at(6) == "W" ? -1 : 1) * degrees(f.at(5)));
    }
    QList<QPointF> nodes;
    for (const QString &call : w.calls()) {
        if (!call.startsWith(QLatin1String("appendPathNode(")))
            continue;
        const QStringList numbers = call.mid(15).chopped(1).split(QLatin1Char(','));
        nodes << QPointF(numbers.at(0).toDouble(), numbers.at(1).toDouble());
    }
    QVERIFY(seconds >= kRealDriveSeconds - 1);
    QCOMPARE(nodes.size(), expected.size());
    for (int i = 0; i < nodes.size(); ++i) {
        const QPointF d = nodes.at(i) - expected.at(i);
        QVERIFY2(qAbs(d.x()) < 1e-5 && qAbs(d.y()) < 1e-5, qPrintable(QString::number(i)));
    }
}

void TestUpdateCycle::tripPlaysAsOneDrive_data()
{
    QTest::addColumn<bool>("middleGone");
    QTest::addColumn<int>("ends");
    QTest::newRow("clips follow without an end") << false << 1;
    // Gone from the card after the trip was listed: said, passed over.
    QTest::newRow("a clip gone") << true << 2;
}

// Three 3 s clips of one drive: one map page and one route of all nine
// fixes, the clips in turn, and an end announced only where the drive ends.
void TestUpdateCycle::tripPlaysAsOneDrive()
{
    QFETCH(bool, middleGone);
    QFETCH(int, ends);
    QList<QByteArray> logs;
    for (int clip = 0; clip < 3; ++clip) {
        QByteArray log;
        for (int second = 0; second < 3; ++second)
            log += "A,030410,1310" + QByteArray::number(10 + 3 * clip + second) + ",4618." + QByteArray::number(1000 + 30 * clip + 10 * second)
                    + ",N,00656.1347,E,12.00,0.10,0.20,0.99;\n";
        logs << log;
    }
    QVERIFY(w.make(clips.filePath(QStringLiteral("3.MOV")), logs));
    Trip trip;
    for (int index = 0; index < 3; ++index)
        trip.clips << TripClip{ index, w.probe->catalogue()->GetVideoPath(index),
                                w.probe->catalogue()->GetGpsFilePath(index), 0, 0, 3000 };
    if (middleGone)
        QVERIFY(QFile::remove(trip.clips[1].videoPath));

    w.window->playTrip(trip);
    const QUrl page = w.probe->googleMap()->url();
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetIndex(), 2, 3 * kTimeout);
    // The window hears of the end a moment after the player reaches it.
    QTRY_COMPARE_WITH_TIMEOUT(debugLines().count(QStringLiteral("real ended.")), ends, kTimeout);
    QCOMPARE(w.probe->player()->GetState(), int(UVlcWrapper::Ended));
    QCOMPARE(w.probe->googleMap()->url(), page);
    const QStringList calls = w.calls();
    QCOMPARE(calls.count(QStringLiteral("clearPath()")), 1);
    const QStringList nodes = calls.filter(QStringLiteral("appendPathNode("));
    QCOMPARE(nodes.size(), 9);
    QVERIFY2(nodes.last().endsWith(QLatin1String(",8)")), qPrintable(nodes.last()));
    if (middleGone)
        QCOMPARE(w.child<QLabel>("Notice")->text(), QStringLiteral("Cannot play FILE0002.MOV: file not found"));
}

void TestUpdateCycle::marksAcrossClipsExport_data()
{
    QTest::addColumn<ExportActions::Kind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("clockOffset");
    QTest::newRow("clip") << ExportActions::Kind::Clip << "cut.mp4" << 0;
    QTest::newRow("captioned clip") << ExportActions::Kind::CaptionedClip << "captioned.mp4" << 0;
    QTest::newRow("GPX") << ExportActions::Kind::Gpx << "track.gpx" << 0;
    QTest::newRow("GPX, the log a second ahead") << ExportActions::Kind::Gpx << "later.gpx" << 1;
}

// I in the second clip of a trip, O in the third: the slider shows the range
// and the export takes it, across the boundary.
void TestUpdateCycle::marksAcrossClipsExport()
{
    QFETCH(ExportActions::Kind, kind);
    QFETCH(QString, name);
    QFETCH(int, clockOffset);
    // Trip second k is at 46° 18.1k′ N.
    QList<QByteArray> logs(3);
    for (int second = 0; second < 9; ++second)
        logs[second / 3] += "A,030410,13101" + QByteArray::number(second % 3) + ",4618.1" + QByteArray::number(second)
                + "00,N,00656.1347,E,12.00,0.10,0.20,0.99;\n";
    QVERIFY(w.make(clips.filePath(QStringLiteral("3.MOV")), logs));
    Trip trip;
    for (int index = 0; index < 3; ++index)
        trip.clips << TripClip{ index, w.probe->catalogue()->GetVideoPath(index),
                                w.probe->catalogue()->GetGpsFilePath(index), 0, 0, 3000 };
    // Shortcuts reach only the active window.
    w.window->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(w.window->isActiveWindow(), kTimeout);
    w.window->playTrip(trip);
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetIndex(), 1, 3 * kTimeout);
    QTest::keyClick(w.window.get(), Qt::Key_I);
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetIndex(), 2, 3 * kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(w.probe->player()->GetPlayTime() > 500, kTimeout);
    w.probe->videoPlay()->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.probe->player()->GetState(), int(UVlcWrapper::Paused), kTimeout);
    QTest::keyClick(w.window.get(), Qt::Key_O);
    const auto span = w.probe->rangeBand()->span();
    QVERIFY(span && span->first == 0 && span->second > 0.1 && span->second < 1);
    for (int step = 0; step < clockOffset; ++step)
        QTest::keyClick(w.window.get(), Qt::Key_BracketRight, Qt::ControlModifier);

    const QString path = clips.filePath(name);
    w.probe->exportActions()->exportTo(kind, path);
    QTRY_VERIFY_WITH_TIMEOUT(w.child<QLabel>("Notice")->text().startsWith(QStringLiteral("Exported to")), kTimeout);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (kind == ExportActions::Kind::Gpx) {
        // Two segments: the second clip from its mark, the third up to its mark.
        const QByteArray gpx = file.readAll();
        QCOMPARE(gpx.count("<trkseg>"), 2);
        QVERIFY(gpx.count("<trkpt") >= 2 && gpx.count("<trkpt") <= 5);
        // From the record of the mark's second (trip second 3), or the next.
        const qsizetype lat = gpx.indexOf("<trkpt lat=\"") + 12;
        const double degrees = gpx.mid(lat, gpx.indexOf('"', lat) - lat).toDouble();
        QVERIFY2(qAbs(degrees - (46 + (18.13 + 0.01 * clockOffset) / 60)) < 2e-5, qPrintable(gpx.mid(lat, 9)));
    } else {
        QProcess probe;
        probe.start(QStringLiteral("ffprobe"), { "-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0",
                                                 path });
        QVERIFY(probe.waitForFinished());
        const double seconds = probe.readAllStandardOutput().toDouble();
        // The second clip from its key frame, its start (or from the mark,
        // captioned), and the third up to the mark.
        QVERIFY2(seconds > 1.4 && seconds < 6, qPrintable(QString::number(seconds)));
    }
    if (kind == ExportActions::Kind::CaptionedClip)
        return;

    // The command line, given the marks' moments of the drive, writes the same file.
    const RangeMarks &marks = w.probe->exportActions()->marks();
    const auto seconds = [](const DriveMark &mark) { return QString::number(mark.clip * 3 + mark.ms / 1000.0, 'f', 3); };
    const QString again = clips.filePath(QStringLiteral("again-") + name);
    // The command line takes the offset from the library, which this window does not keep.
    if (clockOffset != 0) {
        RecordingLibrary library;
        std::optional<StoredRecording> first = LibraryKeeper::describe(trip.clips[0].videoPath);
        QVERIFY(library.open() && first);
        first->clockOffsetSeconds = clockOffset;
        QVERIFY(library.store(*first));
    }
    const auto forget = qScopeGuard([] { QFile::remove(RecordingLibrary::defaultPath()); });
    QProcess program;
    program.start(QStringLiteral(VELMORA_PROGRAM),
                  { kind == ExportActions::Kind::Gpx ? "--export-gpx" : "--export-clip", again, "--from",
                    seconds(*marks.start()), "--to", seconds(*marks.end()), trip.clips[0].videoPath,
                    trip.clips[1].videoPath, trip.clips[2].videoPath });
    QVERIFY(program.waitForFinished(60000) && program.exitCode() == 0);
    QFile written(again);
    QVERIFY(file.seek(0) && written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll() == file.readAll());
}

QTEST_MAIN(TestUpdateCycle)

#include "tst_updatecycle.moc"
