#ifndef CLIPEXPORT_H
#define CLIPEXPORT_H

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

// A stretch of one or more videos taken as one continuous drive, in ms from
// the start of the first: the whole drive when `toMs` is absent.
struct ClipRange
{
    qint64 fromMs = 0;
    std::optional<qint64> toMs;
};

// The part of one video that a cut takes, in ms of that video.
struct ClipPiece
{
    int video = -1; // its place in the list of videos
    QString videoPath;
    qint64 fromMs = 0;
    qint64 toMs = 0;
};

// The pieces a range covers, given each video's duration, or why none: a
// reversed range, or one that starts past the end. A mark past the end is
// moved to it.
QList<ClipPiece> piecesOfRange(const QStringList &videos, const QList<qint64> &durationsMs,
                               const ClipRange &range, QString *error);

// What the caller can see of a running export and how it stops one.
struct ClipExportControl
{
    std::atomic<bool> cancelled{ false };
    std::function<void(double)> progress; // 0..1, on the exporting thread
};

struct ClipExportResult
{
    QString error; // empty once the whole file is written; nothing is written otherwise
    QString note;  // what was left out although the cut succeeded (a sound track the container cannot hold)
};

// The caption to burn into the picture at `ms` of video `video` (its place in
// the list of videos).
using CaptionLine = std::function<QString(int video, qint64 ms)>;

// Cuts the range out of `videos` into one MP4 or MOV file (by the name's
// extension) without decoding: every video packet is copied as it is, from the
// key frame at or before the start. The videos must share one picture format.
// With a `caption`, the pictures are decoded and encoded again with the
// caption over their bottom rows, from the first picture at or after the
// start. The file appears only once it is whole. Slow: call it off the GUI
// thread.
ClipExportResult exportClip(const QStringList &videos, const ClipRange &range, const QString &outPath,
                            ClipExportControl *control = nullptr, const CaptionLine &caption = {});
// The same for pieces chosen by the caller; each ends at the latest where its
// video does.
ClipExportResult exportClip(const QList<ClipPiece> &pieces, const QString &outPath,
                            ClipExportControl *control = nullptr, const CaptionLine &caption = {});

#endif // CLIPEXPORT_H
