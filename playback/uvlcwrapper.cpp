#include "playback/uvlcwrapper.h"

#include "library/programpaths.h"
#include "playback/videooutput.h"
#include "widgets/stillpicture.h"
#include "widgets/videosurface.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPixmap>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <QWidget>

#include <vlc/vlc.h>

#include <algorithm>
#include <chrono>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

Q_LOGGING_CATEGORY(lcPlayer, "velmora.player", QtWarningMsg)

// libvlc 3 has no --plugin-path; a plugins folder beside the executable (never
// one in the working directory) is announced through the environment before
// the instance is made.
void addProgramPluginFolder()
{
    const QString plugins = ProgramPaths::pluginFolder();
    if (plugins.isEmpty())
        return;
    QByteArray path = QFile::encodeName(plugins);
    const QByteArray existing = qgetenv("VLC_PLUGIN_PATH");
    if (!existing.isEmpty())
        path += ':' + existing;
    qputenv("VLC_PLUGIN_PATH", path);
}

// FILE0003_00-01-12.480.png: the recording and the moment of its video.
QString snapshotFileName(const QString &videoPath, qint64 playTimeMs)
{
    const QTime moment = QTime(0, 0).addMSecs(qMax<qint64>(0, playTimeMs));
    return QFileInfo(videoPath).completeBaseName() + QLatin1Char('_')
            + moment.toString(QStringLiteral("HH-mm-ss.zzz")) + QStringLiteral(".png");
}

} // namespace

UVlcWrapper::UVlcWrapper(QObject *parent)
    : QObject(parent), playlist(std::make_unique<QStringList>()), warmStart(new QTimer(this)),
      holdAfterPause(new QTimer(this)), revealVideo(new QTimer(this))
{
    warmStart->setSingleShot(true);
    warmStart->setTimerType(Qt::PreciseTimer);
    connect(warmStart, &QTimer::timeout, this, &UVlcWrapper::startPreparedUnseen);
    holdAfterPause->setSingleShot(true);
    holdAfterPause->setInterval(kHoldAfterPauseMs);
    connect(holdAfterPause, &QTimer::timeout, this, &UVlcWrapper::holdPausedPicture);
    revealVideo->setSingleShot(true);
    revealVideo->setInterval(kRevealMs);
    connect(revealVideo, &QTimer::timeout, this, [this] {
        if (still)
            still->hide();
    });
    addProgramPluginFolder();
    const char *const arguments[] = {
        "-I", "dummy", "--ignore-config",
        // Keep the picture clean: no file name at start or after a snapshot, no
        // snapshot thumbnail.
        "--no-video-title-show", "--no-snapshot-preview", "--no-osd", "--quiet",
        // Recordings are local files: a short read-ahead is enough, and two
        // decoding threads keep 1080p in real time on two cores while holding
        // fewer pictures in flight than one thread a core and a spare would.
        "--file-caching=300", "--avcodec-threads=2",
        // OpenGL through GLX, as Qt's own: Mesa's EGL set-up, libvlc's first
        // choice on X11, crashed when a stop came while it ran.
        "--gl=glx",
    };
    vlcInstance = libvlc_new(std::size(arguments), arguments);
    mediaPlayer = vlcInstance ? libvlc_media_player_new(vlcInstance) : nullptr;
    attachEvents(mediaPlayer, true);
}

namespace {

// For the play clock: libvlc reports its time on its own threads.
qint64 steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr libvlc_event_e kStateEvents[] = {
    libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,    libvlc_MediaPlayerPaused,
    libvlc_MediaPlayerStopped, libvlc_MediaPlayerEndReached, libvlc_MediaPlayerEncounteredError,
};

} // namespace

void UVlcWrapper::attachEvents(libvlc_media_player_t *player, bool attach)
{
    if (!player)
        return;
    libvlc_event_manager_t *events = libvlc_media_player_event_manager(player);
    const auto change = [&](libvlc_event_e type, libvlc_callback_t callback) {
        if (attach)
            libvlc_event_attach(events, type, callback, this);
        else
            libvlc_event_detach(events, type, callback, this);
    };
    change(libvlc_MediaPlayerSnapshotTaken, &UVlcWrapper::onSnapshotTaken);
    change(libvlc_MediaPlayerTimeChanged, &UVlcWrapper::onTimeChanged);
    for (const libvlc_event_e type : kStateEvents)
        change(type, &UVlcWrapper::onStateEvent);
}

