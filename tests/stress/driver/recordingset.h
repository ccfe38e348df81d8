#ifndef RECORDINGSET_H
#define RECORDINGSET_H

#include <QString>
#include <QStringList>

// The recordings that the stress run imports, made in a scratch folder in a
// dash camera's shape (<card>/DCIM/100MEDIA/FILE0001.MOV with its log in
// <card>/gps/gps0001.log): real H.264 clips with logs from real drives, and
// files that only look like recordings (text, truncated, empty) or have
// awkward names (spaces, quotes, non-ASCII).
class RecordingSet
{
public:
    // `drivesFolder` holds the real drive logs gps0001.log ... gps0005.log.
    RecordingSet(const QString &root, const QString &drivesFolder);

    bool make(QString *error);

    QString root() const { return rootFolder; }
    // The videos named on the program's command line at start.
    QStringList startVideos() const { return commandLineOnly + cardVideos; }
    // The videos the file dialog offers, by folder.
    QStringList videoFolders() const;
    QStringList videosIn(const QString &folder) const;
    // `count` different videos of one folder (chosen by `pick`), for one dialog.
    QStringList pick(int pick, int count) const;

private:
    bool makeClip(const QString &path, int seconds, bool withAudio, bool fastStart, QString *error);
    bool copyLog(const QString &driveLog, const QString &video, QString *error);
    bool writeFile(const QString &path, const QByteArray &content, QString *error);
    bool makeCard(QString *error);
    bool makeOddCard(QString *error);

    QString rootFolder;
    QString drives;
    QStringList cardVideos;
    QStringList oddVideos;
    QStringList commandLineOnly;
};

#endif // RECORDINGSET_H
