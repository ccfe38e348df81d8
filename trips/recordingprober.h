#ifndef RECORDINGPROBER_H
#define RECORDINGPROBER_H

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

struct GpsLogRecord;
class QThreadPool;

// A recording to look at: its video, and its log when a path can be built.
struct ProbeRequest
{
    QString videoPath;
    QString logPath;
};

// What a look at a recording found.
struct RecordingProbe
{
    QString videoPath;
    bool videoFound = false; // false: the video was not there (a card taken out); nothing was learned
    qint64 durationMs = -1;  // -1: not a video that can be read, or of no known length
    qint64 logStartMs = -1;  // UTC of the earliest and latest fix; -1 without a fix
    qint64 logEndMs = -1;
};

// The earliest and latest fix of a log, UTC ms; in a log without a fix, of
// its lines that carry a time; -1 when none does. A log whose clock jumps
// back still spans from its earliest to its latest.
struct LogSpan
{
    qint64 startMs = -1;
    qint64 endMs = -1;

    static LogSpan of(const QList<GpsLogRecord> &records);
};

struct ProbeQueue;

// Looks at recordings off the window's thread, one after another: the video's
// length through libvlc's parser (local files only, with a time limit) and the
// span of its log. Results come by the probed() signal on the prober's thread,
// in the order asked, a few at a time.
class RecordingProber : public QObject
{
    Q_OBJECT

public:
    explicit RecordingProber(QObject *parent = nullptr);
    // Stops at once: the file being parsed is let go, the rest is not looked at.
    ~RecordingProber() override;

    // Queued behind what was asked before.
    void probe(const QList<ProbeRequest> &requests);
    bool isBusy() const;

    // The same look on the calling thread, for the command-line modes.
    static QList<RecordingProbe> probeNow(const QList<ProbeRequest> &requests);

signals:
    void probed(const QList<RecordingProbe> &results);
    // Everything asked so far has been answered.
    void finished();

private:
    void work();

    std::unique_ptr<ProbeQueue> queue;
    std::unique_ptr<QThreadPool> pool;
};

#endif // RECORDINGPROBER_H
