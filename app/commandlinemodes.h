#ifndef COMMANDLINEMODES_H
#define COMMANDLINEMODES_H

#include <QStringList>

#include <optional>

class QTextStream;

// What the command line asks for, read before any window or display is needed.
struct CommandLine
{
    bool list = false;  // --list: print the library and exit
    bool trips = false; // --trips: print the library's trips and exit
    bool fresh = false; // --fresh: neither read nor write the library and settings
    QString tileServer; // --tile-server URL-TEMPLATE: this run's tile server
    QString offlineMap; // --offline-map FILE: this run's offline map (MBTiles), absolute
    QString exportGpx;  // --export-gpx FILE: the videos' track as GPX, absolute
    QString exportCsv;  // --export-csv FILE: the videos' track as CSV, absolute
    QString exportClip; // --export-clip FILE: the videos cut losslessly into one MP4 or MOV, absolute
    bool burnIn = false; // --burn-in: the cut encoded again with the caption in its picture
    std::optional<double> fromSecond; // --from SECONDS: where the export starts
    std::optional<double> toSecond;   // --to SECONDS: where the export ends
    QStringList videos; // absolute, clean paths of the files named
    QString error;      // one line when the arguments make no sense

    static CommandLine parse(const QStringList &arguments);
    bool exports() const { return !exportGpx.isEmpty() || !exportCsv.isEmpty() || !exportClip.isEmpty(); }
};

// `velmora --list`: the library as tab-separated lines (file name, date, time,
// GPS rating, video path). Exit status 0, or 1 with one line on `err`.
int listLibrary(QTextStream &out, QTextStream &err);

// `velmora --trips`: the library's trips, newest first, as tab-separated lines
// (start and end in ISO 8601 UTC, duration in seconds, clips, distance in km,
// top speed in km/h, hard events). Recordings never probed are probed first and
// what is found is kept. Exit status 0, or 1 with one line on `err`.
int listTrips(QTextStream &out, QTextStream &err);

// `velmora --export-gpx FILE VIDEO...`, `--export-csv` and `--export-clip`:
// the track or the picture of the videos, taken as one drive in the order
// given, from --from to --to. Exit status 0 once the whole file is written, or
// 1 with one line on `err` and no file.
int exportFile(const CommandLine &line, QTextStream &err);

#endif // COMMANDLINEMODES_H
