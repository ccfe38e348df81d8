#ifndef MAPWEBPROFILE_H
#define MAPWEBPROFILE_H

#include <QWebEngineProfile>

// The map view's web profile. Tile servers refuse anonymous requests, so every
// request names the program in its User-Agent and Referer.
class MapWebProfile : public QWebEngineProfile
{
    Q_OBJECT

public:
    explicit MapWebProfile(QObject *parent = nullptr);

    static QByteArray userAgent();
    static QByteArray referer();
};

#endif // MAPWEBPROFILE_H
