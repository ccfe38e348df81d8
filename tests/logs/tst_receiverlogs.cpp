#include "catalogue/gpslogdata.h"
#include "logs/gpslogreader.h"
#include "logs/gpxlog.h"
#include "logs/nmealog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString testData(const QString &name)
{
    return QFINDTESTDATA(QStringLiteral("../data/") + name);
}

// "$<body>*<checksum>" with the checksum the body needs.
QByteArray sentence(const QByteArray &body)
{
    unsigned char sum = 0;
    for (const char c : body)
        sum ^= static_cast<unsigned char>(c);
    return '$' + body + '*' + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper();
}

QByteArray rmc(const char *time, const char *status = "A", const char *date = "311224",
               const char *talker = "GP", const char *knots = "10.0")
{
    return sentence(QByteArray(talker) + "RMC," + time + ',' + status + ",4618.9395,N,00656.1347,E," + knots
                    + ",,"+ date + ",,,A");
}

// One word per record: its time, then "A" with a fix or "V" without, and the
// date where it changes.
QString outline(const QList<GpsLogRecord> &records)
{
    QStringList words;
    QString date;
    for (const GpsLogRecord &record : records) {
        QString word = record.time + (record.dataAvailable ? u'A' : u'V');
        if (record.date != date)
            word.prepend(record.date + u'/');
        date = record.date;
        words << word;
    }
    return words.join(u' ');
}

} // namespace

class TestReceiverLogs : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void nmeaSeconds_data();
    void nmeaSeconds();
    void nmeaRecordTexts();
    void realDrives_data();
    void realDrives();
    void againstGpsbabel_data();
    void againstGpsbabel();
    void gpx_data();
    void gpx();
    void loadedLikeRead();
    void hugeLogIsCapped();
};

void TestReceiverLogs::format_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("format");
    const int camera = int(GpsLogReader::Format::Camera);
    const int nmea = int(GpsLogReader::Format::Nmea);
    const int gpx = int(GpsLogReader::Format::Gpx);
    QTest::newRow("camera line") << QByteArray("A,030410,131032,4618.9395,N,00656.1347,E,0.00;\n") << camera;
    QTest::newRow("empty") << QByteArray() << camera;
    QTest::newRow("RMC") << rmc("120000") << nmea;
    QTest::newRow("GGA of another talker") << QByteArray("$GNGGA,120000,4618.9,N,00656.1,E,1,08,1,380,M,48,M,,*00") << nmea;
    QTest::newRow("after a banner") << QByteArray("$PSRFTXT,Version*68\r\n\0", 21) + rmc("120000") << nmea;
    QTest::newRow("stamped line") << "[1234567]" + rmc("120000") << nmea;
    QTest::newRow("only proprietary") << QByteArray("$PGRME,5.5,M*28\n") << camera;
    QTest::newRow("RMC inside a line") << "A,1;" + rmc("120000") << camera;
    QTest::newRow("GPX") << QByteArray("<?xml version=\"1.0\"?><gpx/>") << gpx;
    QTest::newRow("GPX after BOM and blanks") << QByteArray("\xEF\xBB\xBF \r\n<gpx/>") << gpx;
    QTest::newRow("garbage that starts with '<'") << QByteArray("<\nA,030410,131032,4618.9,N,00656.1,E,0.00;\n") << camera;
}

void TestReceiverLogs::format()
{
    QFETCH(QByteArray, content);
    QFETCH(int, format);
    QCOMPARE(int(GpsLogReader::formatOf(content)), format);
}

