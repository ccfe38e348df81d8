// The texts of the time and position labels and the map scripts.

#include "catalogue/gpslogdata.h"
#include "playback/displaytexts.h"

#include <QTest>

class TestDisplayTexts : public QObject
{
    Q_OBJECT

private slots:
    void timeLabel_data();
    void timeLabel();
    void coordinates_data();
    void coordinates();
    void mapPointScriptTakesNumbersOnly_data();
    void mapPointScriptTakesNumbersOnly();
    void routeEndsWithTheLog_data();
    void routeEndsWithTheLog();
};

void TestDisplayTexts::timeLabel_data()
{
    QTest::addColumn<qint64>("playTime");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QString>("text");

    QTest::newRow("one second ahead") << qint64(64999) << qint64(180000)
                                      << QStringLiteral("00:01:05/00:03:00");
    QTest::newRow("start") << qint64(0) << qint64(0) << QStringLiteral("00:00:01/00:00:00");
    QTest::newRow("into the hour") << qint64(3599000) << qint64(3599999)
                                   << QStringLiteral("01:00:00/00:59:59");
    QTest::newRow("two-digit fields") << qint64(45296000 - 1000) << qint64(45296999)
                                      << QStringLiteral("12:34:56/12:34:56");
    // The padding counts characters, so three-digit hours leave the minutes
    // unpadded.
    QTest::newRow("hundred hours") << qint64(360000000) << qint64(360000000)
                                   << QStringLiteral("100:0:01/100:0:00");
}

void TestDisplayTexts::timeLabel()
{
    QFETCH(qint64, playTime);
    QFETCH(qint64, length);
    QFETCH(QString, text);
    QCOMPARE(timeLabelText(playTime, length), text);
}

void TestDisplayTexts::coordinates_data()
{
    QTest::addColumn<QString>("southOrNorth");
    QTest::addColumn<QString>("eastOrWest");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("shortLabel");

    const QString indent(14, QLatin1Char(' '));
    const QString gap(27, QLatin1Char(' '));
    const QString shortGap(36, QLatin1Char(' '));
    QTest::newRow("S W") << "S" << "W" << "setposition(-22.50000,-113.90000)"
                         << indent + "W:113.90000" + gap + "S:22.50000"
                         << indent + "W:" + shortGap + "S:";
    QTest::newRow("N E") << "N" << "E" << "setposition(22.50000,113.90000)"
                         << indent + "E:113.90000" + gap + "N:22.50000"
                         << indent + "E:" + shortGap + "N:";
    // Only the exact letters count; anything else reads as north and east.
    QTest::newRow("lower case") << "s" << "w" << "setposition(22.50000,113.90000)"
                                << indent + "E:113.90000" + gap + "N:22.50000"
                                << indent + "E:" + shortGap + "N:";
    QTest::newRow("empty") << "" << "" << "setposition(22.50000,113.90000)"
                           << indent + "E:113.90000" + gap + "N:22.50000"
                           << indent + "E:" + shortGap + "N:";
}

void TestDisplayTexts::coordinates()
{
    QFETCH(QString, southOrNorth);
    QFETCH(QString, eastOrWest);
    QFETCH(QString, script);
    QFETCH(QString, label);
    QFETCH(QString, shortLabel);

    GpsLogRecord record;
    record.latitude = QStringLiteral("22.50000");
    record.longitude = QStringLiteral("113.90000");
    record.southOrNorth = southOrNorth;
    record.eastOrWest = eastOrWest;
    QCOMPARE(mapPointScript(QStringLiteral("setposition"), record), script);
    QCOMPARE(positionLabelText(record), label);
    QCOMPARE(shortPositionLabelText(record), shortLabel);
}

void TestDisplayTexts::mapPointScriptTakesNumbersOnly_data()
{
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("southOrNorth");
    QTest::addColumn<QString>("longitude");
    QTest::addColumn<QString>("eastOrWest");
    QTest::addColumn<QString>("script");

    QTest::newRow("signs from the letters") << "1.5" << "S" << "2.25" << "W" << "f(-1.5,-2.25)";
    QTest::newRow("the log's own sign, north and east") << "-1.5" << "N" << "-2.25" << "E"
                                                        << "f(-1.5,-2.25)";
    QTest::newRow("the log's own sign, south and west") << "-1.5" << "S" << "-2.25" << "W"
                                                        << "f(1.5,2.25)";
    QTest::newRow("no latitude") << "" << "N" << "2.25" << "E" << "";
    QTest::newRow("no longitude") << "1.5" << "S" << "" << "W" << "";
    QTest::newRow("no position") << "" << "" << "" << "" << "";
}

// Whatever the log holds, the page gets a call it can parse or none.
void TestDisplayTexts::mapPointScriptTakesNumbersOnly()
{
    QFETCH(QString, latitude);
    QFETCH(QString, southOrNorth);
    QFETCH(QString, longitude);
    QFETCH(QString, eastOrWest);
    QFETCH(QString, script);

    GpsLogRecord record;
    record.latitude = latitude;
    record.southOrNorth = southOrNorth;
    record.longitude = longitude;
    record.eastOrWest = eastOrWest;
    QCOMPARE(mapPointScript(QStringLiteral("f"), record), script);
}

void TestDisplayTexts::routeEndsWithTheLog_data()
{
    QTest::addColumn<QString>("fixes"); // one letter a record: A a fix, V none
    QTest::addColumn<qint64>("lengthMs");
    QTest::addColumn<int>("nodes");
    QTest::newRow("video as long as the log") << "AAAA" << qint64(4000) << 4;
    QTest::newRow("video shorter than the log") << "AAAA" << qint64(2999) << 2;
    // A clip whose header claims 10^7 s once built a route of that many nodes.
    QTest::newRow("video claiming 10^7 s") << "AAA" << qint64(1e10) << 3;
    QTest::newRow("seconds without a fix") << "VAVA" << qint64(1e10) << 2;
    QTest::newRow("no log") << "" << qint64(1e10) << 0;
}

void TestDisplayTexts::routeEndsWithTheLog()
{
    QFETCH(QString, fixes);
    QFETCH(qint64, lengthMs);
    QFETCH(int, nodes);
    GpsLogData log;
    for (const QChar fix : fixes) {
        GpsLogRecord record;
        record.dataAvailable = fix == QLatin1Char('A');
        record.latitude = QStringLiteral("46.31566");
        record.longitude = QStringLiteral("006.93558");
        log.records.append(record);
    }
    const QString script = routeNodesScript(log, lengthMs);
    QCOMPARE(script.count(QLatin1String("appendPathNode(")), nodes);
}

QTEST_APPLESS_MAIN(TestDisplayTexts)

#include "tst_displaytexts.moc"
