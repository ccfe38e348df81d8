#include "app/commandlinemodes.h"

#include "catalogue/uvideoandgpsfiles.h"
#include "catalogue/videoimport.h"
#include "library/librarykeeper.h"
#include "library/recordinglibrary.h"
#include "library/usersettings.h"
#include "maptiles/tileserver.h"
#include "trips/tripfigures.h"
#include "trips/tripgrouper.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace {

QString utcText(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODate);
}

QString tripLine(const TripFigures &figures)
{
    return QStringList{ utcText(figures.startMs), utcText(figures.endMs),
                        QString::number(figures.durationSeconds), QString::number(figures.clips),
                        QString::number(figures.distanceKm, 'f', 3), QString::number(figures.maxSpeedKmh, 'f', 1),
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
        else if (argument == QLatin1String("--"))
            optionsEnd = true;
        else if (argument == QLatin1String("--list"))
            line.list = true;
        else if (argument == QLatin1String("--trips"))
            line.trips = true;
        else if (argument == QLatin1String("--fresh"))
            line.fresh = true;
        else if (line.error.isEmpty())
            line.error = QStringLiteral("velmora: unknown option %1").arg(argument);
    }
    line.videos = videoPathsFromArguments(files);
    if (!line.tileServer.isEmpty() && !TileServer::openStreetMap().withTemplate(line.tileServer)
        && line.error.isEmpty())
        line.error = QStringLiteral("velmora: --tile-server needs an http(s) address with {z}, {x} and {y}");
    return line;
}

int listLibrary(QTextStream &out, QTextStream &err)
{
    RecordingLibrary library;
    if (const std::optional<int> status = openLibrary(library, err))
        return *status;
    const QList<StoredRecording> recordings = library.recordings();
    for (const StoredRecording &recording : recordings) {
        const VideoAndGpsfileInfo &info = recording.info;
        out << info.fileName << '\t' << info.date << '\t' << info.time << '\t'
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
    const QList<Trip> trips = groupTrips(keeper.tripClips(), settings.gapMs());
    for (auto trip = trips.crbegin(); trip != trips.crend(); ++trip)
        out << tripLine(readTripFigures(*trip, settings.hardEventG)) << '\n';
    out.flush();
    return 0;
}