void TestReceiverLogs::nmeaSeconds_data()
{
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QString>("expected");
    const QByteArray wrongSum = rmc("120001").replace("*", "*F");
    QTest::newRow("one a second") << QByteArrayList{rmc("120000"), rmc("120001.000")}
                                  << "311224/120000A 120001A";
    QTest::newRow("wrong checksum skipped") << QByteArrayList{rmc("120000"), wrongSum.left(wrongSum.size() - 1), rmc("120002")}
                                            << "311224/120000A 120001A 120002A";
    QTest::newRow("cut in the middle") << QByteArrayList{rmc("120000"), rmc("120001").left(30), rmc("120003")}
                                       << "311224/120000A 120001V 120002V 120003A";
    QTest::newRow("cut, the next sentence on its line") << QByteArrayList{rmc("120000"), rmc("120001").left(30) + rmc("120002")}
                                                        << "311224/120000A 120001A 120002A";
    QTest::newRow("checksum missing where expected")
        << QByteArrayList{rmc("120000"), rmc("120001").left(rmc("120001").indexOf('*')), rmc("120003")}
        << "311224/120000A 120001V 120002V 120003A";
    QTest::newRow("no checksums at all")
        << QByteArrayList{"$GPRMC,120000,A,4618.9395,N,00656.1347,E,1.0,,311224,,", "$GPRMC,120001,V,,,,,,,311224,,"}
        << "311224/120000A 120001V";
    QTest::newRow("midnight") << QByteArrayList{rmc("235959"), rmc("000000", "A", "010125")}
                              << "311224/235959A 010125/000000A";
    QTest::newRow("midnight without a date") << QByteArrayList{rmc("235959"), rmc("000001", "A", "")}
                                             << "311224/235959A 010125/000000A 000001A";
    QTest::newRow("backwards skipped") << QByteArrayList{rmc("120000"), rmc("120002"), rmc("120001"), rmc("120003")}
                                       << "311224/120000A 120001A 120002A 120003A";
    QTest::newRow("mixed talkers") << QByteArrayList{rmc("120000", "A", "311224", "GN"), rmc("120001", "A", "311224", "GL"),
                                                     rmc("120002", "A", "311224", "BD")}
                                   << "311224/120000A 120001A 120002A";
    QTest::newRow("stamped lines") << QByteArrayList{"[1000]" + rmc("120000"), "[2000] " + rmc("120001"), "[x]" + rmc("120002")}
                                   << "311224/120000A 120001A";
    QTest::newRow("10 Hz") << QByteArrayList{rmc("120000.0"), rmc("120000.1", "V"), rmc("120000.9", "V"),
                                             rmc("120001.0", "V"), rmc("120001.5")}
                           << "311224/120000A 120001V";
    QTest::newRow("0.5 Hz: the second between two fixes") << QByteArrayList{rmc("120000"), rmc("120002")}
                                                          << "311224/120000A 120001A 120002A";
    QTest::newRow("no fix either side: no fill") << QByteArrayList{rmc("120000", "V"), rmc("120002")}
                                                 << "311224/120000V 120001V 120002A";
    QTest::newRow("no fix") << QByteArrayList{rmc("120000", "V"), rmc("120001", "A", "311224", "GP", "")}
                            << "311224/120000V 120001A";
    QTest::newRow("no place on Earth") << QByteArrayList{rmc("120000"), sentence("GPRMC,120001,A,9999.9999,N,00656.1347,E,1,,311224,,")}
                                       << "311224/120000A 120001V";
    QTest::newRow("undated first sentence skipped") << QByteArrayList{rmc("115959", "A", ""), rmc("120000")}
                                                    << "311224/120000A";
    QTest::newRow("years later: the drive ends") << QByteArrayList{rmc("120000"), rmc("120001", "A", "311234"), rmc("120002")}
                                                 << "311224/120000A";
    QTest::newRow("not a time") << QByteArrayList{rmc("120000"), rmc("126100"), rmc("1201"), rmc("120001")}
                                << "311224/120000A 120001A";
}

void TestReceiverLogs::nmeaSeconds()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(QString, expected);
    const GpsLogReading reading = NmeaLog::read(lines.join("\r\n"));
    QCOMPARE(outline(reading.records), expected);
}

// The texts are the camera log's, so that every reader of a record works.
void TestReceiverLogs::nmeaRecordTexts()
{
    const QByteArray content = rmc("131032.877", "A", "030410", "GP", "12.5") + "\n"
            + sentence("GPRMC,131033,A,3352.1234,S,15112.5000,W,,,030410,,,A") + "\n";
    const QList<GpsLogRecord> records = NmeaLog::read(content).records;
    QCOMPARE(records.size(), 2);
    const GpsLogData camera;
    const GpsLogRecord line = camera.recordFromLine(QStringLiteral("A,030410,131032,4618.9395,N,00656.1347,E,12.5;"));
    QCOMPARE(records[0].latitude, line.latitude);
    QCOMPARE(records[0].longitude, line.longitude);
    QCOMPARE(records[0].velocity, line.velocity);
    QCOMPARE(recordUtcMs(records[0]), recordUtcMs(line));
    QCOMPARE(*latitudeDegrees(records[1]) * 1e5, std::round(-(33 + 52.1234 / 60) * 1e5));
    QCOMPARE(records[1].eastOrWest, QStringLiteral("W"));
    QCOMPARE(records[1].velocity, 0.0);
}

