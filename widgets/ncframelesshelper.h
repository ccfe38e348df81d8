#ifndef NCFRAMELESSHELPER_H
#define NCFRAMELESSHELPER_H

#include <QObject>

#include <memory>

class QPoint;
class QRect;
class QWidget;

// Which bands of a frame a position lies in. The bands are edgeWidth() wide
// and every bound is inclusive, so the right and bottom bands reach one pixel
// beyond the frame.
struct FrameEdgeHits
{
    bool anyEdge = false;
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    bool topLeft = false;
    bool bottomLeft = false;
    bool topRight = false;
    bool bottomRight = false;

    // position and frame in global coordinates.
    void recompute(const QPoint &position, const QRect &frame);
};

struct FramelessSettings;

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
    void setResizeOutline(bool enabled);
    bool resizeOutline() const;
    void setMoveOutline(bool enabled);
    bool moveOutline() const;

    // One width for every helper and every widget; a negative width is ignored.
    static void setEdgeWidth(int width);
    static int edgeWidth();

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void syncOutlines();

    std::unique_ptr<FramelessSettings> settings;
};

#endif // NCFRAMELESSHELPER_H
