// The tile server as the user sets it, and which requests belong to it: the
// map pages may reach that server and no other.

#include "library/programpaths.h"
#include "maptiles/tileserver.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>

class TestTileServer : public QObject
{
    Q_OBJECT

private slots:
    void fromSettings_data();
    void fromSettings();
    void serves_data();
    void serves();
};

void TestTileServer::fromSettings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    const QString osm = TileServer::openStreetMap().urlTemplate;
    QTest::newRow("a server of the user's")
            << QByteArray("[map]\ntileServer=https://tiles.example.org/{z}/{x}/{y}.png\n")
            << "https://tiles.example.org/{z}/{x}/{y}.png";
    QTest::newRow("no tile coordinates")
            << QByteArray("[map]\ntileServer=https://tiles.example.org/tile.png\n") << osm;
}

void TestTileServer::fromSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    const QString path = ProgramPaths::settingsFile();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile settings(path);
    QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(file);
    settings.close();
    QCOMPARE(TileServer::fromSettings().urlTemplate, expected);
}

void TestTileServer::serves_data()
{
    QTest::addColumn<QString>("urlTemplate");
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("served");
    const QString osm = TileServer::openStreetMap().urlTemplate;
    QTest::newRow("a tile") << osm << "https://tile.openstreetmap.org/3/4/2.png" << true;
    QTest::newRow("another port") << osm << "https://tile.openstreetmap.org:8443/3/4/2.png" << false;
    QTest::newRow("a host ending alike") << osm << "https://eviltile.openstreetmap.org/1.png" << false;
    QTest::newRow("the host inside another")
            << osm << "https://tile.openstreetmap.org.example.com/1.png" << false;
    const QString subdomains = QStringLiteral("https://{s}.tiles.example.org:8443/{z}/{x}/{y}.png");
    QTest::newRow("a subdomain") << subdomains << "https://b.tiles.example.org:8443/1/0/0.png" << true;
    QTest::newRow("two labels for one")
            << subdomains << "https://a.b.tiles.example.org:8443/1/0/0.png" << false;
}

void TestTileServer::serves()
{
    QFETCH(QString, urlTemplate);
    QFETCH(QString, request);
    QFETCH(bool, served);
    const TileServer server{ urlTemplate, QString(), {}, {} };
    QCOMPARE(server.serves(QUrl(request)), served);
}

QTEST_GUILESS_MAIN(TestTileServer)
#include "tst_tileserver.moc"
