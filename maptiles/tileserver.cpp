#include "maptiles/tileserver.h"

#include "library/programpaths.h"

#include <QRegularExpression>
#include <QSettings>
#include <QUrl>

namespace {

const QString kTemplateKey = QStringLiteral("map/tileServer");
const QString kAttributionKey = QStringLiteral("map/tileAttribution");
const QString kRefererKey = QStringLiteral("map/tileReferer");
const QString kOfflineKey = QStringLiteral("map/offlineMap");
const QString kSubdomain = QStringLiteral("{s}");

// QUrl percent-encodes the braces of the template's host; the placeholders
// are put back to be matched.
QUrl templateUrl(const QString &urlTemplate)
{
    return QUrl(QString(urlTemplate).replace(kSubdomain, QStringLiteral("subdomain-placeholder")));
}

} // namespace

TileServer TileServer::openStreetMap()
{
    return { QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"),
             QStringLiteral("© OpenStreetMap contributors"), {}, {} };
}

TileServer TileServer::fromSettings()
{
    const QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    TileServer server{ settings.value(kTemplateKey).toString(), settings.value(kAttributionKey).toString(),
                       settings.value(kRefererKey).toString().toLatin1(), {} };
    if (!server.isValid())
        server = openStreetMap();
    server.offlineFile = settings.value(kOfflineKey).toString();
    return server;
}

std::optional<TileServer> TileServer::withTemplate(const QString &otherTemplate) const
{
    // Whose tiles they are is not known: the host at least is named.
    TileServer other{ otherTemplate, QStringLiteral("Map tiles: %1")
                              .arg(templateUrl(otherTemplate).host().remove(QStringLiteral("subdomain-placeholder."))), {},
                      offlineFile };
    return other.isValid() ? std::optional<TileServer>(other) : std::nullopt;
}

bool TileServer::isValid() const
{
    const QUrl url = templateUrl(urlTemplate);
    const bool web = url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http");
    return url.isValid() && web && !url.host().isEmpty()
            && urlTemplate.contains(QLatin1String("{z}")) && urlTemplate.contains(QLatin1String("{x}"))
            && urlTemplate.contains(QLatin1String("{y}"));
}

bool TileServer::serves(const QUrl &url) const
{
    const QUrl server = templateUrl(urlTemplate);
    if (!isValid() || url.scheme() != server.scheme()
        || url.port(url.scheme() == QLatin1String("https") ? 443 : 80)
                != server.port(server.scheme() == QLatin1String("https") ? 443 : 80))
        return false;
    // {s} stands for one label, as a.tile... b.tile... do.
    const QString host = QRegularExpression::escape(server.host())
                                 .replace(QStringLiteral("subdomain\\-placeholder"),
                                          QStringLiteral("[a-z0-9-]+"));
    return QRegularExpression(QRegularExpression::anchoredPattern(host)).match(url.host()).hasMatch();
}
