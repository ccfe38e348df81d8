// Choosing and loading the map page that suits a recording, then starting it.

#include "app/velmora.h"

#include "app/exportactions.h"

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "playback/displaytexts.h"
#include "playback/mappages.h"
#include "playback/mapwebprofile.h"
#include "playback/uvlcwrapper.h"
#include "trips/triptimeline.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr int kTickMs = 250;
constexpr int kNoConnectionMs = 12000;

} // namespace

void Velmora::LoadMapToPlay(int Index)
{
    if (Index < 0 || Index >= catalogue->GetVideoCount())
        return;
    trip.reset();
    const GpsFileState rating = catalogue->gpsRating(Index);
    openRecording(Index, rating == GpsFileAvailable ? MapPage::Map
                          : rating == GpsFileNotExist ? MapPage::NoGpsFile
                                                      : MapPage::NoGpsInfo);
}

void Velmora::openRecording(int index, MapPage page)
{
    player->Stop();
    player->SetIndex(index);
    exportActions->forgetMarks();
    gpsPlaybackStarted = false;
    gpsLog->ClearGpsLog();
    if (trip)
        gpsLog->records = trip->records();
    else
        gpsLog->LoadGpsLog(catalogue->GetGpsFilePath(index));
    // The map page loads the tiles of the route before it says whether it
    // has its map.
    mapProfile->setRouteBounds(routeBounds(*gpsLog));
    showMapPage(page);
    if (page == MapPage::Map) {
        notConnectedTimer->start(kNoConnectionMs);
    } else {
        // A notice needs nothing from its page: the recording starts at once,
        // also when the page cannot be loaded.
        startRecording();
    }
}

// Only the map page holds the recording back, until it knows whether its
// tiles can be had.
void Velmora::LoadedToPaly(bool OK)
{
    if (!OK)
        return;
    if (shownMapPage() == MapPage::Map) {
        notConnectedTimer->stop();
        if (!gpsPlaybackStarted)
            checkOnlineThenStart();
    }
}

void Velmora::NotConnectedTimerHandler()
{
    notConnectedTimer->stop();
    showMapPage(MapPage::NoConnection);
    startRecording();
}

MapPage Velmora::shownMapPage() const
{
    return MapPage(status->mapState);
}

void Velmora::showMapPage(MapPage page)
{
    status->mapState = int(page);
    loadMapPage(page);
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
        notConnectedTimer->stop();
        showMapPage(MapPage::NoConnection);
    }
    startRecording();
}

// Once per recording asked for, whichever page starts it first.
void Velmora::startRecording()
{
    const int index = player->GetIndex();
    if (gpsPlaybackStarted || index < 0 || index >= catalogue->GetVideoCount())
        return;
    gpsPlaybackStarted = true;
    announcedState = UVlcWrapper::State::NothingSpecial;
    player->PlayAtIndex();
    updateTimer->stop();
    updateTimer->start(kTickMs);
}
