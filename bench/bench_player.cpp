// Drives the real program from outside, through the X server it draws on, and
// prints three figures:
//   start-up     from launching `velmora` in its run folder until its window is
//                mapped and first drawn into (XDamage); median of kRuns launches,
//                the first launch shown apart and not counted;
//   first frame  from a real double click (XTest) on the first list row until
//                the video area shows the recording's picture; median of kRuns;
//   memory       resident memory of the program and every process below it
//                while the recording plays with its map page loaded;
//   changes      the same memory after 10 and after 300 recordings have played
//                one after the other (short clips, each followed by the next);
//   paused       the share of one processor core the tree uses while the
//                recording is paused.
// The recording is a 1920x1080 H.264 clip made by ffmpeg, with the first
// seconds of a real drive's log (rated "Available") as its GPS log. Run under an
// X server with XTEST and DAMAGE, from the build folder:
//   xvfb-run -a -s "-screen 0 1920x1080x24" ./bench/bench_player [output folder [startup|firstframe|memory|changes|paused]...]
// The output folder (default ./bench-player) receives the program's output and
// a screenshot taken while the memory is read.

#include "benchfigures.h"
#include "library/recordinglibrary.h"
#include "playerprocess.h"
#include "xsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 5;
constexpr int kClipSeconds = 25;
constexpr int kClipMegabitsPerSecond = 12; // what dash cameras write at 1080p
constexpr int kShownTimeoutMs = 30000;
// Before the click: the start page has loaded and the command line's
// recording is listed.
constexpr int kSettleMs = 2000;
// After start-up, so that the program is not closed half-way through its start.
constexpr int kStartRestMs = 1000;
constexpr int kPictureTimeoutMs = 15000;
constexpr int kPollMs = 10;
constexpr int kPlayBeforeMemoryMs = 8000;
constexpr int kMemorySamples = 5;
constexpr int kMemorySampleGapMs = 1000;
constexpr double kStartTargetMs = 1500;
constexpr double kFirstFrameTargetMs = 1000;
constexpr double kMemoryTargetMb = 400;
constexpr int kStoredRecordings = 10000;
constexpr double kStoredStartRatio = 1.5;
constexpr int kChangesFirst = 10;
constexpr int kChangesLast = 300;
constexpr double kChangeClipSeconds = 0.3;
constexpr int kChangesTimeoutMs = 600000;
constexpr double kChangesGrowthTargetMb = 30;
constexpr int kPausedSettleMs = 2000;
constexpr int kPausedMeasureMs = 10000;
constexpr double kPausedTargetPercent = 1;

const char *const kWindowTitle = "Marvenda";

// Where Velmora::layoutWidgets() puts the video surface, in window coordinates.
QRect videoArea(const QSize &window)
{
    return QRect(5, 55, window.width() - 475, window.height() - 310);
}

// The play/pause button, as Velmora::layoutWidgets() places it.
QPoint playButton(const QSize &window)
{
    return QPoint((window.width() - 510) / 2 - 35 + 17, window.height() - 247 + 17);
}

// Inside the first row of the left list: the table starts 170 px above the
// window's bottom, its header is 20 to 30 px high and a row 20 px.
QPoint firstRow(const QSize &window)
{
    return QPoint(65, window.height() - 170 + 35);
}

double milliseconds(qint64 nanoseconds)
{
    return nanoseconds / 1e6;
}

double megabytes(qint64 kilobytes)
{
    return kilobytes * 1024 / 1e6;
}

const char *verdict(bool met)
{
    return met ? "met" : "NOT met";
}

QString runFolderPath()
{
    const QString configured = qEnvironmentVariable("VELMORA_RUN_DIR");
    return configured.isEmpty() ? QStringLiteral(BENCH_RUN_DIR) : configured;
}

bool makeClip(const QString &path)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString rate = QStringLiteral("%1M").arg(kClipMegabitsPerSecond);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 { QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                   QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("testsrc2=size=1920x1080:rate=25"), QStringLiteral("-f"),
                   QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("anoisesrc=c=brown:a=0.05:r=48000"), QStringLiteral("-t"),
                   QString::number(kClipSeconds), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                   QStringLiteral("-preset"), QStringLiteral("veryfast"), QStringLiteral("-b:v"), rate,
                   QStringLiteral("-maxrate"), rate, QStringLiteral("-bufsize"), rate,
                   QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), QStringLiteral("-c:a"),
                   QStringLiteral("aac"), QStringLiteral("-b:a"), QStringLiteral("48k"), QStringLiteral("-ac"),
                   QStringLiteral("1"), QStringLiteral("-movflags"), QStringLiteral("+faststart"),
                   QStringLiteral("-y"), path });
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitStatus() == QProcess::NormalExit
        && ffmpeg.exitCode() == 0;
}

