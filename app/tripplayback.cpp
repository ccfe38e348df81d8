// Playing a trip as one drive: the map page and route are the trip's, and its
// clips follow one another without reloading either.

#include "app/velmora.h"

#include "app/exportactions.h"

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "playback/mappages.h"
#include "playback/uvlcwrapper.h"
#include "trips/triptimeline.h"
#include "widgets/rangeband.h"

#include <QDir>

#include <algorithm>

namespace {

// The next clip is opened this long before the current one ends.
constexpr qint64 kPrepareAheadMs = 3000;

MapPage tripMapPage(const TripTimeline &timeline)
{
    const QList<GpsLogRecord> &records = timeline.records();
    if (std::any_of(records.cbegin(), records.cend(),
                    [](const GpsLogRecord &record) { return record.dataAvailable; }))
        return MapPage::Map;
    for (int position = 0; position < timeline.clipCount(); ++position) {
        if (!timeline.clip(position).logPath.isEmpty())
            return MapPage::NoGpsInfo;
    }
    return MapPage::NoGpsFile;
}

} // namespace

void Velmora::playTrip(const Trip &chosen, int position)
{
    auto timeline = std::make_unique<TripTimeline>(chosen);
    if (position < 0 || position >= timeline->clipCount())
        return;
    const int index = timeline->clip(position).index;
    if (index < 0 || index >= catalogue->GetVideoCount())
        return;
    trip = std::move(timeline);
    pathDrawn = 0;
    openRecording(index, tripMapPage(*trip));
    followPlayerToItsPage();
}

// The trip's second at which the playing clip starts; 0 outside a trip.
int Velmora::tripOffset() const
{
    return trip ? trip->offsetOf(trip->positionOf(player->GetIndex())) : 0;
}

// Clips deleted meanwhile are passed over; -1 at the end of the trip.
int Velmora::nextClipIndex() const
{
    const int position = trip->positionOf(player->GetIndex());
    for (int next = position + 1; position >= 0 && next < trip->clipCount(); ++next) {
        if (trip->clip(next).index >= 0)
            return trip->clip(next).index;
    }
    return -1;
}

int Velmora::previousClipIndex() const
{
    for (int previous = trip->positionOf(player->GetIndex()) - 1; previous >= 0; --previous) {
        if (trip->clip(previous).index >= 0)
            return trip->clip(previous).index;
    }
    return -1;
}

// Another clip of the playing trip, on the page and route already shown.
void Velmora::playClip(int index)
{
    if (index < 0 || index >= catalogue->GetVideoCount())
        return;
    announcedState = UVlcWrapper::State::NothingSpecial;
    player->SetIndex(index);
    player->PlayAtIndex();
    followPlayerToItsPage();
}

void Velmora::prepareNextClip(qint64 playTimeMs)
{
    if (!trip)
        return;
    const qint64 length = player->GetMediaLength();
    const int next = nextClipIndex();
    // As long before the end in the clock's time at any playback speed.
    if (next >= 0 && length > 0 && length - playTimeMs <= qint64(kPrepareAheadMs * player->rate()))
        player->prepareNext(next);
}

void Velmora::followPlayerToItsPage()
{
    const int index = player->GetIndex();
    if (index >= 0)
        status->currentPage = index / kRowsPerPage;
    ListTableUpdate();
}

// A moment chosen on the route: of the recording, or of the trip, in
// whichever clip holds it. The route counts the log's seconds; the video
// runs the clock offset behind them.
void Velmora::seekToRouteSecond(int routeSecond)
{
    if (routeSecond < 0 || (trip && routeSecond >= trip->seconds()))
        return;
    int second = std::max(0, routeSecond - clockOffset());
    if (trip)
        second = std::min(second, trip->seconds() - 1);
    const int position = trip ? trip->positionAtSecond(second) : 0;
    const int index = trip ? trip->clip(position).index : player->GetIndex();
    const qint64 ms = (second - (trip ? trip->offsetOf(position) : 0)) * kMsPerSecond;
    const UVlcWrapper::State state = player->state();
    if (index == player->GetIndex()
        && (state == UVlcWrapper::State::Playing || state == UVlcWrapper::State::Paused)) {
        player->seekToTime(ms);
        if (state == UVlcWrapper::State::Paused)
            showPosition(ms);
        return;
    }
    if (trip) {
        player->startNextAt(ms);
        playClip(index);
    }
}

// The clip of the trip that plays; 0 for a single recording.
int Velmora::playingClip() const
{
    return trip ? std::max(0, trip->positionOf(player->GetIndex())) : 0;
}

ExportSubject Velmora::exportSubject() const
{
    ExportSubject subject;
    const int index = player->GetIndex();
    const UVlcWrapper::State state = player->state();
    subject.loaded = index >= 0 && index < catalogue->GetVideoCount()
            && (state == UVlcWrapper::State::Playing || state == UVlcWrapper::State::Paused
                || state == UVlcWrapper::State::Ended);
    if (!subject.loaded)
        return subject;
    if (trip) {
        for (int position = 0; position < trip->clipCount(); ++position)
            subject.drive.clips << trip->clip(position);
    } else {
        TripClip clip;
        clip.index = index;
        clip.videoPath = catalogue->GetVideoPath(index);
        clip.logPath = QDir::fromNativeSeparators(catalogue->GetGpsFilePath(index));
        subject.drive.clips << clip;
    }
    subject.now = { playingClip(), std::max<qint64>(0, player->GetPlayTime()) };
    subject.clockOffsetSeconds = clockOffset();
    return subject;
}

void Velmora::showMarks()
{
    rangeBand->setSpan(exportActions->marks().spanOfClip(playingClip(), player->GetMediaLength()));
}