// On one of libvlc's threads; the state is read again on ours, so that an
// announcement never describes a media that has gone meanwhile.
void UVlcWrapper::onStateEvent(const libvlc_event_t *event, void *wrapper)
{
    auto *self = static_cast<UVlcWrapper *>(wrapper);
    auto *from = static_cast<libvlc_media_player_t *>(event->p_obj);
    QMetaObject::invokeMethod(self, [self, from] { self->stateEvent(from); }, Qt::QueuedConnection);
}

// The moment of the report is taken here: the queue to the wrapper's thread
// would add its own delay to the clock.
void UVlcWrapper::onTimeChanged(const libvlc_event_t *event, void *wrapper)
{
    auto *self = static_cast<UVlcWrapper *>(wrapper);
    auto *from = static_cast<libvlc_media_player_t *>(event->p_obj);
    const qint64 ms = event->u.media_player_time_changed.new_time;
    const qint64 at = steadyMs();
    QMetaObject::invokeMethod(self, [self, from, ms, at] {
        if (from == self->mediaPlayer)
            self->clock.reported(ms, at);
    }, Qt::QueuedConnection);
}

// Only the current player speaks for the wrapper: a prepared one opens and
// pauses unheard, and one that has handed over is gone for the window.
void UVlcWrapper::stateEvent(libvlc_media_player_t *from)
{
    if (from == nextPlayer && State(libvlc_media_get_state(nextMedia)) == State::Paused)
        scheduleWarmStart();
    if (from != mediaPlayer)
        return;
    const State now = state();
    // A pause or play that did not come through Pause() still sets the clock.
    if ((now == State::Playing || now == State::Paused) && clock.isRunning() != (now == State::Playing))
        clock.setRunning(now == State::Playing, libvlc_media_player_get_time(mediaPlayer), steadyMs(), playRate);
    if (now == State::Paused)
        holdAfterPause->start();
    else
        releasePausedPicture();
    if (now == State::Ended && continueWithPrepared())
        return;
    if (now == State::Playing)
        applyVolume();
    if (awaited && (now == State::Playing || now == State::Paused) && now != *awaited)
        return;
    awaited.reset();
    emit stateChanged(now);
}

// On one of libvlc's threads: the picture is written, back to ours to say so.
// A wrapper gone meanwhile takes the queued call with it.
void UVlcWrapper::onSnapshotTaken(const libvlc_event_t *event, void *wrapper)
{
    auto *self = static_cast<UVlcWrapper *>(wrapper);
    const QString path = QString::fromUtf8(event->u.media_player_snapshot_taken.psz_filename);
    QMetaObject::invokeMethod(self, [self, path] { emit self->snapshotSaved(path); },
                              Qt::QueuedConnection);
}

UVlcWrapper::~UVlcWrapper()
{
    dropPrepared();
    retiring.clear(); // each waits for its player
    if (stopping.valid())
        stopping.wait();
    if (mediaPlayer) {
        attachEvents(mediaPlayer, false);
        libvlc_media_player_stop(mediaPlayer);
        libvlc_media_player_release(mediaPlayer);
    }
    if (currentMedia)
        libvlc_media_release(currentMedia);
    if (vlcInstance)
        libvlc_release(vlcInstance);
    // The video area may outlive the wrapper, and must not keep its pictures.
    for (VideoSurface *each : surfaces)
        delete each;
    delete still;
}

// The native window is asked for only when a video starts: creating it while
// the main window is being built would fix the top-level window's surface
// before the map view has claimed OpenGL for it, and Qt may re-create native
// windows later, so the binding is renewed on every start.
void UVlcWrapper::SetVideoWindow(QWidget *widget)
{
    // A native video surface would otherwise make its siblings native too,
    // and those cannot paint inside the window that the map view draws with
    // OpenGL.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    videoWindow = widget;
    if (!widget)
        return;
    for (QPointer<VideoSurface> &each : surfaces) {
        each = new VideoSurface(widget);
        each->setGeometry(widget->rect());
    }
    still = new StillPicture(widget);
    widget->installEventFilter(this);
}

// The surfaces cover the video area at every size.
bool UVlcWrapper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == videoWindow && event->type() == QEvent::Resize) {
        // The still has the old size: the video draws the new one.
        releasePausedPicture();
        for (VideoSurface *each : surfaces) {
            if (each)
                each->setGeometry(videoWindow->rect());
        }
        if (still)
            still->setGeometry(videoWindow->rect());
        if (state() == State::Paused)
            holdAfterPause->start();
    }
    return QObject::eventFilter(watched, event);
}