// A short clip without sound or log, copied `count` times into one card folder.
QStringList makeShortClips(const QString &root, int count)
{
    const QString folder = root + QStringLiteral("/DCIM/100MEDIA");
    const QString first = folder + QStringLiteral("/FILE0001.MOV");
    QDir().mkpath(folder);
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 { QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                   QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("testsrc2=size=1280x720:rate=25"), QStringLiteral("-t"),
                   QString::number(kChangeClipSeconds), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                   QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), QStringLiteral("-y"), first });
    if (!ffmpeg.waitForFinished(-1) || ffmpeg.exitCode() != 0)
        return {};
    QStringList clips { first };
    for (int i = 2; i <= count; ++i) {
        clips << folder + QStringLiteral("/FILE%1.MOV").arg(i, 4, 10, QLatin1Char('0'));
        if (!QFile::copy(first, clips.last()))
            return {};
    }
    return clips;
}

// The first `seconds` lines of a real drive's log: one line a second, so the
// log is as long as the clip.
bool copyLogStart(const QString &from, const QString &to, int seconds)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        return false;
    for (int line = 0; line < seconds && !source.atEnd(); ++line) {
        if (target.write(source.readLine()) < 0)
            return false;
    }
    return true;
}

// <root>/DCIM/100MEDIA/FILE0001.MOV with <root>/gps/gps0001.log, as the camera writes them.
QString makeCard(const QString &root)
{
    const QString video = root + QStringLiteral("/DCIM/100MEDIA/FILE0001.MOV");
    const QString log = root + QStringLiteral("/gps/gps0001.log");
    if (!QDir().mkpath(QFileInfo(video).path()) || !QDir().mkpath(QFileInfo(log).path()))
        return QString();
    if (!copyLogStart(QStringLiteral(BENCH_REAL_DRIVE_LOG), log, kClipSeconds) || !makeClip(video))
        return QString();
    return video;
}

// Starts the program and waits until its window has been drawn into; times
// count from just before the start.
XSession::Shown launch(XSession &x, PlayerProcess &player, const QStringList &recordings)
{
    x.watchTopLevels();
    QElapsedTimer clock;
    clock.start();
    if (!player.start(recordings)) {
        std::fprintf(stderr, "the program did not start\n");
        return {};
    }
    const XSession::Shown shown = x.waitForPaintedWindow(QLatin1String(kWindowTitle), clock, kShownTimeoutMs);
    if (shown.paintedNs < 0)
        std::fprintf(stderr, "no window titled %s was drawn within %d ms\n", kWindowTitle, kShownTimeoutMs);
    return shown;
}

// Double-clicks the first list row and waits for the video area to show the
// picture; milliseconds from the click, or -1 when no picture came.
double playFirstRow(XSession &x, XSession::WindowId window)
{
    const QRect frame = x.geometry(window);
    const QRect video = videoArea(frame.size()).translated(frame.topLeft());
    const QImage still = x.grab(video);
    QElapsedTimer clock;
    clock.start();
    const qint64 clicked = x.doubleClick(frame.topLeft() + firstRow(frame.size()), clock);
    while (milliseconds(clock.nsecsElapsed() - clicked) < kPictureTimeoutMs) {
        const bool shown = benchfigures::showsPicture(x.grab(video), still);
        // Taken after the grab: the picture came at the latest then.
        const double elapsed = milliseconds(clock.nsecsElapsed() - clicked);
        if (shown)
            return elapsed;
        QThread::msleep(kPollMs);
    }
    return -1;
}

bool saveScreen(XSession &x, const QString &path)
{
    const bool saved = x.grabScreen().save(path);
    std::printf("  screenshot: %s\n", saved ? qPrintable(path) : "could not be saved");
    return saved;
}

// What every measurement needs: the X server, the program's run folder, and
// where the program's output goes.
struct Setting
{
    XSession &x;
    QString runFolder;
    QString output;

    QString logPath(const QString &name) const
    {
        return QDir(output).filePath(name + QStringLiteral(".log"));
    }
};

