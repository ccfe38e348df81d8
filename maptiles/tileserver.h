#ifndef TILESERVER_H
#define TILESERVER_H

#include <QString>

class QUrl;

// The server the map page takes its tiles from: a URL template with {z}, {x}
// and {y} (and optionally {s} for a subdomain), and the attribution that the
// map must show for it.
struct TileServer
{
    QString urlTemplate;
    QString attribution;

    static TileServer openStreetMap();
    // The user's choice from the settings file; OpenStreetMap when none, or
    // none that can be used, is set.
    static TileServer fromSettings();

    // An http(s) template with a host and the three tile coordinates.
    bool isValid() const;
    // Whether a request goes to this server: same scheme, host and port.
    bool serves(const QUrl &url) const;
};

#endif // TILESERVER_H
