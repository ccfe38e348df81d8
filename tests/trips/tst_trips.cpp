// Trips from the times of the recordings, and what a drive came to: grouping
// rows, hard events, the settings, and an hour of a real drive cut into sixty
// clips as the camera writes them, listed by the real program.

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "library/librarykeeper.h"
#include "library/programpaths.h"
#include "library/recordinglibrary.h"
#include "library/usersettings.h"
#include "trips/hardevents.h"
#include "trips/recordingprober.h"
#include "trips/tripfigures.h"
#include "trips/tripgrouper.h"
#include "testrecordings.h"

#include <QDateTime>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace testrecordings;

namespace {

const QDateTime kNoon(QDate(2010, 4, 3), QTime(12, 0), Qt::UTC);
constexpr qint64 kFarMs = 86400000; // where a log's clip keeps its video: any use of it shows
constexpr int kClips = 60;
constexpr int kClipSeconds = 60;

GpsLogRecord lineAt(int second, bool fix)
{
    GpsLogRecord record;
    record.dataAvailable = fix;
    record.date = QStringLiteral("030410");
    record.time = kNoon.time().addSecs(second).toString(QStringLiteral("hhmmss"));
    return record;
}

// "0 59": a log with fixes at these seconds after noon ("~9": a line without a
// fix at 9 s). "@100+60": no log, a video dated 100 s, 60 s long ("+?": unknown).
StoredRecording recordingFrom(const QString &text)
{
    StoredRecording recording;
    recording.probed = true;
    recording.video.modified = kNoon.toMSecsSinceEpoch() + kFarMs;
    recording.durationMs = 60000;
    if (text.startsWith(QLatin1Char('@'))) {
        const QStringList video = text.mid(1).split(QLatin1Char('+'));
        recording.video.modified = kNoon.toMSecsSinceEpoch() + video[0].toLongLong() * 1000;
        recording.durationMs = video[1] == QLatin1String("?") ? -1 : video[1].toLongLong() * 1000;
        return recording;
    }
    QList<GpsLogRecord> log;
    for (const QString &token : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        log << lineAt(token.mid(token.startsWith(QLatin1Char('~'))).toInt(), !token.startsWith(QLatin1Char('~')));
    const LogSpan span = LogSpan::of(log);
    recording.logStartMs = span.startMs;
    recording.logEndMs = span.endMs;
    return recording;
}

// "2:0-120": a trip of two clips from noon to 120 s after.
QString tripsText(const QList<Trip> &trips)
{
    QStringList texts;
    for (const Trip &trip : trips) {
        const qint64 noon = kNoon.toMSecsSinceEpoch();
        texts << QStringLiteral("%1:%2-%3").arg(trip.clips.size()).arg((trip.startMs() - noon) / 1000).arg((trip.endMs() - noon) / 1000);
    }
    return texts.join(QLatin1Char(' '));
}

// "1" is z alone, "0.6/0/0.8" is x/y/z.
QList<GpsLogRecord> sensorLog(const QString &text)
{
    QList<GpsLogRecord> log;
    for (const QString &token : text.split(QLatin1Char(' '))) {
        const QStringList axes = token.split(QLatin1Char('/'));
        GpsLogRecord record;
        record.z = axes.last().toDouble();
        if (axes.size() == 3) {
            record.x = axes[0].toDouble();
            record.y = axes[1].toDouble();
        }
        log << record;
    }
    return log;
}

} // namespace

class TestTrips : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void grouping_data();
    void grouping();
    void hardEvents_data();
    void hardEvents();
    void settings_data();
    void settings();
    void importIsProbedInTheBackground();
    void realDriveInSixtyClips();

private:
    std::unique_ptr<QTemporaryDir> folder;
};

void TestTrips::init()
{
    folder = std::make_unique<QTemporaryDir>();
    // Also when run by hand: never the user's own library or settings.
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder->filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder->filePath(QStringLiteral("config"))));
}

void TestTrips::grouping_data()
{
    QTest::addColumn<QString>("clips");
    QTest::addColumn<QString>("trips");
    QTest::newRow("gap of the setting joins") << "0 59; 179 200" << "2:0-200";
    QTest::newRow("gap just under joins") << "0 59; 178" << "2:0-178";
    QTest::newRow("gap just over parts") << "0 59; 180" << "1:0-59 1:180-180";
    QTest::newRow("overlap: the latest end counts") << "0 100; 50 70; 220" << "3:0-220";
    QTest::newRow("out of order") << "300; 0 59; 100" << "2:0-100 1:300-300";
    QTest::newRow("log back in time") << "59 30 0; 179" << "2:0-179";
    QTest::newRow("single fix") << "0; 120" << "2:0-120";
    QTest::newRow("no fix: its lines' clock") << "0 59; ~100 ~110; 120" << "3:0-120";
    QTest::newRow("no log: video date and length") << "0 59; @100+60; 280" << "3:0-280";
    QTest::newRow("unknown length: a moment") << "@0+?; 121" << "1:0-0 1:121-121";
}

