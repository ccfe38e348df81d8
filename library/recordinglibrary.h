#ifndef RECORDINGLIBRARY_H
#define RECORDINGLIBRARY_H

#include "catalogue/uvideoandgpsfiles.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QSqlQuery;

// What tells whether a video or its log changed since it was looked at.
struct FileStamp
{
    qint64 size = -1;     // -1: no file
    qint64 modified = -1; // ms since the epoch, UTC

    static FileStamp of(const QString &path);
    bool operator==(const FileStamp &other) const
    {
        return size == other.size && modified == other.modified;
    }
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
};

// A recording as the library keeps it: what the tables show, and the stamps of
// both files when they were rated.
struct StoredRecording
{
    VideoAndGpsfileInfo info;
    FileStamp video;
    FileStamp log;
    // What a look at the files found, once (see RecordingProber); a recording
    // whose files change is looked at again.
    bool probed = false;
    qint64 durationMs = -1; // -1: no video of known length
    qint64 logStartMs = -1; // UTC of the log's earliest and latest fix; -1 without a fix
    qint64 logEndMs = -1;
    // The log's record for video second s is the one of second s + this: the
    // camera's clock and the receiver's may disagree by a few seconds.
    int clockOffsetSeconds = 0;

    // The stamps of the files as they are now.
    static StoredRecording describe(const VideoAndGpsfileInfo &info);
};

// The user's recordings, kept between runs in one SQLite file
// (<data>/Marvenda/library.sqlite), in the order they were imported. The file
// is opened in WAL mode, so that a second program reading it (`--list`) or a
// crash in the middle of an import never leaves it damaged; each store is its
// own transaction.
class RecordingLibrary
{
public:
    explicit RecordingLibrary(const QString &path = defaultPath());
    ~RecordingLibrary();
    RecordingLibrary(const RecordingLibrary &) = delete;
    RecordingLibrary &operator=(const RecordingLibrary &) = delete;

    static QString defaultPath();
    static constexpr int kSchemaVersion = 3;

    // Opens the file, creating or migrating it. A file that is no library of
    // ours (garbage, truncated, from a newer version) is moved aside as
    // <file>.broken-<date> and a new one started; problem() then says so. False
    // when no library can be kept at all (a data folder that cannot be written).
    bool open();
    bool isOpen() const { return opened; }
    // One sentence for the user about what went wrong at open(); empty when nothing did.
    QString problem() const { return openProblem; }
    QString path() const { return filePath; }

    QList<StoredRecording> recordings() const;
    // Adds the recording at the end, or updates the one with the same video path.
    bool store(const StoredRecording &recording);
    // Many changes as one transaction: an import's batch costs one commit.
    bool beginChanges();
    bool commitChanges();
    // Replaces the recording stored at `oldVideoPath` (a card mounted elsewhere).
    bool move(const QString &oldVideoPath, const StoredRecording &recording);
    // What a probe found for the recording at `videoPath`, and nothing else.
    bool storeProbe(const QString &videoPath, qint64 durationMs, qint64 logStartMs, qint64 logEndMs);
    bool storeClockOffset(const QString &videoPath, int seconds);
    bool remove(const QString &videoPath);

private:
    bool migrate();
    bool openFile();
    void moveAside();

    QString filePath;
    QString connection;
    QString openProblem;
    bool opened = false;
    // Prepared once: an import stores a thousand recordings in a row.
    std::unique_ptr<QSqlQuery> storeQuery;
};

#endif // RECORDINGLIBRARY_H
