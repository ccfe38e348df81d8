// The transport controls: play/pause, stop, previous, next and snapshot.

#include "app/velmora.h"

#include "catalogue/gpslogdata.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "export/captionedsnapshot.h"
#include "library/librarykeeper.h"
#include "playback/displaytexts.h"
#include "playback/mappages.h"
#include "playback/playbackrate.h"
#include "playback/uvlcwrapper.h"
#include "trips/triptimeline.h"
#include "widgets/flashlabel.h"
#include "widgets/noticebar.h"
#include "widgets/udoubleclickedwidget.h"
#include "widgets/uspeedmeter.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// Each rule names the face the button has just left, so none of them applies;
// setting them only re-polishes the button, and the application style sheet's
// rules for the new object name give it its face.
const char *const kLeftPlayFaceRules =
        "#VideoPlay          {border-image:url(:/images/Video_Play.png); border-radius: 8px;}"
        "#VideoPlay:hover    {border-image:url(:/images/Video_Play_Hover.png);}"
        "#VideoPlay:pressed  {border-image:url(:/images/Video_Play_Pressed.png);}";
const char *const kLeftPauseFaceRules =
        "#VideoPause         {border-image:url(:/images/Video_Pause.png); border-radius: 8px;}"
        "#VideoPause:hover   {border-image:url(:/images/Video_Pause_Hover.png);}"
        "#VideoPause:pressed {border-image:url(:/images/Video_Pause_Pressed.png);}";

} // namespace

void Velmora::SwitchPlaybuttonAndPausebutton()
{
    if (playButtonState == 1) {
        videoPlay->setObjectName(QStringLiteral("VideoPause"));
        videoPlay->setStyleSheet(QLatin1String(kLeftPlayFaceRules));
        playButtonState = 0;
    } else {
        videoPlay->setObjectName(QStringLiteral("VideoPlay"));
        videoPlay->setStyleSheet(QLatin1String(kLeftPauseFaceRules));
        playButtonState = 1;
    }
    runMapScript(setLocationScript());
}

// The play button and Space: with nothing to play nothing changes, not even
// the button's face.
void Velmora::playPauseClicked()
{
    const int index = player->GetIndex();
    if (index < 0 || index >= catalogue->GetVideoCount())
        return;
    SwitchPlaybuttonAndPausebutton();
    PauseButtonPlay();
}

// A recording that has ended plays again.
void Velmora::PauseButtonPlay()
{
    const UVlcWrapper::State state = player->state();
    if (state != UVlcWrapper::State::Error && state != UVlcWrapper::State::Ended)
        player->Pause();
    else if (trip)
        playClip(player->GetIndex());
    else
        LoadMapToPlay(player->GetIndex());
}

void Velmora::ClearGUI()
{
    carPositionNumber->setText(QString());
    videoTime->setText(emptyTimeLabelText());
    videoTimeSlider->setValue(0);
    resetSpeedMeter();
    videoName->setText(QString());
    videoTime->setText(emptyTimeLabelText());
    playButtonState = 0;
    SwitchPlaybuttonAndPausebutton();
    pathDrawn = 0;
    // A slow map page would otherwise bring up the no-connection page later,
    // and that page starts the recording that was just stopped.
    notConnectedTimer->stop();
    // The drive's page goes with it: play starts the recording on its own.
    trip.reset();
    showMapPage(MapPage::Start);
    // Painted after the stop that follows, the splash replaces the last frame.
    videoWindow->update();
}

// Within a trip, its clips; at either end of it nothing more.
void Velmora::PlayNext()
{
    const int index = player->GetIndex();
    if (trip)
        playClip(nextClipIndex());
    else if (index < catalogue->GetVideoCount() - 1)
        playAndShowPage(index + 1);
}

void Velmora::PlayPrevious()
{
    const int index = player->GetIndex();
    if (trip)
        playClip(previousClipIndex());
    else if (index > 0)
        playAndShowPage(index - 1);
}

// The caption is of the moment the key is pressed: the player writes the
// picture of that moment.
void Velmora::takeShot()
{
    const int index = player->GetIndex();
    const qint64 playTimeMs = player->GetPlayTime();
    const GpsLogRecord record = gpsLog->GetRecord(logSecondAt(playTimeMs));
    captioner->expect(snapshotCaption(record, catalogue->gpsRating(index) != GpsFileNotExist,
                                      catalogue->GetVideoPath(index), playTimeMs, captioner->style()));
    player->takeShot();
}