void TestTrips::grouping()
{
    QFETCH(QString, clips);
    QFETCH(QString, trips);
    QList<TripClip> tripClips;
    for (const QString &text : clips.split(QStringLiteral("; ")))
        tripClips << LibraryKeeper::tripClipOf(int(tripClips.size()), recordingFrom(text));
    QCOMPARE(tripsText(groupTrips(tripClips, TripSettings().gapMs())), trips);
}

void TestTrips::hardEvents_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<QList<int>>("seconds");
    QTest::newRow("calm") << "1 1.02 0.98 1" << QList<int>();
    QTest::newRow("a bump over two seconds is one") << "1 1 1.6 1 1" << QList<int>{ 2 };
    QTest::newRow("two apart") << "1 1.6 1.6 1.6 1" << QList<int>{ 1, 4 };
    QTest::newRow("at the threshold is not above") << "1 1.5 1.5" << QList<int>();
    QTest::newRow("the magnitude, not an axis") << "0/0/1 0.6/0/0.8" << QList<int>();
    QTest::newRow("a line without values is no jolt") << "1 0/0/0 1 1.7" << QList<int>{ 3 };
}

void TestTrips::hardEvents()
{
    QFETCH(QString, sensor);
    QFETCH(QList<int>, seconds);
    QCOMPARE(hardEventSeconds(sensorLog(sensor), TripSettings::kDefaultHardEventG), seconds);
}

void TestTrips::settings_data()
{
    QTest::addColumn<QString>("gapText");
    QTest::addColumn<QString>("gText");
    QTest::addColumn<int>("gapSeconds");
    QTest::addColumn<double>("hardEventG");
    QTest::newRow("set") << "60" << "0.8" << 60 << 0.8;
    QTest::newRow("missing") << QString() << QString() << 120 << 0.5;
    QTest::newRow("negative and zero") << "-5" << "0" << 120 << 0.5;
    QTest::newRow("no numbers") << "soon" << "nan" << 120 << 0.5;
}

void TestTrips::settings()
{
    QFETCH(QString, gapText);
    QFETCH(QString, gText);
    {
        QSettings file(ProgramPaths::settingsFile(), QSettings::IniFormat);
        if (!gapText.isNull())
            file.setValue(QStringLiteral("trips/gapSeconds"), gapText);
        if (!gText.isNull())
            file.setValue(QStringLiteral("trips/hardEventG"), gText);
    }
    const TripSettings loaded = TripSettings::load();
    QTEST(loaded.gapSeconds, "gapSeconds");
    QTEST(loaded.hardEventG, "hardEventG");
}

// Kept in the library and the catalogue's clips; a changed log is looked at again.
void TestTrips::importIsProbedInTheBackground()
{
    const QString card = folder->filePath(QStringLiteral("card"));
    const QString name = QStringLiteral("FILE0001.MOV");
    QVERIFY(makeClip(cardVideo(card, name), 2));
    RecordingLibrary library(RecordingLibrary::defaultPath());
    QVERIFY(library.open());
    UVideoAndGpsfiles catalogue;
    LibraryKeeper keeper(&catalogue);
    keeper.restoreFrom(&library);
    QSignalSpy tripsChanged(&keeper, &LibraryKeeper::tripsChanged);
    const qint64 firstFix = QDateTime(QDate(2010, 4, 3), QTime(13, 10, 10), Qt::UTC).toMSecsSinceEpoch();
    for (int fixes : { 5, 10 }) {
        QVERIFY(writeLog(cardLog(card, name), fixes, 0));
        keeper.addImported(*LibraryKeeper::describe(cardVideo(card, name)));
        QTRY_COMPARE_WITH_TIMEOUT(tripsChanged.size(), fixes / 5, 20000);
        const StoredRecording stored = library.recordings().first();
        QVERIFY(stored.probed && qAbs(stored.durationMs - 2000) < 100);
        QCOMPARE(stored.logEndMs - stored.logStartMs, (fixes - 1) * 1000);
        QCOMPARE(keeper.tripClips().first().startMs, firstFix);
    }
}