void TestReceiverLogs::realDrives_data()
{
    QTest::addColumn<QString>("nmea");
    QTest::addColumn<QString>("cameraLog");
    QTest::addColumn<int>("firstLine");
    QTest::addColumn<int>("seconds");
    // The camera logs were made from the whole recordings: first RMC of each
    // second, seconds without a sentence as "V" lines.
    QTest::newRow("SiRF, 1 Hz, restart") << "nmea/z205-switzerland-131018.nmea" << "real-drives/gps0002.log" << 1073 << 75;
    QTest::newRow("Garmin, 0.5 Hz") << "nmea/geko-regensburg-165744.nmea" << "real-drives/gps0003.log" << 0 << 39;
}

void TestReceiverLogs::realDrives()
{
    QFETCH(QString, nmea);
    QFETCH(QString, cameraLog);
    QFETCH(int, firstLine);
    QFETCH(int, seconds);
    const QList<GpsLogRecord> read = NmeaLog::read(fileContent(testData(nmea))).records;
    GpsLogData camera;
    camera.LoadGpsLog(testData(cameraLog));
    QCOMPARE(read.size(), seconds);
    for (int k = 0; k < seconds; ++k) {
        const GpsLogRecord &ours = read.at(k);
        const GpsLogRecord &theirs = camera.records.at(firstLine + k);
        const QString where = QStringLiteral("second %1 (%2)").arg(k).arg(theirs.time);
        QVERIFY2(ours.date == theirs.date && ours.time == theirs.time, qPrintable(where));
        if (!theirs.dataAvailable && theirs.latitude.isEmpty() && ours.dataAvailable) {
            // Filled between two fixes 2 s apart: their midpoint.
            const GpsLogRecord &before = camera.records.at(firstLine + k - 1);
            const GpsLogRecord &after = camera.records.at(firstLine + k + 1);
            QVERIFY2(std::abs(*latitudeDegrees(ours) - (*latitudeDegrees(before) + *latitudeDegrees(after)) / 2) < 1e-5,
                     qPrintable(where));
            continue;
        }
        QVERIFY2(ours.dataAvailable == theirs.dataAvailable && ours.latitude == theirs.latitude
                         && ours.longitude == theirs.longitude && ours.southOrNorth == theirs.southOrNorth
                         && ours.eastOrWest == theirs.eastOrWest && ours.velocity == theirs.velocity,
                 qPrintable(where + QStringLiteral(": ") + ours.latitude + u' ' + theirs.latitude));
    }
}

void TestReceiverLogs::againstGpsbabel_data()
{
    QTest::addColumn<QString>("nmea");
    QTest::newRow("SiRF") << "nmea/z205-switzerland-131018.nmea";
    QTest::newRow("Garmin") << "nmea/geko-regensburg-165744.nmea";
}

// An independent reader finds the same fixes: each of its seconds is one
// with a fix, each of its places one of ours. (It may pair a second with the
// place of the sentence before, so the two are compared apart.)
void TestReceiverLogs::againstGpsbabel()
{
    QFETCH(QString, nmea);
    if (QStandardPaths::findExecutable(QStringLiteral("gpsbabel")).isEmpty())
        QSKIP("gpsbabel is not installed (tools/install-deps.sh)");
    QProcess gpsbabel;
    gpsbabel.start(QStringLiteral("gpsbabel"), {QStringLiteral("-t"), QStringLiteral("-i"), QStringLiteral("nmea"),
                                               QStringLiteral("-f"), testData(nmea), QStringLiteral("-o"),
                                               QStringLiteral("unicsv,utc=0"), QStringLiteral("-F"), QStringLiteral("-")});
    QVERIFY(gpsbabel.waitForFinished(60000));
    QStringList rows = QString::fromUtf8(gpsbabel.readAllStandardOutput()).remove(u'\r').split(u'\n', Qt::SkipEmptyParts);
    const QStringList header = rows.takeFirst().split(u',');
    const qsizetype latitude = header.indexOf(QStringLiteral("Latitude"));
    const qsizetype longitude = header.indexOf(QStringLiteral("Longitude"));
    const qsizetype time = header.indexOf(QStringLiteral("Time"));
    const QList<GpsLogRecord> read = NmeaLog::read(fileContent(testData(nmea))).records;
    QSet<QString> fixSeconds;
    QSet<QString> places;
    const auto place = [](double lat, double lon) { return QStringLiteral("%1 %2").arg(lat, 0, 'f', 5).arg(lon, 0, 'f', 5); };
    for (const GpsLogRecord &record : read) {
        if (record.dataAvailable) {
            fixSeconds << record.time;
            places << place(*latitudeDegrees(record), *longitudeDegrees(record));
        }
    }
    QVERIFY(rows.size() >= 10);
    for (const QString &row : std::as_const(rows)) {
        const QStringList fields = row.split(u',');
        const QString second = fields.at(time).left(8).remove(u':');
        QVERIFY2(fixSeconds.contains(second), qPrintable(row));
        QVERIFY2(places.contains(place(fields.at(latitude).toDouble(), fields.at(longitude).toDouble())), qPrintable(row));
    }
}

