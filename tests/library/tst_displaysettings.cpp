// The unit figures are shown in and the zone times are shown in: one
// conversion for the meter, the trips view and --trips, and the settings
// file's words for both.

#include "library/programpaths.h"
#include "library/speedunit.h"
#include "library/usersettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(SpeedUnit)

class TstDisplaySettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void conversion_data();
    void conversion();
    void settingsFile_data();
    void settingsFile();

private:
    QTemporaryDir home;
};

// Also when run by hand: never the user's own settings.
void TstDisplaySettings::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
}

void TstDisplaySettings::conversion_data()
{
    QTest::addColumn<SpeedUnit>("unit");
    QTest::addColumn<double>("kmh");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("distance"); // of `kmh` km

    QTest::newRow("km/h stays") << SpeedUnit::Kmh << 129.8 << 129.8 << 129.8;
    QTest::newRow("one mile") << SpeedUnit::Mph << 1.609344 << 1.0 << 1.0;
    QTest::newRow("100 km/h") << SpeedUnit::Mph << 100.0 << 62.137119 << 62.137119;
}

void TstDisplaySettings::conversion()
{
    QFETCH(SpeedUnit, unit);
    QFETCH(double, kmh);
    QFETCH(double, speed);
    QFETCH(double, distance);

    QVERIFY2(qAbs(speedIn(unit, kmh) - speed) < 1e-6, qPrintable(QString::number(speedIn(unit, kmh))));
    QVERIFY2(qAbs(distanceIn(unit, kmh) - distance) < 1e-6, qPrintable(QString::number(distanceIn(unit, kmh))));
}

void TstDisplaySettings::settingsFile_data()
{
    QTest::addColumn<QString>("unitWord"); // empty: not set
    QTest::addColumn<QString>("zoneWord");
    QTest::addColumn<SpeedUnit>("unit");
    QTest::addColumn<QString>("zone");

    const SpeedUnit system = defaultSpeedUnit();
    QTest::newRow("nothing set") << "" << "" << system << "local";
    QTest::newRow("mph, Berlin") << "mph" << "Europe/Berlin" << SpeedUnit::Mph << "Europe/Berlin";
    QTest::newRow("KMH, UTC") << "KMH" << "UTC" << SpeedUnit::Kmh << "UTC";
    QTest::newRow("unknown unit") << "knots" << "local" << system << "local";
}

void TstDisplaySettings::settingsFile()
{
    QFETCH(QString, unitWord);
    QFETCH(QString, zoneWord);
    QFETCH(SpeedUnit, unit);
    QFETCH(QString, zone);

    {
        QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
        settings.remove(QStringLiteral("display"));
        if (!unitWord.isEmpty())
            settings.setValue(QStringLiteral("display/speedUnit"), unitWord);
        if (!zoneWord.isEmpty())
            settings.setValue(QStringLiteral("display/timeZone"), zoneWord);
    }
    DisplaySettings display = DisplaySettings::load();
    QCOMPARE(display.speedUnit, unit);
    QCOMPARE(display.timeZone, zone);

    // What is saved comes back.
    display.speedUnit = display.speedUnit == SpeedUnit::Mph ? SpeedUnit::Kmh : SpeedUnit::Mph;
    display.save();
    QCOMPARE(DisplaySettings::load().speedUnit, display.speedUnit);
    QCOMPARE(DisplaySettings::load().timeZone, zone);
}

QTEST_GUILESS_MAIN(TstDisplaySettings)
#include "tst_displaysettings.moc"
