#ifndef MAPWEBPROFILE_H
#define MAPWEBPROFILE_H

#include "maptiles/tileserver.h"

#include <QWebEngineProfile>

class OfflineTiles;
class QUrl;

// The map view's web profile. The map pages may read their own files and
// fetch tiles from the tile server (or the offline map file), nothing else: no
// other local file, no other host. Tile servers refuse anonymous requests, so
// every request names the program in its User-Agent; a Referer goes only to a
// server that asks for one.
class MapWebProfile : public QWebEngineProfile
{
    Q_OBJECT

public:
    // Keeps nothing between runs.
    explicit MapWebProfile(QObject *parent = nullptr);
    // Keeps the tiles it fetched in `cacheFolder` between runs, for as long as
    // their server allows, up to `cacheBytes`.
    MapWebProfile(const QString &cacheFolder, qint64 cacheBytes, QObject *parent = nullptr);
    // The program's profile: tiles cached in the user's cache folder; in
    // memory only when that cannot be written, and `problem` says so.
    static MapWebProfile *withDiskCache(QObject *parent, QString *problem);

    // The server whose tiles the map pages show; the pages learn it as they
    // load. An offline file that cannot be used is left out; offlineProblem()
    // then says why.
    void setTileServer(const TileServer &server);
    const TileServer &tileServer() const { return server; }
    QString offlineProblem() const { return offlineError; }
    // The area of the route the next map page will show, south, west, north,
    // east in degrees; empty for none. The page loads its tiles before it
    // says whether it has its map.
    void setRouteBounds(const QList<double> &southWestNorthEast);

    // A request the pages may make: one of their own files, inline data, a
    // tile, or one of a scheme that the program itself answers.
    bool allowsRequest(const QUrl &url) const;
    // A page the view may show: only the program's own.
    static bool isOwnPage(const QUrl &url);

    static QByteArray userAgent();

private:
    void setUp();
    void setPageScript(const QString &name, const QString &source);

    TileServer server;
    OfflineTiles *offline = nullptr;
    QString offlineError;
};

#endif // MAPWEBPROFILE_H
