#include "export/clipexport.h"

#include "export/captionburner.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
}

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr int kIoBufferBytes = 1 << 20;
constexpr AVRational kMs{ 1, 1000 };
// Reading may stop this much short of a piece's end before the source counts
// as cut off: the last frames' timing is not exact.
constexpr qint64 kEndToleranceMs = 1000;

struct InputCloser
{
    void operator()(AVFormatContext *context) const { avformat_close_input(&context); }
};
using InputContext = std::unique_ptr<AVFormatContext, InputCloser>;

struct OutputCloser
{
    void operator()(AVFormatContext *context) const
    {
        if (context->pb) {
            av_freep(&context->pb->buffer);
            avio_context_free(&context->pb);
        }
        avformat_free_context(context);
    }
};
using OutputContext = std::unique_ptr<AVFormatContext, OutputCloser>;

struct PacketFree
{
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
using Packet = std::unique_ptr<AVPacket, PacketFree>;

QString avErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

QString nameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

// One opened video: its picture stream and, when it has one, its sound.
struct Source
{
    InputContext context;
    int video = -1;
    int audio = -1;
    qint64 durationMs = 0;

    AVStream *stream(int index) const { return context->streams[index]; }
    // The stream time of the video's first moment: ms 0 of a piece.
    int64_t videoStart() const
    {
        const int64_t start = stream(video)->start_time;
        return start == AV_NOPTS_VALUE ? 0 : start;
    }
};

std::optional<Source> openSource(const QString &path, QString &error)
{
    // Only a regular file: a FIFO put in a video's place would block the open.
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("cannot read %1: file not found").arg(nameOf(path));
        return std::nullopt;
    }
    AVFormatContext *opened = nullptr;
    int code = avformat_open_input(&opened, QFile::encodeName(path).constData(), nullptr, nullptr);
    if (code < 0) {
        error = QStringLiteral("cannot read %1: %2").arg(nameOf(path), avErrorText(code));
        return std::nullopt;
    }
    Source source;
    source.context.reset(opened);
    code = avformat_find_stream_info(opened, nullptr);
    source.video = code < 0 ? code : av_find_best_stream(opened, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (source.video < 0) {
        error = QStringLiteral("cannot read %1: not a video").arg(nameOf(path));
        return std::nullopt;
    }
    source.audio = av_find_best_stream(opened, AVMEDIA_TYPE_AUDIO, -1, source.video, nullptr, 0);
    const AVStream *video = source.stream(source.video);
    source.durationMs = opened->duration != AV_NOPTS_VALUE
            ? av_rescale_q(opened->duration, AV_TIME_BASE_Q, kMs)
            : av_rescale_q(std::max<int64_t>(0, video->duration), video->time_base, kMs);
    return source;
}

bool samePicture(const AVCodecParameters *a, const AVCodecParameters *b)
{
    return a->codec_id == b->codec_id && a->width == b->width && a->height == b->height;
}

bool sameSound(const AVCodecParameters *a, const AVCodecParameters *b)
{
    return a->codec_id == b->codec_id && a->sample_rate == b->sample_rate
            && a->ch_layout.nb_channels == b->ch_layout.nb_channels;
}

// The muxer writes through these into a temporary file beside the cut, which
// takes the cut's name only once it is whole.
int writeToFile(void *file, uint8_t *data, int size)
{
    const qint64 written = static_cast<QFile *>(file)->write(reinterpret_cast<const char *>(data), size);
    return written == size ? size : AVERROR(EIO);
}

int64_t seekInFile(void *opaque, int64_t offset, int whence)
{
    auto *file = static_cast<QFile *>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return file->size();
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += file->pos();
        break;
    case SEEK_END:
        offset += file->size();
        break;
    default:
        return AVERROR(EINVAL);
    }
    return file->seek(offset) ? offset : AVERROR(EIO);
}

const AVOutputFormat *containerFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("mp4"))
        return av_guess_format("mp4", nullptr, nullptr);
    if (suffix == QLatin1String("mov"))
        return av_guess_format("mov", nullptr, nullptr);
    return nullptr;
}

bool isOneOf(const QString &path, const QStringList &videos)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    return !target.isEmpty() && std::any_of(videos.cbegin(), videos.cend(), [&](const QString &video) {
        return QFileInfo(video).canonicalFilePath() == target;
    });
}

