// Trips of a ten-hour drive: 600 one-minute clips whose logs are the hour of
// gps0002.log ten times over, each hour an hour later. Prints how long the
// grouping takes once the clips' times are known, and how long the figures of
// the trip take, with and without reading the 600 logs. Build with
// -DCMAKE_BUILD_TYPE=RelWithDebInfo.

#include "benchfigures.h"

#include "catalogue/gpslogdata.h"
#include "library/librarykeeper.h"
#include "library/usersettings.h"
#include "trips/recordingprober.h"
#include "trips/tripfigures.h"
#include "trips/tripgrouper.h"

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

namespace {

constexpr int kHours = 10;
constexpr int kClipsPerHour = 60;
constexpr int kClipSeconds = 60;
constexpr int kClips = kHours * kClipsPerHour;
constexpr int kRuns = 21;
constexpr double kGroupingTargetMs = 50;
constexpr double kFiguresTargetMs = 100;
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

void report(const char *label, double ms, double targetMs)
{
    std::printf("%s: %8.3f ms median of %d   (target under %.0f ms: %s)\n", label, ms, kRuns, targetMs,
                ms < targetMs ? "met" : "missed");
}

} // namespace

int main()
{
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
    return 0;
}
