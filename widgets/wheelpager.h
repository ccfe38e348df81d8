#ifndef WHEELPAGER_H
#define WHEELPAGER_H

#include <QObject>

// Turns the mouse wheel over the widgets it watches into page turns: the
// list tables show whole pages and have nothing of their own to scroll.
class WheelPager : public QObject
{
    Q_OBJECT

public:
    explicit WheelPager(QObject *parent = nullptr);

    void watch(QWidget *widget);

signals:
    void previousPage();
    void nextPage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Touchpads send a wheel turn in many small steps.
    int pendingDelta = 0;
};

#endif // WHEELPAGER_H
