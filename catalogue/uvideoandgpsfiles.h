#ifndef UVIDEOANDGPSFILES_H
#define UVIDEOANDGPSFILES_H

#include <QObject>
#include <QString>

// The imported recordings: each video with its paired GPS log.
class UVideoAndGpsfiles : public QObject
{
    Q_OBJECT

public:
    explicit UVideoAndGpsfiles(QObject *parent = nullptr);

signals:
    void VideoAdded(QString VideoPath);
    void VideoDeleted(int Index);
};

#endif // UVIDEOANDGPSFILES_H
