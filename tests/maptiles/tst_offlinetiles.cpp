// Map tiles from an MBTiles file, as a local page in a real web profile shows
// them, and what tells the user why a file cannot be used.

#include "maptiles/offlinetiles.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {

constexpr int kTimeout = 20000;
const QString kTilesTable = QStringLiteral(
        "CREATE TABLE tiles (zoom_level INTEGER, tile_column INTEGER, tile_row INTEGER, tile_data BLOB)");

QString blob(const QByteArray &data)
{
    return QStringLiteral("X'%1'").arg(QString::fromLatin1(data.toHex()));
}

QString picture(int side, const char *format)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray data;
    QBuffer buffer(&data);
    image.save(&buffer, format);
    return blob(data);
}

bool writeDatabase(const QString &path, const QStringList &statements)
{
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
        db.setDatabaseName(path);
        done = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements)
            done = done && query.exec(statement);
    }
    QSqlDatabase::removeDatabase(path);
    return done;
}

} // namespace

class TestOfflineTiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void problem_data();
    void problem();
    void images_data();
    void images();

private:
    QTemporaryDir dir;
    std::unique_ptr<QWebEngineProfile> profile;
    std::unique_ptr<QWebEnginePage> page;
};

void TestOfflineTiles::initTestCase()
{
    QVERIFY(dir.isValid());
    const QString png = picture(256, "PNG");
    // Rows as MBTiles counts them, from the south; the comments give the XYZ tile.
    QVERIFY(writeDatabase(dir.filePath("tiles.mbtiles"), {
        kTilesTable, "CREATE TABLE metadata (name TEXT, value TEXT)",
        "INSERT INTO metadata VALUES ('bounds', '-10.5,35,30,60.25')",
        "INSERT INTO tiles VALUES (0, 0, 0, " + png + ")", // 0/0/0
        "INSERT INTO tiles VALUES (1, 0, 1, " + picture(512, "JPEG") + ")", // 1/0/0
        "INSERT INTO tiles VALUES (1, 1, 1, " + blob("not a picture") + ")", // 1/1/0
        "INSERT INTO tiles VALUES (2, 1, 3, " + png + ")", // 2/1/0
    }));
    QVERIFY(writeDatabase(dir.filePath("view.mbtiles"), {
        "CREATE TABLE map (zoom_level, tile_column, tile_row, tile_id)",
        "CREATE TABLE images (tile_id, tile_data)",
        "CREATE VIEW tiles AS SELECT zoom_level, tile_column, tile_row, tile_data FROM map JOIN images USING (tile_id)",
        "CREATE TABLE metadata (name TEXT, value TEXT)",
        "INSERT INTO metadata VALUES ('minzoom', '3'), ('maxzoom', '5')",
        "INSERT INTO map VALUES (4, 0, 0, 'a')", "INSERT INTO images VALUES ('a', " + png + ")",
    }));
    QVERIFY(writeDatabase(dir.filePath("empty.mbtiles"), { kTilesTable }));
    QVERIFY(writeDatabase(dir.filePath("notiles.mbtiles"), { "CREATE TABLE metadata (name, value)" }));
    QFile text(dir.filePath("text.mbtiles"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write(QByteArray("zoom,x,y\n").repeated(500)) > 0);

    profile = std::make_unique<QWebEngineProfile>();
    page = std::make_unique<QWebEnginePage>(profile.get());
}

void TestOfflineTiles::problem_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("problem"); // part of it; none when empty
    QTest::addColumn<int>("minZoom");
    QTest::addColumn<int>("maxZoom");
    QTest::addColumn<QString>("bounds");
    QTest::newRow("tiles") << "tiles.mbtiles" << "" << 0 << 2 << "-10.5,35,30,60.25";
    QTest::newRow("a view of tiles") << "view.mbtiles" << "" << 3 << 5 << "";
    QTest::newRow("no tiles yet") << "empty.mbtiles" << "" << -1 << -1 << "";
    QTest::newRow("no tiles table") << "notiles.mbtiles" << "no table of tiles" << -1 << -1 << "";
    QTest::newRow("a text file") << "text.mbtiles" << "not an SQLite file" << -1 << -1 << "";
    QTest::newRow("no file") << "missing.mbtiles" << "cannot be read" << -1 << -1 << "";
}

