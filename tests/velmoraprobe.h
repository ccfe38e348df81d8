#ifndef VELMORAPROBE_H
#define VELMORAPROBE_H

#include "app/velmora.h"

// Read access to the main window's private state for tests.
class VelmoraProbe
{
public:
    explicit VelmoraProbe(Velmora &window) : window(window) {}

    int playButtonState() const { return window.playButtonState; }
    int maxButtonState() const { return window.maxButtonState; }
    int pathDrawn() const { return window.pathDrawn; }
    // The next tick sends the whole route again, as at the start of a recording.
    void forgetRoute() { window.pathDrawn = 0; }
    bool fullScreenOn() const { return window.fullScreenOn; }
    Velmora::DisplayWindowStatus *status() const { return window.status.get(); }
    NcFramelessHelper *frameless() const { return window.frameless.get(); }
    GpsLogData *gpsLog() const { return window.gpsLog.get(); }
    UVlcWrapper *player() const { return window.player; }
    UVideoAndGpsfiles *catalogue() const { return window.catalogue; }
    QTimer *updateTimer() const { return window.updateTimer; }
    QTimer *notConnectedTimer() const { return window.notConnectedTimer; }
    QWebEngineView *googleMap() const { return window.googleMap; }
    USpeedMeter *speedMeter() const { return window.carSpeedMeter; }
    // Its object name changes with its face, so tests cannot find it by name.
    QPushButton *windowMax() const { return window.windowMax; }
    void layoutWidgets() { window.layoutWidgets(); }

    bool gpsPlaybackStarted() const { return window.gpsPlaybackStarted; }
    QTableWidget *videoListLeft() const { return window.videoListLeft; }
    QTableWidget *videoListRight() const { return window.videoListRight; }
    void loadMapToPlay(int index) { window.LoadMapToPlay(index); }
    void notConnectedTimerHandler() { window.NotConnectedTimerHandler(); }
    void listTableUpdate() { window.ListTableUpdate(); }

    // Its object name changes with its face too.
    QPushButton *videoPlay() const { return window.videoPlay; }
    // One tick of the update cycle, without waiting for the timer.
    void updateUIData() { window.UpdateUIData(); }
    ExportActions *exportActions() const { return window.exportActions; }
    RangeBand *rangeBand() const { return window.rangeBand; }

private:
    Velmora &window;
};

#endif // VELMORAPROBE_H
