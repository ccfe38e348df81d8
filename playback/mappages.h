#ifndef MAPPAGES_H
#define MAPPAGES_H

#include "library/programpaths.h"

#include <QString>
#include <QUrl>

// The map pages are files in images/ of the program's data folder, so that a
// packager or a test may replace them.
enum class MapPage { Start, Map, NoGpsFile, NoGpsInfo, NoConnection };

// What the map column shows (the window's status->mapState).
enum MapState {
    MapStateStart = 0,
    MapStateMap = 1,
    MapStateNoGpsFile = 2,
    MapStateNoGpsInfo = 3,
    MapStateNoConnection = 4,
};

// True only when the page has an #isonline element that is checked now: the
// map page checks it once its tile server has answered.
inline QString onlineCheckScript()
{
    return QStringLiteral("(function(){var e=document.querySelector('#isonline');"
                          "return !!(e&&e.checked===true);})()");
}

inline QString mapPageFileName(MapPage page)
{
    switch (page) {
    case MapPage::Start: return QStringLiteral("startupp.html");
    case MapPage::Map: return QStringLiteral("googlearth.html");
    case MapPage::NoGpsFile: return QStringLiteral("no_gps_file.html");
    case MapPage::NoGpsInfo: return QStringLiteral("no_gps_info.html");
    case MapPage::NoConnection: return QStringLiteral("no_connection.html");
    }
    return QString();
}

inline QUrl mapPageUrl(MapPage page)
{
    return QUrl::fromLocalFile(ProgramPaths::pageFile(mapPageFileName(page)));
}

#endif // MAPPAGES_H
