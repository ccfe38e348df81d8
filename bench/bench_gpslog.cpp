// Prints how fast GpsLogData::LoadGpsLog reads a 24-hour log, and, for
// comparison, how fast the same log is read by calling the field getters on
// each line. Build with -DCMAKE_BUILD_TYPE=RelWithDebInfo.

#include "catalogue/gpslogdata.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kFastRuns = 9;
constexpr int kLiteralRuns = 3;
constexpr double kTargetLinesPerSecond = 1'000'000;
constexpr quint32 kSeed = 2010;

// Degrees and minutes as the logger writes them: DDMM.mmmm or DDDMM.mmmm.
QByteArray degreesMinutes(double degrees, int degreeDigits)
{
    const int whole = int(degrees);
    const double minutes = (degrees - whole) * 60;
    return QByteArray::number(whole).rightJustified(degreeDigits, '0')
        + QByteArray::number(minutes, 'f', 4).rightJustified(7, '0');
}

QByteArray gValue(QRandomGenerator &random, double centre)
{
    return QByteArray::number(centre + (random.bounded(2000) - 1000) / 10000.0, 'f', 2);
}

// A day of driving near 46.3 N 6.9 E: mostly fixes at changing positions and
// speeds, some "V" seconds with and without a stale position.
QByteArray dayLog()
{
    QRandomGenerator random(kSeed);
    double latitude = 46.3;
    double longitude = 6.9;
    double knots = 30;
    QByteArray log;
    log.reserve(kSecondsPerDay * 64);
    for (int second = 0; second < kSecondsPerDay; ++second) {
        latitude += (random.bounded(200) - 100) / 1e6;
        longitude += (random.bounded(200) - 100) / 1e6;
        knots = std::clamp(knots + (random.bounded(200) - 100) / 100.0, 0.0, 70.0);
        const QByteArray time = QByteArray::number(second / 3600).rightJustified(2, '0')
            + QByteArray::number(second / 60 % 60).rightJustified(2, '0')
            + QByteArray::number(second % 60).rightJustified(2, '0');
        const int kind = random.bounded(100);
        const QByteArray status = kind < 95 ? "A" : "V";
        const QByteArray position = kind < 98
            ? degreesMinutes(latitude, 2) + ",N," + degreesMinutes(longitude, 3) + ",E,"
                + QByteArray::number(knots, 'f', 2)
            : QByteArray(",,,,");
        log += status + ",030410," + time + ',' + position + ',' + gValue(random, 0) + ','
            + gValue(random, 0) + ',' + gValue(random, 1) + ";\n";
    }
    return log;
}

// The log read the plain way: a text stream, line by line, and the field
// getters on every line.
void loadLiterally(GpsLogData &log, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        log.records.append(log.recordFromLine(line));
    }
}

// Best time of several loads into an empty GpsLogData, in nanoseconds.
qint64 bestLoadTime(int runs, const std::function<void(GpsLogData &)> &load, qsizetype &records)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < runs; ++run) {
        GpsLogData log;
        QElapsedTimer timer;
        timer.start();
        load(log);
        best = std::min(best, timer.nsecsElapsed());
        records = log.records.size();
    }
    return best;
}

double report(const char *name, int runs, qint64 nanoseconds, qsizetype records)
{
    const double linesPerSecond = records / (nanoseconds / 1e9);
    std::printf("%-34s %9.0f lines/s  %8.2f ms per load  (%lld records, best of %d)\n", name,
                linesPerSecond, nanoseconds / 1e6, static_cast<long long>(records), runs);
    return linesPerSecond;
}

} // namespace

int main()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("gps0001.log"));
    QFile file(path);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(dayLog()) < 0) {
        std::fprintf(stderr, "cannot write the log to %s\n", qPrintable(path));
        return 1;
    }
    file.close();
    std::printf("24-hour log: %d lines, %lld bytes\n", kSecondsPerDay,
                static_cast<long long>(file.size()));

    qsizetype records = 0;
    const qint64 fast =
        bestLoadTime(kFastRuns, [&](GpsLogData &log) { log.LoadGpsLog(path); }, records);
    const double fastLinesPerSecond = report("LoadGpsLog", kFastRuns, fast, records);
    const qint64 literal =
        bestLoadTime(kLiteralRuns, [&](GpsLogData &log) { loadLiterally(log, path); }, records);
    report("text stream + field getters", kLiteralRuns, literal, records);

    std::printf("target %.0f lines/s: %s (%.1fx the getters)\n", kTargetLinesPerSecond,
                fastLinesPerSecond >= kTargetLinesPerSecond ? "met" : "NOT met",
                double(literal) / double(fast));
    return 0;
}
