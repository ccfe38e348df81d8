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
constexpr char kTilesTable[] = "CREATE TABLE tiles (zoom_level, tile_column, tile_row, tile_data)";

QString picture(int side, const char *format)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray data;
    QBuffer buffer(&data);
    image.save(&buffer, format);
    return QStringLiteral("X'%1'").arg(QString::fromLatin1(data.toHex()));
}

bool writeDatabase(const QString &path, const QStringList &statements)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
    db.setDatabaseName(path);
    bool done = db.open();
    for (const QString &statement : statements)
        done = done && QSqlQuery(db).exec(statement);
    db.close();
    return done;
}

} // namespace

class TestOfflineTiles : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<QWebEngineProfile> profile = std::make_unique<QWebEngineProfile>();
    std::unique_ptr<QWebEnginePage> page = std::make_unique<QWebEnginePage>(profile.get());
private slots:
    void initTestCase()
    {
        // Rows as MBTiles counts them, from the south; the comments give the XYZ tile.
        QVERIFY(writeDatabase(dir.filePath("tiles.mbtiles"), {
            kTilesTable, "CREATE TABLE metadata (name TEXT, value TEXT)",
            "INSERT INTO metadata VALUES ('bounds', '-10.5,35,30,60.25')",
            "INSERT INTO tiles VALUES (0, 0, 0, " + picture(256, "PNG") + ")", // 0/0/0
            "INSERT INTO tiles VALUES (1, 0, 1, " + picture(512, "JPEG") + ")", // 1/0/0
            "INSERT INTO tiles VALUES (1, 1, 1, X'00010203')", // 1/1/0
            "INSERT INTO tiles VALUES (2, 1, 3, " + picture(256, "PNG") + ")", // 2/1/0
        }));
        QVERIFY(writeDatabase(dir.filePath("view.mbtiles"), {
            "CREATE TABLE map (zoom_level, tile_column, tile_row, tile_id)",
            "CREATE TABLE images (tile_id, tile_data)",
            "CREATE VIEW tiles AS SELECT * FROM map JOIN images USING (tile_id)",
            "CREATE TABLE metadata (name, value)", "INSERT INTO map VALUES (4, 0, 0, 'a')",
            "INSERT INTO metadata VALUES ('minzoom', '3'), ('maxzoom', '5')",
            "INSERT INTO images VALUES ('a', " + picture(256, "PNG") + ")",
        }));
        QVERIFY(writeDatabase(dir.filePath("empty.mbtiles"), { kTilesTable }));
        QVERIFY(writeDatabase(dir.filePath("notiles.mbtiles"), { "CREATE TABLE metadata (name, value)" }));
        QFile text(dir.filePath("text.mbtiles"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write(QByteArray("zoom,x,y\n").repeated(500)) > 0);
    }
    void problem_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("problem"); // part of it; none when empty
        QTest::addColumn<QString>("extent"); // zoom levels, then the bounds if known
        QTest::newRow("tiles") << "tiles.mbtiles" << "" << "0..2 -10.5,35,30,60.25";
        QTest::newRow("a view of tiles") << "view.mbtiles" << "" << "3..5";
        QTest::newRow("no tiles yet") << "empty.mbtiles" << "" << "-1..-1";
        QTest::newRow("no tiles table") << "notiles.mbtiles" << "no table of tiles" << "-1..-1";
        QTest::newRow("a text file") << "text.mbtiles" << "not an SQLite file" << "-1..-1";
        QTest::newRow("no file") << "missing.mbtiles" << "cannot be read" << "-1..-1";
    }
    void problem()
    {
        QFETCH(QString, file);
        QFETCH(QString, problem);
        QFETCH(QString, extent);
        const std::optional<QString> found = OfflineTiles::problemWith(dir.filePath(file));
        QVERIFY2(problem.isEmpty() ? !found : found && found->contains(problem) && found->contains(file),
                 qPrintable(found.value_or(QStringLiteral("no problem"))));
        OfflineTiles tiles;
        QCOMPARE(tiles.open(dir.filePath(file)), !found);
        QString shown = QStringLiteral("%1..%2").arg(tiles.minZoom()).arg(tiles.maxZoom());
        if (const std::optional<TileBounds> b = tiles.bounds())
            shown += QStringLiteral(" %1,%2,%3,%4").arg(b->west).arg(b->south).arg(b->east).arg(b->north);
        QCOMPARE(shown, extent);
    }
    void images_data()
    {
        QTest::addColumn<QString>("tile"); // z/x/y, as a map page fills in the template
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("width"); // 0: the picture fails
        QTest::newRow("PNG") << "0/0/0" << "" << 256;
        QTest::newRow("JPEG") << "1/0/0" << "" << 512;
        QTest::newRow("no picture") << "1/1/0" << "" << 0;
        QTest::newRow("rows from the north") << "2/1/0" << "" << 256;
        QTest::newRow("row from the south: not in the file") << "2/1/3" << "" << 0;
        QTest::newRow("zoom too deep") << "99/0/0" << "" << 0;
        QTest::newRow("file removed") << "0/0/0" << "removed" << 256;
        QTest::newRow("file overwritten") << "0/0/0" << "overwritten" << 0;
    }
    void images()
    {
        QFETCH(QString, tile);
        QFETCH(QString, damage);
        QFETCH(int, width);
        QFile file(dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".mbtiles"));
        QVERIFY(QFile::copy(dir.filePath("tiles.mbtiles"), file.fileName()));
        OfflineTiles tiles;
        QVERIFY(tiles.open(file.fileName()));
        tiles.install(profile.get());
        if (damage == "removed")
            QVERIFY(file.remove());
        else if (damage == "overwritten")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a database\n") > 0 && file.flush());
        // The row's name as query, so that no row sees a picture cached for another.
        const QString url = OfflineTiles::urlTemplate().replace("{z}/{x}/{y}", tile) + '?'
                + QTest::currentDataTag();
        QFile html(dir.filePath("page.html"));
        QVERIFY(html.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
                && html.write(QStringLiteral("<!DOCTYPE html><img src=\"%1\">").arg(url).toUtf8()) > 0);
        QSignalSpy loaded(page.get(), &QWebEnginePage::loadFinished);
        page->load(QUrl::fromLocalFile(html.fileName()));
        QVERIFY(loaded.wait(kTimeout));
        const auto shown = std::make_shared<int>(-1);
        page->runJavaScript(QStringLiteral("document.images[0].naturalWidth"),
                            [shown](const QVariant &value) { *shown = value.toInt(); });
        QTRY_VERIFY_WITH_TIMEOUT(*shown >= 0, kTimeout);
        QCOMPARE(*shown, width);
    }
};

QTEST_MAIN(TestOfflineTiles)
#include "tst_offlinetiles.moc"
