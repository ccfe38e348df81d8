// Importing recordings: how many the catalogue adds per second, next to the time
// `cat` needs to read the same logs (the I/O floor). Both are measured with the
// page cache warm; each figure is the best of several runs.

#include "catalogue/uvideoandgpsfiles.h"
#include "library/librarykeeper.h"
#include "library/recordinglibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

constexpr int kRecordings = 1000;
constexpr int kLogSeconds = 180; // a three-minute clip, one line a second
constexpr int kRuns = 7;
constexpr double kTargetRatio = 3.0;

// A plausible drive: a fix on nearly every second, a short outage now and then.
QByteArray logLine(int recording, int second)
{
    const bool outage = (recording + second) % 37 == 0;
    const int clock = 131032 + second % 60 + (second / 60) * 100;
    if (outage)
        return QByteArrayLiteral("V,030410,") + QByteArray::number(clock) + QByteArrayLiteral(",,,,,,0.00,0.00,1.00;\n");
    const double speed = (second * 7 + recording) % 700 / 10.0;
    return QStringLiteral("A,030410,%1,4618.%2,N,00656.%3,E,%4,0.%5,0.%6,0.99;\n")
        .arg(clock)
        .arg(9395 - second, 4, 10, QLatin1Char('0'))
        .arg(1347 + second, 4, 10, QLatin1Char('0'))
        .arg(speed, 0, 'f', 2)
        .arg(second % 50, 2, 10, QLatin1Char('0'))
        .arg(recording % 40, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// <root>/DCIM/100MEDIA/FILExxxx.MOV with <root>/gps/gpsxxxx.log, as a camera writes them.
bool makeCard(const QString &root, QStringList &videos, QStringList &logs)
{
    const QString videoFolder = root + QStringLiteral("/DCIM/100MEDIA");
    const QString logFolder = root + QStringLiteral("/gps");
    if (!QDir().mkpath(videoFolder) || !QDir().mkpath(logFolder))
        return false;
    const QByteArray dummyVideo(4096, '\0');
    for (int n = 0; n < kRecordings; ++n) {
        const QString number = QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
        QByteArray log;
        for (int second = 0; second < kLogSeconds; ++second)
            log += logLine(n, second);
        videos << videoFolder + QStringLiteral("/FILE") + number + QStringLiteral(".MOV");
        logs << logFolder + QStringLiteral("/gps") + number + QStringLiteral(".log");
        if (!writeFile(videos.last(), dummyVideo) || !writeFile(logs.last(), log))
            return false;
    }
    return true;
}

// Best of kRuns, after one run that warms the page cache; nanoseconds.
qint64 bestOf(const std::function<qint64()> &run)
{
    run();
    qint64 best = std::numeric_limits<qint64>::max();
    for (int i = 0; i < kRuns; ++i)
        best = std::min(best, run());
    return best;
}

qint64 importOnce(const QStringList &videos, bool &allAvailable)
{
    UVideoAndGpsfiles catalogue;
    QElapsedTimer timer;
    timer.start();
    catalogue.AddVideoAndGpsfiles(videos);
    const qint64 elapsed = timer.nsecsElapsed();
    allAvailable = catalogue.GetVideoCount() == kRecordings;
    for (int i = 0; allAvailable && i < kRecordings; ++i)
        allAvailable = catalogue.GetGpsFileState(i) == QStringLiteral("Available");
    return elapsed;
}

// The same import kept in a new library file, as the program does: looked at
// one by one, stored as one batch.
qint64 importStoredOnce(const QStringList &videos, const QString &libraryPath, bool &allStored)
{
    for (const char *suffix : { "", "-wal", "-shm" })
        QFile::remove(libraryPath + QLatin1String(suffix));
    RecordingLibrary library(libraryPath);
    UVideoAndGpsfiles catalogue;
    LibraryKeeper keeper(&catalogue);
    QElapsedTimer timer;
    timer.start();
    allStored = library.open();
    keeper.restoreFrom(&library);
    QList<StoredRecording> found;
    for (const QString &video : videos) {
        if (const std::optional<StoredRecording> recording = LibraryKeeper::describe(video))
            found << *recording;
    }
    keeper.addImported(found);
    const qint64 elapsed = timer.nsecsElapsed();
    allStored = allStored && library.recordings().size() == kRecordings;
    return elapsed;
}

qint64 catOnce(const QStringList &logs, bool &succeeded)
{
    QProcess cat;
    cat.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    cat.start(QStringLiteral("cat"), logs);
    succeeded = cat.waitForFinished(-1) && cat.exitStatus() == QProcess::NormalExit && cat.exitCode() == 0;
    return timer.nsecsElapsed();
}

long long totalBytes(const QStringList &files)
{
    long long total = 0;
    for (const QString &file : files)
        total += QFileInfo(file).size();
    return total;
}

double milliseconds(qint64 nanoseconds)
{
    return nanoseconds / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir card;
    QStringList videos;
    QStringList logs;
    if (!card.isValid() || !makeCard(card.path(), videos, logs)) {
        std::fprintf(stderr, "could not write the recordings\n");
        return 1;
    }

    bool allAvailable = true;
    const qint64 import = bestOf([&] { return importOnce(videos, allAvailable); });
    bool allStored = true;
    const QString libraryPath = card.filePath(QStringLiteral("library.sqlite"));
    const qint64 stored = bestOf([&] { return importStoredOnce(videos, libraryPath, allStored); });
    bool catSucceeded = true;
    const qint64 floor = bestOf([&] { return catOnce(logs, catSucceeded); });
    const qint64 catStart = bestOf([&] { return catOnce({QProcess::nullDevice()}, catSucceeded); });
    if (!allStored) {
        std::fprintf(stderr, "the library did not keep every recording\n");
        return 1;
    }
    if (!allAvailable || !catSucceeded) {
        std::fprintf(stderr, "%s\n", allAvailable ? "cat failed" : "import did not rate every log Available");
        return 1;
    }

    const double ratio = double(import) / double(floor);
    std::printf("recordings:          %d (logs of %d lines, %lld bytes in all)\n", kRecordings, kLogSeconds,
                totalBytes(logs));
    std::printf("import:              %.2f ms, %.0f recordings/s (best of %d)\n", milliseconds(import),
                kRecordings / (import / 1e9), kRuns);
    std::printf("cat of the logs:     %.2f ms (best of %d, the I/O floor)\n", milliseconds(floor), kRuns);
    std::printf("  of which cat's start: %.2f ms (cat of %s alone)\n", milliseconds(catStart),
                qPrintable(QProcess::nullDevice()));
    std::printf("import / cat:        %.2f (target at most %.1f: %s)\n", ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "missed");
    const double storedRatio = double(stored) / double(floor);
    std::printf("import, stored:      %.2f ms into a new library file (best of %d)\n", milliseconds(stored), kRuns);
    std::printf("stored import / cat: %.2f (target at most %.1f: %s)\n", storedRatio, kTargetRatio,
                storedRatio <= kTargetRatio ? "met" : "missed");
    return 0;
}
