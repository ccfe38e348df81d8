#include "playback/mapwebprofile.h"

#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace {

class RefererInterceptor : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    // Only on https: Chromium cancels a plain-http request that carries a
    // secure Referer, so naming the program there would cost the request.
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (info.requestUrl().scheme() == QLatin1String("https"))
            info.setHttpHeader(QByteArrayLiteral("Referer"), MapWebProfile::referer());
    }
};

} // namespace

MapWebProfile::MapWebProfile(QObject *parent)
    : QWebEngineProfile(parent)
{
    setHttpUserAgent(QString::fromLatin1(userAgent()));
    // The map pages are local files; without this they may not load any tile.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // A missing page leaves the map column blank rather than showing a
    // browser error.
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    setUrlRequestInterceptor(new RefererInterceptor(this));
}

QByteArray MapWebProfile::userAgent()
{
    return QByteArrayLiteral("Velmora/" VELMORA_VERSION " (dash-camera recording player)");
}

QByteArray MapWebProfile::referer()
{
    return QByteArrayLiteral("https://velmora.invalid/");
}
