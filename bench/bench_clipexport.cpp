// Prints how long a lossless cut of one minute of a 1080p clip takes, beside
// the floor of any copy: `cat` of the same bytes, in the same run.

#include "export/clipexport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr int kRuns = 3;
constexpr double kTargetRatio = 3;
constexpr qint64 kCutFromMs = 5000;
constexpr qint64 kCutToMs = 65000;

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A camera-like 1080p clip of 70 s at 12 Mbit/s: ten seconds encoded, then
// repeated without re-encoding.
bool makeClip(const QString &folder, const QString &clip)
{
    const QString ten = folder + QStringLiteral("/ten.mov");
    return run(QStringLiteral("ffmpeg"),
               { "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=30:duration=10",
                 "-f", "lavfi", "-i", "sine=duration=10", "-c:v", "libx264", "-preset", "ultrafast", "-b:v", "12M",
                 "-g", "30", "-pix_fmt", "yuv420p", "-c:a", "aac", ten })
        && run(QStringLiteral("ffmpeg"), { "-v", "error", "-y", "-stream_loop", "6", "-i", ten, "-c", "copy", clip });
}

// Each run writes a new file: freeing the last run's pages is not the copy's cost.
template<typename Work>
double bestMs(const QString &output, Work work)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < kRuns; ++i) {
        QFile::remove(output);
        QElapsedTimer timer;
        timer.start();
        if (!work())
            return -1;
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    QTemporaryDir folder;
    const QString clip = folder.filePath(QStringLiteral("FILE0001.MOV"));
    const QString cut = folder.filePath(QStringLiteral("cut.mp4"));
    if (!folder.isValid() || !makeClip(folder.path(), clip)) {
        std::fprintf(stderr, "bench_clipexport: cannot make the 1080p clip with ffmpeg\n");
        return 1;
    }
    ClipRange range{ kCutFromMs, kCutToMs };
    const double cutMs = bestMs(cut, [&] { return exportClip({ clip }, range, cut).error.isEmpty(); });
    const QString copy = folder.filePath(QStringLiteral("copy.mp4"));
    const double catMs = bestMs(copy, [&] {
        return run(QStringLiteral("sh"), { "-c", QStringLiteral("cat '%1' > '%2'").arg(cut, copy) });
    });
    if (cutMs < 0 || catMs <= 0) {
        std::fprintf(stderr, "bench_clipexport: the cut or the copy failed\n");
        return 1;
    }
    const double megabytes = QFileInfo(cut).size() / 1e6;
    std::printf("lossless cut of 60 s of 1080p: %.0f ms for %.1f MB, best of %d\n", cutMs, megabytes, kRuns);
    std::printf("cat of the same bytes: %.0f ms\n", catMs);
    std::printf("cut / cat: %.2f (target at most %.0f)\n", cutMs / catMs, kTargetRatio);
    return 0;
}
