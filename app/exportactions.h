#ifndef EXPORTACTIONS_H
#define EXPORTACTIONS_H

#include "export/captionedsnapshot.h"
#include "export/rangemarks.h"
#include "trips/trip.h"

#include <QObject>

#include <functional>

class ExportJob;
class QAction;
class QProgressDialog;
class QWidget;
struct ClipExportResult;

// What is playing, as the exports see it: the playing trip, or the playing
// recording as a trip of one clip, and where the player is in it.
struct ExportSubject
{
    Trip drive;
    DriveMark now;
    bool loaded = false;
    // The log's seconds run this far ahead of the video's.
    int clockOffsetSeconds = 0;
};

// The marks and the exports of the window's menu: I and O mark the range,
// then a clip, GPX or CSV export asks where to write and runs in the
// background with a progress window that can cancel it.
class ExportActions : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Clip, CaptionedClip, Gpx, Csv };
    Q_ENUM(Kind)

    ExportActions(QWidget *window, std::function<ExportSubject()> subject);

    // For the menu; the marks' keys work anywhere in the window.
    QList<QAction *> actions() const { return menuActions; }
    const RangeMarks &marks() const { return rangeMarks; }
    // Another recording or trip starts: the marks were of the last one.
    void forgetMarks();
    // Exports what is marked of the playing drive to `path`, in the background.
    void exportTo(Kind kind, const QString &path);
    bool isExporting() const;
    // How a clip's burnt-in caption writes time and speed.
    void setCaptionStyle(const CaptionStyle &style) { captionStyle = style; }

signals:
    void marksChanged();
    // What became of an export, or why there is nothing to export.
    void message(const QString &text);

private:
    void mark(bool start);
    void askAndExport(Kind kind);
    QString suggestedPath(Kind kind, const ExportSubject &subject) const;
    void showFinished(const ClipExportResult &result);

    QWidget *window;
    std::function<ExportSubject()> subject;
    RangeMarks rangeMarks;
    QList<QAction *> menuActions;
    ExportJob *job;
    QProgressDialog *progress = nullptr;
    QString exportingPath;
    QString lastFolder;
    CaptionStyle captionStyle;
};

#endif // EXPORTACTIONS_H
