#include "playback/mapwebprofile.h"

#include <QWebEngineUrlRequestInterceptor>

namespace {

class RefererInterceptor : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QString scheme = info.requestUrl().scheme();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
            info.setHttpHeader(QByteArrayLiteral("Referer"), MapWebProfile::referer());
    }
};

} // namespace

MapWebProfile::MapWebProfile(QObject *parent)
    : QWebEngineProfile(parent)
{
    setHttpUserAgent(QString::fromLatin1(userAgent()));
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
