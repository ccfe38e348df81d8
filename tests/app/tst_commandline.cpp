// What the command line asks for: modes, this run's map sources, and the one
// line that says why arguments make no sense.

#include "app/commandlinemodes.h"

#include <QDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("trips");
    QTest::addColumn<QString>("tileServer");
    QTest::addColumn<QString>("offlineMap");
    QTest::addColumn<QString>("error");

    const QString osm = QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png");
    QTest::newRow("trips") << QStringList{ "--trips" } << true << QString() << QString() << QString();
    QTest::newRow("tile server") << QStringList{ "--tile-server", osm } << false << osm << QString() << QString();
    QTest::newRow("tile server with =") << QStringList{ "--tile-server=" + osm } << false << osm << QString()
                                        << QString();
    QTest::newRow("offline map, relative") << QStringList{ "--offline-map", "maps/region.mbtiles" } << false
                                           << QString() << QDir::current().filePath("maps/region.mbtiles")
                                           << QString();
    QTest::newRow("template without {x}")
            << QStringList{ "--tile-server", "https://tiles.example.org/{z}/{y}.png" } << false
            << "https://tiles.example.org/{z}/{y}.png" << QString()
            << "velmora: --tile-server needs an http(s) address with {z}, {x} and {y}";
    QTest::newRow("not http") << QStringList{ "--tile-server", "file:///{z}/{x}/{y}.png" } << false
                              << "file:///{z}/{x}/{y}.png" << QString()
                              << "velmora: --tile-server needs an http(s) address with {z}, {x} and {y}";
    QTest::newRow("value missing") << QStringList{ "--offline-map" } << false << QString() << QString()
                                   << "velmora: --offline-map needs a value";
    QTest::newRow("unknown option") << QStringList{ "--tiles" } << false << QString() << QString()
                                    << "velmora: unknown option --tiles";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, trips);
    QFETCH(QString, tileServer);
    QFETCH(QString, offlineMap);
    QFETCH(QString, error);

    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(line.trips, trips);
    QCOMPARE(line.tileServer, tileServer);
    QCOMPARE(line.offlineMap, offlineMap);
    QCOMPARE(line.error, error);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