void TestOfflineTiles::problem()
{
    QFETCH(QString, file);
    QFETCH(QString, problem);
    QFETCH(int, minZoom);
    QFETCH(int, maxZoom);
    QFETCH(QString, bounds);
    const std::optional<QString> found = OfflineTiles::problemWith(dir.filePath(file));
    QVERIFY2(problem.isEmpty() ? !found : found && found->contains(problem) && found->contains(file),
             qPrintable(found.value_or(QStringLiteral("no problem"))));
    OfflineTiles tiles;
    QCOMPARE(tiles.open(dir.filePath(file)), !found);
    QCOMPARE(tiles.problem(), found.value_or(QString()));
    QCOMPARE(QStringLiteral("%1..%2").arg(tiles.minZoom()).arg(tiles.maxZoom()),
             QStringLiteral("%1..%2").arg(minZoom).arg(maxZoom));
    const std::optional<TileBounds> area = tiles.bounds();
    QCOMPARE(area ? QStringLiteral("%1,%2,%3,%4").arg(area->west).arg(area->south).arg(area->east).arg(area->north)
                  : QString(), bounds);
}

void TestOfflineTiles::images_data()
{
    QTest::addColumn<QString>("tile"); // z/x/y, as a map page fills in the template
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("width"); // 0: the picture fails
    QTest::newRow("PNG") << "0/0/0" << "" << 256;
    QTest::newRow("JPEG") << "1/0/0" << "" << 512;
    QTest::newRow("no picture") << "1/1/0" << "" << 0;
    QTest::newRow("not in the file") << "2/0/0" << "" << 0;
    QTest::newRow("rows from the north") << "2/1/0" << "" << 256;
    QTest::newRow("row from the south") << "2/1/3" << "" << 0;
    QTest::newRow("two numbers") << "2/1" << "" << 0;
    QTest::newRow("zoom too deep") << "99/0/0" << "" << 0;
    QTest::newRow("beyond the columns") << "1/2/0" << "" << 0;
    QTest::newRow("letters") << "a/b/c" << "" << 0;
    QTest::newRow("file removed") << "0/0/0" << "removed" << 256;
    QTest::newRow("file overwritten") << "0/0/0" << "overwritten" << 0;
}

void TestOfflineTiles::images()
{
    QFETCH(QString, tile);
    QFETCH(QString, damage);
    QFETCH(int, width);
    const QString copy = dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".mbtiles");
    QVERIFY(QFile::copy(dir.filePath("tiles.mbtiles"), copy));
    OfflineTiles tiles;
    QVERIFY(tiles.open(copy));
    tiles.install(profile.get());
    QFile file(copy);
    if (damage == "removed")
        QVERIFY(file.remove());
    else if (damage == "overwritten")
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("no longer a database\n") > 0 && file.flush());

    const QStringList zxy = tile.split('/');
    // Asked once per row, so that no row sees a picture cached for another.
    static int loads = 0;
    const QString url = OfflineTiles::urlTemplate().replace("{z}", zxy.value(0)).replace("{x}", zxy.value(1))
                                .replace("{y}", zxy.value(2)) + QStringLiteral("?%1").arg(++loads);
    QFile html(dir.filePath("page.html"));
    QVERIFY(html.open(QIODevice::WriteOnly | QIODevice::Truncate));
    html.write(QStringLiteral("<!DOCTYPE html><img src=\"%1\">").arg(url).toUtf8());
    html.close();
    QSignalSpy loaded(page.get(), &QWebEnginePage::loadFinished);
    page->load(QUrl::fromLocalFile(html.fileName()));
    QVERIFY(loaded.wait(kTimeout));
    const auto shown = std::make_shared<int>(-1);
    page->runJavaScript("document.images[0].naturalWidth", [shown](const QVariant &value) { *shown = value.toInt(); });
    QTRY_VERIFY_WITH_TIMEOUT(*shown >= 0, kTimeout);
    QCOMPARE(*shown, width);
}

QTEST_MAIN(TestOfflineTiles)
#include "tst_offlinetiles.moc"