// gps0002.log (one hour) cut into the camera's one-minute clips: three of
// them have no fix and go by the clock of their lines. Imported, then listed at once
// by `velmora --trips`, which probes them; the trip of sixty clips comes to
// what the uncut log does. Distance and events as worked out apart from the
// program; the events with a threshold that the hour's synthetic sensor
// values cross.
void TestTrips::realDriveInSixtyClips()
{
    const QString card = folder->filePath(QStringLiteral("card"));
    const QString clip = folder->filePath(QStringLiteral("clip.mov"));
    QVERIFY(makeClip(clip, 2));
    QFile drive(QFINDTESTDATA(QStringLiteral("../data/real-drives/gps0002.log")));
    QVERIFY(drive.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = drive.readAll().split('\n');
    const QDateTime driveStart(QDate(2010, 4, 3), QTime(12, 52, 25), Qt::UTC);
    {
        RecordingLibrary library(RecordingLibrary::defaultPath());
        QVERIFY(library.open());
        UVideoAndGpsfiles catalogue;
        LibraryKeeper keeper(&catalogue);
        keeper.restoreFrom(&library);
        for (int k = 0; k < kClips; ++k) {
            const QString name = QStringLiteral("FILE%1.MOV").arg(101 + k, 4, 10, QLatin1Char('0'));
            const QString video = cardVideo(card, name);
            QVERIFY(copyFile(clip, video));
            QVERIFY(writeFile(cardLog(card, name), lines.mid(k * kClipSeconds, kClipSeconds).join('\n') + '\n'));
            QFile file(video);
            QVERIFY(file.open(QIODevice::Append));
            QVERIFY(file.setFileTime(driveStart.addSecs(k * kClipSeconds), QFileDevice::FileModificationTime));
            file.close();
            keeper.addImported(*LibraryKeeper::describe(video));
        }
    }
    QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("trips/hardEventG"), 0.085);
    // Whatever the machine's locale and zone.
    settings.setValue(QStringLiteral("display/speedUnit"), QStringLiteral("kmh"));
    settings.setValue(QStringLiteral("display/timeZone"), QStringLiteral("UTC"));
    settings.sync();

    const auto tripsLines = [] {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VELMORA_PROGRAM), { QStringLiteral("--trips") });
        if (!program.waitForFinished(120000) || program.exitCode() != 0)
            return QString::fromUtf8(program.readAllStandardError());
        return QString::fromUtf8(program.readAllStandardOutput());
    };
    QCOMPARE(tripsLines(), QStringLiteral("2010-04-03T12:52:25Z\t2010-04-03T13:52:24Z\t3599\t60\t79.355\t129.8\t9\n"));
    // Miles, and Berlin's summer time.
    settings.setValue(QStringLiteral("display/speedUnit"), QStringLiteral("mph"));
    settings.setValue(QStringLiteral("display/timeZone"), QStringLiteral("Europe/Berlin"));
    settings.sync();
    QCOMPARE(tripsLines(),
             QStringLiteral("2010-04-03T14:52:25+02:00\t2010-04-03T15:52:24+02:00\t3599\t60\t49.309\t80.6\t9\n"));

    RecordingLibrary library(RecordingLibrary::defaultPath());
    QVERIFY(library.open());
    QList<TripClip> clips;
    for (const StoredRecording &recording : library.recordings()) {
        QVERIFY2(recording.probed && qAbs(recording.durationMs - 2000) < 100, qPrintable(recording.info.fileName));
        clips << LibraryKeeper::tripClipOf(int(clips.size()), recording);
    }
    const QList<Trip> trips = groupTrips(clips, TripSettings().gapMs());
    QCOMPARE(trips.size(), 1);
    Trip uncut;
    uncut.clips << TripClip{ 0, clip, drive.fileName(), trips[0].startMs(), trips[0].endMs(), -1 };
    const TripFigures cut = readTripFigures(trips[0], 0.085);
    const TripFigures whole = readTripFigures(uncut, 0.085);
    QVERIFY2(qAbs(cut.distanceKm - whole.distanceKm) < 1e-9, qPrintable(QString::number(cut.distanceKm - whole.distanceKm)));
    QCOMPARE(cut.hardEvents, whole.hardEvents);
    QCOMPARE(cut.meanMovingSpeedKmh, whole.meanMovingSpeedKmh);
}

QTEST_MAIN(TestTrips)
#include "tst_trips.moc"
