#include "catalogue/uvideoandgpsfiles.h"

#include "catalogue/filetime.h"
#include "catalogue/gpslogdata.h"
#include "logs/gpslogreader.h"
#include "logs/logfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

const QString kTimeFormat = QStringLiteral("hh:mm");

// The log sits in <two folders above the video's folder>/gps/ and is named
// after the 5th to 8th characters of the video's file name.
constexpr int kFoldersCutForLog = 3; // the file name, its folder, the folder above
constexpr int kSuffixOffset = 5;     // from the separator to the 5th character of the name
constexpr int kSuffixLength = 4;

// A receiver's log beside the video, named after it: FILE0001.MOV pairs with
// FILE0001.nmea and the others, in this order. Cameras on FAT cards write the
// suffix in capitals.
const char *const kSidecarSuffixes[] = {"nmea", "NMEA", "gps", "GPS", "log", "LOG", "gpx", "GPX"};
// Enough of a sidecar to tell NMEA or GPX from anything else of that name.
constexpr qint64 kSidecarHeadBytes = 64 * 1024;

// A log is worth using when strictly more than this share of its lines has a fix.
constexpr double kMinFixShare = 0.2;
constexpr char kFixMark = 'A';

// Logs are a few hundred kilobytes at most; one block reads most in one call.
constexpr qsizetype kReadBlockBytes = 256 * 1024;

// Only regular files count: a folder or a device at the path is not a video or a
// log, and opening a FIFO to read it would block the window.
bool isRegularFile(const QFileInfo &info)
{
    return info.isFile();
}

bool fixShareEnough(qint64 fixes, qint64 lines)
{
    return lines > 0 && double(fixes) / double(lines) > kMinFixShare;
}

// Lines are the bytes between '\n's; a last line without '\n' counts, a final
// '\n' does not start another one. Only a line's first byte matters. Lines
// past the log's cap are not counted, as they are not loaded.
class FixCounter
{
public:
    void add(const char *data, qsizetype size)
    {
        const char *const end = data + size;
        while (data < end && !full()) {
            if (atLineStart) {
                ++lines;
                fixes += *data == kFixMark ? 1 : 0;
                atLineStart = false;
            }
            const void *newline = std::memchr(data, '\n', size_t(end - data));
            if (!newline)
                return;
            data = static_cast<const char *>(newline) + 1;
            atLineStart = true;
        }
    }

    bool full() const { return lines >= LogFile::kMaxLines; }

    bool enoughFixes() const { return fixShareEnough(fixes, lines); }

private:
    qint64 lines = 0;
    qint64 fixes = 0;
    bool atLineStart = true;
};

// The three cuts of the pairing rule on the native separator. A path with fewer
// than three separators has no folder two levels up: no log path then.
QString pairedLogPath(const QString &videoPath)
{
    const QChar separator = QDir::separator();
    QString folder = QDir::toNativeSeparators(videoPath);
    QString suffix;
    for (int cut = 0; cut < kFoldersCutForLog; ++cut) {
        const qsizetype at = folder.lastIndexOf(separator);
        if (at < 0)
            return QString();
        if (cut == 0)
            suffix = folder.mid(at + kSuffixOffset, kSuffixLength);
        folder.truncate(at);
    }
    return QDir::toNativeSeparators(folder + QStringLiteral("/gps/gps") + suffix + QStringLiteral(".log"));
}

// Only an NMEA or GPX log pairs as a sidecar: FILE0001.log may be anything
// else a camera writes.
bool isReceiverLog(const QString &path)
{
    QFile file;
    if (!LogFile::openRegular(file, path))
        return false;
    const QByteArray head = file.read(kSidecarHeadBytes);
    return GpsLogReader::formatOf(head) != GpsLogReader::Format::Camera;
}

QString sidecarLogPath(const QFileInfo &video)
{
    const QString stem = video.dir().filePath(video.completeBaseName());
    for (const char *suffix : kSidecarSuffixes) {
        const QString path = stem + QLatin1Char('.') + QLatin1String(suffix);
        if (isReceiverLog(path))
            return QDir::toNativeSeparators(path);
    }
    return QString();
}

// Rated by its records, the seconds the player shows.
GpsFileState rateReceiverLog(const QString &logPath)
{
    GpsLogData log;
    log.LoadGpsLog(logPath);
    const qint64 fixes = std::count_if(log.records.cbegin(), log.records.cend(),
                                       [](const GpsLogRecord &record) { return record.dataAvailable; });
    return fixShareEnough(fixes, log.records.size()) ? GpsFileAvailable : GpsFileUnavailable;
}

} // namespace

const char *gpsFileStateText(GpsFileState state)
{
    switch (state) {
    case GpsFileNotExist:
        return QT_TRANSLATE_NOOP("QObject", "Not Exist");
    case GpsFileUnavailable:
        return QT_TRANSLATE_NOOP("QObject", "Unavailable");
    case GpsFileAvailable:
        return QT_TRANSLATE_NOOP("QObject", "Available");
    }
    return "";
}

UVideoAndGpsfiles::UVideoAndGpsfiles(QObject *parent)
    : QObject(parent)
{
}

int UVideoAndGpsfiles::GetVideoCount() const
{
    return int(videoAndGpsfiles.size());
}

QString UVideoAndGpsfiles::GetVideoPath(int Index) const
{
    return fieldAt(Index, &VideoAndGpsfileInfo::videoPath);
}

QString UVideoAndGpsfiles::GetVideoFileName(int Index) const
{
    return fieldAt(Index, &VideoAndGpsfileInfo::fileName);
}

