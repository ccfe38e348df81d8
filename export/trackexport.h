#ifndef TRACKEXPORT_H
#define TRACKEXPORT_H

#include "library/speedunit.h"
#include "logs/gpxlog.h"
#include "trips/triptimeline.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Where a drive's track goes: GPX 1.1 for maps and other programs, CSV for
// spreadsheets.
enum class TrackFormat { Gpx, Csv };

// Seconds of a recording, or of a trip taken as one drive, from `fromSecond`
// up to `toSecond` (the whole drive when absent). Record k covers second k to
// k + 1; a mark past either end of the drive is moved to that end. The log's
// record of video second s is that of s + clockOffsetSeconds, as the meter
// shows it.
struct TrackRange
{
    double fromSecond = 0;
    std::optional<double> toSecond;
    int clockOffsetSeconds = 0;
};

// The records a range covers: [first, end) of the timeline, or why none.
struct TrackSpan
{
    int first = 0;
    int end = 0;
    QString error;
};

TrackSpan trackSpan(const TripTimeline &timeline, const TrackRange &range);

// The file's whole text; `points` says how many fixes it holds. Only records
// with a position are written; a GPX track has a segment per clip. CSV gives
// speeds in `csvUnit`; GPX keeps km/h, as its extension's namespace says.
QByteArray trackText(const TripTimeline &timeline, const TrackSpan &span, TrackFormat format,
                     const QString &trackName, int *points = nullptr, SpeedUnit csvUnit = SpeedUnit::Kmh);

// A drive's track name: its video's file name, or its first and last.
QString trackName(const QStringList &videos);

// Writes the range of the timeline to `path`, all or nothing: an empty string,
// or one line that says why no file was written (a range without a fix
// included). Slow for a long trip: call it off the GUI thread.
QString exportTrack(const TripTimeline &timeline, const TrackRange &range, TrackFormat format,
                    const QString &path, const QString &trackName, SpeedUnit csvUnit = SpeedUnit::Kmh);


#endif // TRACKEXPORT_H
