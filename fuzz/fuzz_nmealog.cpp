// Feeds the NMEA reader any bytes, and the same bytes as stamped lines
// ("[ms]$GPRMC..."): the records must be one a second, each fix a place, and
// the stamps must change nothing. A log that reads as NMEA must load through
// LoadGpsLog as the reader reads it.

#include "catalogue/gpslogdata.h"
#include "logs/gpslogreader.h"
#include "logs/nmealog.h"

#include "fuzzcheck.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using fuzzcheck::check;

namespace {

bool sameTexts(const QList<GpsLogRecord> &a, const QList<GpsLogRecord> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype k = 0; k < a.size(); ++k) {
        const GpsLogRecord &u = a.at(k);
        const GpsLogRecord &v = b.at(k);
        if (u.dataAvailable != v.dataAvailable || u.date != v.date || u.time != v.time || u.latitude != v.latitude
            || u.longitude != v.longitude || u.southOrNorth != v.southOrNorth || u.eastOrWest != v.eastOrWest
            || u.velocity != v.velocity)
            return false;
    }
    return true;
}

QByteArray stamped(const QByteArray &content)
{
    QByteArray out;
    int ms = 0;
    for (const QByteArray &line : content.split('\n'))
        out += '[' + QByteArray::number(ms += 100) + ']' + line + '\n';
    out.chop(1);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz_nmealog";
    static char *argv[] = {name, nullptr};
    static const QCoreApplication *const application = new QCoreApplication(argc, argv);
    Q_UNUSED(application);
    fuzzcheck::failOnQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const GpsLogReading reading = NmeaLog::read(input);
    fuzzcheck::checkSeconds(reading.records);
    check(reading.records.isEmpty() || NmeaLog::looksLike(input) || input.size() > 64 * 1024,
          QStringLiteral("records from what does not look like NMEA"));
    // A stamp before a line is not part of it, unless the line had one already.
    if (!input.contains('[') && !input.contains('\r') && !input.startsWith(' ') && !input.contains("\n "))
        check(sameTexts(NmeaLog::read(stamped(input)).records, reading.records),
              QStringLiteral("stamped lines read otherwise"));

    if (GpsLogReader::formatOf(input) == GpsLogReader::Format::Nmea) {
        static const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("FILE0001.nmea"));
        check(fuzzcheck::writeFile(path, input), QStringLiteral("cannot write ") + path);
        GpsLogData log;
        log.LoadGpsLog(path);
        check(sameTexts(log.records, reading.records), QStringLiteral("LoadGpsLog reads the log otherwise"));
    }
    return 0;
}
