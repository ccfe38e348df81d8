#ifndef EXPORTJOB_H
#define EXPORTJOB_H

#include "export/clipexport.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <memory>

// One export at a time, run off the GUI thread: its progress and its end are
// announced on the thread that started it.
class ExportJob : public QObject
{
    Q_OBJECT

public:
    using Work = std::function<ClipExportResult(ClipExportControl &)>;

    explicit ExportJob(QObject *parent = nullptr);
    // A running export is cancelled and waited for: it leaves no file.
    ~ExportJob() override;

    bool isRunning() const { return watcher.isRunning(); }
    // Does nothing while another export runs.
    void start(Work work);
    void cancel();

signals:
    void progressed(int permille);
    void finished(const ClipExportResult &result);

private:
    std::shared_ptr<ClipExportControl> control;
    QFutureWatcher<ClipExportResult> watcher;
};

#endif // EXPORTJOB_H
