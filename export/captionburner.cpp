#include "export/captionburner.h"

#include "export/captionedsnapshot.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <QImage>

#include <cstring>

namespace {

constexpr AVPixelFormat kEncoderFormat = AV_PIX_FMT_YUV420P;
// QImage::Format_ARGB32 as bytes in memory.
constexpr AVPixelFormat kStripFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? AV_PIX_FMT_BGRA : AV_PIX_FMT_ARGB;
// A near-lossless quality at a speed that keeps a minute of 1080p to a few minutes on two cores.
constexpr char kPreset[] = "veryfast";
constexpr char kQuality[] = "18";

bool isEncoderLayout(int format)
{
    return format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P;
}

AVFrame *newFrame(int width, int height)
{
    AVFrame *frame = av_frame_alloc();
    frame->format = kEncoderFormat;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame, 0) < 0)
        av_frame_free(&frame);
    return frame;
}

} // namespace

std::unique_ptr<CaptionBurner> CaptionBurner::create(const AVStream *source, bool globalHeader, QString &error)
{
    const AVCodec *codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        codec = avcodec_find_encoder(AV_CODEC_ID_H264);
    const AVCodecParameters *picture = source->codecpar;
    std::unique_ptr<CaptionBurner> burner(new CaptionBurner);
    burner->encoding = codec ? avcodec_alloc_context3(codec) : nullptr;
    burner->packet = av_packet_alloc();
    if (!burner->encoding || picture->width < 2 || picture->height < 2) {
        error = QStringLiteral("no H.264 encoder for the caption");
        return nullptr;
    }
    AVCodecContext *encoding = burner->encoding;
    const AVRational guessed = source->avg_frame_rate.num > 0 ? source->avg_frame_rate : source->r_frame_rate;
    if (guessed.num > 0 && guessed.den > 0)
        burner->frameRate = guessed;
    // Even sizes: the chroma of 4:2:0 covers two by two pixels.
    encoding->width = picture->width & ~1;
    encoding->height = picture->height & ~1;
    encoding->pix_fmt = kEncoderFormat;
    encoding->color_range = picture->color_range;
    encoding->sample_aspect_ratio = picture->sample_aspect_ratio;
    encoding->time_base = av_inv_q(burner->frameRate);
    encoding->framerate = burner->frameRate;
    encoding->gop_size = std::max(1, burner->frameRate.num / std::max(1, burner->frameRate.den));
    encoding->thread_count = 0;
    if (globalHeader)
        encoding->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    av_opt_set(encoding->priv_data, "preset", kPreset, 0);
    av_opt_set(encoding->priv_data, "crf", kQuality, 0);
    if (avcodec_open2(encoding, codec, nullptr) < 0) {
        error = QStringLiteral("cannot start the H.264 encoder");
        return nullptr;
    }
    return burner;
}

CaptionBurner::~CaptionBurner()
{
    avcodec_free_context(&encoding);
    avcodec_free_context(&decoding);
    av_frame_free(&converted);
    av_frame_free(&strip);
    av_packet_free(&packet);
    sws_freeContext(toEncoder);
    sws_freeContext(stripToEncoder);
}

int64_t CaptionBurner::frameUs() const
{
    return av_rescale_q(1, av_inv_q(frameRate), AV_TIME_BASE_Q);
}

bool CaptionBurner::startPiece(const AVStream *stream)
{
    avcodec_free_context(&decoding);
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    decoding = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!decoding || avcodec_parameters_to_context(decoding, stream->codecpar) < 0)
        return false;
    decoding->pkt_timebase = stream->time_base;
    decoding->thread_count = 0;
    return avcodec_open2(decoding, codec, nullptr) >= 0;
}

bool CaptionBurner::decode(const AVPacket *sent, const Take &take)
{
    if (avcodec_send_packet(decoding, sent) < 0 && sent)
        return true; // a damaged packet costs its pictures, not the cut
    AVFrame *frame = av_frame_alloc();
    bool ok = true;
    while (ok && avcodec_receive_frame(decoding, frame) >= 0) {
        ok = take(frame);
        av_frame_unref(frame);
    }
    av_frame_free(&frame);
    return ok;
}

bool CaptionBurner::drawCaption(AVFrame *frame, const QString &caption)
{
    const int width = encoding->width;
    const int height = std::min(captionStripHeight(width) & ~1, encoding->height);
    if (!strip || caption != stripCaption) {
        const QImage picture = captionStrip(caption, width, height);
        if (!strip)
            strip = newFrame(width, height);
        stripToEncoder = sws_getCachedContext(stripToEncoder, width, height, kStripFormat, width, height,
                                              kEncoderFormat, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!strip || !stripToEncoder)
            return false;
        const uint8_t *planes[] = { picture.constBits() };
        const int strides[] = { int(picture.bytesPerLine()) };
        sws_scale(stripToEncoder, planes, strides, 0, height, strip->data, strip->linesize);
        stripCaption = caption;
    }
    // The strip covers the picture's bottom rows, plane by plane.
    const int top = encoding->height - height;
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        const int bytes = width >> shift;
        for (int row = 0; row < height >> shift; ++row)
            std::memcpy(frame->data[plane] + ((top >> shift) + row) * frame->linesize[plane],
                        strip->data[plane] + row * strip->linesize[plane], size_t(bytes));
    }
    return true;
}

bool CaptionBurner::encode(AVFrame *frame, int64_t ptsUs, const QString &caption, const Deliver &deliver)
{
    AVFrame *picture = frame;
    if (!isEncoderLayout(frame->format) || frame->width != encoding->width || frame->height != encoding->height) {
        if (!converted)
            converted = newFrame(encoding->width, encoding->height);
        toEncoder = sws_getCachedContext(toEncoder, frame->width, frame->height, AVPixelFormat(frame->format),
                                         encoding->width, encoding->height, kEncoderFormat, SWS_BICUBIC, nullptr,
                                         nullptr, nullptr);
        if (!converted || !toEncoder || av_frame_make_writable(converted) < 0)
            return false;
        sws_scale(toEncoder, frame->data, frame->linesize, 0, frame->height, converted->data, converted->linesize);
        picture = converted;
    } else if (av_frame_make_writable(frame) < 0) {
        return false;
    }
    if (!drawCaption(picture, caption))
        return false;
    // Source times that round to one frame of the encoder's clock still
    // need a clock of their own.
    picture->pts = std::max(av_rescale_q(ptsUs, AV_TIME_BASE_Q, encoding->time_base), lastPts + 1);
    lastPts = picture->pts;
    picture->pict_type = AV_PICTURE_TYPE_NONE;
    return avcodec_send_frame(encoding, picture) >= 0 && drain(deliver);
}

bool CaptionBurner::finish(const Deliver &deliver)
{
    return avcodec_send_frame(encoding, nullptr) >= 0 && drain(deliver);
}

bool CaptionBurner::drain(const Deliver &deliver)
{
    int code = 0;
    while ((code = avcodec_receive_packet(encoding, packet)) >= 0) {
        const bool ok = deliver(packet);
        av_packet_unref(packet);
        if (!ok)
            return false;
    }
    return code == AVERROR(EAGAIN) || code == AVERROR_EOF;
}
