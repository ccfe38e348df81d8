#ifndef TRIPSVIEW_H
#define TRIPSVIEW_H

#include "catalogue/recordingtime.h"
#include "library/speedunit.h"
#include "trips/trip.h"
#include "trips/tripfigures.h"

#include <QFutureWatcher>
#include <QList>
#include <QWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The trips view, laid over the video and the tables: one row per drive,
// newest first. A double click plays a drive from its first clip; the context
// menu plays it from any of its clips. It has a native window of its own, so
// that it lies above the video.
class TripsView : public QWidget
{
    Q_OBJECT

public:
    explicit TripsView(QWidget *parent = nullptr);

    // Shows the view and works out the drives of `clips` in the background.
    void open(const QList<TripClip> &clips);
    // While open, the drives are worked out again.
    void refresh(const QList<TripClip> &clips);
    // The unit and zone the figures and times are shown in; shown again at once.
    void setDisplay(SpeedUnit unit, const DisplayZone &zone);
    // The rows shown; empty while they are worked out.
    const QList<TripRow> &rows() const { return shown; }

signals:
    void playRequested(const Trip &trip, int position);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill(const QList<TripRow> &rows);
    void setHeaders();
    static int rowOf(const QTreeWidgetItem *item);
    void playRow(int row, int position);
    void offerClips(const QPoint &where);

    QLabel *title = nullptr;
    QTreeWidget *table = nullptr;
    QFutureWatcher<QList<TripRow>> working;
    QList<TripRow> shown;
    // A refresh asked for while the drives are worked out runs after it.
    QList<TripClip> pending;
    bool refreshPending = false;
    SpeedUnit unit = SpeedUnit::Kmh;
    DisplayZone zone;
};

#endif // TRIPSVIEW_H