// A library of `count` recordings where the program will look for it.
bool fillLibrary(const PlayerProcess &player, int count)
{
    RecordingLibrary library(player.dataHome() + QStringLiteral("/Marvenda/library.sqlite"));
    if (!library.open() || !library.beginChanges())
        return false;
    for (int i = 0; i < count; ++i) {
        StoredRecording recording;
        recording.info.videoPath = QStringLiteral("/media/sd/DCIM/%1MEDIA/FILE%2.MOV").arg(100 + i / 1000).arg(i % 10000, 4, 10, QLatin1Char('0'));
        recording.info.fileName = QFileInfo(recording.info.videoPath).fileName();
        recording.info.startMs = QDateTime(QDate(2026, 6, 1), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();
        recording.info.gpsState = GpsFileAvailable;
        if (!library.store(recording))
            return false;
    }
    return library.commitChanges();
}

// Median time to the drawn window, over kRuns launches after a first one
// that is not counted; with `stored` recordings in the library; -1 on failure.
double startUpMedian(const Setting &setting, int stored)
{
    QList<double> mapped;
    QList<double> drawn;
    for (int run = 0; run <= kRuns; ++run) {
        PlayerProcess player(setting.runFolder, setting.logPath(QStringLiteral("startup")));
        if (stored > 0 && !fillLibrary(player, stored)) {
            std::fprintf(stderr, "could not fill the library\n");
            return -1;
        }
        const XSession::Shown shown = launch(setting.x, player, {});
        if (shown.paintedNs < 0)
            return -1;
        const bool counted = run > 0;
        std::printf("  launch %d%s: mapped %4.0f ms, drawn %4.0f ms\n", run + 1,
                    counted ? "" : " (first, not counted)", milliseconds(shown.mappedNs),
                    milliseconds(shown.paintedNs));
        if (counted) {
            mapped << milliseconds(shown.mappedNs);
            drawn << milliseconds(shown.paintedNs);
        }
        QThread::msleep(kStartRestMs);
        player.stop(setting.x, shown.window);
    }
    return benchfigures::median(drawn);
}

bool startUp(const Setting &setting)
{
    const double median = startUpMedian(setting, 0);
    if (median < 0)
        return false;
    std::printf("start-up to window drawn:    %4.0f ms median of %d   (target under %.0f ms: %s)\n",
                median, kRuns, kStartTargetMs, verdict(median < kStartTargetMs));
    std::printf("start-up, %d recordings in the library:\n", kStoredRecordings);
    const double stored = startUpMedian(setting, kStoredRecordings);
    if (stored < 0)
        return false;
    const double ratio = stored / median;
    std::printf("start-up with a full library: %4.0f ms median of %d, %.2fx the empty library   "
                "(target at most %.1fx: %s)\n",
                stored, kRuns, ratio, kStoredStartRatio, verdict(ratio <= kStoredStartRatio));
    return true;
}

bool firstFrame(const Setting &setting, const QString &video)
{
    QList<double> times;
    for (int run = 0; run < kRuns; ++run) {
        PlayerProcess player(setting.runFolder, setting.logPath(QStringLiteral("firstframe")));
        const XSession::Shown shown = launch(setting.x, player, { video });
        if (shown.paintedNs < 0)
            return false;
        QThread::msleep(kSettleMs);
        const double elapsed = playFirstRow(setting.x, shown.window);
        if (elapsed < 0) {
            std::fprintf(stderr, "run %d: the video area showed no picture within %d ms\n", run + 1,
                         kPictureTimeoutMs);
            saveScreen(setting.x, QDir(setting.output).filePath(QStringLiteral("no-picture.png")));
            return false;
        }
        std::printf("  run %d: %4.0f ms\n", run + 1, elapsed);
        times << elapsed;
        player.stop(setting.x, shown.window);
    }
    const double median = benchfigures::median(times);
    std::printf("double click to first frame: %4.0f ms median of %d   (target under %.0f ms: %s)\n",
                median, kRuns, kFirstFrameTargetMs, verdict(median < kFirstFrameTargetMs));
    return true;
}

// The highest of a few readings a second apart: the decoder's and the page's
// buffers come and go.
PlayerProcess::Memory highestMemory(const PlayerProcess &player)
{
    PlayerProcess::Memory highest;
    for (int sample = 0; sample < kMemorySamples; ++sample) {
        const PlayerProcess::Memory now = player.memory();
        std::printf("  reading %d: %lld processes, tree %.0f MB, VmRSS %.0f MB, Pss %.0f MB\n",
                    sample + 1, static_cast<long long>(now.processes.size()),
                    megabytes(now.treeKb), megabytes(now.rssKb), megabytes(now.pssKb));
        if (now.treeKb > highest.treeKb || (now.treeKb < 0 && now.rssKb > highest.rssKb))
            highest = now;
        QThread::msleep(kMemorySampleGapMs);
    }
    return highest;
}

bool memoryWhilePlaying(const Setting &setting, const QString &video)
{
    PlayerProcess player(setting.runFolder, setting.logPath(QStringLiteral("memory")));
    const XSession::Shown shown = launch(setting.x, player, { video });
    if (shown.paintedNs < 0)
        return false;
    QThread::msleep(kSettleMs);
    const PlayerProcess::Memory atRest = player.memory();
    std::printf("  at rest, start page shown: %lld processes, tree %.0f MB, VmRSS %.0f MB, Pss %.0f MB\n",
                static_cast<long long>(atRest.processes.size()), megabytes(atRest.treeKb),
                megabytes(atRest.rssKb), megabytes(atRest.pssKb));
    if (playFirstRow(setting.x, shown.window) < 0) {
        std::fprintf(stderr, "the recording did not start playing\n");
        return false;
    }
    QThread::msleep(kPlayBeforeMemoryMs);
    const PlayerProcess::Memory highest = highestMemory(player);
    std::printf("  highest reading, by process:\n");
    for (const PlayerProcess::ProcessMemory &process : highest.processes)
        std::printf("    %7lld %-16s VmRSS %4.0f MB, Pss %4.0f MB\n", static_cast<long long>(process.pid),
                    process.name.constData(), megabytes(process.rssKb), megabytes(process.pssKb));
    saveScreen(setting.x, QDir(setting.output).filePath(QStringLiteral("playing.png")));
    const bool stillRunning = player.isRunning();
    player.stop(setting.x, shown.window);
    if (!stillRunning) {
        std::fprintf(stderr, "the program ended while playing\n");
        return false;
    }
    // Each resident page once; without root, the sum of VmRSS, which counts
    // shared pages once per process, stands in.
    const double resident = megabytes(highest.treeKb >= 0 ? highest.treeKb : highest.rssKb);
    std::printf("memory while playing:        %.0f MB resident, tree %.0f MB, VmRSS %.0f MB, Pss %.0f MB, "
                "%lld processes; at rest tree %.0f MB, VmRSS %.0f MB   (target under %.0f MB: %s)\n",
                resident, megabytes(highest.treeKb), megabytes(highest.rssKb), megabytes(highest.pssKb),
                static_cast<long long>(highest.processes.size()), megabytes(atRest.treeKb),
                megabytes(atRest.rssKb), kMemoryTargetMb, verdict(resident < kMemoryTargetMb));
    return true;
}

// How many recordings have ended, from the program's own debug lines.
int endedCount(const QString &logPath)
{
    QFile log(logPath);
    return log.open(QIODevice::ReadOnly) ? int(log.readAll().count("real ended.")) : 0;
}

// Waits, playing on, until `count` recordings have ended.
bool waitForEnded(const Setting &setting, int count, const QElapsedTimer &clock)
{
    while (endedCount(setting.logPath(QStringLiteral("changes"))) < count) {
        if (clock.elapsed() > kChangesTimeoutMs)
            return false;
        QThread::msleep(200);
    }
    return true;
}

bool memoryOverChanges(const Setting &setting, const QStringList &clips)
{
    PlayerProcess player(setting.runFolder, setting.logPath(QStringLiteral("changes")));
    const QStringList environment { QStringLiteral("QT_LOGGING_RULES=velmora.updatecycle.debug=true") };
    setting.x.watchTopLevels();
    QElapsedTimer clock;
    clock.start();
    if (!player.start(clips, environment))
        return false;
    const XSession::Shown shown =
            setting.x.waitForPaintedWindow(QLatin1String(kWindowTitle), clock, kShownTimeoutMs);
    if (shown.paintedNs < 0)
        return false;
    QThread::msleep(kSettleMs);
    if (playFirstRow(setting.x, shown.window) < 0)
        return false;
    clock.restart();
    if (!waitForEnded(setting, kChangesFirst, clock))
        return false;
    const PlayerProcess::Memory early = player.memory();
    if (!waitForEnded(setting, kChangesLast, clock)) {
        std::fprintf(stderr, "%d recordings did not end within %d s\n", kChangesLast, kChangesTimeoutMs / 1000);
        return false;
    }
    const PlayerProcess::Memory late = player.memory();
    player.stop(setting.x, shown.window);
    const bool frames = early.treeKb >= 0 && late.treeKb >= 0;
    const double before = megabytes(frames ? early.treeKb : early.rssKb);
    const double after = megabytes(frames ? late.treeKb : late.rssKb);
    std::printf("memory over recording changes: %.0f MB after %d, %.0f MB after %d, grown %.0f MB in %.0f s   "
                "(target under %.0f MB: %s)\n",
                before, kChangesFirst, after, kChangesLast, after - before, clock.elapsed() / 1000.0,
                kChangesGrowthTargetMb, verdict(after - before < kChangesGrowthTargetMb));
    return true;
}

bool cpuWhilePaused(const Setting &setting, const QString &video)
{
    PlayerProcess player(setting.runFolder, setting.logPath(QStringLiteral("paused")));
    const XSession::Shown shown = launch(setting.x, player, { video });
    if (shown.paintedNs < 0)
        return false;
    QThread::msleep(kSettleMs);
    if (playFirstRow(setting.x, shown.window) < 0)
        return false;
    QThread::msleep(kSettleMs);
    const QRect frame = setting.x.geometry(shown.window);
    setting.x.click(frame.topLeft() + playButton(frame.size()));
    QThread::msleep(kPausedSettleMs);
    const double startCpu = player.cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QThread::msleep(kPausedMeasureMs);
    const double percent = 100 * (player.cpuSeconds() - startCpu) / (clock.elapsed() / 1000.0);
    saveScreen(setting.x, QDir(setting.output).filePath(QStringLiteral("paused.png")));
    player.stop(setting.x, shown.window);
    std::printf("processor while paused:      %.2f %% of one core over %d s   (target under %.0f %%: %s)\n",
                percent, kPausedMeasureMs / 1000, kPausedTargetPercent, verdict(percent < kPausedTargetPercent));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    // Progress shows as it happens also when the output goes to a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const QString runFolder = runFolderPath();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString output = arguments.value(0, QDir::current().filePath(QStringLiteral("bench-player")));
    // Measurements named after the output folder run alone; by default all do.
    const QStringList chosen = arguments.mid(1);
    const auto wanted = [&chosen](const QString &name) { return chosen.isEmpty() || chosen.contains(name); };
    if (const QString problem = prepareProgramBench(runFolder, output); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    XSession x;
    if (!x.error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(x.error()));
        return 1;
    }

    QTemporaryDir card;
    QElapsedTimer making;
    making.start();
    const QString video = card.isValid() ? makeCard(card.path()) : QString();
    if (video.isEmpty()) {
        std::fprintf(stderr, "could not make the recording\n");
        return 1;
    }
    std::printf("recording: 1920x1080 H.264 at %d Mbit/s, %d s, log: first %d s of %s; made in %.1f s\n",
                kClipMegabitsPerSecond, kClipSeconds, kClipSeconds,
                qPrintable(QFileInfo(QStringLiteral(BENCH_REAL_DRIVE_LOG)).fileName()),
                making.elapsed() / 1000.0);
    std::printf("program: %s/velmora; its output: %s/*.log\n", qPrintable(runFolder), qPrintable(output));

    const Setting setting { x, runFolder, output };
    bool measured = true;
    if (wanted(QStringLiteral("startup"))) {
        std::printf("start-up, no recordings named:\n");
        measured = startUp(setting) && measured;
    }
    if (wanted(QStringLiteral("firstframe"))) {
        std::printf("double click on the first row, the recording named on the command line:\n");
        measured = firstFrame(setting, video) && measured;
    }
    if (wanted(QStringLiteral("memory"))) {
        // Without internet the map page gives way to its offline notice.
        std::printf("memory, %d s into playing (the log rates Available, so the map page loads; "
                    "the screenshot shows what it came to):\n",
                    kPlayBeforeMemoryMs / 1000);
        measured = memoryWhilePlaying(setting, video) && measured;
    }
    if (wanted(QStringLiteral("paused"))) {
        std::printf("processor time while the recording is paused:\n");
        measured = cpuWhilePaused(setting, video) && measured;
    }
    if (wanted(QStringLiteral("changes"))) {
        const QStringList clips = makeShortClips(card.path() + QStringLiteral("/short"), kChangesLast + 5);
        std::printf("memory over %d recording changes (%.1f s 720p clips without logs):\n", kChangesLast,
                    kChangeClipSeconds);
        measured = !clips.isEmpty() && memoryOverChanges(setting, clips) && measured;
    }
    return measured ? 0 : 1;
}
