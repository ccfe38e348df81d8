#include "export/exportjob.h"

#include <QtConcurrent>

ExportJob::ExportJob(QObject *parent)
    : QObject(parent)
{
    connect(&watcher, &QFutureWatcher<ClipExportResult>::finished, this,
            [this] { emit finished(watcher.result()); });
}

ExportJob::~ExportJob()
{
    cancel();
    watcher.waitForFinished();
}

void ExportJob::start(Work work)
{
    if (isRunning())
        return;
    control = std::make_shared<ClipExportControl>();
    // Safe from the worker: the destructor waits for it, and progress still
    // queued then is dropped with this object.
    control->progress = [this](double fraction) {
        QMetaObject::invokeMethod(this, [this, fraction] { emit progressed(int(fraction * 1000)); },
                                  Qt::QueuedConnection);
    };
    watcher.setFuture(QtConcurrent::run([work = std::move(work), control = control] { return work(*control); }));
}

void ExportJob::cancel()
{
    if (control)
        control->cancelled = true;
}