VideoSurface *UVlcWrapper::surface(int which) const
{
    return surfaces[std::size_t(which)];
}

void UVlcWrapper::bindVideoWindow()
{
    VideoSurface *shown = surface(currentSurface);
    if (!shown)
        return;
    bindVideoOutput(mediaPlayer, shown->winId());
    shown->show();
    shown->raise();
}

bool UVlcWrapper::isValidIndex(int index) const
{
    return index >= 0 && index < playlist->size();
}

void UVlcWrapper::SetIndex(int Index)
{
    if (isValidIndex(Index))
        currentIndex = Index;
}

int UVlcWrapper::GetIndex()
{
    return currentIndex;
}

int UVlcWrapper::PlayAtIndex()
{
    if (!isValidIndex(currentIndex))
        return -1;
    dropPrepared();
    if (currentMedia)
        Stop();
    if (!mediaPlayer)
        return 0;
    if (stopping.valid())
        playWhenStopped = true;
    else
        startCurrent();
    return 0;
}

// The current item as it is now: a removal may have moved it while a stop ran.
void UVlcWrapper::startCurrent()
{
    if (!isValidIndex(currentIndex))
        return;
    releasePausedPicture();
    clock = PlayClock();
    awaited.reset();
    currentMedia = libvlc_media_new_path(vlcInstance, playlist->at(currentIndex).toUtf8().constData());
    if (const qint64 startAt = std::exchange(startAtMs, 0); startAt > 0) {
        const QByteArray option = ":start-time=" + QByteArray::number(startAt / 1000.0, 'f', 3);
        libvlc_media_add_option(currentMedia, option.constData());
    }
    libvlc_media_player_set_media(mediaPlayer, currentMedia);
    bindVideoWindow();
    applyVolume();
    applyRate(mediaPlayer);
    libvlc_media_player_play(mediaPlayer);
}

// Only with a media loaded: a player that stops holds its lock until it has
// stopped, and any call on it would wait as long.
bool UVlcWrapper::hasMedia() const
{
    return mediaPlayer && currentMedia;
}

// A prepared recording already running would run ahead of a paused one.
void UVlcWrapper::Pause()
{
    if (!hasMedia())
        return;
    releasePausedPicture();
    if (nextWarm)
        dropPrepared();
    if (const State now = state(); now == State::Playing || now == State::Paused) {
        clock.setRunning(now == State::Paused, libvlc_media_player_get_time(mediaPlayer), steadyMs(), playRate);
        awaited = now == State::Playing ? State::Paused : State::Playing;
    }
    libvlc_media_player_pause(mediaPlayer);
}

// Also cancels a play that waits for an earlier stop. The player keeps its
// own hold on the media while it stops.
void UVlcWrapper::Stop()
{
    playWhenStopped = false;
    releasePausedPicture();
    dropPrepared();
    // The video area shows its splash again.
    for (VideoSurface *each : surfaces) {
        if (each)
            each->hide();
    }
    if (mediaPlayer && currentMedia) {
        libvlc_media_player_t *const stoppingPlayer = mediaPlayer;
        stopping = std::async(std::launch::async, [this, stoppingPlayer] {
            libvlc_media_player_stop(stoppingPlayer);
            QMetaObject::invokeMethod(this, &UVlcWrapper::stopped, Qt::QueuedConnection);
        });
    }
    releaseMedia();
}

// Back on the wrapper's thread once the player has stopped. The destructor
// waits for a running stop, so the queued call never outlives the wrapper.
void UVlcWrapper::stopped()
{
    if (stopping.valid())
        stopping.get();
#ifdef __GLIBC__
    // The stopped recording's decoder buffers go back to the system.
    malloc_trim(0);
#endif
    applyVolume();
    if (playWhenStopped) {
        playWhenStopped = false;
        startCurrent();
    }
}

void UVlcWrapper::releaseMedia()
{
    if (currentMedia) {
        libvlc_media_release(currentMedia);
        currentMedia = nullptr;
    }
}