// Copies the packets of the pieces into one file, each piece's time laid
// after the one before.
class Remuxer
{
public:
    Remuxer(std::vector<Source> &sources, const QList<ClipPiece> &pieces, ClipExportControl *control,
            const CaptionLine &caption)
        : sources(sources), pieces(pieces), control(control), caption(caption)
    {
        for (const ClipPiece &piece : pieces)
            totalMs += piece.toMs - piece.fromMs;
    }

    // Streams of the first source that the container can hold; a note on
    // what it cannot. Empty, or why there are none.
    QString addStreams(AVFormatContext *output, QString &note)
    {
        const Source &first = sources.front();
        if (caption) {
            QString error;
            burner = CaptionBurner::create(first.stream(first.video), output->oformat->flags & AVFMT_GLOBALHEADER,
                                           error);
            if (!burner)
                return error;
            videoOut = avformat_new_stream(output, nullptr);
            if (!videoOut || avcodec_parameters_from_context(videoOut->codecpar, burner->encoder()) < 0)
                return QStringLiteral("cannot start the cut");
            videoOut->time_base = burner->encoder()->time_base;
        } else {
            videoOut = newStream(output, first.stream(first.video));
        }
        if (first.audio < 0)
            return {};
        const AVCodecParameters *sound = first.stream(first.audio)->codecpar;
        if (avformat_query_codec(output->oformat, sound->codec_id, FF_COMPLIANCE_NORMAL) == 1) {
            audioOut = newStream(output, first.stream(first.audio));
            return {};
        }
        note = QStringLiteral("the sound (%1) cannot go into this container and was left out; "
                              "a .mov keeps it")
                       .arg(QString::fromLatin1(avcodec_get_name(sound->codec_id)));
        return {};
    }

    QString copyPieces(AVFormatContext *output)
    {
        this->output = output;
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (const QString error = copyPiece(sources[size_t(i)], pieces.at(i)); !error.isEmpty())
                return error;
            doneMs += pieces.at(i).toMs - pieces.at(i).fromMs;
        }
        if (burner && !burner->finish([this](AVPacket *packet) { return writeEncoded(packet); }))
            return QStringLiteral("cannot write the cut");
        return {};
    }

