#include "library/librarykeeper.h"

#include "catalogue/uvideoandgpsfiles.h"

#include <QFileInfo>

LibraryKeeper::LibraryKeeper(UVideoAndGpsfiles *catalogue, QObject *parent)
    : QObject(parent), catalogue(catalogue)
{
    connect(catalogue, &UVideoAndGpsfiles::VideoDeleted, this, &LibraryKeeper::forget);
}

void LibraryKeeper::restoreFrom(RecordingLibrary *opened)
{
    library = nullptr; // what it holds is not stored again
    const QList<StoredRecording> stored = opened ? opened->recordings() : QList<StoredRecording>();
    for (const StoredRecording &recording : stored)
        append(recording);
    library = opened;
}

std::optional<StoredRecording> LibraryKeeper::describe(const QString &videoPath)
{
    // The same file reached through a link or another spelling is one recording.
    const QString canonical = QFileInfo(videoPath).canonicalFilePath();
    std::optional<VideoAndGpsfileInfo> info =
            UVideoAndGpsfiles::describeVideo(canonical.isEmpty() ? videoPath : canonical);
    if (!info)
        return std::nullopt;
    return StoredRecording::describe(*info);
}

void LibraryKeeper::addImported(const StoredRecording &recording)
{
    // Without a library the program lists what it is given, as it always did.
    if (!library) {
        append(recording);
        return;
    }
    int index = indexOfPath(recording.info.videoPath);
    if (index < 0)
        index = indexOfMoved(recording);
    if (index < 0) {
        append(recording);
        return;
    }
    const StoredRecording &listed = known.at(index);
    const bool changed = listed.info.videoPath != recording.info.videoPath || listed.video != recording.video
            || listed.log != recording.log || listed.info.gpsFilePath != recording.info.gpsFilePath;
    if (changed)
        replace(index, recording);
}

void LibraryKeeper::addImported(const QList<StoredRecording> &recordings)
{
    const bool batch = library && library->beginChanges();
    for (const StoredRecording &recording : recordings)
        addImported(recording);
    if (batch)
        library->commitChanges();
}

int LibraryKeeper::indexOfPath(const QString &videoPath) const
{
    if (!pathCount.contains(videoPath))
        return -1;
    for (int i = 0; i < known.size(); ++i) {
        if (known.at(i).info.videoPath == videoPath)
            return i;
    }
    return -1;
}

// A card mounted at another path: the same name, size and time, and the
// recording listed is no longer where it was.
int LibraryKeeper::indexOfMoved(const StoredRecording &recording) const
{
    for (int i = 0; i < known.size(); ++i) {
        const StoredRecording &listed = known.at(i);
        if (listed.info.fileName == recording.info.fileName && listed.video == recording.video
            && !QFileInfo::exists(listed.info.videoPath))
            return i;
    }
    return -1;
}

void LibraryKeeper::replace(int index, const StoredRecording &recording)
{
    const QString oldPath = known.at(index).info.videoPath;
    if (library)
        library->move(oldPath, recording);
    if (--pathCount[oldPath] == 0)
        pathCount.remove(oldPath);
    ++pathCount[recording.info.videoPath];
    known[index] = recording;
    catalogue->replaceEntry(index, recording.info);
}

void LibraryKeeper::append(const StoredRecording &recording)
{
    known << recording;
    ++pathCount[recording.info.videoPath];
    catalogue->addDescribed(recording.info);
    if (library)
        library->store(recording);
}

void LibraryKeeper::forget(int index)
{
    if (index < 0 || index >= known.size())
        return;
    const QString path = known.takeAt(index).info.videoPath;
    if (--pathCount[path] == 0) {
        pathCount.remove(path);
        if (library)
            library->remove(path);
    }
}
