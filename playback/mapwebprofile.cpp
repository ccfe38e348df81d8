#include "playback/mapwebprofile.h"

#include "library/programpaths.h"
#include "playback/mappagetexts.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace {

const QString kConfigScriptName = QStringLiteral("velmora-tile-server");

class MapRequestInterceptor : public QWebEngineUrlRequestInterceptor
{
public:
    explicit MapRequestInterceptor(MapWebProfile *profile)
        : QWebEngineUrlRequestInterceptor(profile), profile(profile)
    {
    }

    // Only on https: Chromium cancels a plain-http request that carries a
    // secure Referer, so naming the program there would cost the request.
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (!profile->allowsRequest(info.requestUrl())) {
            info.block(true);
            return;
        }
        if (info.requestUrl().scheme() == QLatin1String("https"))
            info.setHttpHeader(QByteArrayLiteral("Referer"), MapWebProfile::referer());
    }

private:
    MapWebProfile *profile;
};

// Given to the pages before their own scripts run, as window.velmoraTiles.
QString configScript(const TileServer &server)
{
    const QJsonObject tiles{
        { QStringLiteral("url"), server.urlTemplate },
        { QStringLiteral("attribution"), server.attribution.toHtmlEscaped() },
    };
    return QStringLiteral("window.velmoraTiles = %1;")
            .arg(QString::fromUtf8(QJsonDocument(tiles).toJson(QJsonDocument::Compact)));
}

// Run in the page's own world before its scripts, so that they find what it sets.
QWebEngineScript pageScript(const QString &name, const QString &source)
{
    QWebEngineScript script;
    script.setName(name);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(source);
    return script;
}

} // namespace

MapWebProfile::MapWebProfile(QObject *parent)
    : QWebEngineProfile(parent)
{
    setHttpUserAgent(QString::fromLatin1(userAgent()));
    // The map pages are local files that load their scripts beside them and
    // tiles from the network; this engine loads no script of a local page
    // without file access. Which files and hosts they reach is the
    // interceptor's to decide.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    // A missing page leaves the map column blank rather than showing a
    // browser error.
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    setUrlRequestInterceptor(new MapRequestInterceptor(this));
    setTileServer(TileServer::openStreetMap());
    scripts()->insert(pageScript(QStringLiteral("velmora-texts"), mapPageTextsScript()));
}

void MapWebProfile::setTileServer(const TileServer &tileServer)
{
    server = tileServer;
    QWebEngineScriptCollection *pageScripts = scripts();
    const QList<QWebEngineScript> previous = pageScripts->find(kConfigScriptName);
    for (const QWebEngineScript &script : previous)
        pageScripts->remove(script);
    pageScripts->insert(pageScript(kConfigScriptName, configScript(server)));
}

bool MapWebProfile::allowsRequest(const QUrl &url) const
{
    return isOwnPage(url) || url.scheme() == QLatin1String("data") || server.serves(url)
            || urlSchemeHandler(url.scheme().toUtf8()) != nullptr;
}

bool MapWebProfile::isOwnPage(const QUrl &url)
{
    if (!url.isLocalFile())
        return false;
    const QString pages = QDir::cleanPath(ProgramPaths::pagesFolder()) + QLatin1Char('/');
    return QDir::cleanPath(url.toLocalFile()).startsWith(pages);
}

QByteArray MapWebProfile::userAgent()
{
    return QByteArrayLiteral("Velmora/" VELMORA_VERSION " (dash-camera recording player)");
}

QByteArray MapWebProfile::referer()
{
    return QByteArrayLiteral("https://velmora.invalid/");
}
