// The 250 ms cycle that keeps the display in step with the video and its log.

#include "app/velmora.h"

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "library/usersettings.h"
#include "playback/displaytexts.h"
#include "playback/mappages.h"
#include "playback/uvlcwrapper.h"
#include "trips/triptimeline.h"
#include "widgets/noticebar.h"
#include "widgets/udoubleclickedwidget.h"
#include "widgets/uspeedmeter.h"

#include <QFileInfo>
#include <QLabel>
#include <QLoggingCategory>
#include <QSlider>

namespace {

Q_LOGGING_CATEGORY(lcUpdateCycle, "velmora.updatecycle", QtWarningMsg)

// The graph shows the current second in the middle of its window.
constexpr int kGraphCentre = 10;

} // namespace

// Each tick follows the playing video; changes of state come from the player
// (playerStateChanged). On X11 the player's own window takes no input (see
// bindVideoOutput), so nothing needs disabling here for double clicks to
// reach the video surface.
void Velmora::UpdateUIData()
{
    if (player->state() != UVlcWrapper::State::Playing)
        return;
    const qint64 playTimeMs = player->GetPlayTime();
    showPlaying(playTimeMs);
    prepareNextClip(playTimeMs);
    showMarks();
}

// Each change is handled once: the player may announce a state twice.
void Velmora::playerStateChanged(UVlcWrapper::State state)
{
    if (state == announcedState)
        return;
    announcedState = state;
    switch (state) {
    case UVlcWrapper::State::Stopped:
        showStopped();
        break;
    case UVlcWrapper::State::Ended:
        showEndedAndPlayNext();
        break;
    case UVlcWrapper::State::Error:
        // Also the answer once a stop has released the recording.
        if (player->currentPath().isEmpty())
            videoWindow->update();
        else
            showCannotPlay();
        break;
    case UVlcWrapper::State::Playing:
        recordingsFailedInARow = 0;
        showPlaying(player->GetPlayTime());
        break;
    case UVlcWrapper::State::Paused:
        // The paused picture's moment is known to the frame only now.
        showPosition(player->GetPlayTime());
        break;
    default:
        break;
    }
}

void Velmora::showStopped()
{
    videoTime->setText(emptyTimeLabelText());
    videoTimeSlider->setValue(0);
    pathDrawn = 0;
    resetSpeedMeter();
    carPositionNumber->setText(shortPositionLabelText(GpsLogRecord()));
    videoName->setText(QString());
    if (playButtonState != 1)
        SwitchPlaybuttonAndPausebutton();
    // The splash background replaces the last frame.
    videoWindow->update();
    qCDebug(lcUpdateCycle, "real stopped.");
}

void Velmora::showEndedAndPlayNext()
{
    videoTimeSlider->setValue(kTimeSliderEnd);
    if (playButtonState != 1)
        SwitchPlaybuttonAndPausebutton();
    // A drive keeps its route for the clips that follow.
    if (!trip)
        pathDrawn = 0;
    videoName->setText(QString());
    PlayNext();
    qCDebug(lcUpdateCycle, "real ended.");
}

void Velmora::showPlaying(qint64 playTimeMs)
{
    showPosition(playTimeMs);
    if (playButtonState != 0)
        SwitchPlaybuttonAndPausebutton();
}

// The one place where a moment of the video meets a record of the log.
int Velmora::logSecondAt(qint64 playTimeMs) const
{
    return tripOffset() + int(playTimeMs / kMsPerSecond) + clockOffset();
}