int UVlcWrapper::PlayNext()
{
    const int count = playlist->size();
    if (count <= 0)
        return -1;
    const int next = currentIndex + 1;
    if (next == count)
        currentIndex = 0;
    else if (next >= 0 && next < count)
        currentIndex = next;
    PlayAtIndex();
    return 0;
}

int UVlcWrapper::PlayPrevious()
{
    const int count = playlist->size();
    if (count <= 0)
        return -1;
    if (currentIndex == 0)
        currentIndex = count - 1;
    else if (isValidIndex(currentIndex - 1))
        --currentIndex;
    PlayAtIndex();
    return 0;
}

void UVlcWrapper::AddMedia(QString filepath)
{
    playlist->append(QDir::toNativeSeparators(filepath));
}

void UVlcWrapper::replaceMedia(int index, const QString &filepath)
{
    if (!isValidIndex(index))
        return;
    (*playlist)[index] = QDir::toNativeSeparators(filepath);
    if (index == nextIndex)
        dropPrepared();
}

int UVlcWrapper::RemoveMedia(int Index)
{
    if (!isValidIndex(Index))
        return -1;
    playlist->removeAt(Index);
    if (Index <= currentIndex)
        --currentIndex;
    if (Index == nextIndex)
        dropPrepared();
    else if (Index < nextIndex)
        --nextIndex;
    return 0;
}

void UVlcWrapper::prepareNext(int index)
{
    if (!isValidIndex(index) || !hasMedia() || index == nextIndex)
        return;
    dropPrepared();
    VideoSurface *spare = surface(1 - currentSurface);
    if (!spare || !(nextPlayer = libvlc_media_player_new(vlcInstance)))
        return;
    nextMedia = libvlc_media_new_path(vlcInstance, playlist->at(index).toUtf8().constData());
    // Opened and decoded up to its first picture, then held there, silent.
    libvlc_media_add_option(nextMedia, ":start-paused");
    libvlc_media_player_set_media(nextPlayer, nextMedia);
    attachEvents(nextPlayer, true);
    applyRate(nextPlayer);
    nextIndex = index;
    // Under the current surface, so that its first picture stays unseen.
    spare->show();
    spare->lower();
    bindVideoOutput(nextPlayer, spare->winId());
    libvlc_media_player_play(nextPlayer);
}

// libvlc draws nothing of a media that starts paused, and its first picture
// after the pause comes as late as a fresh start's. So the prepared player
// plays on, silent and unseen under the current one, for the last moments of
// the current recording, and has pictures to show when it is raised.
void UVlcWrapper::scheduleWarmStart()
{
    const qint64 length = libvlc_media_player_get_length(mediaPlayer);
    // The clock's time: libvlc's own may lag by a quarter second, and the
    // prepared player would then start after the end it is to follow.
    const qint64 time = GetPlayTime();
    if (!nextPlayer || nextWarm || length <= 0 || time < 0)
        return;
    // The media's milliseconds pass faster or slower than the clock's at another speed.
    warmStart->start(int(qBound<qint64>(0, qint64((length - time) / playRate) - kWarmStartMs, length)));
}

void UVlcWrapper::startPreparedUnseen()
{
    if (!nextPlayer || nextWarm || state() != State::Playing)
        return;
    nextWarm = true;
    libvlc_audio_set_mute(nextPlayer, 1);
    libvlc_media_player_set_pause(nextPlayer, 0);
}

// The prepared player takes over only once it holds its first picture; one
// still opening, or a file that is no video, is dropped and the end announced
// as usual.
bool UVlcWrapper::continueWithPrepared()
{
    if (!nextPlayer)
        return false;
    const auto prepared = State(libvlc_media_get_state(nextMedia));
    if ((prepared != State::Paused && prepared != State::Playing) || !hasTracks(nextMedia)) {
        dropPrepared();
        return false;
    }
    libvlc_media_player_t *const ended = std::exchange(mediaPlayer, std::exchange(nextPlayer, nullptr));
    libvlc_media_t *const endedMedia = std::exchange(currentMedia, std::exchange(nextMedia, nullptr));
    currentIndex = std::exchange(nextIndex, -1);
    clock = PlayClock();
    const int endedSurface = std::exchange(currentSurface, 1 - currentSurface);
    surface(currentSurface)->raise();
    libvlc_audio_set_mute(mediaPlayer, 0);
    applyVolume();
    if (!std::exchange(nextWarm, false))
        libvlc_media_player_set_pause(mediaPlayer, 0);
    surface(endedSurface)->hide();
    retire(ended);
    libvlc_media_release(endedMedia);
    emit continued(currentIndex);
    return true;
}

