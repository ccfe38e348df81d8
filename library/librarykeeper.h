#ifndef LIBRARYKEEPER_H
#define LIBRARYKEEPER_H

#include "library/recordinglibrary.h"
#include "trips/trip.h"

#include <QHash>
#include <QObject>
#include <QStringList>

struct ProbeRequest;
class RecordingProber;
struct RecordingProbe;
class UVideoAndGpsfiles;

// Keeps the catalogue and the library in step: fills the catalogue from the
// library at start, adds what an import finds (once), and forgets what the user
// deletes. Without a library it only adds to the catalogue. Recordings that
// were never probed (their video's length, their log's span) are probed in the
// background once the event loop runs, and what is found is kept.
class LibraryKeeper : public QObject
{
    Q_OBJECT

public:
    explicit LibraryKeeper(UVideoAndGpsfiles *catalogue, QObject *parent = nullptr);

    // Remembers through `library` from now on; fills the catalogue with what it holds.
    void restoreFrom(RecordingLibrary *library);

    // A video an import looked at (slow work, any thread): the recording with
    // its canonical path and the stamps of its files; nothing when it is not
    // a readable video file.
    static std::optional<StoredRecording> describe(const QString &videoPath);

    // Added when new; a recording already listed (same file, or the same name,
    // size and time on a card mounted elsewhere) is updated instead when its
    // files changed or moved, and left alone otherwise.
    void addImported(const StoredRecording &recording);
    // A batch of an import, stored as one transaction.
    void addImported(const QList<StoredRecording> &recordings);

    // The clock offset of recording `index` (see StoredRecording), and a new
    // one for each of `indices`, kept in the library.
    int clockOffset(int index) const;
    void setClockOffset(const QList<int> &indices, int seconds);

    // Probes what lacks a probe on the calling thread, now (for the
    // command-line modes); what the background has under way is left to it.
    void probeNow();

    // Every recording as a clip to group into trips, in catalogue order.
    QList<TripClip> tripClips() const;
    // Where a recording lies in time: from its log's first and last fix when
    // the log has fixes, otherwise from its video's date and length (none
    // while unknown).
    static TripClip tripClipOf(int index, const StoredRecording &recording);

signals:
    // Recording `index` was probed; its clip may have moved.
    void probed(int index);
    // The trips may have changed: probes came in, or recordings went.
    void tripsChanged();

private:
    void wantProbe(const QString &videoPath);
    void sendProbes();
    QList<ProbeRequest> takeProbeRequests();
    void applyProbes(const QList<RecordingProbe> &results);
    void probingFinished();

    void forget(int index);
    int indexOfPath(const QString &videoPath) const;
    int indexOfMoved(const StoredRecording &recording) const;
    void replace(int index, const StoredRecording &recording);
    void append(const StoredRecording &recording);

    UVideoAndGpsfiles *catalogue;
    RecordingLibrary *library = nullptr;
    // Entry i of the catalogue, with the stamps it was rated with.
    QList<StoredRecording> known;
    QHash<QString, int> pathCount;

    RecordingProber *prober;
    // Paths to ask the prober about once the event loop runs.
    QStringList probeWanted;
    // Questions asked per path and not yet answered: the prober answers in
    // order, so only the answer to the last one is current.
    QHash<QString, int> probesAsked;
    bool probesApplied = false;
};

#endif // LIBRARYKEEPER_H