void TestReceiverLogs::gpx_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<double>("secondSpeed");
    const QByteArray head = "<?xml version=\"1.0\"?><gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>";
    const QByteArray tail = "</trkseg></trk></gpx>";
    const auto point = [](const char *lat, const char *time, const QByteArray &inside = {}) {
        return QByteArray("<trkpt lat=\"") + lat + "\" lon=\"6.9\"><time>" + time + "</time>" + inside + "</trkpt>";
    };
    // 0.001 degrees of latitude in 1 s: 111.2 m/s.
    QTest::newRow("speed from distance") << head + point("46.300", "2024-12-31T12:00:00Z") + point("46.301", "2024-12-31T12:00:01Z") + tail
                                         << "311224/120000A 120001A" << 400.3;
    QTest::newRow("GPX 1.0 speed in m/s")
        << head + point("46.3", "2024-12-31T12:00:00.5Z", "<speed>1</speed>") + point("46.3", "2024-12-31T12:00:01Z", "<speed>10</speed>") + tail
        << "311224/120000A 120001A" << 36.0;
    QTest::newRow("extension speed, local time")
        << head + point("46.3", "2024-12-31T13:00:00+01:00") + point("46.3", "2024-12-31T13:00:03+01:00",
               "<extensions><gpxtpx:TrackPointExtension xmlns:gpxtpx=\"x\"><gpxtpx:speed>2</gpxtpx:speed>"
               "</gpxtpx:TrackPointExtension></extensions>") + tail
        << "311224/120000A 120001V 120002V 120003A" << 7.2;
    QTest::newRow("the program's own export: km/h")
        << head + point("46.3", "2024-12-31T12:00:00Z") + point("46.3", "2024-12-31T12:00:01Z",
               "<extensions><velmora:speed xmlns:velmora=\"https://marvenda.invalid/gpx/1\">90</velmora:speed>"
               "</extensions>") + tail
        << "311224/120000A 120001A" << 90.0;
    QTest::newRow("point without time skipped") << head + point("46.3", "") + point("46.3", "2024-12-31T12:00:00Z") + tail
                                                << "311224/120000A" << -1.0;
    QTest::newRow("cut short: points kept") << head + point("46.3", "2024-12-31T12:00:00Z") + "<trkpt lat=\"46"
                                            << "311224/120000A" << -1.0;
    QTest::newRow("not XML") << QByteArray("<<<>>> not xml") << "" << -1.0;
    QTest::newRow("no track") << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"><time>2024-12-31T12:00:00Z</time></wpt></gpx>")
                              << "" << -1.0;
    QTest::newRow("other XML") << QByteArray("<kml>") + point("46.3", "2024-12-31T12:00:00Z") + "</kml>" << "" << -1.0;
}

void TestReceiverLogs::gpx()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QFETCH(double, secondSpeed);
    const GpsLogReading reading = GpxLog::read(content);
    QCOMPARE(outline(reading.records), expected);
    QCOMPARE(reading.errorString.isEmpty(), expected.contains(u'V') || expected.count(u'A') > 1);
    if (secondSpeed >= 0)
        QVERIFY2(std::abs(reading.records.last().velocity - secondSpeed) < 0.1,
                 qPrintable(QString::number(reading.records.last().velocity)));
}

// The catalogue, the map and the trips see a receiver's log as GpsLogData
// loads it, the camera's logs unchanged.
void TestReceiverLogs::loadedLikeRead()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("FILE0001.log"));
    const QByteArray content = fileContent(testData(QStringLiteral("nmea/geko-regensburg-165744.nmea")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    GpsLogData log;
    log.LoadGpsLog(path);
    QCOMPARE(outline(log.records), outline(NmeaLog::read(content).records));
    QCOMPARE(log.GetFirstAvailableRecord().time, QStringLiteral("165744"));
}

// A receiver's log of hundreds of MB (here sparse: its head, then zeros) is
// read only up to the cap, quickly, like the camera's.
void TestReceiverLogs::hugeLogIsCapped()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("FILE0001.nmea"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(rmc("120000") + "\n" + rmc("120001") + "\n") > 0);
    QVERIFY(file.resize(400LL << 20));
    file.close();
    QElapsedTimer timer;
    timer.start();
    GpsLogData log;
    log.LoadGpsLog(path);
    QCOMPARE(outline(log.records), QStringLiteral("311224/120000A 120001A"));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TestReceiverLogs)
#include "tst_receiverlogs.moc"
