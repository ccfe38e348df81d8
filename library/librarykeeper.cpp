#include "library/librarykeeper.h"

#include "catalogue/recordingtime.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "trips/recordingprober.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

LibraryKeeper::LibraryKeeper(UVideoAndGpsfiles *catalogue, QObject *parent)
    : QObject(parent), catalogue(catalogue), prober(new RecordingProber(this))
{
    connect(catalogue, &UVideoAndGpsfiles::VideoDeleted, this, &LibraryKeeper::forget);
    connect(prober, &RecordingProber::probed, this, &LibraryKeeper::applyProbes);
    connect(prober, &RecordingProber::finished, this, &LibraryKeeper::probingFinished);
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
    // The camera's clock, not the file's: a card copied with cp gives every
    // video the time of the copy.
    if (const std::optional<qint64> fix = firstFixUtcMs(info->gpsFilePath))
        info->startMs = *fix;
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
    if (!changed)
        return;
    StoredRecording updated = recording;
    updated.clockOffsetSeconds = listed.clockOffsetSeconds;
    // A card mounted elsewhere holds the same files: what their probe found stays true.
    if (listed.video == recording.video && listed.log == recording.log && !recording.probed) {
        updated.probed = listed.probed;
        updated.durationMs = listed.durationMs;
        updated.logStartMs = listed.logStartMs;
        updated.logEndMs = listed.logEndMs;
    }
    replace(index, updated);
}

int LibraryKeeper::clockOffset(int index) const
{
    return index >= 0 && index < known.size() ? known.at(index).clockOffsetSeconds : 0;
}

void LibraryKeeper::setClockOffset(const QList<int> &indices, int seconds)
{
    const bool batch = library && library->beginChanges();
    for (const int index : indices) {
        if (index < 0 || index >= known.size())
            continue;
        known[index].clockOffsetSeconds = seconds;
        if (library)
            library->storeClockOffset(known.at(index).info.videoPath, seconds);
    }
    if (batch)
        library->commitChanges();
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
    if (!recording.probed)
        wantProbe(recording.info.videoPath);
}

void LibraryKeeper::append(const StoredRecording &recording)
{
    known << recording;
    ++pathCount[recording.info.videoPath];
    catalogue->addDescribed(recording.info);
    if (library)
        library->store(recording);
    if (!recording.probed)
        wantProbe(recording.info.videoPath);
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
    emit tripsChanged();
}

// Gathered until the event loop runs, so that an import's batch, or the whole
// library at start, goes to the prober as one request.
void LibraryKeeper::wantProbe(const QString &videoPath)
{
    if (probeWanted.isEmpty())
        QMetaObject::invokeMethod(this, [this] { sendProbes(); }, Qt::QueuedConnection);
    probeWanted << videoPath;
}

void LibraryKeeper::sendProbes()
{
    prober->probe(takeProbeRequests());
}

QList<ProbeRequest> LibraryKeeper::takeProbeRequests()
{
    QSet<QString> wanted(probeWanted.cbegin(), probeWanted.cend());
    probeWanted.clear();
    QList<ProbeRequest> requests;
    for (const StoredRecording &recording : std::as_const(known)) {
        const QString &path = recording.info.videoPath;
        if (!recording.probed && wanted.remove(path)) {
            requests.append({ path, recording.info.gpsFilePath });
            ++probesAsked[path];
        }
    }
    return requests;
}

void LibraryKeeper::probeNow()
{
    for (const StoredRecording &recording : std::as_const(known)) {
        if (!recording.probed)
            probeWanted << recording.info.videoPath;
    }
    applyProbes(RecordingProber::probeNow(takeProbeRequests()));
    probingFinished();
}

// A video that was not there taught nothing: it is asked about again at the
// next start, when its card may be back.
void LibraryKeeper::applyProbes(const QList<RecordingProbe> &results)
{
    QHash<QString, RecordingProbe> current;
    for (const RecordingProbe &probe : results) {
        const auto asked = probesAsked.find(probe.videoPath);
        if (asked != probesAsked.end() && --asked.value() > 0)
            continue;
        if (asked != probesAsked.end())
            probesAsked.erase(asked);
        if (probe.videoFound)
            current.insert(probe.videoPath, probe);
    }
    if (current.isEmpty())
        return;
    const bool batch = library && library->beginChanges();
    for (int index = 0; index < known.size(); ++index) {
        StoredRecording &recording = known[index];
        const auto found = current.constFind(recording.info.videoPath);
        if (found == current.cend())
            continue;
        recording.probed = true;
        recording.durationMs = found->durationMs;
        recording.logStartMs = found->logStartMs;
        recording.logEndMs = found->logEndMs;
        if (library)
            library->storeProbe(recording.info.videoPath, found->durationMs, found->logStartMs, found->logEndMs);
        probesApplied = true;
        emit probed(index);
    }
    if (batch)
        library->commitChanges();
}

void LibraryKeeper::probingFinished()
{
    if (std::exchange(probesApplied, false))
        emit tripsChanged();
}

QList<TripClip> LibraryKeeper::tripClips() const
{
    QList<TripClip> clips;
    clips.reserve(known.size());
    for (int index = 0; index < known.size(); ++index)
        clips.append(tripClipOf(index, known.at(index)));
    return clips;
}

TripClip LibraryKeeper::tripClipOf(int index, const StoredRecording &recording)
{
    TripClip clip;
    clip.index = index;
    clip.videoPath = recording.info.videoPath;
    const bool withLog = recording.info.gpsState != GpsFileNotExist || recording.logStartMs >= 0;
    if (withLog)
        clip.logPath = recording.info.gpsFilePath;
    clip.durationMs = recording.durationMs;
    if (recording.logStartMs >= 0 && recording.logEndMs >= 0) {
        clip.startMs = recording.logStartMs;
        clip.endMs = std::max(recording.logStartMs, recording.logEndMs);
    } else {
        clip.startMs = recording.video.modified;
        clip.endMs = clip.startMs + std::max<qint64>(0, recording.durationMs);
    }
    return clip;
}
