#include "trips/recordingprober.h"

#include "catalogue/gpslogdata.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

#include <vlc/vlc.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <optional>
#include <utility>

// What the worker and the window's thread share; libvlc's answers wake the
// worker through it too.
struct ProbeQueue
{
    std::mutex mutex;
    std::condition_variable wake;
    QList<ProbeRequest> pending;
    bool running = false;
    bool stopping = false;
};

namespace {

constexpr int kParseTimeoutMs = 5000;
// libvlc answers "timeout" at its own limit; this one only guards against no answer.
constexpr std::chrono::milliseconds kAnswerWait(kParseTimeoutMs + 2000);
// Results go to the window a few at a time, not one event per recording.
constexpr qint64 kBatchMs = 250;

struct ParseAnswer
{
    ProbeQueue &queue;
    bool answered = false;
};

void parsedChanged(const libvlc_event_t *, void *data)
{
    auto *answer = static_cast<ParseAnswer *>(data);
    const std::lock_guard<std::mutex> lock(answer->queue.mutex);
    answer->answered = true;
    answer->queue.wake.notify_all();
}

// Video lengths through a libvlc instance of its own, made at the first video
// (a library of recordings all gone from their card needs none).
class VideoParser
{
public:
    explicit VideoParser(ProbeQueue &queue) : queue(queue) { }
    ~VideoParser()
    {
        if (instance)
            libvlc_release(instance);
    }
    VideoParser(const VideoParser &) = delete;
    VideoParser &operator=(const VideoParser &) = delete;

    // -1 when it is no video libvlc can read, gives no length, or takes too long.
    qint64 durationMs(const QString &path)
    {
        if (!instance && !triedInstance) {
            triedInstance = true;
            const char *const arguments[] = { "--ignore-config", "--quiet", "-I", "dummy" };
            instance = libvlc_new(std::size(arguments), arguments);
        }
        libvlc_media_t *media = instance ? libvlc_media_new_path(instance, QFile::encodeName(path).constData())
                                         : nullptr;
        if (!media)
            return -1;
        ParseAnswer answer{ queue };
        libvlc_event_manager_t *events = libvlc_media_event_manager(media);
        libvlc_event_attach(events, libvlc_MediaParsedChanged, parsedChanged, &answer);
        qint64 duration = -1;
        if (libvlc_media_parse_with_options(media, libvlc_media_parse_local, kParseTimeoutMs) == 0) {
            if (waitFor(answer) && libvlc_media_get_parsed_status(media) == libvlc_media_parsed_status_done)
                duration = std::max<qint64>(-1, libvlc_media_get_duration(media));
            else
                libvlc_media_parse_stop(media);
        }
        // Detaching waits for a callback under way, so `answer` may go after it.
        libvlc_event_detach(events, libvlc_MediaParsedChanged, parsedChanged, &answer);
        libvlc_media_release(media);
        return duration == 0 ? -1 : duration;
    }

private:
    bool waitFor(ParseAnswer &answer)
    {
        std::unique_lock<std::mutex> lock(queue.mutex);
        queue.wake.wait_for(lock, kAnswerWait, [&] { return answer.answered || queue.stopping; });
        return answer.answered;
    }

    ProbeQueue &queue;
    libvlc_instance_t *instance = nullptr;
    bool triedInstance = false;
};

RecordingProbe probeOne(const ProbeRequest &request, VideoParser &parser)
{
    RecordingProbe probe;
    probe.videoPath = request.videoPath;
    // Only a regular file: libvlc would wait on a FIFO.
    probe.videoFound = QFileInfo(request.videoPath).isFile();
    if (!probe.videoFound)
        return probe;
    probe.durationMs = parser.durationMs(request.videoPath);
    if (!request.logPath.isEmpty()) {
        GpsLogData log;
        log.LoadGpsLog(request.logPath);
        const LogSpan span = LogSpan::of(log.records);
        probe.logStartMs = span.startMs;
        probe.logEndMs = span.endMs;
    }
    return probe;
}

std::optional<ProbeRequest> nextRequest(ProbeQueue &queue)
{
    const std::lock_guard<std::mutex> lock(queue.mutex);
    if (queue.stopping || queue.pending.isEmpty()) {
        queue.running = false;
        return std::nullopt;
    }
    return queue.pending.takeFirst();
}

} // namespace

// The fixes' times; in a log without a single fix, the times its lines still
// carry (the receiver's clock runs on without a fix), which place a minute
// in a tunnel better than the date of a video copied from the card.
LogSpan LogSpan::of(const QList<GpsLogRecord> &records)
{
    LogSpan span;
    for (const bool fixesOnly : { true, false }) {
        for (const GpsLogRecord &record : records) {
            const std::optional<qint64> utcMs =
                    record.dataAvailable || !fixesOnly ? recordUtcMs(record) : std::nullopt;
            if (!utcMs)
                continue;
            span.startMs = span.startMs < 0 ? *utcMs : std::min(span.startMs, *utcMs);
            span.endMs = std::max(span.endMs, *utcMs);
        }
        if (span.startMs >= 0)
            break;
    }
    return span;
}

RecordingProber::RecordingProber(QObject *parent)
    : QObject(parent), queue(std::make_unique<ProbeQueue>()), pool(std::make_unique<QThreadPool>())
{
    pool->setMaxThreadCount(1);
}

RecordingProber::~RecordingProber()
{
    {
        const std::lock_guard<std::mutex> lock(queue->mutex);
        queue->stopping = true;
        queue->pending.clear();
    }
    queue->wake.notify_all();
    pool->waitForDone();
}

void RecordingProber::probe(const QList<ProbeRequest> &requests)
{
    if (requests.isEmpty())
        return;
    bool start = false;
    {
        const std::lock_guard<std::mutex> lock(queue->mutex);
        queue->pending.append(requests);
        start = !std::exchange(queue->running, true);
    }
    if (start)
        pool->start([this] { work(); });
}

bool RecordingProber::isBusy() const
{
    const std::lock_guard<std::mutex> lock(queue->mutex);
    return queue->running;
}

QList<RecordingProbe> RecordingProber::probeNow(const QList<ProbeRequest> &requests)
{
    ProbeQueue unshared;
    VideoParser parser(unshared);
    QList<RecordingProbe> results;
    results.reserve(requests.size());
    for (const ProbeRequest &request : requests)
        results.append(probeOne(request, parser));
    return results;
}

// On the pool's thread. The prober outlives it (its destructor waits), and
// what it posts to a prober being destroyed is dropped with it.
void RecordingProber::work()
{
    VideoParser parser(*queue);
    QList<RecordingProbe> batch;
    const auto send = [this, &batch] {
        if (!batch.isEmpty())
            QMetaObject::invokeMethod(this, [this, results = std::exchange(batch, {})] { emit probed(results); },
                                      Qt::QueuedConnection);
    };
    QElapsedTimer sinceSent;
    sinceSent.start();
    while (const std::optional<ProbeRequest> request = nextRequest(*queue)) {
        batch.append(probeOne(*request, parser));
        if (sinceSent.hasExpired(kBatchMs)) {
            send();
            sinceSent.restart();
        }
    }
    send();
    QMetaObject::invokeMethod(this, [this] { emit finished(); }, Qt::QueuedConnection);
}
