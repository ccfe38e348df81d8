#ifndef CAPTIONBURNER_H
#define CAPTIONBURNER_H

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QString>

#include <functional>
#include <memory>

struct SwsContext;

// Decodes a cut's pictures, draws a caption strip over the bottom of each and
// encodes them again as H.264: the picture then carries its time, speed and
// position wherever it is played.
class CaptionBurner
{
public:
    using Take = std::function<bool(AVFrame *)>;
    using Deliver = std::function<bool(AVPacket *)>;

    // An encoder for pictures like those of `source`; nothing, and why, when
    // none can be had. `globalHeader`: the container wants the codec's
    // headers once, not in the stream.
    static std::unique_ptr<CaptionBurner> create(const AVStream *source, bool globalHeader, QString &error);
    ~CaptionBurner();

    const AVCodecContext *encoder() const { return encoding; }
    // How long a picture stands, in µs.
    int64_t frameUs() const;

    // A new piece: a decoder for its video stream.
    bool startPiece(const AVStream *stream);
    // Sends a packet (null: the piece's end) to the decoder; each picture it
    // gives goes to `take`.
    bool decode(const AVPacket *packet, const Take &take);
    // Draws `caption` on the picture and encodes it at `ptsUs` of the cut.
    bool encode(AVFrame *frame, int64_t ptsUs, const QString &caption, const Deliver &deliver);
    // Drains the encoder once the last piece is done.
    bool finish(const Deliver &deliver);

private:
    CaptionBurner() = default;
    bool drawCaption(AVFrame *frame, const QString &caption);
    bool drain(const Deliver &deliver);

    AVCodecContext *encoding = nullptr;
    AVCodecContext *decoding = nullptr;
    AVFrame *converted = nullptr;  // a picture of another layout, in the encoder's
    AVFrame *strip = nullptr;      // the caption in the encoder's layout
    AVPacket *packet = nullptr;
    SwsContext *toEncoder = nullptr;
    SwsContext *stripToEncoder = nullptr;
    QString stripCaption;
    AVRational frameRate{ 30, 1 };
    int64_t lastPts = -1;
};

#endif // CAPTIONBURNER_H