void UVlcWrapper::dropPrepared()
{
    warmStart->stop();
    nextWarm = false;
    if (!nextPlayer)
        return;
    retire(std::exchange(nextPlayer, nullptr));
    libvlc_media_release(std::exchange(nextMedia, nullptr));
    nextIndex = -1;
    if (VideoSurface *spare = surface(1 - currentSurface))
        spare->hide();
}

// A player is stopped and released on a thread of its own, as Stop() does,
// and unheard from now on.
void UVlcWrapper::retire(libvlc_media_player_t *player)
{
    attachEvents(player, false);
    retiring.erase(std::remove_if(retiring.begin(), retiring.end(),
                                  [](const std::future<void> &each) {
                                      return each.wait_for(std::chrono::seconds(0))
                                              == std::future_status::ready;
                                  }),
                   retiring.end());
    retiring.push_back(std::async(std::launch::async, [player] {
        libvlc_media_player_stop(player);
        libvlc_media_player_release(player);
    }));
}

// Remembered for every recording to come. While a stop runs, libvlc would
// make the call wait for it; the level is given once the stop is done.
int UVlcWrapper::SetVolume(int volume)
{
    if (!mediaPlayer || volume < 0)
        return -1;
    this->volume = volume;
    if (stopInProgress())
        return 0;
    return libvlc_audio_set_volume(mediaPlayer, volume) == 0 ? 0 : -1;
}

void UVlcWrapper::applyVolume()
{
    if (volume >= 0 && !stopInProgress())
        libvlc_audio_set_volume(mediaPlayer, volume);
}

void UVlcWrapper::setRate(double rate)
{
    if (!(rate > 0))
        return;
    if (hasMedia() && !stopInProgress())
        clock.setRunning(state() != State::Paused, libvlc_media_player_get_time(mediaPlayer), steadyMs(), playRate);
    playRate = rate;
    if (!stopInProgress())
        applyRate(mediaPlayer);
    if (nextPlayer)
        applyRate(nextPlayer);
}

// As for the volume: a player that stops would make the call wait.
void UVlcWrapper::applyRate(libvlc_media_player_t *player)
{
    if (player && !(player == mediaPlayer && stopInProgress()))
        libvlc_media_player_set_rate(player, float(playRate));
}

void UVlcWrapper::nextFrame()
{
    if (!hasMedia() || state() != State::Paused)
        return;
    dropPrepared();
    wakePausedPicture();
    clock.stepped(frameMs(), libvlc_media_player_get_time(mediaPlayer));
    libvlc_media_player_next_frame(mediaPlayer);
}

// From the video track's frame rate; a common camera's 25 frames a second
// when the file does not say.
qint64 UVlcWrapper::frameMs() const
{
    constexpr qint64 kUsualFrameMs = 40;
    libvlc_media_track_t **tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(currentMedia, &tracks);
    qint64 ms = kUsualFrameMs;
    for (unsigned i = 0; i < count; ++i) {
        const libvlc_media_track_t *track = tracks[i];
        if (track->i_type == libvlc_track_video && track->video && track->video->i_frame_rate_num > 0
            && track->video->i_frame_rate_den > 0) {
            ms = qMax<qint64>(1, qint64(1000) * track->video->i_frame_rate_den / track->video->i_frame_rate_num);
            break;
        }
    }
    libvlc_media_tracks_release(tracks, count);
    return ms;
}

bool UVlcWrapper::stopInProgress() const
{
    return stopping.valid();
}

// A seek moves the end away from where the prepared recording waits for it.
void UVlcWrapper::SetPosition(int pos)
{
    if (!hasMedia())
        return;
    dropPrepared();
    wakePausedPicture();
    const qint64 length = libvlc_media_player_get_length(mediaPlayer);
    if (length > 0)
        clock.jumped(length * pos / 1000, libvlc_media_player_get_time(mediaPlayer), steadyMs());
    else
        clock.forget();
    libvlc_media_player_set_position(mediaPlayer, static_cast<float>(pos / 1000.0));
}

void UVlcWrapper::seekToTime(qint64 ms)
{
    if (!hasMedia())
        return;
    dropPrepared();
    wakePausedPicture();
    clock.jumped(ms, libvlc_media_player_get_time(mediaPlayer), steadyMs());
    libvlc_media_player_set_time(mediaPlayer, ms);
}

