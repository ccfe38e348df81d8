#ifndef CAPTIONEDSNAPSHOT_H
#define CAPTIONEDSNAPSHOT_H

#include "catalogue/recordingtime.h"
#include "export/clipexport.h"
#include "library/speedunit.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

struct GpsLogRecord;
class TripTimeline;

// How a caption writes its moment and speed: in the zone and unit the user
// reads them in.
struct CaptionStyle
{
    SpeedUnit unit = SpeedUnit::Kmh;
    DisplayZone zone = DisplayZone::named(QStringLiteral("UTC"));
};

// What a captioned snapshot says of its moment: when (from the log, with its
// offset from UTC), how fast, where, and which recording at which time of its
// video.
struct SnapshotCaption
{
    QString moment;
    QString speed;
    QString position;
    QString recording;

    QString line() const;
};

// The caption of second `videoMs` of `videoPath`, whose log says `record`;
// `withLog` false when the recording has no log.
SnapshotCaption snapshotCaption(const GpsLogRecord &record, bool withLog, const QString &videoPath,
                                qint64 videoMs, const CaptionStyle &style = {});

// What a cut of `timeline`'s clips burns into its pictures: the caption of
// each moment, as a snapshot of it would have, the log running
// `clockOffsetSeconds` ahead of the video.
CaptionLine captionLineOf(std::shared_ptr<const TripTimeline> timeline, const CaptionStyle &style = {},
                          int clockOffsetSeconds = 0);

// The caption as a strip of `width` x `height`: white text on black, as large
// as fits.
QImage captionStrip(const QString &line, int width, int height);
// The strip's height for a picture `width` wide.
int captionStripHeight(int width);

// FILE0003_00-01-12.480.png gives FILE0003_00-01-12.480_captioned.png.
QString captionedCopyPath(const QString &picturePath);

// Writes beside the picture a copy with the caption in a strip under it; its
// PNG text chunks carry the same values. An empty string, or why not.
QString writeCaptionedCopy(const QString &picturePath, const SnapshotCaption &caption);

// Captions snapshots in the background as the player writes them. The
// caption is given as the snapshot is asked for; the player announces the
// written file before it can be asked for another.
class SnapshotCaptioner : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    void expect(const SnapshotCaption &caption) { pending = caption; }
    // How the captions write time and speed, for whoever makes them.
    void setStyle(const CaptionStyle &chosen) { captionStyle = chosen; }
    const CaptionStyle &style() const { return captionStyle; }
    // The player wrote the snapshot at `picturePath`.
    void caption(const QString &picturePath);

signals:
    // `error` empty: the copy is at `captionedPath`.
    void captioned(const QString &picturePath, const QString &captionedPath, const QString &error);

private:
    std::optional<SnapshotCaption> pending;
    CaptionStyle captionStyle;
};

#endif // CAPTIONEDSNAPSHOT_H
