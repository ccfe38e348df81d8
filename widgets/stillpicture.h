#ifndef STILLPICTURE_H
#define STILLPICTURE_H

#include <QPixmap>
#include <QWidget>

// The last picture of a paused video, shown in its native window over the
// video's so that the video's own output can rest. Mouse events pass on to
// the video area beneath.
class StillPicture : public QWidget
{
    Q_OBJECT

public:
    explicit StillPicture(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture;
};

#endif // STILLPICTURE_H
