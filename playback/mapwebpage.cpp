#include "playback/mapwebpage.h"

#include "playback/mapwebprofile.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcMapPage, "velmora.mappage", QtWarningMsg)

} // namespace

MapWebPage::MapWebPage(MapWebProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
}

// A link, a script or a form would otherwise take the view to any address.
bool MapWebPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool)
{
    return MapWebProfile::isOwnPage(url) || url == QUrl(QStringLiteral("about:blank"));
}

void MapWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message,
                                          int lineNumber, const QString &sourceID)
{
    qCDebug(lcMapPage, "%s:%d: %s", qPrintable(sourceID), lineNumber, qPrintable(message));
}