private:
    static AVStream *newStream(AVFormatContext *output, const AVStream *source)
    {
        AVStream *stream = avformat_new_stream(output, nullptr);
        if (!stream || avcodec_parameters_copy(stream->codecpar, source->codecpar) < 0)
            return nullptr;
        stream->codecpar->codec_tag = 0; // the container picks its own tag for the codec
        stream->time_base = source->time_base;
        return stream;
    }

    bool cancelled() const { return control && control->cancelled.load(); }

    void reportProgress(qint64 pieceMs)
    {
        if (!control || !control->progress || totalMs <= 0)
            return;
        const double fraction = std::clamp(double(doneMs + pieceMs) / double(totalMs), 0.0, 1.0);
        if (fraction - reported >= 0.005 || fraction == 1.0) {
            reported = fraction;
            control->progress(fraction);
        }
    }

    // Moves a packet from the source's time to the output's, the piece's
    // first key frame landing at `offsetUs`.
    bool write(AVPacket *packet, const AVStream *from, AVStream *to, int64_t &lastDts)
    {
        const int64_t shift = av_rescale_q(shiftUs - offsetUs, AV_TIME_BASE_Q, to->time_base);
        av_packet_rescale_ts(packet, from->time_base, to->time_base);
        if (packet->pts != AV_NOPTS_VALUE)
            packet->pts -= shift;
        if (packet->dts != AV_NOPTS_VALUE)
            packet->dts -= shift;
        // A packet that would step back in time (sound overlapping the next
        // piece's start) cannot be muxed: it is dropped, not the whole cut.
        if (packet->dts != AV_NOPTS_VALUE && lastDts != AV_NOPTS_VALUE && packet->dts <= lastDts)
            return true;
        if (packet->dts != AV_NOPTS_VALUE)
            lastDts = packet->dts;
        const int64_t endUs =
                av_rescale_q(packet->pts + std::max<int64_t>(0, packet->duration), to->time_base, AV_TIME_BASE_Q);
        pieceEndUs = std::max(pieceEndUs, endUs);
        packet->stream_index = to->index;
        packet->pos = -1;
        return av_interleaved_write_frame(output, packet) >= 0;
    }

    bool writeEncoded(AVPacket *packet)
    {
        av_packet_rescale_ts(packet, burner->encoder()->time_base, videoOut->time_base);
        packet->stream_index = videoOut->index;
        return av_interleaved_write_frame(output, packet) >= 0;
    }

    QString copyPiece(Source &source, const ClipPiece &piece)
    {
        const QString name = nameOf(piece.videoPath);
        AVFormatContext *input = source.context.get();
        const AVStream *video = source.stream(source.video);
        const int64_t fromTs = source.videoStart() + av_rescale_q(piece.fromMs, kMs, video->time_base);
        const int64_t toTs = source.videoStart() + av_rescale_q(piece.toMs, kMs, video->time_base);
        const int64_t toUs = av_rescale_q(toTs, video->time_base, AV_TIME_BASE_Q);
        if (piece.fromMs > 0 && av_seek_frame(input, source.video, fromTs, AVSEEK_FLAG_BACKWARD) < 0)
            return QStringLiteral("cannot seek in %1").arg(name);
        const bool withSound = audioOut && source.audio >= 0
                && sameSound(source.stream(source.audio)->codecpar, audioOut->codecpar);

        Packet packet(av_packet_alloc());
        bool started = false;
        bool videoDone = false;
        bool soundDone = !withSound;
        int64_t firstPtsUs = 0;
        int64_t lastVideoMs = piece.fromMs;
        int code = 0;
        // Each decoded picture inside the piece, captioned, goes to the encoder.
        const CaptionBurner::Take burnPicture = [&](AVFrame *frame) {
            const int64_t pts = frame->best_effort_timestamp;
            if (pts == AV_NOPTS_VALUE || pts < fromTs || videoDone)
                return true;
            if (pts >= toTs) {
                videoDone = true;
                return true;
            }
            lastVideoMs = av_rescale_q(pts - source.videoStart(), video->time_base, kMs);
            const int64_t outUs = av_rescale_q(pts, video->time_base, AV_TIME_BASE_Q) - shiftUs + offsetUs;
            pieceEndUs = std::max(pieceEndUs, outUs + burner->frameUs());
            reportProgress(std::clamp(lastVideoMs - piece.fromMs, qint64(0), piece.toMs - piece.fromMs));
            return burner->encode(frame, outUs, caption(piece.video, lastVideoMs),
                                  [this](AVPacket *encoded) { return writeEncoded(encoded); });
        };
        while (!(videoDone && soundDone) && (code = av_read_frame(input, packet.get())) >= 0) {
            if (cancelled())
                return QStringLiteral("cancelled");
            const AVStream *stream = input->streams[packet->stream_index];
            if (packet->stream_index == source.video && !videoDone && burner) {
                if (!started && (packet->flags & AV_PKT_FLAG_KEY)) {
                    if (!burner->startPiece(stream))
                        return QStringLiteral("cannot decode %1").arg(name);
                    started = true;
                    // Frame-accurate: the cut starts at the first picture at or after the mark.
                    firstPtsUs = av_rescale_q(fromTs, stream->time_base, AV_TIME_BASE_Q);
                    shiftUs = firstPtsUs;
                }
                if (started && !burner->decode(packet.get(), burnPicture))
                    return QStringLiteral("cannot write the cut");
            } else if (packet->stream_index == source.video && !videoDone) {
                const int64_t dts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
                if (!started && (packet->flags & AV_PKT_FLAG_KEY)) {
                    started = true;
                    firstPtsUs = av_rescale_q(packet->pts, stream->time_base, AV_TIME_BASE_Q);
                    shiftUs = firstPtsUs;
                }
                // Every frame shown before the end decodes before it: the
                // copy stops at the first packet decoded at or after the end.
                if (started && dts >= toTs) {
                    videoDone = true;
                } else if (started) {
                    const int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : dts;
                    lastVideoMs = av_rescale_q(pts - source.videoStart(), stream->time_base, kMs);
                    if (!write(packet.get(), stream, videoOut, lastVideoDts))
                        return QStringLiteral("cannot write the cut");
                    reportProgress(std::clamp(lastVideoMs - piece.fromMs, qint64(0), piece.toMs - piece.fromMs));
                }
            } else if (withSound && started && packet->stream_index == source.audio && !soundDone) {
                const int64_t ptsUs = av_rescale_q(packet->pts, stream->time_base, AV_TIME_BASE_Q);
                if (ptsUs >= toUs)
                    soundDone = true;
                else if (ptsUs >= firstPtsUs && !write(packet.get(), stream, audioOut, lastAudioDts))
                    return QStringLiteral("cannot write the cut");
            }
            av_packet_unref(packet.get());
        }
        if (code < 0 && code != AVERROR_EOF)
            return QStringLiteral("cannot read %1: %2").arg(name, avErrorText(code));
        // The decoder holds the last pictures until it is told the piece ended.
        if (burner && started && !videoDone && !burner->decode(nullptr, burnPicture))
            return QStringLiteral("cannot write the cut");
        if (!started)
            return QStringLiteral("%1 holds no key frame to start the cut from").arg(name);
        if (!videoDone && lastVideoMs < piece.toMs - kEndToleranceMs)
            return QStringLiteral("%1 ends early: it may be cut off").arg(name);
        offsetUs = pieceEndUs;
        return {};
    }

    std::vector<Source> &sources;
    const QList<ClipPiece> &pieces;
    ClipExportControl *control;
    const CaptionLine &caption;
    std::unique_ptr<CaptionBurner> burner;
    AVFormatContext *output = nullptr;
    AVStream *videoOut = nullptr;
    AVStream *audioOut = nullptr;
    int64_t lastVideoDts = AV_NOPTS_VALUE;
    int64_t lastAudioDts = AV_NOPTS_VALUE;
    int64_t shiftUs = 0;    // the source time of the piece's first key frame
    int64_t offsetUs = 0;   // where the piece starts in the output
    int64_t pieceEndUs = 0; // the latest end of anything written so far
    qint64 totalMs = 0;
    qint64 doneMs = 0;
    double reported = -1;
};

