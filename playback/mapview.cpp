// Choosing and loading the map page that suits a recording, then starting it.

#include "app/velmora.h"

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "playback/mappages.h"
#include "playback/uvlcwrapper.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr int kTickMs = 250;
constexpr int kNoConnectionMs = 12000;

bool hasState(const QString &state, GpsFileState expected)
{
    return state == QLatin1String(gpsFileStateText(expected));
}

} // namespace

void Velmora::LoadMapToPlay(int Index)
{
    if (Index < 0 || Index >= catalogue->GetVideoCount())
        return;
    player->Stop();
    player->SetIndex(Index);

    const QString gpsState = catalogue->GetGpsFileState(Index);
    if (hasState(gpsState, GpsFileAvailable)) {
        gpsPlaybackStarted = false;
        status->mapState = MapStateMap;
        loadMapPage(MapPage::Map);
        notConnectedTimer->start(kNoConnectionMs);
    } else if (hasState(gpsState, GpsFileNotExist)) {
        status->mapState = MapStateNoGpsFile;
        loadMapPage(MapPage::NoGpsFile);
    } else {
        status->mapState = MapStateNoGpsInfo;
        loadMapPage(MapPage::NoGpsInfo);
    }
}

void Velmora::LoadedToPaly(bool OK)
{
    if (!OK)
        return;
    notConnectedTimer->stop();
    switch (status->mapState) {
    case MapStateMap:
        if (!gpsPlaybackStarted)
            checkOnlineThenStart();
        break;
    case MapStateNoGpsFile:
    case MapStateNoGpsInfo:
    case MapStateNoConnection:
        startRecording();
        break;
    default:
        break;
    }
}

void Velmora::NotConnectedTimerHandler()
{
    status->mapState = MapStateNoConnection;
    loadMapPage(MapPage::NoConnection);
}

// Every page load goes through here, so that a pending online check can tell
// that it has been overtaken.
void Velmora::loadMapPage(MapPage page)
{
    googleMap->stop();
    ++*mapPageRequests;
    googleMap->setUrl(mapPageUrl(page));
}

// The page answers asynchronously; by then another page may have been asked
// for, and the answer then belongs to a page that is gone.
void Velmora::checkOnlineThenStart()
{
    const std::weak_ptr<quint64> requests = mapPageRequests;
    const quint64 askedAt = *mapPageRequests;
    const auto answered = [this, requests, askedAt](const QVariant &online) {
        const auto current = requests.lock();
        if (current && *current == askedAt)
            onlineCheckAnswered(online.toBool());
    };
    googleMap->page()->runJavaScript(onlineCheckScript(), answered);
}

void Velmora::onlineCheckAnswered(bool online)
{
    if (!online) {
        updateTimer->stop();
        status->mapState = MapStateNoConnection;
        loadMapPage(MapPage::NoConnection);
        return;
    }
    // A reload of the same page may have asked twice before the first answer.
    if (gpsPlaybackStarted)
        return;
    const int index = player->GetIndex();
    if (index < 0 || index >= catalogue->GetVideoCount())
        return;
    startRecording();
    gpsPlaybackStarted = true;
}

void Velmora::startRecording()
{
    gpsLog->ClearGpsLog();
    gpsLog->LoadGpsLog(catalogue->GetGpsFilePath(player->GetIndex()));
    player->PlayAtIndex();
    updateTimer->stop();
    updateTimer->start(kTickMs);
}
