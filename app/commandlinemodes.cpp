#include "app/commandlinemodes.h"

#include "catalogue/videoimport.h"
#include "library/recordinglibrary.h"

#include <QFileInfo>
#include <QTextStream>

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    QStringList files;
    bool optionsEnd = false;
    for (const QString &argument : arguments) {
        if (optionsEnd || !argument.startsWith(QLatin1String("--")))
            files << argument;
        else if (argument == QLatin1String("--"))
            optionsEnd = true;
        else if (argument == QLatin1String("--list"))
            line.list = true;
        else if (argument == QLatin1String("--fresh"))
            line.fresh = true;
        else if (line.error.isEmpty())
            line.error = QStringLiteral("velmora: unknown option %1").arg(argument);
    }
    line.videos = videoPathsFromArguments(files);
    return line;
}

int listLibrary(QTextStream &out, QTextStream &err)
{
    if (!QFileInfo::exists(RecordingLibrary::defaultPath()))
        return 0; // nothing imported yet: an empty list
    RecordingLibrary library;
    if (!library.open()) {
        err << library.problem() << Qt::endl;
        return 1;
    }
    const QList<StoredRecording> recordings = library.recordings();
    for (const StoredRecording &recording : recordings) {
        const VideoAndGpsfileInfo &info = recording.info;
        out << info.fileName << '\t' << info.date << '\t' << info.time << '\t'
            << gpsFileStateText(info.gpsState) << '\t' << info.videoPath << '\n';
    }
    out.flush();
    return 0;
}
