#ifndef VELMORA_H
#define VELMORA_H

#include "playback/uvlcwrapper.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QGraphicsView;
class QLabel;
class QPushButton;
class QSlider;
class QTableWidget;
class QTimer;
class QWebEngineView;

enum class MapPage;

class ExportActions;
class FlashLabel;
class GpsLogData;
class LibraryKeeper;
class MapWebProfile;
class RecordingLibrary;
struct GpsLogRecord;
struct ExportSubject;
struct DisplaySettings;
struct TileServer;
struct Trip;
class TripTimeline;
class NcFramelessHelper;
class NoticeBar;
class RangeBand;
class SnapshotCaptioner;
class TripsView;
class UDoubleClickedWidget;
class USpeedMeter;
class UVideoAndGpsfiles;
class WheelPager;

// The player's only window: a frameless top-level widget with its own title
// bar. It creates and owns every other object and places its children by
// absolute rectangles computed from its size.
class Velmora : public QWidget
{
    Q_OBJECT

public:
    // Window state shared by the window-state, list and map code. A plain
    // record that is never shown.
    class DisplayWindowStatus : public QWidget
    {
    public:
        DisplayWindowStatus() : QWidget(nullptr) {}

        int maximized = 0;
        int currentPage = 0;
        int mapState = 0;
    };

    explicit Velmora(QWidget *parent = nullptr);
    ~Velmora() override;

    // Adds the videos to the catalogue in the given order and refills the
    // lists, as the open dialog does; the command line and drops use it too.
    void importVideos(const QStringList &paths);

    // Keeps the recordings in `library` (null: none can be kept) and the
    // window's state in the settings from now on, and brings back both as they
    // were left. `problem`, when there was one, is said once in the window.
    void remember(RecordingLibrary *library, const QString &problem);
    // Plays `trip` as one drive from its clip at `position`: one map page and
    // route for all of it, and clip after clip without a gap.
    void playTrip(const Trip &trip, int position = 0);
    // Where the map's tiles come from for this run, in place of the settings'.
    void useTileServer(const TileServer &server);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

    // Videos and folders dropped onto the window are imported.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void MaxWindow();
    void SwitchPlaybuttonAndPausebutton();
    void LoadMapToPlay(int Index);
    void LoadedToPaly(bool OK);
    void OpenFiles();
    void DeleteFile();
    void ListTableClearSelecttionLeft();
    void ListTableClearSelecttionRight();
    void ListTableSetIndexLeft(int row, int column);
    void ListTableSetIndexRight(int row, int column);
    void ListTablePlayVideoLeft(int row, int column);
    void ListTablePlayVideoRight(int row, int column);
    void ListTablePreviousPage();
    void ListTableNextPage();
    void ListTableUpdate();
    void PauseButtonPlay();
    void ClearGUI();
    void PlayNext();
    void PlayPrevious();
    void UpdateUIData();
    void NotConnectedTimerHandler();
    void fullscreen();
    void takeShot();

private:
    // Tests read the window's private state through this one seam.
    friend class VelmoraProbe;

    void createMapView();
    void createTables();
    void createButtons();
    void createMenu();
    void removeMissingRecordings();
    void deleteRecording(int index);
    void showAbout();
    void openSettings();
    void applyDisplaySettings(const DisplaySettings &display);
    void connectTitleBarAndButtons();
    void connectTheRest();
    void layoutWidgets();
    void swapMaxButton();
    void fillScreen();
    void returnToNormalGeometry();

    MapPage shownMapPage() const;
    void showMapPage(MapPage page);
    void loadMapPage(MapPage page);
    void checkOnlineThenStart();
    void onlineCheckAnswered(bool online);
    void startRecording();
    void openRecording(int index, MapPage page);
    int tripOffset() const;
    int nextClipIndex() const;
    int previousClipIndex() const;
    void playClip(int index);
    void prepareNextClip(qint64 playTimeMs);
    void followPlayerToItsPage();
    void seekToRouteSecond(int second);
    int playingClip() const;
    ExportSubject exportSubject() const;
    void showMarks();

    void addToolTips();
    void createShortcuts();
    void playPauseClicked();
    void seekBy(qint64 ms);
    void timeSliderMoved(int action);
    void seekTo(int thousandths);
    void changeVolumeBy(int step);
    void changeRate(double rate);
    void stepFrame();
    void changeClockOffset(int delta);
    int clockOffset() const;
    int logSecondAt(qint64 playTimeMs) const;

    void UpdateTimeLabel();
    void playAndShowPage(int index);
    void resetSpeedMeter();
    void runMapScript(const QString &script);

