// Feeds GpsLogData one input twice: as a single line to the field getters, and
// as a whole log file to LoadGpsLog. For a camera log (what is neither NMEA nor
// GPX) the fast loader must give, line for line, the getters' record; another
// log must load as its reader reads it; and the record access must stay inside the log. The
// first seconds of the log then go to the speed meter, as the update cycle
// sends them, which must draw any value that the parser gives.

#include "catalogue/gpslogdata.h"
#include "logs/gpslogreader.h"
#include "playback/displaytexts.h"
#include "widgets/uspeedmeter.h"

#include "fuzzcheck.h"

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>

using fuzzcheck::check;

namespace {

constexpr char kFixMark = 'A';
const QSize kMeterSize(460, 120); // as in the main window

bool sameNumber(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

bool sameRecord(const GpsLogRecord &a, const GpsLogRecord &b)
{
    return a.dataAvailable == b.dataAvailable && a.date == b.date && a.time == b.time
        && a.longitude == b.longitude && a.eastOrWest == b.eastOrWest && a.latitude == b.latitude
        && a.southOrNorth == b.southOrNorth && sameNumber(a.velocity, b.velocity)
        && sameNumber(a.x, b.x) && sameNumber(a.y, b.y) && sameNumber(a.z, b.z);
}

bool isDefaultRecord(const GpsLogRecord &record)
{
    return sameRecord(record, GpsLogRecord{});
}

// The degree texts go to the map page as numbers: empty or a finite number.
bool isDegreesText(const QString &text)
{
    if (text.isEmpty())
        return true;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

void checkRecordValues(const GpsLogRecord &record, const QString &where)
{
    check(std::isfinite(record.velocity) && std::isfinite(record.x) && std::isfinite(record.y)
              && std::isfinite(record.z),
          where + QStringLiteral(": a number that the speed meter cannot draw"));
    check(isDegreesText(record.latitude) && isDegreesText(record.longitude),
          where + QStringLiteral(": degrees that are no number: ") + record.latitude
              + QStringLiteral(" / ") + record.longitude);
    // What the map page receives for the record: a call with two plain
    // numbers, or none at all.
    static const QRegularExpression call(
            QStringLiteral(R"(^f\(-?[0-9][0-9.e+-]*,-?[0-9][0-9.e+-]*\)$)"));
    const QString script = mapPointScript(QStringLiteral("f"), record);
    check(script.isEmpty() || call.match(script).hasMatch(),
          where + QStringLiteral(": a map call the page cannot parse: ") + script);
}

// The log's lines, split here without the parser: '\n' ends a line, one '\r'
// before it belongs to the line end, a final '\n' starts no further line.
QList<QByteArray> linesOf(const QByteArray &content)
{
    QList<QByteArray> lines = content.split('\n');
    const QByteArray last = lines.takeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    if (!last.isEmpty())
        lines.append(last);
    return lines;
}

void checkOneLine(const GpsLogData &log, const QString &line)
{
    const GpsLogRecord fromGetters{
        log.GetDataAvailable(line), log.GetDate(line),      log.GetTime(line),
        log.GetLongitude(line),     log.GetEastOrWest(line), log.GetLatitude(line),
        log.GetSouthOrNorth(line),  log.GetVelocity(line),   log.GetX(line),
        log.GetY(line),             log.GetZ(line)};
    check(sameRecord(log.recordFromLine(line), fromGetters),
          QStringLiteral("recordFromLine differs from the getters"));
    check(fromGetters.dataAvailable == line.startsWith(QLatin1Char(kFixMark)),
          QStringLiteral("a fix is a line that starts with 'A'"));
    checkRecordValues(fromGetters, QStringLiteral("getters"));
}

void checkRecordAccess(const GpsLogData &log)
{
    const QList<GpsLogRecord> &records = log.records;
    const int last = log.GetLastIndex();
    check(last == int(records.size()) - 1, QStringLiteral("GetLastIndex is not the last record"));
    for (const int i : {INT_MIN, -1})
        check(isDefaultRecord(log.GetRecord(i)), QStringLiteral("a negative index gave a record"));
    if (records.isEmpty()) {
        check(isDefaultRecord(log.GetRecord(0)), QStringLiteral("an empty log gave a record"));
    } else {
        for (const int i : {0, last - 1, last})
            if (i >= 0)
                check(sameRecord(log.GetRecord(i), records.at(i)),
                      QStringLiteral("GetRecord(%1) is not record %1").arg(i));
        for (const int i : {last + 1, INT_MAX})
            check(sameRecord(log.GetRecord(i), records.constLast()),
                  QStringLiteral("GetRecord(%1) past the end is not the last record").arg(i));
    }

    GpsLogRecord firstFix;
    for (const GpsLogRecord &record : records) {
        if (record.dataAvailable) {
            firstFix = record;
            break;
        }
    }
    check(sameRecord(log.GetFirstAvailableRecord(), firstFix),
          QStringLiteral("GetFirstAvailableRecord is not the first record with a fix"));
}

// The meter as the update cycle fills it at second 10 of the recording;
// seconds past the end of the log stay zero.
void drawOnMeter(const GpsLogData &log)
{
    static USpeedMeter meter;
    static QImage image(kMeterSize, QImage::Format_ARGB32);
    meter.resize(kMeterSize);
    double x[USpeedMeter::kSamples] = {};
    double y[USpeedMeter::kSamples] = {};
    double z[USpeedMeter::kSamples] = {};
    for (int k = 0; k < USpeedMeter::kSamples && k <= log.GetLastIndex(); ++k) {
        const GpsLogRecord record = log.GetRecord(k);
        x[k] = record.x;
        y[k] = record.y;
        z[k] = record.z;
    }
    meter.SetCarSpeed(log.GetRecord(USpeedMeter::kSamples / 2).velocity, x, y, z);
    meter.render(&image);
}

void checkLoad(const QByteArray &content)
{
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("gps0001.log"));
    check(fuzzcheck::writeFile(path, content), QStringLiteral("cannot write ") + path);

    GpsLogData log;
    log.LoadGpsLog(path);
    if (GpsLogReader::formatOf(content) != GpsLogReader::Format::Camera) {
        const QList<GpsLogRecord> read = GpsLogReader::read(content);
        check(read.size() == log.records.size(), QStringLiteral("a receiver's log loads unlike its reader reads it"));
        for (qsizetype k = 0; k < read.size(); ++k)
            check(sameRecord(read.at(k), log.records.at(k)), QStringLiteral("record %1 unlike the reader's").arg(k));
        checkRecordAccess(log);
        drawOnMeter(log);
        return;
    }
    const QList<QByteArray> lines = linesOf(content);
    check(log.records.size() == lines.size(),
          QStringLiteral("%1 records for %2 lines").arg(log.records.size()).arg(lines.size()));
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString line = QString::fromUtf8(lines.at(k));
        const GpsLogRecord &loaded = log.records.at(k);
        check(sameRecord(loaded, log.recordFromLine(line)),
              QStringLiteral("record %1 differs from the getters' record of its line").arg(k));
        checkRecordValues(loaded, QStringLiteral("record %1").arg(k));
    }
    checkRecordAccess(log);
    drawOnMeter(log);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The meter draws into an image: no window, no display needed. Qt gets
    // arguments of its own, so that it takes none of libFuzzer's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_gpslog";
    static char *argv[] = {name, nullptr};
    // Left to the end of the process: destroyed at exit, it would go after
    // Qt's own statics and crash in their clean-up.
    static const QApplication *const application = new QApplication(argc, argv);
    Q_UNUSED(application);
    fuzzcheck::failOnQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    GpsLogData log;
    checkOneLine(log, QString::fromUtf8(input));
    checkLoad(input);
    return 0;
}
