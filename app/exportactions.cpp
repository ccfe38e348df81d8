#include "app/exportactions.h"

#include "export/captionedsnapshot.h"
#include "export/exportjob.h"
#include "trips/triptimeline.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTime>
#include <QWidget>

namespace {

constexpr int kPermille = 1000;

QString timeText(qint64 ms)
{
    return QTime::fromMSecsSinceStartOfDay(int(ms % (24 * 3600 * 1000))).toString(QStringLiteral("hh-mm-ss"));
}

} // namespace

ExportActions::ExportActions(QWidget *window, std::function<ExportSubject()> subject)
    : QObject(window), window(window), subject(std::move(subject)), job(new ExportJob(this))
{
    const auto add = [this](const QString &text, QKeySequence key, auto slot) {
        auto *action = new QAction(text, this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        this->window->addAction(action);
        menuActions << action;
    };
    add(tr("Mark start"), Qt::Key_I, [this] { mark(true); });
    add(tr("Mark end"), Qt::Key_O, [this] { mark(false); });
    add(tr("Clear marks"), QKeySequence(), [this] { forgetMarks(); });
    add(tr("Export clip…"), QKeySequence(), [this] { askAndExport(Kind::Clip); });
    add(tr("Export clip with caption…"), QKeySequence(), [this] { askAndExport(Kind::CaptionedClip); });
    add(tr("Export track as GPX…"), QKeySequence(), [this] { askAndExport(Kind::Gpx); });
    add(tr("Export track as CSV…"), QKeySequence(), [this] { askAndExport(Kind::Csv); });
    connect(job, &ExportJob::finished, this, &ExportActions::showFinished);
}

void ExportActions::forgetMarks()
{
    rangeMarks.clear();
    emit marksChanged();
}

bool ExportActions::isExporting() const
{
    return job->isRunning();
}

void ExportActions::mark(bool start)
{
    const ExportSubject now = subject();
    if (!now.loaded)
        return;
    if (start)
        rangeMarks.setStart(now.now);
    else
        rangeMarks.setEnd(now.now);
    emit marksChanged();
}

QString ExportActions::suggestedPath(Kind kind, const ExportSubject &subject) const
{
    QString folder = !lastFolder.isEmpty() ? lastFolder
            : QStandardPaths::writableLocation(kind == Kind::Gpx || kind == Kind::Csv
                                                       ? QStandardPaths::DocumentsLocation
                                                       : QStandardPaths::MoviesLocation);
    // Never the program's working folder, which the dialog falls back to.
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QString name = QFileInfo(subject.drive.clips.value(rangeMarks.start().value_or(DriveMark{}).clip).videoPath)
                           .completeBaseName();
    if (const std::optional<DriveMark> start = rangeMarks.start())
        name += QLatin1Char('_') + timeText(start->ms);
    if (const std::optional<DriveMark> end = rangeMarks.end())
        name += QLatin1Char('_') + timeText(end->ms);
    const char *suffix = kind == Kind::Gpx ? ".gpx" : kind == Kind::Csv ? ".csv" : ".mp4";
    return QDir(folder).filePath(name + QLatin1String(suffix));
}

void ExportActions::askAndExport(Kind kind)
{
    const ExportSubject now = subject();
    if (!now.loaded) {
        emit message(tr("Play a recording or a trip to export it."));
        return;
    }
    const QString filter = kind == Kind::Gpx ? tr("GPX track (*.gpx)")
            : kind == Kind::Csv              ? tr("CSV table (*.csv)")
                                             : tr("Video (*.mp4 *.mov)");
    const QString path = QFileDialog::getSaveFileName(window, tr("Export"), suggestedPath(kind, now), filter);
    if (!path.isEmpty()) {
        lastFolder = QFileInfo(path).absolutePath();
        exportTo(kind, path);
    }
}

void ExportActions::exportTo(Kind kind, const QString &path)
{
    const ExportSubject now = subject();
    if (!now.loaded || job->isRunning())
        return;
    const Trip drive = now.drive;
    const RangeMarks marks = rangeMarks;
    QStringList videos;
    for (const TripClip &clip : drive.clips)
        videos << clip.videoPath;
    if (kind == Kind::Clip || kind == Kind::CaptionedClip) {
        const bool captioned = kind == Kind::CaptionedClip;
        job->start([pieces = marks.clipPieces(videos), path, drive, captioned, style = captionStyle,
                    offset = now.clockOffsetSeconds](ClipExportControl &control) {
            const CaptionLine caption = captioned
                    ? captionLineOf(std::make_shared<const TripTimeline>(drive), style, offset)
                    : CaptionLine();
            return exportClip(pieces, path, &control, caption);
        });
    } else {
        const TrackFormat format = kind == Kind::Gpx ? TrackFormat::Gpx : TrackFormat::Csv;
        const QString name = trackName(videos);
        job->start([drive, marks, format, path, name, unit = captionStyle.unit,
                    offset = now.clockOffsetSeconds](ClipExportControl &) {
            const TripTimeline timeline(drive);
            TrackRange range = marks.trackRange(timeline);
            range.clockOffsetSeconds = offset;
            return ClipExportResult{ exportTrack(timeline, range, format, path, name, unit), {} };
        });
    }
    exportingPath = path;
    progress = new QProgressDialog(tr("Exporting %1…").arg(QFileInfo(path).fileName()), tr("Cancel"), 0,
                                   kPermille, window);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowModality(Qt::NonModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    connect(job, &ExportJob::progressed, progress, &QProgressDialog::setValue);
    connect(progress, &QProgressDialog::canceled, job, &ExportJob::cancel);
}

void ExportActions::showFinished(const ClipExportResult &result)
{
    if (progress) {
        progress->disconnect(job);
        progress->close();
        progress = nullptr;
    }
    const QString where = QDir::toNativeSeparators(exportingPath);
    if (!result.error.isEmpty())
        emit message(tr("Not exported: %1").arg(result.error));
    else if (!result.note.isEmpty())
        emit message(tr("Exported to %1; %2").arg(where, result.note));
    else
        emit message(tr("Exported to %1").arg(where));
}
