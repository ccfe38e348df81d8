// Prints how fast GpsLogData::LoadGpsLog reads a 24-hour log, and, for
// comparison, how fast the same log is read by calling the field getters on
// each line; then the same drive written as NMEA (RMC and GGA each second),
// read by LoadGpsLog and by gpsbabel (a whole process, as a user would run
// it), and `cat` of the camera's log, the floor of reading it at all.
// Build with -DCMAKE_BUILD_TYPE=RelWithDebInfo. With --profile it only loads
// the camera's log, over and over, for perf.

#include "catalogue/gpslogdata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
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
constexpr int kProcessRuns = 3;
constexpr int kProfileLoads = 200;
constexpr double kTargetTimesGpsbabel = 20;
constexpr double kTargetTimesCat = 5;

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

QByteArray nmeaSentence(const QByteArray &body)
{
    unsigned char sum = 0;
    for (const char c : body)
        sum ^= static_cast<unsigned char>(c);
    return '$' + body + '*' + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper() + "\r\n";
}

// The camera's lines as a receiver writes them: an RMC and a GGA a second,
// with sub-second times as SiRF receivers give them.
QByteArray asNmea(const QByteArray &cameraLog)
{
    QByteArray nmea;
    nmea.reserve(cameraLog.size() * 2);
    for (const QByteArray &line : cameraLog.split('\n')) {
        const QList<QByteArray> f = line.split(',');
        if (f.size() < 8)
            continue;
        const QByteArray time = f[2] + ".000";
        nmea += nmeaSentence("GPGGA," + time + ',' + f[3] + ',' + f[4] + ',' + f[5] + ',' + f[6] + ','
                             + (f[0] == "A" ? "1" : "0") + ",08,0.9,382.5,M,48.1,M,,0000");
        nmea += nmeaSentence("GPRMC," + time + ',' + f[0] + ',' + f[3] + ',' + f[4] + ',' + f[5] + ',' + f[6]
                             + ',' + f[7] + ",," + f[1] + ",,,A");
    }
    return nmea;
}

// What any loader of this record type costs before it reads a byte: a
// record a second, with the three texts that change every second (time,
// latitude, longitude) made anew.
void recordsAlone(GpsLogData &log)
{
    log.records.reserve(kSecondsPerDay);
    for (int second = 0; second < kSecondsPerDay; ++second) {
        GpsLogRecord &record = log.records.emplaceBack();
        record.time = QString(6, u'1');
        record.latitude = QString(8, u'4');
        record.longitude = QString(9, u'6');
    }
}

// Best wall time of a whole process, in nanoseconds; -1 when it fails.
qint64 bestProcessTime(const QString &program, const QStringList &arguments)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < kProcessRuns; ++run) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return -1;
        best = std::min(best, timer.nsecsElapsed());
    }
    return best;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
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

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("gps0001.log"));
    const QString nmeaPath = folder.filePath(QStringLiteral("FILE0001.nmea"));
    const QByteArray log = dayLog();
    const QByteArray nmea = asNmea(log);
    if (!folder.isValid() || !writeFile(path, log) || !writeFile(nmeaPath, nmea)) {
        std::fprintf(stderr, "cannot write the logs to %s\n", qPrintable(folder.path()));
        return 1;
    }
    if (application.arguments().contains(QStringLiteral("--profile"))) {
        for (int run = 0; run < kProfileLoads; ++run)
            GpsLogData().LoadGpsLog(path);
        return 0;
    }
    std::printf("24-hour log: %d lines, %lld bytes; as NMEA %lld bytes\n", kSecondsPerDay,
                static_cast<long long>(log.size()), static_cast<long long>(nmea.size()));

    qsizetype records = 0;
    const qint64 fast =
        bestLoadTime(kFastRuns, [&](GpsLogData &log) { log.LoadGpsLog(path); }, records);
    const double fastLinesPerSecond = report("LoadGpsLog", kFastRuns, fast, records);
    const qint64 literal =
        bestLoadTime(kLiteralRuns, [&](GpsLogData &log) { loadLiterally(log, path); }, records);
    report("text stream + field getters", kLiteralRuns, literal, records);
    const qint64 floor = bestLoadTime(kFastRuns, recordsAlone, records);
    report("records alone, nothing read", kFastRuns, floor, records);
    const qint64 fromNmea =
        bestLoadTime(kFastRuns, [&](GpsLogData &log) { log.LoadGpsLog(nmeaPath); }, records);
    report("LoadGpsLog of the NMEA", kFastRuns, fromNmea, records);

    std::printf("target %.0f lines/s: %s (%.1fx the getters)\n", kTargetLinesPerSecond,
                fastLinesPerSecond >= kTargetLinesPerSecond ? "met" : "NOT met",
                double(literal) / double(fast));

    const qint64 cat = bestProcessTime(QStringLiteral("cat"), {path});
    const bool haveGpsbabel = !QStandardPaths::findExecutable(QStringLiteral("gpsbabel")).isEmpty();
    const qint64 gpsbabel = haveGpsbabel
        ? bestProcessTime(QStringLiteral("gpsbabel"), {QStringLiteral("-i"), QStringLiteral("nmea"), QStringLiteral("-f"),
                                                       nmeaPath, QStringLiteral("-o"), QStringLiteral("gpx"),
                                                       QStringLiteral("-F"), QProcess::nullDevice()})
        : -1;
    if (cat < 0 || gpsbabel < 0) {
        std::fprintf(stderr, "%s failed or is missing\n", cat < 0 ? "cat" : "gpsbabel");
        return 1;
    }
    std::printf("cat of the camera's log: %.2f ms (best of %d)\n", cat / 1e6, kProcessRuns);
    std::printf("gpsbabel, NMEA to GPX:   %.1f ms (best of %d)\n", gpsbabel / 1e6, kProcessRuns);
    const double catRatio = double(fast) / double(cat);
    const double cameraTimes = double(gpsbabel) / double(fast);
    const double nmeaTimes = double(gpsbabel) / double(fromNmea);
    std::printf("LoadGpsLog / cat: %.2f (target at most %.1f: %s)\n", catRatio, kTargetTimesCat,
                catRatio <= kTargetTimesCat ? "met" : "NOT met");
    std::printf("camera log vs gpsbabel: %.1fx faster (target at least %.0fx: %s)\n", cameraTimes,
                kTargetTimesGpsbabel, cameraTimes >= kTargetTimesGpsbabel ? "met" : "NOT met");
    std::printf("NMEA reader vs gpsbabel: %.1fx faster (target at least %.0fx: %s)\n", nmeaTimes,
                kTargetTimesGpsbabel, nmeaTimes >= kTargetTimesGpsbabel ? "met" : "NOT met");
    return 0;
}
