// Trips of a ten-hour drive: 600 one-minute clips whose logs are the hour of
// gps0002.log ten times over, each hour an hour later. Prints how long the
// grouping takes once the clips' times are known, how long the figures of
// the trip take, with and without reading the 600 logs, and what showing the
// trip's route costs: laying the trip out, sending its route to the real map
// page, the page drawing it, and the memory of the process tree. Build with
// -DCMAKE_BUILD_TYPE=RelWithDebInfo; run under an X server, e.g.
//   xvfb-run -a ./bench/bench_trips

#include "benchfigures.h"

#include "catalogue/gpslogdata.h"
#include "export/trackexport.h"
#include "library/librarykeeper.h"
#include "library/programpaths.h"
#include "library/usersettings.h"
#include "playback/displaytexts.h"
#include "playback/mappages.h"
#include "playback/mapwebpage.h"
#include "playback/mapwebprofile.h"
#include "trips/recordingprober.h"
#include "trips/tripfigures.h"
#include "trips/tripgrouper.h"
#include "trips/triptimeline.h"

#include <QApplication>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEngineView>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#include <unistd.h>

namespace {

constexpr int kHours = 10;
constexpr int kClipsPerHour = 60;
constexpr int kClipSeconds = 60;
constexpr int kClips = kHours * kClipsPerHour;
constexpr int kRuns = 21;
constexpr double kGroupingTargetMs = 50;
constexpr double kFiguresTargetMs = 100;
constexpr double kGpxTargetMs = 200;
constexpr quint32 kSeed = 2010;
constexpr int kTimeField = 2;

// The hour's lines with the hour of their time field moved on by `hours`.
QList<QByteArray> shiftedHour(const QList<QByteArray> &hour, int hours)
{
    QList<QByteArray> lines;
    for (const QByteArray &line : hour) {
        QList<QByteArray> fields = line.split(',');
        if (fields.size() > kTimeField && fields[kTimeField].size() >= 2)
            fields[kTimeField].replace(0, 2, QByteArray::number(fields[kTimeField].left(2).toInt() + hours).rightJustified(2, '0'));
        lines << fields.join(',');
    }
    return lines;
}

// <root>/gps/gps0001.log … gps0600.log, and the recordings as the library
// keeps them once probed. Clips without a fix go by their video's date: the
// minute the camera started them.
bool makeDrive(const QString &root, QList<StoredRecording> &recordings, QHash<QString, QList<GpsLogRecord>> &logs)
{
    QFile drive(QStringLiteral(BENCH_REAL_DRIVE_LOG));
    if (!drive.open(QIODevice::ReadOnly) || !QDir().mkpath(root + QStringLiteral("/gps")))
        return false;
    QList<QByteArray> hour = drive.readAll().split('\n');
    hour.removeAll(QByteArray());
    const QDateTime driveStart(QDate(2010, 4, 3), QTime(12, 52, 25), Qt::UTC);
    for (int h = 0; h < kHours; ++h) {
        const QList<QByteArray> lines = shiftedHour(hour, h);
        for (int minute = 0; minute < kClipsPerHour; ++minute) {
            const int clip = h * kClipsPerHour + minute;
            StoredRecording recording;
            recording.info.videoPath = root + QStringLiteral("/DCIM/100MEDIA/FILE%1.MOV").arg(clip + 1, 4, 10, QLatin1Char('0'));
            recording.info.gpsFilePath = root + QStringLiteral("/gps/gps%1.log").arg(clip + 1, 4, 10, QLatin1Char('0'));
            recording.info.gpsState = GpsFileAvailable;
            QFile log(recording.info.gpsFilePath);
            if (!log.open(QIODevice::WriteOnly)
                || log.write(lines.mid(minute * kClipSeconds, kClipSeconds).join('\n') + '\n') < 0)
                return false;
            log.close();
            GpsLogData records;
            records.LoadGpsLog(recording.info.gpsFilePath);
            const LogSpan span = LogSpan::of(records.records);
            recording.probed = true;
            recording.durationMs = kClipSeconds * 1000;
            recording.logStartMs = span.startMs;
            recording.logEndMs = span.endMs;
            recording.video.modified = driveStart.addSecs(qint64(clip) * kClipSeconds).toMSecsSinceEpoch();
            recordings << recording;
            logs.insert(recording.info.gpsFilePath, records.records);
        }
    }
    return true;
}

// Median of kRuns, in ms.
double medianMs(const std::function<void()> &run)
{
    QList<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times << timer.nsecsElapsed() / 1e6;
    }
    return benchfigures::median(times);
}

// Resident memory of this process and the map page's processes under it.
qint64 treeResidentKb()
{
    const auto procFile = [](qint64 pid, const char *name) {
        QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QHash<qint64, qint64> parentOf;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number)
            parentOf.insert(pid, benchfigures::parentPid(procFile(pid, "stat")));
    }
    qint64 total = 0;
    for (const qint64 pid : benchfigures::processTree(::getpid(), parentOf))
        total += std::max<qint64>(0, benchfigures::kilobytes(procFile(pid, "status"), "VmRSS"));
    return total;
}

qint64 ownResidentKb()
{
    QFile file(QStringLiteral("/proc/self/status"));
    return file.open(QIODevice::ReadOnly) ? benchfigures::kilobytes(file.readAll(), "VmRSS") : -1;
}

QVariant evaluate(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    QEventLoop loop;
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        loop.quit();
    });
    loop.exec();
    return result;
}

