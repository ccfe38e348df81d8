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
// The map page speaks to the player by asking for velmora:seek/<second>,
// which goes nowhere.
bool MapWebPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool)
{
    if (url.scheme() == QLatin1String("velmora")) {
        const QString path = url.path();
        bool number = false;
        const int second = path.startsWith(QLatin1String("seek/")) ? path.mid(5).toInt(&number) : -1;
        if (number && second >= 0)
            emit routeClicked(second);
        return false;
    }
    return MapWebProfile::isOwnPage(url) || url == QUrl(QStringLiteral("about:blank"));
}

void MapWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message,
                                          int lineNumber, const QString &sourceID)
{
    qCDebug(lcMapPage, "%s:%d: %s", qPrintable(sourceID), lineNumber, qPrintable(message));
}
