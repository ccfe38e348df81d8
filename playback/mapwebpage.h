#ifndef MAPWEBPAGE_H
#define MAPWEBPAGE_H

#include <QWebEnginePage>

class MapWebProfile;

// The page in the map view: it stays on the program's own pages, and what
// their scripts print goes to the program's log category, silent unless asked.
class MapWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    MapWebPage(MapWebProfile *profile, QObject *parent = nullptr);

signals:
    // The user clicked the route at the player's `second`.
    void routeClicked(int second);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                  int lineNumber, const QString &sourceID) override;
};

#endif // MAPWEBPAGE_H
