#ifndef UVLCWRAPPER_H
#define UVLCWRAPPER_H

#include "playback/playclock.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <future>
#include <memory>
#include <optional>

struct libvlc_event_t;
struct libvlc_instance_t;
struct libvlc_media_player_t;
struct libvlc_media_t;

class QTimer;
class QWidget;
class StillPicture;
class VideoSurface;

// The program's only video player: one libvlc instance, the media player of
// the current recording (and, for a trip, a second one preparing the next
// clip), the playlist that the catalogue feeds, and which item is current.
// Everything else asks it for index, media state, time and length; apart from
// the prober that reads video lengths, no other file talks to libvlc.
class UVlcWrapper : public QObject
{
    Q_OBJECT

public:
    // libvlc's media states, as numbers for GetState() and typed for state().
    enum MediaState { NothingSpecial = 0, Opening, Buffering, Playing, Paused, Stopped, Ended, Error };
    enum class State { NothingSpecial, Opening, Buffering, Playing, Paused, Stopped, Ended, Error };
    Q_ENUM(State)

    explicit UVlcWrapper(QObject *parent = nullptr);
    ~UVlcWrapper() override;

    void SetVideoWindow(QWidget *widget);
    int GetState();
    // What the player does now; Error also when nothing is loaded, and for a
    // file that ended without ever having a track.
    State state();
    // The file of the loaded recording, empty when none is.
    QString currentPath() const;
    qint64 GetPlayTime();
    qint64 GetMediaLength();
    int GetVolume();
    // How many items the playlist holds; invokable like the catalogue's count,
    // so that the two can be compared from outside the program.
    Q_INVOKABLE int GetMediaCount() const;
    void ToggleFullscreen();
    // The version of the libvlc in use, for the About box.
    static QString libraryVersion();

    // Item `index` is opened now, paused at its first picture, to follow the
    // current one without a gap: when the current recording ends, the
    // prepared one plays on at once and continued() is announced instead of
    // the end. Any other play or a stop drops it.
    void prepareNext(int index);
    // The item prepared to follow, -1 when none is.
    int preparedIndex() const { return nextIndex; }
    // The recording started next begins `ms` into its video.
    void startNextAt(qint64 ms) { startAtMs = ms; }
    void seekToTime(qint64 ms);
    // The speed every recording plays at from now on, 1 for normal; kept
    // like the volume, and given to each recording as it starts.
    void setRate(double rate);
    double rate() const { return playRate; }
    // One picture on, while paused; nothing otherwise. GetPlayTime() counts
    // the pictures stepped.
    void nextFrame();

signals:
    // The media state changed, announced on the wrapper's thread; `state` is
    // what state() says at that moment.
    void stateChanged(UVlcWrapper::State state);
    // A snapshot was written to `path`, or could not be taken and why.
    void snapshotSaved(const QString &path);
    void snapshotFailed(const QString &why);
    // The current recording ended and the prepared item `index` plays on.
    void continued(int index);

public slots:
    void SetIndex(int Index);
    int GetIndex();
    int PlayAtIndex();
    void Pause();
    void Stop();
    int PlayNext();
    int PlayPrevious();
    void AddMedia(QString filepath);
    int RemoveMedia(int Index);
    // Item `index` is now the file at `filepath` (its card was mounted elsewhere).
    void replaceMedia(int index, const QString &filepath);
    int SetVolume(int volume);
    void SetPosition(int pos);
    void takeShot();

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    static void onSnapshotTaken(const libvlc_event_t *event, void *wrapper);
    static void onStateEvent(const libvlc_event_t *event, void *wrapper);
    static void onTimeChanged(const libvlc_event_t *event, void *wrapper);
    void attachEvents(libvlc_media_player_t *player, bool attach);
    void stateEvent(libvlc_media_player_t *from);
    bool continueWithPrepared();
    void scheduleWarmStart();
    void startPreparedUnseen();
    void dropPrepared();
    void retire(libvlc_media_player_t *player);
    VideoSurface *surface(int which) const;
    bool stopInProgress() const;
    void applyVolume();
    void applyRate(libvlc_media_player_t *player);
    qint64 frameMs() const;
    bool isValidIndex(int index) const;
    bool hasMedia() const;
    void startCurrent();
    void stopped();
    void releaseMedia();
    void bindVideoWindow();
    static bool hasTracks(libvlc_media_t *media);
    void holdPausedPicture();
    void releasePausedPicture();
    void wakePausedPicture();

    libvlc_instance_t *vlcInstance = nullptr;
    libvlc_media_player_t *mediaPlayer = nullptr;
    libvlc_media_t *currentMedia = nullptr;
    std::unique_ptr<QStringList> playlist;
    int currentIndex = -1;
    QPointer<QWidget> videoWindow;
    // Two surfaces over the video area: the current recording draws into
    // one, the prepared one into the other, below it until it takes over.
    std::array<QPointer<VideoSurface>, 2> surfaces;
    int currentSurface = 0;
    libvlc_media_player_t *nextPlayer = nullptr;
    libvlc_media_t *nextMedia = nullptr;
    int nextIndex = -1;
    // Unpaused, muted and unseen before the current recording ends.
    bool nextWarm = false;
    QTimer *warmStart = nullptr;
    static constexpr qint64 kWarmStartMs = 100;
    qint64 startAtMs = 0;
    // libvlc's video output draws a paused picture anew every 80 ms, costing
    // a tenth of a core with software OpenGL. Once a pause has lasted, the
    // picture is shown as a still over a surface shrunk to one pixel, and the
    // surface comes back with the next seek, play, stop or resize.
    StillPicture *still = nullptr;
    QTimer *holdAfterPause = nullptr;
    QTimer *revealVideo = nullptr;
    bool holding = false;
    static constexpr int kHoldAfterPauseMs = 500;
    // Longer than the output's 80 ms between redraws: the surface has its
    // picture again before the still goes.
    static constexpr int kRevealMs = 150;
    // Players that have handed over, stopping on threads of their own.
    std::vector<std::future<void>> retiring;
    // libvlc_media_player_stop() waits for the player's threads, and they for
    // the video output, which waits for the X server: seconds on a busy
    // machine while the window is resized, and the window froze as long. The
    // stop runs on a thread of its own, and a play asked for meanwhile starts
    // once it is done.
    std::future<void> stopping;
    bool playWhenStopped = false;
    // The volume asked for, given to each recording as it starts; -1 until
    // one is asked for.
    int volume = -1;
    double playRate = 1.0;
    PlayClock clock;
    // Asked to pause or play on, libvlc goes on saying what it did before
    // until it has: that is no news to announce, and would undo the window's
    // play button.
    std::optional<State> awaited;
};

#endif // UVLCWRAPPER_H
