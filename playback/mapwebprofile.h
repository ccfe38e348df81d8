#ifndef MAPWEBPROFILE_H
#define MAPWEBPROFILE_H

#include "maptiles/tileserver.h"

#include <QWebEngineProfile>

class QUrl;

// The map view's web profile. The map pages may read their own files and
// fetch tiles from the tile server, nothing else: no other local file, no
// other host. Tile servers refuse anonymous requests, so every request names
// the program in its User-Agent and Referer.
class MapWebProfile : public QWebEngineProfile
{
    Q_OBJECT

public:
    explicit MapWebProfile(QObject *parent = nullptr);

    // The server whose tiles the map pages show; the pages learn it as they load.
    void setTileServer(const TileServer &server);
    const TileServer &tileServer() const { return server; }

    // A request the pages may make: one of their own files, inline data, a
    // tile, or one of a scheme that the program itself answers.
    bool allowsRequest(const QUrl &url) const;
    // A page the view may show: only the program's own.
    static bool isOwnPage(const QUrl &url);

    static QByteArray userAgent();
    static QByteArray referer();

private:
    TileServer server;
};

#endif // MAPWEBPROFILE_H
