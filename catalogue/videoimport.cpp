// Importing videos: the open dialog, the command line and drops all end here.

#include "catalogue/videoimport.h"

#include "app/velmora.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "library/librarykeeper.h"
#include "widgets/noticebar.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>
#include <QDir>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// Shorter imports finish without ever showing their progress.
constexpr int kProgressDelayMs = 500;
// Names listed in the notice about files that could not be imported.
constexpr int kNamesListed = 5;

bool isVideoFile(const QFileInfo &file)
{
    return file.isFile() && file.suffix().compare(QLatin1String("mov"), Qt::CaseInsensitive) == 0;
}

bool isImportable(const QUrl &url)
{
    if (!url.isLocalFile())
        return false;
    const QFileInfo file(url.toLocalFile());
    return file.isDir() || isVideoFile(file);
}

// Symbolic links to folders are not followed, so a link loop cannot trap it.
QStringList videosUnder(const QString &folder)
{
    QStringList videos;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (isVideoFile(it.fileInfo()))
            videos << it.filePath();
    }
    std::sort(videos.begin(), videos.end());
    return videos;
}

QStringList videosFromUrls(const QList<QUrl> &urls)
{
    QStringList videos;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo file(url.toLocalFile());
        if (file.isDir())
            videos += videosUnder(file.filePath());
        else if (isVideoFile(file))
            videos << file.filePath();
    }
    return videos;
}

// A copy only: a "move" would let the file manager delete what was dropped.
bool acceptAsCopy(QDropEvent *event)
{
    if (!(event->possibleActions() & Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

using Described = std::optional<StoredRecording>;

void describeVideos(QPromise<Described> &promise, const QStringList &paths)
{
    for (const QString &path : paths) {
        if (promise.isCanceled())
            return;
        promise.addResult(LibraryKeeper::describe(path));
    }
}

} // namespace

QStringList videoPathsFromArguments(const QStringList &arguments)
{
    QStringList paths;
    for (const QString &argument : arguments)
        paths << QDir::cleanPath(QFileInfo(argument).absoluteFilePath());
    return paths;
}

void Velmora::importVideos(const QStringList &paths)
{
    pendingImports += paths;
    // Videos that arrive while an import runs (a drop) join it at its end
    // instead of starting a second import inside the first.
    if (importing)
        return;
    importing = true;
    importPending();
    importing = false;
    ListTableUpdate();
}

// The files are looked at and the logs rated on a worker thread, one video
// after the other; the window adds each as it comes, in order, and answers
// every event meanwhile. Cancel stops after the video being looked at.
void Velmora::importPending()
{
    QProgressDialog progress(tr("Importing recordings..."), tr("Cancel"), 0,
                             int(pendingImports.size()), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.setMinimumDuration(kProgressDelayMs);
    progress.setValue(0); // the half second counts from here
    // Results come in batches, which would fool the dialog's own estimate of
    // the time left: a long import shows after the half second, whatever it is.
    QTimer::singleShot(kProgressDelayMs, &progress, [&progress] { progress.show(); });
    int done = 0;
    QStringList notImported;
    QStringList batch;
    QFutureWatcher<Described> watcher;
    QEventLoop loop;
    connect(&watcher, &QFutureWatcherBase::resultsReadyAt, &loop, [&](int begin, int end) {
        QList<StoredRecording> found;
        for (int i = begin; i < end; ++i) {
            if (const Described recording = watcher.resultAt(i))
                found << *recording;
            else
                notImported << batch.at(i);
        }
        keeper->addImported(found);
        done += end - begin;
        progress.setMaximum(done + int(pendingImports.size()) + int(batch.size()) - end);
        progress.setValue(done);
    });
    connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    connect(&progress, &QProgressDialog::canceled, &watcher, &QFutureWatcherBase::cancel);
    // Videos dropped meanwhile wait in pendingImports for the next batch.
    while (!pendingImports.isEmpty() && !progress.wasCanceled()) {
        batch = std::exchange(pendingImports, {});
        watcher.setFuture(QtConcurrent::run(describeVideos, batch));
        loop.exec();
    }
    pendingImports.clear();
    if (!notImported.isEmpty())
        showNotImported(notImported);
}

// Names that are not valid UTF-8 arrive with replacement characters, and show so.
void Velmora::showNotImported(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths.mid(0, kNamesListed))
        names << QFileInfo(path).fileName();
    QString text = tr("Not imported, not a readable video file: %1")
                           .arg(names.join(QStringLiteral(", ")));
    if (paths.size() > kNamesListed)
        text += QLatin1Char(' ') + tr("and %n more", nullptr, int(paths.size()) - kNamesListed);
    notice->showNotice(text);
}

void Velmora::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.cbegin(), urls.cend(), isImportable))
        acceptAsCopy(event);
}

void Velmora::dropEvent(QDropEvent *event)
{
    if (!acceptAsCopy(event))
        return;
    // Imported after the drop has been answered, so that the program the
    // files came from is not kept waiting.
    const QList<QUrl> urls = event->mimeData()->urls();
    QMetaObject::invokeMethod(
        this,
        [this, urls] {
            const QStringList videos = videosFromUrls(urls);
            if (!videos.isEmpty())
                importVideos(videos);
        },
        Qt::QueuedConnection);
}
