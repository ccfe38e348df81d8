#ifndef NCFRAMELESSHELPER_H
#define NCFRAMELESSHELPER_H

#include <QHash>
#include <QObject>

class QWidget;

// Makes top-level widgets frameless and lets the user move and resize them
// with the mouse, by watching their events. It never consumes an event.
class NcFramelessHelper : public QObject
{
    Q_OBJECT

public:
    explicit NcFramelessHelper(QObject *parent = nullptr);
    ~NcFramelessHelper() override;

    void attachTo(QWidget *widget);
    void detachFrom(QWidget *widget);

    void setMoveEnabled(bool enabled);
    bool isMoveEnabled() const;
    void setResizeEnabled(bool enabled);
    bool isResizeEnabled() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct WidgetState
    {
        Qt::WindowFlags savedFlags;
    };

    void restore(QWidget *widget, const WidgetState &state);

    QHash<QWidget *, WidgetState> states;
    bool moveEnabled = true;
    bool resizeEnabled = true;
};

#endif // NCFRAMELESSHELPER_H