// The trip's route on the map page, as the window sends it when the trip
// starts. Returns false when the page did not draw it.
bool showTripRoute(const Trip &trip)
{
    ProgramPaths::setProgramFolder(QStringLiteral(BENCH_RUN_DIR));
    MapWebProfile profile;
    QWebEngineView view;
    auto *page = new MapWebPage(&profile, &view);
    view.setPage(page);
    view.resize(460, 430);
    view.show();
    QEventLoop loading;
    QObject::connect(page, &QWebEnginePage::loadFinished, &loading, &QEventLoop::quit);
    view.setUrl(mapPageUrl(MapPage::Map));
    loading.exec();
    evaluate(page, QStringLiteral("0"));
    const qint64 before = treeResidentKb();
    const qint64 ownBefore = ownResidentKb();

    QElapsedTimer timer;
    timer.start();
    const TripTimeline timeline(trip);
    const double laidOut = timer.nsecsElapsed() / 1e6;

    timer.restart();
    GpsLogData log;
    log.records = timeline.records();
    page->runJavaScript(QStringLiteral("clearPath()"));
    page->runJavaScript(routeNodesScript(log, timeline.seconds() * qint64(1000)));
    page->runJavaScript(hardEventsScript(log, TripSettings().hardEventG));
    page->runJavaScript(QStringLiteral("showPath()"));
    const double sent = timer.nsecsElapsed() / 1e6;
    const int pieces = evaluate(page, QStringLiteral("velmoraMapState().layers.speedLines")).toInt();
    const double drawn = timer.nsecsElapsed() / 1e6;
    const qint64 growthKb = ownResidentKb() - ownBefore;
    const qint64 treeGrowthKb = treeResidentKb() - before;

    std::printf("trip laid out (600 logs read): %8.1f ms\n", laidOut);
    std::printf("route of the 10-hour trip sent: %7.1f ms   (target under 100 ms: %s)\n", sent,
                sent < 100 ? "met" : "missed");
    std::printf("route drawn by the map page: %10.0f ms, %d coloured pieces   (target under 1000 ms: %s)\n",
                drawn, pieces, drawn < 1000 ? "met" : "missed");
    std::printf("memory growth with the trip shown: %4.0f MB, with the map page's processes %.0f MB   "
                "(target under 50 MB: %s)\n",
                growthKb / 1024.0, treeGrowthKb / 1024.0, growthKb < 50 * 1024 ? "met" : "missed");
    return pieces > 0;
}

void report(const char *label, double ms, double targetMs)
{
    std::printf("%s: %8.3f ms median of %d   (target under %.0f ms: %s)\n", label, ms, kRuns, targetMs,
                ms < targetMs ? "met" : "missed");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

    QTemporaryDir card;
    QList<StoredRecording> recordings;
    QHash<QString, QList<GpsLogRecord>> logs;
    if (!card.isValid() || !makeDrive(card.path(), recordings, logs)) {
        std::fprintf(stderr, "cannot write the logs of the drive\n");
        return 1;
    }
    // The library's order is the import's, not the drive's.
    std::shuffle(recordings.begin(), recordings.end(), QRandomGenerator(kSeed));

    const qint64 gapMs = TripSettings().gapMs();
    QList<Trip> trips;
    const double grouping = medianMs([&] {
        QList<TripClip> clips;
        for (int i = 0; i < recordings.size(); ++i)
            clips << LibraryKeeper::tripClipOf(i, recordings.at(i));
        trips = groupTrips(clips, gapMs);
    });
    if (trips.size() != 1 || trips.first().clips.size() != kClips) {
        std::fprintf(stderr, "the drive gave %lld trips, not one of %d clips\n", static_cast<long long>(trips.size()),
                     kClips);
        return 1;
    }
    // The grouped trip's clips in order, with their records.
    QList<QList<GpsLogRecord>> tripLogs;
    for (const TripClip &clip : trips.first().clips)
        tripLogs << logs.value(clip.logPath);

    const double hardEventG = TripSettings().hardEventG;
    TripFigures figures;
    const double computing = medianMs([&] { figures = tripFigures(trips.first(), tripLogs, hardEventG); });
    const double reading = medianMs([&] { figures = readTripFigures(trips.first(), hardEventG); });

    std::printf("drive: %d clips, %lld log lines, %.1f h; %.3f km, top %.1f km/h, %d hard events\n", kClips,
                static_cast<long long>(kClips) * kClipSeconds, figures.durationSeconds / 3600.0, figures.distanceKm,
                figures.maxSpeedKmh, figures.hardEvents);
    report("grouping 600 clips", grouping, kGroupingTargetMs);
    std::printf("figures of the trip, logs in memory: %8.3f ms median of %d\n", computing, kRuns);
    report("figures of the 10-hour trip", reading, kFiguresTargetMs);
    const TripTimeline timeline(trips.first());
    const TrackSpan whole = trackSpan(timeline, {});
    int points = 0;
    const double gpx = medianMs([&] {
        trackText(timeline, whole, TrackFormat::Gpx, QStringLiteral("drive"), &points);
    });
    std::printf("GPX of the 10-hour trip: %d points\n", points);
    report("GPX of the 10-hour trip", gpx, kGpxTargetMs);
    if (!showTripRoute(trips.first())) {
        std::fprintf(stderr, "the map page drew no route\n");
        return 1;
    }
    return 0;
}
