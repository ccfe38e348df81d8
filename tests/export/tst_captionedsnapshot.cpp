#include "catalogue/gpslogdata.h"
#include "export/captionedsnapshot.h"
#include "trips/triptimeline.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

class TestCaptionedSnapshot : public QObject
{
    Q_OBJECT

private slots:
    void copyCarriesTheCaption_data();
    void copyCarriesTheCaption();
    void failureLeavesNoCopy();
    void burntInCaptionFollowsTheClockOffset_data();
    void burntInCaptionFollowsTheClockOffset();

private:
    QTemporaryDir folder;
};

void TestCaptionedSnapshot::copyCarriesTheCaption_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("withLog");
    QTest::addColumn<QString>("style"); // unit and zone
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("position");

    const QString fix = QStringLiteral("A,030410,131012,3352.1234,S,15112.5678,W,45.00,0.1,0.2,0.9;");
    QTest::newRow("fix, south and west") << fix << true << "kmh UTC" << "2010-04-03 13:10:12 UTC" << "83 km/h"
                                         << "33.86872° S 151.20946° W";
    QTest::newRow("mph, Berlin in summer time") << fix << true << "mph Europe/Berlin" << "2010-04-03 15:10:12 UTC+02:00"
                                                << "52 mph" << "33.86872° S 151.20946° W";
    QTest::newRow("New York, behind UTC") << fix << true << "kmh America/New_York"
                                          << "2010-04-03 09:10:12 UTC-04:00" << "83 km/h" << "33.86872° S 151.20946° W";
    QTest::newRow("no fix") << "V,030410,131012,,,,,0,0,0,0;" << true << "kmh UTC" << "2010-04-03 13:10:12 UTC" << ""
                            << "no GPS fix";
    QTest::newRow("no log") << "" << false << "kmh UTC" << "" << "" << "no GPS log";
}

// The copy is the picture with a strip under it; its text chunks say what
// the strip says.
void TestCaptionedSnapshot::copyCarriesTheCaption()
{
    QFETCH(QString, line);
    QFETCH(bool, withLog);
    QFETCH(QString, style);
    const CaptionStyle written{ style.startsWith(QLatin1String("mph")) ? SpeedUnit::Mph : SpeedUnit::Kmh,
                                DisplayZone::named(style.section(QLatin1Char(' '), 1)) };
    const QString picture = folder.filePath(QStringLiteral("FILE0003_00-01-12.480.png"));
    QImage frame(320, 180, QImage::Format_RGB32);
    frame.fill(Qt::blue);
    QVERIFY(frame.save(picture));

    const GpsLogRecord record = GpsLogData().recordFromLine(line);
    const SnapshotCaption caption =
            snapshotCaption(record, withLog, QStringLiteral("/card/FILE0003.MOV"), 72480, written);
    QCOMPARE(writeCaptionedCopy(picture, caption), QString());

    const QImage copy(folder.filePath(QStringLiteral("FILE0003_00-01-12.480_captioned.png")));
    QCOMPARE(copy.width(), frame.width());
    QVERIFY(copy.height() > frame.height());
    QCOMPARE(copy.pixel(10, 10), frame.pixel(10, 10));
    QTEST(copy.text(QStringLiteral("Creation Time")), "moment");
    QTEST(copy.text(QStringLiteral("Speed")), "speed");
    QTEST(copy.text(QStringLiteral("Position")), "position");
    QCOMPARE(copy.text(QStringLiteral("Title")), QStringLiteral("FILE0003.MOV 00:01:12.480"));
}

void TestCaptionedSnapshot::failureLeavesNoCopy()
{
    const QString notPicture = folder.filePath(QStringLiteral("broken.png"));
    QFile file(notPicture);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
    file.close();
    QVERIFY(writeCaptionedCopy(notPicture, {}).startsWith(QStringLiteral("cannot read")));
    QVERIFY(!QFileInfo::exists(captionedCopyPath(notPicture)));
}

void TestCaptionedSnapshot::burntInCaptionFollowsTheClockOffset_data()
{
    // 10, 20 and 30 knots in seconds 0, 1 and 2; the caption of 1.5 s.
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("speed");
    QTest::newRow("none") << 0 << "37 km/h";
    QTest::newRow("the log a second ahead") << 1 << "56 km/h";
}

void TestCaptionedSnapshot::burntInCaptionFollowsTheClockOffset()
{
    QFETCH(int, offset);
    QFile log(folder.filePath(QStringLiteral("offset.log")));
    QVERIFY(log.open(QIODevice::WriteOnly));
    for (int second = 0; second < 3; ++second)
        log.write("A,030410,13101" + QByteArray::number(second) + ",4618.1000,N,00656.1347,E,"
                  + QByteArray::number(10 * (second + 1)) + ".00,0.1,0.2,0.9;\n");
    log.close();
    const Trip trip{ { TripClip{ 0, QStringLiteral("/card/FILE0001.MOV"), log.fileName(), 0, 0, 3000 } } };
    const QString line = captionLineOf(std::make_shared<const TripTimeline>(trip), {}, offset)(0, 1500);
    QFETCH(QString, speed);
    QVERIFY2(line.contains(speed), qPrintable(line));
}

QTEST_MAIN(TestCaptionedSnapshot)
#include "tst_captionedsnapshot.moc"