void UVlcWrapper::takeShot()
{
    if (!currentMedia)
        return;
    qCDebug(lcPlayer, "Media is not NULL");
    const int state = GetState();
    if (state != Playing && state != Paused) {
        emit snapshotFailed(tr("there is no picture to take"));
        return;
    }
    QString why;
    const QString folder = ProgramPaths::snapshotFolder(&why);
    if (folder.isEmpty()) {
        emit snapshotFailed(why);
        return;
    }
    unsigned width = 0;
    unsigned height = 0;
    // 0 x 0 asks libvlc for the video's own size should the query fail.
    if (libvlc_video_get_size(mediaPlayer, 0, &width, &height) != 0)
        width = height = 0;
    const QString file = QDir(folder).filePath(
            snapshotFileName(currentPath(), GetPlayTime()));
    if (libvlc_video_take_snapshot(mediaPlayer, 0, QFile::encodeName(file).constData(), width, height)
        != 0)
        emit snapshotFailed(tr("the video shows no picture yet"));
}

int UVlcWrapper::GetState()
{
    return int(state());
}

UVlcWrapper::State UVlcWrapper::state()
{
    // A play that waits for the last stop is as good as opening.
    if (playWhenStopped)
        return State::Opening;
    if (!currentMedia)
        return State::Error;
    const auto now = State(libvlc_media_get_state(currentMedia));
    // libvlc 3 turns a failed media into "ended" once its input has gone, and
    // plays a file that is no video at all to its end through a catch-all
    // demuxer. An end that never had a single track was an error.
    if (now == State::Ended && !hasTracks(currentMedia))
        return State::Error;
    return now;
}

QString UVlcWrapper::currentPath() const
{
    return currentMedia ? playlist->value(currentIndex) : QString();
}

bool UVlcWrapper::hasTracks(libvlc_media_t *media)
{
    libvlc_media_track_t **tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(media, &tracks);
    libvlc_media_tracks_release(tracks, count);
    return count > 0;
}

// Without a media, -1 as an idle player answers.
qint64 UVlcWrapper::GetPlayTime()
{
    if (!mediaPlayer)
        return 0;
    if (!hasMedia())
        return -1;
    const qint64 time = clock.time(libvlc_media_player_get_time(mediaPlayer), steadyMs(), playRate);
    const qint64 length = libvlc_media_player_get_length(mediaPlayer);
    return length > 0 ? qMin(time, length) : time;
}

qint64 UVlcWrapper::GetMediaLength()
{
    if (!mediaPlayer)
        return 0;
    return hasMedia() ? libvlc_media_player_get_length(mediaPlayer) : -1;
}

int UVlcWrapper::GetMediaCount() const
{
    return int(playlist->size());
}

int UVlcWrapper::GetVolume()
{
    if (!mediaPlayer)
        return -1;
    return stopInProgress() ? volume : libvlc_audio_get_volume(mediaPlayer);
}

QString UVlcWrapper::libraryVersion()
{
    return QString::fromUtf8(libvlc_get_version());
}

void UVlcWrapper::ToggleFullscreen()
{
    if (mediaPlayer)
        libvlc_toggle_fullscreen(mediaPlayer);
}

// The shown picture as it is on the screen, which is what the still must
// look like; nothing is held when the screen cannot give it.
void UVlcWrapper::holdPausedPicture()
{
    VideoSurface *shown = surface(currentSurface);
    if (holding || !shown || !still || !shown->isVisible() || state() != State::Paused)
        return;
    const QPixmap picture = shown->screen()->grabWindow(shown->winId());
    if (picture.isNull())
        return;
    revealVideo->stop();
    still->setPicture(picture);
    still->setGeometry(shown->geometry());
    still->show();
    still->raise();
    shown->setGeometry(0, 0, 1, 1);
    holding = true;
}

void UVlcWrapper::releasePausedPicture()
{
    holdAfterPause->stop();
    if (!holding)
        return;
    holding = false;
    if (VideoSurface *shown = surface(currentSurface); shown && videoWindow)
        shown->setGeometry(videoWindow->rect());
    revealVideo->start();
}

// A seek while paused shows its picture, and the pause rests again after.
void UVlcWrapper::wakePausedPicture()
{
    releasePausedPicture();
    if (state() == State::Paused)
        holdAfterPause->start();
}
