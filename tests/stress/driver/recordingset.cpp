#include "recordingset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

constexpr int kFfmpegTimeoutMs = 120000;

QString mediaFolder(const QString &card)
{
    return card + QStringLiteral("/DCIM/100MEDIA/");
}

// The log that the program pairs with a video: <card>/gps/gps<5th-8th letters>.log.
QString pairedLog(const QString &video)
{
    const QFileInfo info(video);
    return QDir::cleanPath(info.dir().absoluteFilePath(
            QStringLiteral("../../gps/gps") + info.fileName().mid(4, 4) + QStringLiteral(".log")));
}

} // namespace

RecordingSet::RecordingSet(const QString &root, const QString &drivesFolder)
    : rootFolder(root), drives(drivesFolder)
{
}

bool RecordingSet::writeFile(const QString &path, const QByteArray &content, QString *error)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
        return true;
    *error = QStringLiteral("cannot write %1").arg(path);
    return false;
}

bool RecordingSet::makeClip(
        const QString &path, int seconds, bool withAudio, bool fastStart, QString *error)
{
    QDir().mkpath(QFileInfo(path).path());
    QStringList arguments = { QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"),
        QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-f"),
        QStringLiteral("lavfi"), QStringLiteral("-i"),
        QStringLiteral("testsrc2=size=320x180:rate=25") };
    if (withAudio)
        arguments << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
                  << QStringLiteral("sine=frequency=440:sample_rate=48000")
                  << QStringLiteral("-c:a") << QStringLiteral("aac");
    arguments << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
              << QStringLiteral("veryfast") << QStringLiteral("-pix_fmt")
              << QStringLiteral("yuv420p") << QStringLiteral("-t") << QString::number(seconds);
    if (fastStart)
        arguments << QStringLiteral("-movflags") << QStringLiteral("+faststart");
    arguments << QStringLiteral("-y") << path;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments);
    if (ffmpeg.waitForFinished(kFfmpegTimeoutMs) && ffmpeg.exitStatus() == QProcess::NormalExit
            && ffmpeg.exitCode() == 0)
        return true;
    *error = QStringLiteral("ffmpeg could not make %1").arg(path);
    return false;
}

bool RecordingSet::copyLog(const QString &driveLog, const QString &video, QString *error)
{
    const QString log = pairedLog(video);
    QDir().mkpath(QFileInfo(log).path());
    QFile::remove(log);
    if (QFile::copy(drives + QLatin1Char('/') + driveLog, log))
        return true;
    *error = QStringLiteral("cannot copy %1 to %2").arg(driveLog, log);
    return false;
}

// Six real recordings: five with a real drive's log, one without a log.
bool RecordingSet::makeCard(QString *error)
{
    const QString media = mediaFolder(rootFolder + QStringLiteral("/drive-a"));
    const int seconds[] = { 5, 7, 9, 11, 6, 4 };
    for (int i = 0; i < 6; ++i) {
        const QString video
                = media + QStringLiteral("FILE%1.MOV").arg(i + 1, 4, 10, QLatin1Char('0'));
        if (!makeClip(video, seconds[i], i % 2 == 0, false, error))
            return false;
        if (i < 5
                && !copyLog(QStringLiteral("gps%1.log").arg(i + 1, 4, 10, QLatin1Char('0')), video,
                        error))
            return false;
        cardVideos << video;
    }
    return true;
}

// A card whose own folder has a space in its name, holding the files that
// trouble players and file dialogs.
bool RecordingSet::makeOddCard(QString *error)
{
    const QString media = mediaFolder(rootFolder + QStringLiteral("/odd card"));
    const auto video = [&media](const QString &name) { return media + name; };

    const QString text = video(QStringLiteral("FILE0011.MOV"));
    const QString truncated = video(QStringLiteral("FILE0012.MOV"));
    const QString empty = video(QStringLiteral("FILE0013.MOV"));
    const QString spaced = video(QStringLiteral("FILE0014 with space.MOV"));
    const QString quoted = video(QStringLiteral("FILE0015 it's.MOV"));
    const QString accented = video(QStringLiteral("FILE0016 ünï 日本.MOV"));
    const QString cyrillic = video(QStringLiteral("ФАЙЛ0017.MOV"));
    const QString halfPlayable = video(QStringLiteral("FILE0018.MOV"));
    // The file dialog cannot take a name with a double quote; the command line can.
    const QString doubleQuoted = video(QStringLiteral("FILE0019 \"dq\".MOV"));

    if (!writeFile(text, "This is a note, not a video.\n", error)
            || !writeFile(empty, QByteArray(), error))
        return false;
    // Cut before the index that a recording without fast start keeps at its end.
    if (!makeClip(truncated, 6, true, false, error))
        return false;
    QFile cut(truncated);
    if (!cut.resize(cut.size() * 2 / 5)) {
        *error = QStringLiteral("cannot truncate %1").arg(truncated);
        return false;
    }
    // With its index first, the start of the clip still plays.
    if (!makeClip(halfPlayable, 8, false, true, error))
        return false;
    QFile half(halfPlayable);
    if (!half.resize(half.size() * 3 / 5)) {
        *error = QStringLiteral("cannot truncate %1").arg(halfPlayable);
        return false;
    }
    if (!makeClip(spaced, 5, true, false, error) || !makeClip(quoted, 4, false, false, error)
            || !makeClip(accented, 4, false, false, error)
            || !makeClip(cyrillic, 5, true, false, error)
            || !makeClip(doubleQuoted, 3, false, false, error))
        return false;
    if (!copyLog(QStringLiteral("gps0002.log"), spaced, error)
            || !copyLog(QStringLiteral("gps0005.log"), quoted, error)
            || !copyLog(QStringLiteral("gps0003.log"), cyrillic, error)
            || !copyLog(QStringLiteral("gps0004.log"), truncated, error))
        return false;
    oddVideos = { text, truncated, empty, spaced, quoted, accented, cyrillic, halfPlayable };
    commandLineOnly = { doubleQuoted };
    return true;
}

bool RecordingSet::make(QString *error)
{
    return makeCard(error) && makeOddCard(error);
}

QStringList RecordingSet::videoFolders() const
{
    return { mediaFolder(rootFolder + QStringLiteral("/drive-a")),
        mediaFolder(rootFolder + QStringLiteral("/odd card")) };
}

QStringList RecordingSet::videosIn(const QString &folder) const
{
    return folder == videoFolders().at(0) ? cardVideos : oddVideos;
}

QStringList RecordingSet::pick(int pick, int count) const
{
    const QStringList folders = videoFolders();
    const QStringList videos = videosIn(folders.at(pick % folders.size()));
    QStringList picked;
    const int start = pick / int(folders.size());
    for (int i = 0; i < count && i < videos.size(); ++i)
        picked << videos.at((start + i) % videos.size());
    return picked;
}
