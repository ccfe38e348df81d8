#ifndef MAPPAGES_H
#define MAPPAGES_H

#include "library/programpaths.h"

#include <QString>
#include <QUrl>

// The map pages are files in images/ of the program's data folder, so that a
// packager or a test may replace them.
// What the map column shows; the window keeps it as a number in
// status->mapState.
enum class MapPage { Start = 0, Map = 1, NoGpsFile = 2, NoGpsInfo = 3, NoConnection = 4 };

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