    void playerStateChanged(UVlcWrapper::State state);
    void showStopped();
    void showEndedAndPlayNext();
    void showCannotPlay();
    void showPlaying(qint64 playTimeMs);
    void showPosition(qint64 playTimeMs);
    void showSecondOnMap(int second);
    void showSecondWithoutFixes(int second);
    void sendRoute(const GpsLogRecord &first);
    void showSpeedAndGraph(int second, double speed);

    int tableIndex(int row, bool rightTable) const;
    int pageCount() const;
    void fillTable(QTableWidget *table, bool rightTable);
    void highlightPlayerRow();
    void showListPage(int page);
    void importPending();
    void showNotImported(const QStringList &paths);
    void showSnapshotSaved(const QString &path, const QString &captionedPath, const QString &error);
    void showSnapshotFailed(const QString &why);

    // Each list table shows five recordings; a page is both tables.
    static constexpr int kRowsPerTable = 5;
    static constexpr int kRowsPerPage = 2 * kRowsPerTable;
    // The time slider counts thousandths of the recording.
    static constexpr int kTimeSliderEnd = 1000;
    static constexpr qint64 kSeekStepMs = 5000;
    static constexpr qint64 kMsPerSecond = 1000;
    static constexpr int kVolumeStep = 5;
    static constexpr qint64 kStepBackMs = 1000;
    // The log's clock is a few seconds off the camera's at most; an hour off is a mistake.
    static constexpr int kMostClockOffsetSeconds = 3600;

    int playButtonState = 1;
    int maxButtonState = 1;
    int pathDrawn = 0;
    std::unique_ptr<NcFramelessHelper> frameless;
    QWidget *headerLeft = nullptr;
    QWidget *headerCenter = nullptr;
    QWidget *headerRight = nullptr;
    UDoubleClickedWidget *videoWindow = nullptr;
    QWebEngineView *googleMap = nullptr;
    MapWebProfile *mapProfile = nullptr;
    QSlider *videoTimeSlider = nullptr;
    QSlider *videoVolumnSlider = nullptr;
    QGraphicsView *audioIndicator = nullptr;
    QGraphicsView *carPosition = nullptr;
    QLabel *carPositionNumber = nullptr;
    QTableWidget *videoListLeft = nullptr;
    QTableWidget *videoListRight = nullptr;
    USpeedMeter *carSpeedMeter = nullptr;
    QPushButton *videoPre = nullptr;
    QPushButton *videoNext = nullptr;
    QPushButton *videoPlay = nullptr;
    QPushButton *videoStop = nullptr;
    QPushButton *videoListPrePage = nullptr;
    QPushButton *videoListNextPage = nullptr;
    QPushButton *videoListItemImport = nullptr;
    QPushButton *videoListItemDelete = nullptr;
    QPushButton *windowMin = nullptr;
    QPushButton *windowMax = nullptr;
    QPushButton *windowClose = nullptr;
    QPushButton *windowMenu = nullptr;
    QLabel *videoTime = nullptr;
    QLabel *videoName = nullptr;
    QLabel *listPageLabel = nullptr;
    WheelPager *wheelPager = nullptr;
    std::unique_ptr<DisplayWindowStatus> status;
    UVlcWrapper *player = nullptr;
    QTimer *updateTimer = nullptr;
    QTimer *notConnectedTimer = nullptr;
    UVideoAndGpsfiles *catalogue = nullptr;
    LibraryKeeper *keeper = nullptr;
    // The settings are read and written only when the window remembers.
    bool remembering = false;
    QString importFolder;
    std::unique_ptr<GpsLogData> gpsLog;
    // The trip being played as one drive; none while single recordings play.
    std::unique_ptr<TripTimeline> trip;
    QPushButton *shot = nullptr;
    NoticeBar *notice = nullptr;
    FlashLabel *flash = nullptr;
    TripsView *tripsView = nullptr;
    ExportActions *exportActions = nullptr;
    RangeBand *rangeBand = nullptr;
    SnapshotCaptioner *captioner = nullptr;
    // True while the video surface covers the whole window.
    bool fullScreenOn = false;
    // Where the window stood before it last came to fill the screen.
    QRect geometryBeforeFillingScreen;
    // Set once the map page of the current recording has started it.
    bool gpsPlaybackStarted = false;
    // Counts map page requests: an online check answered after a newer request
    // is stale. Shared, so that an answer arriving while the window is being
    // destroyed finds it gone.
    std::shared_ptr<quint64> mapPageRequests = std::make_shared<quint64>(0);
    // Videos that the running import has still to add.
    QStringList pendingImports;
    bool importing = false;
    // The player's state as last handled, so that each change is handled once.
    UVlcWrapper::State announcedState = UVlcWrapper::State::NothingSpecial;
    // Recordings that would not play, one after the other.
    int recordingsFailedInARow = 0;
};

#endif // VELMORA_H
