#ifndef VELMORA_H
#define VELMORA_H

#include <QWidget>

#include <memory>

class QGraphicsView;
class QLabel;
class QPushButton;
class QSlider;
class QTableWidget;
class QTimer;
class QWebEngineView;

class GpsLogData;
class NcFramelessHelper;
class UDoubleClickedWidget;
class USpeedMeter;
class UVideoAndGpsfiles;
class UVlcWrapper;

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

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

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

    void createTables();
    void createButtons();
    void connectTitleBarAndButtons();
    void connectTheRest();
    void layoutWidgets();
    void swapMaxButton();

    int playButtonState = 1;
    int maxButtonState = 1;
    int pathDrawn = 0;
    std::unique_ptr<NcFramelessHelper> frameless;
    QWidget *headerLeft = nullptr;
    QWidget *headerCenter = nullptr;
    QWidget *headerRight = nullptr;
    UDoubleClickedWidget *videoWindow = nullptr;
    QWebEngineView *googleMap = nullptr;
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
    QLabel *videoTime = nullptr;
    QLabel *videoName = nullptr;
    std::unique_ptr<DisplayWindowStatus> status;
    UVlcWrapper *player = nullptr;
    QTimer *updateTimer = nullptr;
    QTimer *notConnectedTimer = nullptr;
    UVideoAndGpsfiles *catalogue = nullptr;
    std::unique_ptr<GpsLogData> gpsLog;
    QPushButton *shot = nullptr;
    // True while the video surface covers the whole window.
    bool fullScreenOn = false;
};

#endif // VELMORA_H