QString UVideoAndGpsfiles::GetVideoDate(int Index) const
{
    return isValidIndex(Index) ? dateText(startMs(Index), displayZone) : QString();
}

QString UVideoAndGpsfiles::GetVideoTime(int Index) const
{
    return isValidIndex(Index) ? displayZone.at(startMs(Index)).toString(kTimeFormat) : QString();
}

qint64 UVideoAndGpsfiles::startMs(int index) const
{
    return isValidIndex(index) ? videoAndGpsfiles.at(index).startMs : 0;
}

QString UVideoAndGpsfiles::GetGpsFilePath(int Index) const
{
    return fieldAt(Index, &VideoAndGpsfileInfo::gpsFilePath);
}

GpsFileState UVideoAndGpsfiles::gpsRating(int Index) const
{
    return isValidIndex(Index) ? videoAndGpsfiles.at(Index).gpsState : GpsFileNotExist;
}

QString UVideoAndGpsfiles::GetGpsFileState(int Index) const
{
    if (!isValidIndex(Index))
        return QString();
    return QString::fromLatin1(gpsFileStateText(videoAndGpsfiles.at(Index).gpsState));
}

void UVideoAndGpsfiles::AddVideoAndGpsfiles(QStringList VideoPaths)
{
    for (const QString &path : std::as_const(VideoPaths))
        AddVideoAndGpsfile(path);
}

void UVideoAndGpsfiles::DeleteVideoAndGpsfile(int Index)
{
    if (isValidIndex(Index))
        videoAndGpsfiles.removeAt(Index);
    // Also for an index out of range: the player ignores it there too.
    emit VideoDeleted(Index);
}

void UVideoAndGpsfiles::AddVideoAndGpsfile(QString VideoPath)
{
    if (std::optional<VideoAndGpsfileInfo> entry = describeVideo(VideoPath))
        addDescribed(std::move(*entry));
}

std::optional<VideoAndGpsfileInfo> UVideoAndGpsfiles::describeVideo(const QString &videoPath)
{
    const QFileInfo video(videoPath);
    VideoAndGpsfileInfo entry;
    entry.fileName = ReadFileName(video);
    if (entry.fileName.isEmpty())
        return std::nullopt;
    entry.videoPath = videoPath;
    entry.startMs = modifiedMsSinceEpoch(videoPath);
    entry.gpsFilePath = MakeGpsFilePath(video);
    entry.gpsState = CheckGpsFile(entry.gpsFilePath);
    return entry;
}

void UVideoAndGpsfiles::replaceEntry(int index, VideoAndGpsfileInfo entry)
{
    if (!isValidIndex(index))
        return;
    const QString path = entry.videoPath;
    videoAndGpsfiles[index] = std::move(entry);
    emit videoReplaced(index, path);
}

void UVideoAndGpsfiles::addDescribed(VideoAndGpsfileInfo entry)
{
    const QString path = entry.videoPath;
    videoAndGpsfiles.append(std::move(entry));
    emit VideoAdded(path);
}

GpsFileState UVideoAndGpsfiles::RateGpsFile(QString logPath)
{
    QFile log;
    if (!LogFile::openRegular(log, logPath))
        return GpsFileUnavailable;
    QByteArray block(kReadBlockBytes, Qt::Uninitialized);
    FixCounter counter;
    // A receiver's log (NMEA, GPX) is rated by its seconds, as it is read.
    qint64 got = log.read(block.data(), qMin<qint64>(block.size(), LogFile::kMaxBytes));
    if (got > 0
        && GpsLogReader::formatOf(QByteArrayView(block.constData(), got)) != GpsLogReader::Format::Camera)
        return rateReceiverLog(logPath);
    qint64 total = qMax<qint64>(0, got);
    if (got > 0)
        counter.add(block.constData(), got);
    // A file read comes back short only at its end (or on an error, which rates
    // the lines read before it). What lies past the cap is never loaded, so it
    // is not rated either.
    while (got == block.size() && !counter.full()) {
        got = log.read(block.data(), qMin<qint64>(block.size(), LogFile::kMaxBytes - total));
        if (got > 0) {
            counter.add(block.constData(), got);
            total += got;
        }
    }
    return counter.enoughFixes() ? GpsFileAvailable : GpsFileUnavailable;
}

// A video that cannot be read could never play: it is not taken in.
QString UVideoAndGpsfiles::ReadFileName(const QFileInfo &video)
{
    return isRegularFile(video) && video.isReadable() ? video.fileName() : QString();
}

// The camera's log wins where it is; without it a receiver's log beside the
// video. With neither, the camera's path, where its log may still turn up.
QString UVideoAndGpsfiles::MakeGpsFilePath(const QFileInfo &video)
{
    if (!isRegularFile(video))
        return QString();
    const QString cameraLog = pairedLogPath(video.filePath());
    if (!cameraLog.isEmpty() && isRegularFile(QFileInfo(cameraLog)))
        return cameraLog;
    const QString sidecar = sidecarLogPath(video);
    return sidecar.isEmpty() ? cameraLog : sidecar;
}

GpsFileState UVideoAndGpsfiles::CheckGpsFile(const QString &logPath)
{
    if (logPath.isEmpty() || !isRegularFile(QFileInfo(logPath)))
        return GpsFileNotExist;
    return RateGpsFile(logPath);
}

bool UVideoAndGpsfiles::isValidIndex(int index) const
{
    return index >= 0 && index < videoAndGpsfiles.size();
}

QString UVideoAndGpsfiles::fieldAt(int index, QString VideoAndGpsfileInfo::*field) const
{
    return isValidIndex(index) ? videoAndGpsfiles.at(index).*field : QString();
}
