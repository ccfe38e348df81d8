// Importing videos: the open dialog, the command line and drops all end here.

#include "catalogue/videoimport.h"

#include "app/velmora.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "widgets/noticebar.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QUrl>

#include <algorithm>

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

// One video at a time, with the events in between, so that the window keeps
// painting and Cancel can stop after the current video.
void Velmora::importPending()
{
    QProgressDialog progress(tr("Importing recordings..."), tr("Cancel"), 0,
                             int(pendingImports.size()), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.setMinimumDuration(kProgressDelayMs);
    progress.setValue(0); // the half second counts from here
    int done = 0;
    QStringList notImported;
    while (!pendingImports.isEmpty() && !progress.wasCanceled()) {
        const QString path = pendingImports.takeFirst();
        const int before = catalogue->GetVideoCount();
        catalogue->AddVideoAndGpsfiles({ path });
        if (catalogue->GetVideoCount() == before)
            notImported << path;
        ++done;
        QCoreApplication::processEvents();
        progress.setMaximum(done + int(pendingImports.size()));
        progress.setValue(done);
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
