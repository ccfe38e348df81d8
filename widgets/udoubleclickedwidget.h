#ifndef UDOUBLECLICKEDWIDGET_H
#define UDOUBLECLICKEDWIDGET_H

#include <QWidget>

// A surface that paints only its style-sheet background and announces every
// double click, whatever the button. The video is drawn into it.
class UDoubleClickedWidget : public QWidget
{
    Q_OBJECT

public:
    explicit UDoubleClickedWidget(QWidget *parent = nullptr);

signals:
    void doubleclicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

#endif // UDOUBLECLICKEDWIDGET_H
