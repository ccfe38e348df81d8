// The 250 ms cycle that keeps the display in step with the video and its log.

#include "app/velmora.h"

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "playback/displaytexts.h"
#include "playback/mappages.h"
#include "playback/uvlcwrapper.h"
#include "widgets/udoubleclickedwidget.h"
#include "widgets/uspeedmeter.h"

#include <QLabel>
#include <QLoggingCategory>
#include <QSlider>
#include <QStringList>

namespace {

Q_LOGGING_CATEGORY(lcUpdateCycle, "velmora.updatecycle", QtWarningMsg)

constexpr qint64 kMsPerSecond = 1000;
// The graph shows the current second in the middle of its window.
constexpr int kGraphCentre = 10;

} // namespace

// The media state alone decides each tick; the timer never stops.
// On X11 the player's own window takes no input (see bindVideoOutput), so
// nothing needs disabling here for double clicks to reach the video surface.
void Velmora::UpdateUIData()
{
    switch (player->GetState()) {
    case UVlcWrapper::Stopped:
        if (!stoppedHandled) {
            stoppedHandled = true;
            showStopped();
        }
        break;
    case UVlcWrapper::Ended:
        if (!endedHandled) {
            endedHandled = true;
            showEndedAndPlayNext();
        }
        break;
    case UVlcWrapper::Playing:
        endedHandled = false;
        stoppedHandled = false;
        showPlaying();
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
    pathDrawn = 0;
    videoName->setText(QString());
    PlayNext();
    qCDebug(lcUpdateCycle, "real ended.");
}

void Velmora::showPlaying()
{
    videoName->setText(catalogue->GetVideoFileName(player->GetIndex()));
    const qint64 length = player->GetMediaLength();
    // Without a length yet, the slider stays where it was.
    if (length > 0)
        videoTimeSlider->setValue(int(player->GetPlayTime() * kTimeSliderEnd / length));
    UpdateTimeLabel();
    const int second = int(player->GetPlayTime() / kMsPerSecond);
    if (status->mapState == MapStateMap)
        showSecondOnMap(second);
    else if (status->mapState == MapStateNoGpsInfo)
        showSecondWithoutFixes(second);
    if (playButtonState != 0)
        SwitchPlaybuttonAndPausebutton();
}

void Velmora::showSecondOnMap(int second)
{
    const GpsLogRecord current = gpsLog->GetRecord(second);
    const GpsLogRecord first = gpsLog->GetFirstAvailableRecord();
    if (pathDrawn == 0)
        sendRoute(first);
    if (current.dataAvailable) {
        carPositionNumber->setText(positionLabelText(current));
        runMapScript(mapPointScript(QStringLiteral("setposition"), current));
    } else {
        carPositionNumber->setText(shortPositionLabelText(current));
        runMapScript(mapPointScript(QStringLiteral("setstart"), first));
    }
    showSpeedAndGraph(current.velocity);
}

void Velmora::showSecondWithoutFixes(int second)
{
    const GpsLogRecord current = gpsLog->GetRecord(second);
    showSpeedAndGraph(0);
    carPositionNumber->setText(shortPositionLabelText(current));
}

// One node per second of video with a fix. Seconds past the log would only
// repeat its last record, which draws nothing new: the route stops with the
// log, however long the video claims to be. The nodes go as one script: the
// page runs each script as a separate request, and an hour's 3,600 requests
// kept it busy for half a minute.
void Velmora::sendRoute(const GpsLogRecord &first)
{
    runMapScript(mapPointScript(QStringLiteral("setstart"), first));
    runMapScript(QStringLiteral("clearPath()"));
    QStringList nodes;
    const qint64 seconds = qMin<qint64>(player->GetMediaLength() / kMsPerSecond,
                                        gpsLog->GetLastIndex() + 1);
    for (qint64 i = 0; i < seconds; ++i) {
        const GpsLogRecord record = gpsLog->GetRecord(int(i));
        if (!record.dataAvailable)
            continue;
        // A fix without a position gives no node: one node the page cannot
        // parse would lose the whole route.
        const QString node = mapPointScript(QStringLiteral("appendPathNode"), record);
        if (!node.isEmpty())
            nodes << node;
    }
    if (!nodes.isEmpty())
        runMapScript(nodes.join(QLatin1Char(';')));
    runMapScript(QStringLiteral("showPath()"));
    pathDrawn = 1;
}

// Seconds outside the log show as zeros.
void Velmora::showSpeedAndGraph(double speed)
{
    double x[USpeedMeter::kSamples] = {};
    double y[USpeedMeter::kSamples] = {};
    double z[USpeedMeter::kSamples] = {};
    for (int k = 0; k < USpeedMeter::kSamples; ++k) {
        const qint64 j = player->GetPlayTime() / kMsPerSecond + k - kGraphCentre;
        if (j < 0 || j > gpsLog->GetLastIndex())
            continue;
        const GpsLogRecord record = gpsLog->GetRecord(int(j));
        x[k] = record.x;
        y[k] = record.y;
        z[k] = record.z;
    }
    carSpeedMeter->SetCarSpeed(speed, x, y, z);
}
