#include "playback/mapwebprofile.h"

#include "library/programpaths.h"
#include "library/usersettings.h"
#include "maptiles/offlinetiles.h"
#include "playback/mappagetexts.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

#include <algorithm>
#include <limits>
#include <utility>

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
    // secure Referer, so giving one there would cost the request.
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (!profile->allowsRequest(info.requestUrl())) {
            info.block(true);
            return;
        }
        const QByteArray &referer = profile->tileServer().referer;
        if (!referer.isEmpty() && info.requestUrl().scheme() == QLatin1String("https")
            && profile->tileServer().serves(info.requestUrl()))
            info.setHttpHeader(QByteArrayLiteral("Referer"), referer);
    }

private:
    MapWebProfile *profile;
};

const QString kRouteScriptName = QStringLiteral("velmora-route");

// Given to the pages before their own scripts run, as window.velmoraTiles.
QString configScript(const TileServer &server, const OfflineTiles *offline)
{
    QString attribution = server.attribution;
    if (offline && !offline->attribution().isEmpty())
        attribution = offline->attribution() + QStringLiteral(" · ") + attribution;
    QJsonObject tiles{
        { QStringLiteral("url"), server.urlTemplate },
        { QStringLiteral("attribution"), attribution.toHtmlEscaped() },
    };
    if (offline)
        tiles.insert(QStringLiteral("offline"), OfflineTiles::urlTemplate());
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
    setUp();
}

MapWebProfile::MapWebProfile(const QString &cacheFolder, qint64 cacheBytes, QObject *parent)
    : QWebEngineProfile(QStringLiteral("map"), parent)
{
    setCachePath(cacheFolder);
    setPersistentStoragePath(cacheFolder + QStringLiteral("/storage"));
    setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    setHttpCacheMaximumSize(int(std::min<qint64>(cacheBytes, std::numeric_limits<int>::max())));
    setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    setUp();
}

MapWebProfile *MapWebProfile::withDiskCache(QObject *parent, QString *problem)
{
    const QString folder = ProgramPaths::mapCacheFolder();
    if (QDir().mkpath(folder) && QFileInfo(folder).isWritable())
        return new MapWebProfile(folder, mapCacheBytes(), parent);
    if (problem)
        *problem = tr("Map tiles are not kept between runs: %1 cannot be written.")
                           .arg(QDir::toNativeSeparators(folder));
    return new MapWebProfile(parent);
}

void MapWebProfile::setUp()
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
    offlineError.clear();
    if (offline) {
        removeUrlSchemeHandler(offline);
        delete std::exchange(offline, nullptr);
    }
    if (!server.offlineFile.isEmpty()) {
        offline = new OfflineTiles(this);
        if (offline->open(server.offlineFile)) {
            installUrlSchemeHandler(OfflineTiles::scheme(), offline);
        } else {
            offlineError = tr("Offline map not used: %1").arg(offline->problem());
            delete std::exchange(offline, nullptr);
        }
    }
    setPageScript(kConfigScriptName, configScript(server, offline));
}

void MapWebProfile::setRouteBounds(const QList<double> &southWestNorthEast)
{
    QStringList numbers;
    for (const double degrees : southWestNorthEast)
        numbers << QString::number(degrees, 'f', 6);
    setPageScript(kRouteScriptName, QStringLiteral("window.velmoraRouteBounds = %1;")
                                             .arg(numbers.size() == 4 ? QLatin1Char('[') + numbers.join(QLatin1Char(','))
                                                          + QLatin1Char(']')
                                                                      : QStringLiteral("null")));
}

void MapWebProfile::setPageScript(const QString &name, const QString &source)
{
    QWebEngineScriptCollection *pageScripts = scripts();
    const QList<QWebEngineScript> previous = pageScripts->find(name);
    for (const QWebEngineScript &script : previous)
        pageScripts->remove(script);
    pageScripts->insert(pageScript(name, source));
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


