#ifndef UVIDEOANDGPSFILES_H
#define UVIDEOANDGPSFILES_H

#include "catalogue/recordingtime.h"

#include <QList>
#include <QObject>

#include <optional>
#include <QString>
#include <QStringList>

class QFileInfo;

// How usable the GPS log paired with a video is. The numbers are part of the
// interface; GetGpsFileState() gives the text that the rest of the program uses.
enum GpsFileState {
    GpsFileNotExist = 0,    // "Not Exist": no log file at the paired path
    GpsFileUnavailable = 1, // "Unavailable": at most one line in five has a fix
    GpsFileAvailable = 2,   // "Available": more than one line in five has a fix
};

// The text of a state as GetGpsFileState() gives it, marked for translation in
// the context "QObject", where the list tables look it up.
const char *gpsFileStateText(GpsFileState state);

// One imported recording. Every field is worked out once, when it is added.
struct VideoAndGpsfileInfo {
    QString videoPath;   // as given to AddVideoAndGpsfiles
    QString fileName;    // with extension; never empty for a stored entry
    // When it was recorded, UTC ms: the video's last modification here; the
    // library puts the first fix of the log in its place (see LibraryKeeper).
    qint64 startMs = 0;
    // Paired log with native separators: the camera's, else a receiver's log
    // of the same name beside the video, else the camera's path; empty if
    // none can be built.
    QString gpsFilePath;
    GpsFileState gpsState = GpsFileNotExist;
};

// The imported recordings: each video with its paired GPS log. Entry i is the
// player's playlist item i; the two signals keep the playlist in step.
class UVideoAndGpsfiles : public QObject
{
    Q_OBJECT

public:
    explicit UVideoAndGpsfiles(QObject *parent = nullptr);

    // Invokable, so that tools outside the program can read it through the
    // meta-object system.
    Q_INVOKABLE int GetVideoCount() const;
    QString GetVideoPath(int Index) const;
    QString GetVideoFileName(int Index) const;
    // The recording's start in the display zone: "yyyy-MM-dd" and "hh:mm".
    QString GetVideoDate(int Index) const;
    QString GetVideoTime(int Index) const;
    // The same instant, UTC ms; 0 out of range.
    qint64 startMs(int index) const;
    // The zone the getters speak; local time until set.
    void setDisplayZone(const DisplayZone &zone) { displayZone = zone; }
    const DisplayZone &zone() const { return displayZone; }
    QString GetGpsFilePath(int Index) const;
    QString GetGpsFileState(int Index) const;
    // The rating itself, for code that decides by it; GpsFileNotExist out of range.
    GpsFileState gpsRating(int Index) const;

    // What the catalogue keeps of a video, worked out from the files alone:
    // slow (the log is read), safe on any thread. Nothing for a path that is
    // no regular, readable file.
    static std::optional<VideoAndGpsfileInfo> describeVideo(const QString &videoPath);
    // Appends a described video, as AddVideoAndGpsfiles does.
    void addDescribed(VideoAndGpsfileInfo entry);
    // Entry `index` described anew (its files changed, or moved).
    void replaceEntry(int index, VideoAndGpsfileInfo entry);

signals:
    void VideoAdded(QString VideoPath);
    void VideoDeleted(int Index);
    void videoReplaced(int index, const QString &videoPath);

public slots:
    void AddVideoAndGpsfiles(QStringList VideoPaths);
    void DeleteVideoAndGpsfile(int Index);

private:
    void AddVideoAndGpsfile(QString VideoPath);

    // Each fact from one look at the video, so that adding a path asks the
    // file system about the video once instead of once per fact.
    static QString ReadFileName(const QFileInfo &video);
    static QString MakeGpsFilePath(const QFileInfo &video);
    static GpsFileState CheckGpsFile(const QString &logPath);
    static GpsFileState RateGpsFile(QString logPath);

    bool isValidIndex(int index) const;
    QString fieldAt(int index, QString VideoAndGpsfileInfo::*field) const;

    QList<VideoAndGpsfileInfo> videoAndGpsfiles;
    DisplayZone displayZone;
};

#endif // UVIDEOANDGPSFILES_H
