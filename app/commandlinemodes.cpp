#include "app/commandlinemodes.h"

#include "catalogue/recordingtime.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "catalogue/videoimport.h"
#include "export/captionedsnapshot.h"
#include "export/clipexport.h"
#include "export/trackexport.h"
#include "library/librarykeeper.h"
#include "library/recordinglibrary.h"
#include "library/usersettings.h"
#include "maptiles/tileserver.h"
#include "trips/tripfigures.h"
#include "trips/triptimeline.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>
#include <optional>

namespace {

QString tripLine(const TripFigures &figures, const DisplaySettings &display)
{
    const DisplayZone zone = DisplayZone::named(display.timeZone);
    return QStringList{ isoText(figures.startMs, zone), isoText(figures.endMs, zone),
                        QString::number(figures.durationSeconds), QString::number(figures.clips),
                        QString::number(distanceIn(display.speedUnit, figures.distanceKm), 'f', 3),
                        QString::number(speedIn(display.speedUnit, figures.maxSpeedKmh), 'f', 1),
                        QString::number(figures.hardEvents) }
            .join(QLatin1Char('\t'));
}

// The exit status when there is nothing to list (0: nothing was ever imported)
// or the library cannot be read (1, and why); nothing once it is open.
std::optional<int> openLibrary(RecordingLibrary &library, QTextStream &err)
{
    if (!QFileInfo::exists(RecordingLibrary::defaultPath()))
        return 0;
    if (library.open())
        return std::nullopt;
    err << library.problem() << Qt::endl;
    return 1;
}

// What the window's clock offset keys set for the drive, kept with its first
// video in the library; 0 for a video the library does not know.
int storedClockOffset(const QStringList &videos)
{
    RecordingLibrary library;
    if (videos.isEmpty() || !QFileInfo::exists(library.path()) || !library.open())
        return 0;
    const QString first = QFileInfo(videos.first()).canonicalFilePath();
    for (const StoredRecording &recording : library.recordings()) {
        if (recording.info.videoPath == first)
            return recording.clockOffsetSeconds;
    }
    return 0;
}

std::optional<double> secondsValue(const QString &text)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    return ok && std::isfinite(seconds) ? std::optional<double>(seconds) : std::nullopt;
}

QString absolutePath(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// What the export options say, checked once every argument is read.
QString exportOptionsError(const CommandLine &line)
{
    const int exports = int(!line.exportGpx.isEmpty()) + int(!line.exportCsv.isEmpty())
            + int(!line.exportClip.isEmpty());
    if (exports > 1)
        return QStringLiteral("velmora: --export-gpx, --export-csv and --export-clip go one at a time");
    if (line.burnIn && line.exportClip.isEmpty())
        return QStringLiteral("velmora: --burn-in goes with --export-clip");
    if (!line.exports() && (line.fromSecond || line.toSecond))
        return QStringLiteral("velmora: --from and --to go with --export-gpx, --export-csv or --export-clip");
    if (line.exports() && line.videos.isEmpty())
        return QStringLiteral("velmora: an export needs at least one video");
    return QString();
}

// The videos as one drive, each with the log the camera wrote beside it; a
// video without one is an error only when `logsNeeded`.
std::optional<Trip> tripOfVideos(const QStringList &videos, QString &error, bool logsNeeded = true)
{
    Trip trip;
    for (const QString &video : videos) {
        const std::optional<VideoAndGpsfileInfo> info = UVideoAndGpsfiles::describeVideo(video);
        if (!info) {
            error = QStringLiteral("cannot read %1").arg(video);
            return std::nullopt;
        }
        if (info->gpsState == GpsFileNotExist && logsNeeded) {
            error = QStringLiteral("no GPS log for %1").arg(video);
            return std::nullopt;
        }
        TripClip clip;
        clip.index = int(trip.clips.size());
        clip.videoPath = video;
        if (info->gpsState != GpsFileNotExist)
            clip.logPath = QDir::fromNativeSeparators(info->gpsFilePath);
        trip.clips << clip;
    }
    return trip;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    QStringList files;
    bool optionsEnd = false;
    // An option's value: the next argument, or what follows "=".
    const auto valueOf = [&](const QString &argument, const QString &option, qsizetype &i) -> std::optional<QString> {
        if (argument.startsWith(option + QLatin1Char('=')))
            return argument.mid(option.size() + 1);
        if (argument != option)
            return std::nullopt;
        if (i + 1 < arguments.size())
            return arguments.at(++i);
        if (line.error.isEmpty())
            line.error = QStringLiteral("velmora: %1 needs a value").arg(option);
        return QString();
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnd || !argument.startsWith(QLatin1String("--")))
            files << argument;
        else if (const auto server = valueOf(argument, QStringLiteral("--tile-server"), i))
            line.tileServer = *server;
        else if (const auto map = valueOf(argument, QStringLiteral("--offline-map"), i))
            line.offlineMap = map->isEmpty() ? QString() : QFileInfo(*map).absoluteFilePath();
        else if (const auto gpx = valueOf(argument, QStringLiteral("--export-gpx"), i))
            line.exportGpx = absolutePath(*gpx);
        else if (const auto csv = valueOf(argument, QStringLiteral("--export-csv"), i))
            line.exportCsv = absolutePath(*csv);
        else if (const auto clip = valueOf(argument, QStringLiteral("--export-clip"), i))
            line.exportClip = absolutePath(*clip);
        else if (const auto from = valueOf(argument, QStringLiteral("--from"), i)) {
            line.fromSecond = secondsValue(*from);
            if (!line.fromSecond && line.error.isEmpty())
                line.error = QStringLiteral("velmora: --from needs a number of seconds, not \"%1\"").arg(*from);
        } else if (const auto to = valueOf(argument, QStringLiteral("--to"), i)) {
            line.toSecond = secondsValue(*to);
            if (!line.toSecond && line.error.isEmpty())
                line.error = QStringLiteral("velmora: --to needs a number of seconds, not \"%1\"").arg(*to);
        } else if (argument == QLatin1String("--"))
            optionsEnd = true;
        else if (argument == QLatin1String("--list"))
            line.list = true;
        else if (argument == QLatin1String("--trips"))
            line.trips = true;
        else if (argument == QLatin1String("--burn-in"))
            line.burnIn = true;
        else if (argument == QLatin1String("--fresh"))
            line.fresh = true;
        else if (line.error.isEmpty())
            line.error = QStringLiteral("velmora: unknown option %1").arg(argument);
    }
    line.videos = videoPathsFromArguments(files);
    if (!line.tileServer.isEmpty() && !TileServer::openStreetMap().withTemplate(line.tileServer)
        && line.error.isEmpty())
        line.error = QStringLiteral("velmora: --tile-server needs an http(s) address with {z}, {x} and {y}");
    if (line.error.isEmpty())
        line.error = exportOptionsError(line);
    return line;
}

