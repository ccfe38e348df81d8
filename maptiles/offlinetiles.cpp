#include "maptiles/offlinetiles.h"

#include <QAtomicInt>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace {

// Plain data, so that it is there when the scheme is registered before main.
constexpr char kSchemeName[] = "velmora-tiles";
// 2^zoom columns still fit an int; real files stop near 22.
constexpr int kMaxZoom = 30;

struct TileAddress
{
    int zoom;
    int column;
    int row;
};

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("velmora-offline-tiles-%1").arg(counter.fetchAndAddRelaxed(1));
}

// "/z/x/y" as the map pages number tiles, from the north; MBTiles numbers its
// rows from the south.
std::optional<TileAddress> tileAt(const QUrl &url)
{
    const QStringList parts = url.path().split(QLatin1Char('/'));
    if (parts.size() != 4 || !parts.first().isEmpty())
        return std::nullopt;
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = parts[i + 1].toInt(&ok);
        if (!ok || numbers[i] < 0)
            return std::nullopt;
    }
    const auto [zoom, column, y] = numbers;
    if (zoom > kMaxZoom || column >= 1 << zoom || y >= 1 << zoom)
        return std::nullopt;
    return TileAddress{ zoom, column, (1 << zoom) - 1 - y };
}

// From the first bytes: one file may mix formats, and a vector tile or a
// damaged blob is nothing the page can show.
QByteArray imageType(const QByteArray &data)
{
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return QByteArrayLiteral("image/png");
    if (data.startsWith("\xff\xd8\xff"))
        return QByteArrayLiteral("image/jpeg");
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return QByteArrayLiteral("image/gif");
    if (data.startsWith("RIFF") && data.mid(8, 4) == "WEBP")
        return QByteArrayLiteral("image/webp");
    return {};
}

// The web engine fixes the schemes it knows when it starts. Local, as files
// are: the map pages, local files themselves, may show the tiles, and no page
// from the web may read them.
void registerTileScheme()
{
    QWebEngineUrlScheme scheme(kSchemeName);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(registerTileScheme)

OfflineTiles::OfflineTiles(QObject *parent)
    : QWebEngineUrlSchemeHandler(parent), connection(newConnectionName())
{
}

OfflineTiles::~OfflineTiles()
{
    close();
}

bool OfflineTiles::open(const QString &path)
{
    close();
    openProblem = openFile(path);
    if (!openProblem.isEmpty()) {
        close();
        return false;
    }
    readMetadata();
    return true;
}

std::optional<QString> OfflineTiles::problemWith(const QString &path)
{
    OfflineTiles tiles;
    const QString problem = tiles.openFile(path);
    return problem.isEmpty() ? std::nullopt : std::optional<QString>(problem);
}

QString OfflineTiles::openFile(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return tr("%1 cannot be read.").arg(shown);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        return tr("%1 cannot be read.").arg(shown);
    // Without a memory map, a file cut short while in use fails a query
    // instead of the program.
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA mmap_size=0"))
        || !check.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return tr("%1 is not an SQLite file.").arg(shown);
    tileQuery = std::make_unique<QSqlQuery>(db);
    tileQuery->setForwardOnly(true);
    if (!tileQuery->prepare(QStringLiteral("SELECT tile_data FROM tiles"
                                           " WHERE zoom_level = ? AND tile_column = ? AND tile_row = ?")))
        return tr("%1 is not an MBTiles file: it has no table of tiles.").arg(shown);
    return {};
}

void OfflineTiles::close()
{
    tileQuery.reset();
    if (QSqlDatabase::contains(connection)) {
        QSqlDatabase::database(connection, false).close();
        QSqlDatabase::removeDatabase(connection);
    }
    lowestZoom = highestZoom = -1;
    area.reset();
}

void OfflineTiles::readMetadata()
{
    QSqlQuery query(QSqlDatabase::database(connection, false));
    QHash<QString, QString> metadata;
    if (query.exec(QStringLiteral("SELECT name, value FROM metadata"
                                  " WHERE name IN ('minzoom', 'maxzoom', 'bounds', 'attribution')")))
        while (query.next())
            metadata.insert(query.value(0).toString(), query.value(1).toString());

    bool lowKnown = false;
    bool highKnown = false;
    lowestZoom = metadata.value(QStringLiteral("minzoom")).toInt(&lowKnown);
    highestZoom = metadata.value(QStringLiteral("maxzoom")).toInt(&highKnown);
    // The tiles themselves tell when the metadata does not, but slowly in a
    // large file.
    if (!lowKnown || !highKnown || lowestZoom < 0 || lowestZoom > highestZoom) {
        const bool counted = query.exec(QStringLiteral("SELECT min(zoom_level), max(zoom_level) FROM tiles"))
                && query.next() && !query.isNull(0);
        lowestZoom = counted ? query.value(0).toInt() : -1;
        highestZoom = counted ? query.value(1).toInt() : -1;
    }

    const QStringList edges = metadata.value(QStringLiteral("bounds")).split(QLatin1Char(','));
    bool read = edges.size() == 4;
    double degrees[4] = {};
    for (int i = 0; read && i < 4; ++i)
        degrees[i] = edges[i].toDouble(&read);
    if (read)
        area = TileBounds{ degrees[0], degrees[1], degrees[2], degrees[3] };
    // The format allows markup here; the map shows plain text.
    fileAttribution = QTextDocumentFragment::fromHtml(metadata.value(QStringLiteral("attribution")))
                              .toPlainText()
                              .simplified();
}

QByteArray OfflineTiles::tileData(int zoom, int column, int row)
{
    if (!tileQuery)
        return {};
    tileQuery->bindValue(0, zoom);
    tileQuery->bindValue(1, column);
    tileQuery->bindValue(2, row);
    QByteArray data;
    if (tileQuery->exec() && tileQuery->next())
        data = tileQuery->value(0).toByteArray();
    // Ends the read, so that whoever updates the file is not held off and the
    // next tile sees the file as it is then.
    tileQuery->finish();
    return data;
}

void OfflineTiles::install(QWebEngineProfile *profile)
{
    // A handler that is gone still holds its scheme.
    profile->removeUrlScheme(scheme());
    profile->installUrlSchemeHandler(scheme(), this);
}

QByteArray OfflineTiles::scheme()
{
    return QByteArray(kSchemeName);
}

QString OfflineTiles::urlTemplate()
{
    return QString::fromLatin1(kSchemeName) + QStringLiteral(":/{z}/{x}/{y}");
}

void OfflineTiles::requestStarted(QWebEngineUrlRequestJob *job)
{
    const std::optional<TileAddress> tile = tileAt(job->requestUrl());
    if (!tile) {
        job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        return;
    }
    const QByteArray data = tileData(tile->zoom, tile->column, tile->row);
    const QByteArray type = imageType(data);
    if (type.isEmpty()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto *reply = new QBuffer(job);
    reply->setData(data);
    reply->open(QIODevice::ReadOnly);
    job->reply(type, reply);
}
