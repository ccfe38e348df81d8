#include "app/tripsview.h"

#include "library/usersettings.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace {

constexpr int kRowRole = Qt::UserRole;

QString durationText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
            .arg(seconds / 3600)
            .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

TripsView::TripsView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TripsView"));
    setAttribute(Qt::WA_StyledBackground);
    title = new QLabel(this);
    title->setObjectName(QStringLiteral("TripsTitle"));
    auto *close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("TripsClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    table = new QTreeWidget(this);
    table->setObjectName(QStringLiteral("TripsTable"));
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setAlternatingRowColors(true);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    setHeaders();
    table->headerItem()->setToolTip(5, tr("Distance driven"));
    table->headerItem()->setToolTip(7, tr("Mean speed while moving"));
    table->headerItem()->setToolTip(8, tr("Hard braking, swerves and bumps"));
    table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(table, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { playRow(rowOf(item), 0); });
    connect(table, &QWidget::customContextMenuRequested, this, &TripsView::offerClips);

    auto *top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table, 1);

    connect(&working, &QFutureWatcher<QList<TripRow>>::finished, this, [this] {
        fill(working.result());
        if (std::exchange(refreshPending, false))
            refresh(pending);
    });
    hide();
}

void TripsView::setHeaders()
{
    table->setHeaderLabels({ tr("Date"), tr("Start"), tr("End"), tr("Duration"), tr("Clips"),
                             distanceUnitText(unit), tr("Max %1").arg(speedUnitText(unit)),
                             tr("Mean %1").arg(speedUnitText(unit)), tr("Events") });
}

void TripsView::setDisplay(SpeedUnit newUnit, const DisplayZone &newZone)
{
    unit = newUnit;
    zone = newZone;
    setHeaders();
    fill(QList<TripRow>(shown));
}

// The native window is made when first shown, as the notice's is.
void TripsView::open(const QList<TripClip> &clips)
{
    setAttribute(Qt::WA_NativeWindow);
    show();
    raise();
    table->setFocus();
    refresh(clips);
}

void TripsView::refresh(const QList<TripClip> &clips)
{
    if (!isVisible())
        return;
    if (working.isRunning()) {
        pending = clips;
        refreshPending = true;
        return;
    }
    title->setText(tr("Trips: looking at %n recording(s)…", nullptr, int(clips.size())));
    const TripSettings settings = TripSettings::load();
    working.setFuture(QtConcurrent::run(tripRows, clips, settings.gapMs(), settings.hardEventG));
}

void TripsView::fill(const QList<TripRow> &rows)
{
    shown = rows;
    table->clear();
    const QLocale locale;
    for (int row = 0; row < rows.size(); ++row) {
        const TripFigures &figures = rows.at(row).figures;
        auto *item = new QTreeWidgetItem(table);
        const QStringList texts = {
            dateText(figures.startMs, zone),
            clockText(figures.startMs, zone),
            clockText(figures.endMs, zone),
            durationText(figures.durationSeconds),
            QString::number(figures.clips),
            locale.toString(distanceIn(unit, figures.distanceKm), 'f', 1),
            locale.toString(speedIn(unit, figures.maxSpeedKmh), 'f', 0),
            locale.toString(speedIn(unit, figures.meanMovingSpeedKmh), 'f', 0),
            QString::number(figures.hardEvents),
        };
        for (int column = 0; column < texts.size(); ++column) {
            item->setText(column, texts.at(column));
            if (column >= 3)
                item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
        item->setData(0, kRowRole, row);
    }
    title->setText(rows.isEmpty() ? tr("Trips: none yet. Import recordings first.")
                                  : tr("Trips: %n drive(s). Double-click one to play it.", nullptr,
                                       int(rows.size())));
}

int TripsView::rowOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, kRowRole).toInt() : -1;
}

void TripsView::playRow(int row, int position)
{
    if (row < 0 || row >= shown.size())
        return;
    hide();
    emit playRequested(shown.at(row).trip, position);
}

void TripsView::offerClips(const QPoint &where)
{
    const int row = rowOf(table->itemAt(where));
    if (row < 0 || row >= shown.size())
        return;
    QMenu menu(this);
    QMenu *from = menu.addMenu(tr("Play from here"));
    const QList<TripClip> &clips = shown.at(row).trip.clips;
    for (int position = 0; position < clips.size(); ++position) {
        const TripClip &clip = clips.at(position);
        from->addAction(QStringLiteral("%1  %2").arg(
                                clockText(clip.startMs, zone),
                                QFileInfo(clip.videoPath).fileName()),
                        this, [this, row, position] { playRow(row, position); });
    }
    menu.exec(table->viewport()->mapToGlobal(where));
}

void TripsView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        playRow(rowOf(table->currentItem()), 0);
    else
        QWidget::keyPressEvent(event);
}