int listLibrary(QTextStream &out, QTextStream &err)
{
    RecordingLibrary library;
    if (const std::optional<int> status = openLibrary(library, err))
        return *status;
    const QList<StoredRecording> recordings = library.recordings();
    const DisplayZone zone = DisplayZone::named(DisplaySettings::load().timeZone);
    for (const StoredRecording &recording : recordings) {
        const VideoAndGpsfileInfo &info = recording.info;
        out << info.fileName << '\t' << dateText(info.startMs, zone) << '\t' << clockText(info.startMs, zone) << '\t'
            << gpsFileStateText(info.gpsState) << '\t' << info.videoPath << '\n';
    }
    out.flush();
    return 0;
}

int listTrips(QTextStream &out, QTextStream &err)
{
    RecordingLibrary library;
    if (const std::optional<int> status = openLibrary(library, err))
        return *status;
    UVideoAndGpsfiles catalogue;
    LibraryKeeper keeper(&catalogue);
    keeper.restoreFrom(&library);
    keeper.probeNow();
    const TripSettings settings = TripSettings::load();
    const DisplaySettings display = DisplaySettings::load();
    for (const TripRow &row : tripRows(keeper.tripClips(), settings.gapMs(), settings.hardEventG))
        out << tripLine(row.figures, display) << '\n';
    out.flush();
    return 0;
}

static int exportClipFile(const CommandLine &line, QTextStream &err)
{
    ClipRange range;
    range.fromMs = std::llround(line.fromSecond.value_or(0) * 1000);
    if (line.toSecond)
        range.toMs = std::llround(*line.toSecond * 1000);
    CaptionLine caption;
    if (line.burnIn) {
        QString error;
        const std::optional<Trip> trip = tripOfVideos(line.videos, error, false);
        if (!trip) {
            err << "velmora: " << error << Qt::endl;
            return 1;
        }
        const DisplaySettings display = DisplaySettings::load();
        caption = captionLineOf(std::make_shared<const TripTimeline>(*trip),
                                { display.speedUnit, DisplayZone::named(display.timeZone) },
                                storedClockOffset(line.videos));
    }
    const ClipExportResult result = exportClip(line.videos, range, line.exportClip, nullptr, caption);
    if (!result.note.isEmpty())
        err << "velmora: " << result.note << Qt::endl;
    if (result.error.isEmpty())
        return 0;
    err << "velmora: " << result.error << Qt::endl;
    return 1;
}

int exportFile(const CommandLine &line, QTextStream &err)
{
    if (!line.exportClip.isEmpty())
        return exportClipFile(line, err);
    QString error;
    const std::optional<Trip> trip = tripOfVideos(line.videos, error);
    if (trip) {
        TrackRange range;
        range.fromSecond = line.fromSecond.value_or(0);
        range.toSecond = line.toSecond;
        range.clockOffsetSeconds = storedClockOffset(line.videos);
        const bool gpx = !line.exportGpx.isEmpty();
        error = exportTrack(TripTimeline(*trip), range, gpx ? TrackFormat::Gpx : TrackFormat::Csv,
                            gpx ? line.exportGpx : line.exportCsv, trackName(line.videos),
                            DisplaySettings::load().speedUnit);
    }
    if (error.isEmpty())
        return 0;
    err << "velmora: " << error << Qt::endl;
    return 1;
}