// Everything that follows the video's time: name, slider, time label, and
// what the log says for that second.
void Velmora::showPosition(qint64 playTimeMs)
{
    videoName->setText(catalogue->GetVideoFileName(player->GetIndex()));
    const qint64 length = player->GetMediaLength();
    // Without a length yet the slider stays where it was, and a held one is
    // the user's.
    if (length > 0 && !videoTimeSlider->isSliderDown())
        videoTimeSlider->setValue(int(playTimeMs * kTimeSliderEnd / length));
    videoTime->setText(timeLabelText(playTimeMs, length));
    const int second = logSecondAt(playTimeMs);
    // Without a connection only the map is missing: the meter, the graph and
    // the position need nothing but the log.
    if (shownMapPage() == MapPage::Map || shownMapPage() == MapPage::NoConnection)
        showSecondOnMap(second);
    else if (shownMapPage() == MapPage::NoGpsInfo)
        showSecondWithoutFixes(second);
}

// Said over the video, and the next recording is tried; after a whole round
// of recordings that would not play, the player rests.
void Velmora::showCannotPlay()
{
    const QString path = player->currentPath();
    const QFileInfo file(path);
    const QString why = !file.exists() ? tr("file not found")
            : file.size() == 0         ? tr("empty file")
                                       : tr("not a video");
    notice->showNotice(tr("Cannot play %1: %2").arg(file.fileName(), why));
    const int count = catalogue->GetVideoCount();
    // A trip goes on with its next clip, and rests at its end.
    const int next = trip ? nextClipIndex() : count > 0 ? (player->GetIndex() + 1) % count : -1;
    if (++recordingsFailedInARow >= count || next < 0) {
        recordingsFailedInARow = 0;
        ClearGUI();
        player->Stop();
        return;
    }
    if (trip)
        playClip(next);
    else
        playAndShowPage(next);
}

void Velmora::showSecondOnMap(int second)
{
    const GpsLogRecord current = gpsLog->GetRecord(second);
    const GpsLogRecord first = gpsLog->GetFirstAvailableRecord();
    const bool withMap = shownMapPage() == MapPage::Map;
    if (withMap && pathDrawn == 0)
        sendRoute(first);
    if (current.dataAvailable) {
        carPositionNumber->setText(positionLabelText(current));
        if (withMap)
            runMapScript(mapPointScript(QStringLiteral("setposition"), current));
    } else {
        carPositionNumber->setText(shortPositionLabelText(current));
        if (withMap)
            runMapScript(mapPointScript(QStringLiteral("setstart"), first));
    }
    showSpeedAndGraph(second, current.velocity);
}

void Velmora::showSecondWithoutFixes(int second)
{
    const GpsLogRecord current = gpsLog->GetRecord(second);
    showSpeedAndGraph(second, 0);
    carPositionNumber->setText(shortPositionLabelText(current));
}

// The nodes go as one script: the page runs each script as a separate
// request, and an hour's 3,600 requests kept it busy for half a minute.
void Velmora::sendRoute(const GpsLogRecord &first)
{
    runMapScript(mapPointScript(QStringLiteral("setstart"), first));
    runMapScript(QStringLiteral("clearPath()"));
    const qint64 lengthMs = trip ? trip->seconds() * kMsPerSecond : player->GetMediaLength();
    runMapScript(routeNodesScript(*gpsLog, lengthMs));
    runMapScript(hardEventsScript(*gpsLog, TripSettings::load().hardEventG));
    runMapScript(speedUnitScript(carSpeedMeter->speedUnit()));
    runMapScript(QStringLiteral("showPath()"));
    pathDrawn = 1;
}

// Seconds outside the log show as zeros.
void Velmora::showSpeedAndGraph(int second, double speed)
{
    double x[USpeedMeter::kSamples] = {};
    double y[USpeedMeter::kSamples] = {};
    double z[USpeedMeter::kSamples] = {};
    for (int k = 0; k < USpeedMeter::kSamples; ++k) {
        const qint64 j = qint64(second) + k - kGraphCentre;
        if (j < 0 || j > gpsLog->GetLastIndex())
            continue;
        const GpsLogRecord record = gpsLog->GetRecord(int(j));
        x[k] = record.x;
        y[k] = record.y;
        z[k] = record.z;
    }
    carSpeedMeter->SetCarSpeed(speed, x, y, z);
}