// Writes the pieces to `file` as `container`: empty, or why not.
QString writeCut(std::vector<Source> &sources, const QList<ClipPiece> &pieces, const AVOutputFormat *container,
                 QFile &file, ClipExportControl *control, const CaptionLine &caption, QString &note)
{
    AVFormatContext *allocated = nullptr;
    if (avformat_alloc_output_context2(&allocated, container, nullptr, nullptr) < 0)
        return QStringLiteral("cannot start the cut");
    OutputContext output(allocated);
    auto *buffer = static_cast<unsigned char *>(av_malloc(kIoBufferBytes));
    output->pb = avio_alloc_context(buffer, kIoBufferBytes, 1, &file, nullptr, writeToFile, seekInFile);
    if (!output->pb) {
        av_free(buffer);
        return QStringLiteral("cannot start the cut");
    }
    output->flags |= AVFMT_FLAG_CUSTOM_IO;
    av_dict_copy(&output->metadata, sources.front().context->metadata, 0);

    Remuxer remuxer(sources, pieces, control, caption);
    if (const QString error = remuxer.addStreams(output.get(), note); !error.isEmpty())
        return error;
    if (avformat_write_header(output.get(), nullptr) < 0)
        return QStringLiteral("cannot write the cut: %1").arg(file.errorString());
    if (const QString error = remuxer.copyPieces(output.get()); !error.isEmpty())
        return error;
    if (av_write_trailer(output.get()) < 0 || output->pb->error < 0)
        return QStringLiteral("cannot write the cut: %1").arg(file.errorString());
    return {};
}

// Gives the finished temporary file the cut's name, replacing what was there,
// with the permissions of a newly made file rather than a temporary one's.
QString publish(QTemporaryFile &file, const QString &outPath)
{
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(outPath).constData()) != 0)
        return QStringLiteral("cannot write %1: %2").arg(nameOf(outPath), QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
    return {};
}

} // namespace

QList<ClipPiece> piecesOfRange(const QStringList &videos, const QList<qint64> &durationsMs,
                               const ClipRange &range, QString *error)
{
    const qint64 total = std::accumulate(durationsMs.cbegin(), durationsMs.cend(), qint64(0));
    const qint64 from = std::max<qint64>(0, range.fromMs);
    const qint64 to = std::min(total, range.toMs.value_or(total));
    QString why;
    if (range.toMs && *range.toMs <= range.fromMs)
        why = QStringLiteral("the range ends before it starts");
    else if (from >= total)
        why = QStringLiteral("the range starts after the end (%1 s)").arg(total / 1000.0);
    QList<ClipPiece> pieces;
    qint64 start = 0;
    for (qsizetype i = 0; why.isEmpty() && i < videos.size() && i < durationsMs.size(); ++i) {
        const qint64 end = start + durationsMs.at(i);
        if (std::max(from, start) < std::min(to, end))
            pieces << ClipPiece{ int(i), videos.at(i), std::max(from, start) - start, std::min(to, end) - start };
        start = end;
    }
    if (error)
        *error = why;
    return pieces;
}