void Velmora::showSnapshotSaved(const QString &path, const QString &, const QString &error)
{
    const QString where = QDir::toNativeSeparators(path);
    notice->showNotice(error.isEmpty() ? tr("Snapshot saved, with a captioned copy: %1").arg(where)
                                       : tr("Snapshot saved: %1; no captioned copy: %2").arg(where, error));
}

void Velmora::showSnapshotFailed(const QString &why)
{
    notice->showNotice(tr("Snapshot not saved: %1").arg(why));
}

void Velmora::playAndShowPage(int index)
{
    pathDrawn = 0;
    LoadMapToPlay(index);
    followPlayerToItsPage();
}

// The player seeks by fraction of the length only, so the step is rounded to
// a thousandth of the recording.
void Velmora::seekBy(qint64 ms)
{
    const qint64 length = player->GetMediaLength();
    if (length <= 0)
        return;
    const qint64 target = qBound<qint64>(0, player->GetPlayTime() + ms, length);
    seekTo(int(target * kTimeSliderEnd / length));
}

// A click on the groove or a drag of the time slider.
void Velmora::timeSliderMoved(int action)
{
    if (action != QAbstractSlider::SliderNoAction)
        seekTo(videoTimeSlider->sliderPosition());
}

// While paused no tick follows the picture, so the display follows the seek.
void Velmora::seekTo(int thousandths)
{
    const UVlcWrapper::State state = player->state();
    if (state != UVlcWrapper::State::Playing && state != UVlcWrapper::State::Paused)
        return;
    player->SetPosition(thousandths);
    if (state == UVlcWrapper::State::Paused)
        showPosition(player->GetMediaLength() * thousandths / kTimeSliderEnd);
}

// As if the volume slider had been moved; the slider tells the player.
void Velmora::changeVolumeBy(int step)
{
    videoVolumnSlider->setValue(videoVolumnSlider->value() + step);
}

// Said over the video only when it changes: the keys at either end do nothing.
void Velmora::changeRate(double rate)
{
    if (qFuzzyCompare(rate, player->rate()))
        return;
    player->setRate(rate);
    flash->flash(PlaybackRate::overlayText(rate));
}

// While paused no tick follows the picture, so the display follows the step.
void Velmora::stepFrame()
{
    if (player->state() != UVlcWrapper::State::Paused)
        return;
    player->nextFrame();
    showPosition(player->GetPlayTime());
}

// One offset for every clip of a drive: they come from one camera and one
// receiver, whose clocks differ by the same seconds all along.
void Velmora::changeClockOffset(int delta)
{
    const int index = player->GetIndex();
    const UVlcWrapper::State state = player->state();
    if (state != UVlcWrapper::State::Playing && state != UVlcWrapper::State::Paused)
        return;
    const int seconds = qBound(-kMostClockOffsetSeconds, clockOffset() + delta, kMostClockOffsetSeconds);
    QList<int> indices{ index };
    for (int position = 0; trip && position < trip->clipCount(); ++position)
        indices << trip->clip(position).index;
    keeper->setClockOffset(indices, seconds);
    flash->flash(clockOffsetOverlayText(seconds));
    if (state == UVlcWrapper::State::Paused)
        showPosition(player->GetPlayTime());
}

int Velmora::clockOffset() const
{
    return keeper->clockOffset(player->GetIndex());
}

void Velmora::UpdateTimeLabel()
{
    videoTime->setText(timeLabelText(player->GetPlayTime(), player->GetMediaLength()));
}

void Velmora::resetSpeedMeter()
{
    double x[USpeedMeter::kSamples] = {};
    double y[USpeedMeter::kSamples] = {};
    double z[USpeedMeter::kSamples] = {};
    carSpeedMeter->SetCarSpeed(0, x, y, z);
}

// Results are not needed, and calls to functions a page lacks do no harm.
// An empty script is a point without a position: nothing to send.
void Velmora::runMapScript(const QString &script)
{
    if (!script.isEmpty())
        googleMap->page()->runJavaScript(script);
}
