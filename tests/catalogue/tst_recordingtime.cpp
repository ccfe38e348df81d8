// Times of recordings as the user reads them, in each zone the settings
// allow, and the instant a log's first fix gives.

#include "catalogue/recordingtime.h"
#include "testrecordings.h"

#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using namespace testrecordings;

namespace {

qint64 utcMs(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC).toMSecsSinceEpoch();
}

} // namespace

class TstRecordingTime : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rendering_data();
    void rendering();
    void firstFix_data();
    void firstFix();
};

// "Local time" follows TZ: a zone of its own, far from UTC, without summer time.
void TstRecordingTime::initTestCase()
{
    qputenv("TZ", "XST-5:30");
    tzset();
}

void TstRecordingTime::rendering_data()
{
    QTest::addColumn<qint64>("instant");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("name"); // as the zone says its own name
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("clock");
    QTest::addColumn<QString>("iso");

    const qint64 spring = utcMs(2010, 4, 3, 12, 52, 25);
    const qint64 winter = utcMs(2010, 1, 15, 23, 30, 0);
    QTest::newRow("UTC") << spring << "UTC" << "UTC" << "2010-04-03" << "12:52:25" << "2010-04-03T12:52:25Z";
    QTest::newRow("Berlin in summer time") << spring << "Europe/Berlin" << "Europe/Berlin" << "2010-04-03"
                                           << "14:52:25" << "2010-04-03T14:52:25+02:00";
    QTest::newRow("Berlin in winter, past midnight")
            << winter << "Europe/Berlin" << "Europe/Berlin" << "2010-01-16" << "00:30:00"
            << "2010-01-16T00:30:00+01:00";
    QTest::newRow("New York the day before") << utcMs(2010, 7, 1, 2, 0, 0) << "America/New_York"
                                             << "America/New_York" << "2010-06-30" << "22:00:00"
                                             << "2010-06-30T22:00:00-04:00";
    QTest::newRow("London in winter is UTC") << winter << "Europe/London" << "Europe/London" << "2010-01-15"
                                             << "23:30:00" << "2010-01-15T23:30:00Z";
    QTest::newRow("local") << spring << "local" << "local" << "2010-04-03" << "18:22:25"
                           << "2010-04-03T18:22:25+05:30";
    QTest::newRow("unknown zone is local") << spring << "Mars/Olympus" << "local" << "2010-04-03" << "18:22:25"
                                           << "2010-04-03T18:22:25+05:30";
}

void TstRecordingTime::rendering()
{
    QFETCH(qint64, instant);
    QFETCH(QString, zone);
    QFETCH(QString, name);
    QFETCH(QString, date);
    QFETCH(QString, clock);
    QFETCH(QString, iso);

    const DisplayZone display = DisplayZone::named(zone);
    QCOMPARE(display.name(), name);
    QCOMPARE(DisplayZone::named(display.name()).name(), name);
    QCOMPARE(dateText(instant, display), date);
    QCOMPARE(clockText(instant, display), clock);
    QCOMPARE(isoText(instant, display), iso);
}

void TstRecordingTime::firstFix_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<qint64>("first"); // -1: none

    const QByteArray noFix = "V,030410,131417,,,,,,0.00,0.00,1.02;\n";
    const QByteArray fix = "A,030410,131032,4618.9395,N,00656.1347,E,0.00,0.00,0.00,0.99;\n";
    QTest::newRow("fix first") << fix + noFix << utcMs(2010, 4, 3, 13, 10, 32);
    // The receiver's clock without a fix is not the camera's start.
    QTest::newRow("after lines without") << noFix.repeated(3) + fix << utcMs(2010, 4, 3, 13, 10, 32);
    QTest::newRow("CRLF and no last newline") << QByteArray(noFix).replace("\n", "\r\n") + fix.chopped(1)
                                              << utcMs(2010, 4, 3, 13, 10, 32);
    QTest::newRow("fix with an impossible date passed over")
            << "A,310210,131032,4618.9395,N,00656.1347,E,0.00,0.00,0.00,0.99;\n" + fix
            << utcMs(2010, 4, 3, 13, 10, 32);
    QTest::newRow("a line too long to be a record passed over")
            << QByteArray(4000, 'A') + "\n" + fix << utcMs(2010, 4, 3, 13, 10, 32);
    QTest::newRow("receiver's NMEA") << QByteArray("$GPRMC,114223.000,V,,,,,,,030410,,,N*4C\r\n"
                                                   "$GPRMC,114224.000,A,4709.0277,N,00735.5111,E,59.85,181.51,030410,,,A*58\r\n")
                                     << utcMs(2010, 4, 3, 11, 42, 24);
    QTest::newRow("no fix") << noFix.repeated(5) << qint64(-1);
    QTest::newRow("empty") << QByteArray() << qint64(-1);
}

void TstRecordingTime::firstFix()
{
    QFETCH(QByteArray, log);
    QFETCH(qint64, first);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("gps0001.log"));
    QVERIFY(writeFile(path, log));
    QCOMPARE(firstFixUtcMs(path).value_or(-1), first);
    QVERIFY(!firstFixUtcMs(folder.filePath(QStringLiteral("missing.log"))));
}

QTEST_GUILESS_MAIN(TstRecordingTime)
#include "tst_recordingtime.moc"