namespace {

// Why no cut can go to `outPath` from `videos`; empty when one can.
QString outputProblem(const QString &outPath, const QStringList &videos)
{
    if (!containerFor(outPath))
        return QStringLiteral("%1: the cut is written as .mp4 or .mov").arg(nameOf(outPath));
    if (isOneOf(outPath, videos))
        return QStringLiteral("%1 is one of the videos being cut").arg(nameOf(outPath));
    if (videos.isEmpty())
        return QStringLiteral("there is no video to cut");
    return {};
}

// Cuts the pieces out of their opened videos, one source a piece.
ClipExportResult cutPieces(std::vector<Source> &sources, QList<ClipPiece> pieces, const QString &outPath,
                           ClipExportControl *control, const CaptionLine &caption)
{
    ClipExportResult result;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const Source &source = sources[size_t(i)];
        if (!samePicture(sources.front().stream(sources.front().video)->codecpar,
                         source.stream(source.video)->codecpar)) {
            result.error = QStringLiteral("%1 has another picture format than %2: they cannot be joined without "
                                          "re-encoding")
                                   .arg(nameOf(pieces[i].videoPath), nameOf(pieces.first().videoPath));
            return result;
        }
        // A piece ends where its video does.
        pieces[i].toMs = std::min(pieces[i].toMs, source.durationMs);
        if (pieces[i].fromMs >= pieces[i].toMs) {
            result.error = QStringLiteral("the range starts after the end of %1").arg(nameOf(pieces[i].videoPath));
            return result;
        }
    }

    // Not a QSaveFile: its flush to disk would cost more than the whole copy,
    // and a cut is easily made again.
    const QFileInfo out(outPath);
    QTemporaryFile file(out.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(out.fileName())));
    if (!file.open()) {
        result.error = QStringLiteral("cannot write in %1: %2").arg(out.absolutePath(), file.errorString());
        return result;
    }
    result.error = writeCut(sources, pieces, containerFor(outPath), file, control, caption, result.note);
    if (result.error.isEmpty())
        result.error = publish(file, outPath);
    return result;
}

// Each video opened, in order; none, and why, when one cannot be.
std::optional<std::vector<Source>> openAll(const QStringList &videos, QString &error)
{
    // Problems come back as the result's one line, not as the library's lines on stderr.
    av_log_set_level(AV_LOG_QUIET);
    std::vector<Source> sources;
    for (const QString &video : videos) {
        std::optional<Source> source = openSource(video, error);
        if (!source)
            return std::nullopt;
        sources.push_back(std::move(*source));
    }
    return sources;
}

} // namespace

ClipExportResult exportClip(const QList<ClipPiece> &pieces, const QString &outPath, ClipExportControl *control,
                            const CaptionLine &caption)
{
    QStringList videos;
    for (const ClipPiece &piece : pieces)
        videos << piece.videoPath;
    ClipExportResult result;
    result.error = outputProblem(outPath, videos);
    std::optional<std::vector<Source>> sources;
    if (result.error.isEmpty())
        sources = openAll(videos, result.error);
    return sources ? cutPieces(*sources, pieces, outPath, control, caption) : result;
}

ClipExportResult exportClip(const QStringList &videos, const ClipRange &range, const QString &outPath,
                            ClipExportControl *control, const CaptionLine &caption)
{
    ClipExportResult result;
    std::optional<std::vector<Source>> sources = openAll(videos, result.error);
    if (!sources)
        return result;
    QList<qint64> durations;
    for (const Source &source : *sources)
        durations << source.durationMs;
    const QList<ClipPiece> pieces = piecesOfRange(videos, durations, range, &result.error);
    if (result.error.isEmpty())
        result.error = outputProblem(outPath, videos);
    if (!result.error.isEmpty())
        return result;
    // Only the sources the range touches, in the pieces' order: each is read once.
    std::vector<Source> used;
    for (const ClipPiece &piece : pieces)
        used.push_back(std::move((*sources)[size_t(piece.video)]));
    return cutPieces(used, pieces, outPath, control, caption);
}
