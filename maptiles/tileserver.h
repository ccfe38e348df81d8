#ifndef TILESERVER_H
#define TILESERVER_H

#include <QByteArray>
#include <QString>

#include <optional>

class QUrl;

// The server the map page takes its tiles from: a URL template with {z}, {x}
// and {y} (and optionally {s} for a subdomain), and the attribution that the
// map must show for it. An offline map file, when there is one, is asked
// first for every tile.
struct TileServer
{
    QString urlTemplate;
    QString attribution;
    // Sent only to a host that asks for one: most tile servers need none.
    QByteArray referer;
    // A raster MBTiles file; empty: none.
    QString offlineFile;

    static TileServer openStreetMap();
    // The user's choice from the settings file ([map] tileServer,
    // tileAttribution, tileReferer, offlineMap); OpenStreetMap when no server,
    // or none that can be used, is set.
    static TileServer fromSettings();
    // `urlTemplate` in place of this server, for one run; none when it is no
    // usable template.
    std::optional<TileServer> withTemplate(const QString &urlTemplate) const;

    // An http(s) template with a host and the three tile coordinates.
    bool isValid() const;
    // Whether a request goes to this server: same scheme, host and port.
    bool serves(const QUrl &url) const;
};

#endif // TILESERVER_H
