// Feeds the GPX reader any bytes: whatever the XML, the records must be one a
// second, each fix a place, the reader must say what it passed over when it
// found nothing, and a GPX must load through LoadGpsLog as the reader reads it.

#include "catalogue/gpslogdata.h"
#include "logs/gpslogreader.h"
#include "logs/gpxlog.h"

#include "fuzzcheck.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using fuzzcheck::check;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz_gpxlog";
    static char *argv[] = {name, nullptr};
    static const QCoreApplication *const application = new QCoreApplication(argc, argv);
    Q_UNUSED(application);
    fuzzcheck::failOnQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const GpsLogReading reading = GpxLog::read(input);
    fuzzcheck::checkSeconds(reading.records);
    check(!reading.records.isEmpty() || !reading.errorString.isEmpty(),
          QStringLiteral("no records and no reason given"));

    if (GpsLogReader::formatOf(input) == GpsLogReader::Format::Gpx) {
        static const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("FILE0001.gpx"));
        check(fuzzcheck::writeFile(path, input), QStringLiteral("cannot write ") + path);
        GpsLogData log;
        log.LoadGpsLog(path);
        check(log.records.size() == reading.records.size(), QStringLiteral("LoadGpsLog reads the GPX otherwise"));
    }
    return 0;
}
