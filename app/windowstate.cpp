// The title bar, the maximised state and video full screen.

#include "app/velmora.h"

#include "playback/uvlcwrapper.h"
#include "widgets/ncframelesshelper.h"
#include "widgets/udoubleclickedwidget.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace {

// The banner band that answers a double click lies below the banner's top
// rows and inside its outer columns, clear of the helper's resize bands.
constexpr int kBandOuterEdge = 5;
constexpr int kBandRightMargin = 6;
constexpr int kBannerHeight = 50;

bool inBannerBand(const QPoint &offset, int windowWidth)
{
    return offset.x() > kBandOuterEdge && offset.x() < windowWidth - kBandRightMargin
           && offset.y() > kBandOuterEdge && offset.y() < kBannerHeight;
}

// The button's own three rules for one face.
QString maxButtonStyleSheet(const QString &objectName, const QString &picture)
{
    return QStringLiteral("#%1          {border-image:url(:/images/%2.png); border-radius: 8px;}"
                          "#%1:hover    {border-image:url(:/images/%2_Hover.png);}"
                          "#%1:pressed  {border-image:url(:/images/%2_Pressed.png);}")
        .arg(objectName, picture);
}

void switchFrameless(NcFramelessHelper &helper, bool enabled)
{
    helper.setMoveEnabled(enabled);
    helper.setResizeEnabled(enabled);
}

} // namespace

void Velmora::MaxWindow()
{
    if (status->maximized != 0) {
        status->maximized = 0;
        returnToNormalGeometry();
        switchFrameless(*frameless, true);
    } else {
        status->maximized = 1;
        switchFrameless(*frameless, false);
        fillScreen();
    }
    swapMaxButton();
}

void Velmora::swapMaxButton()
{
    const bool showsMax = maxButtonState == 1;
    const QString name = showsMax ? QStringLiteral("WindowNormal") : QStringLiteral("WindowMax");
    const QString picture = showsMax ? QStringLiteral("Window_Normal") : QStringLiteral("Window_Max");
    windowMax->setObjectName(name);
    windowMax->setStyleSheet(maxButtonStyleSheet(name, picture));
    maxButtonState = showsMax ? 0 : 1;
}

void Velmora::fullscreen()
{
    if (fullScreenOn) {
        returnToNormalGeometry();
        // Cleared first: while it is set, layoutWidgets() keeps the video
        // surface over the whole window.
        fullScreenOn = false;
        layoutWidgets();
        switchFrameless(*frameless, true);
        return;
    }
    // With no video loaded there is nothing to fill the screen with.
    if (player->currentPath().isEmpty())
        return;
    if (status->maximized == 1)
        MaxWindow();
    switchFrameless(*frameless, false);
    fillScreen();
    // fillScreen() has set the screen's size already; a window manager's own
    // resize may come later and is laid out with fullScreenOn set.
    videoWindow->setGeometry(0, 0, width(), height());
    videoWindow->raise();
    fullScreenOn = true;
}

// Without a window manager showFullScreen() only sets a hint that nothing
// honours, so the window takes the screen's geometry itself. That comes before
// the state change: a geometry set afterwards would clear the full-screen state.
void Velmora::fillScreen()
{
    geometryBeforeFillingScreen = geometry();
    setGeometry(screen()->geometry());
    showFullScreen();
}

// A window manager would restore the geometry by itself; without one nothing
// would.
void Velmora::returnToNormalGeometry()
{
    showNormal();
    if (geometryBeforeFillingScreen.isValid())
        setGeometry(geometryBeforeFillingScreen);
}

void Velmora::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint offset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    if (inBannerBand(offset, width()))
        MaxWindow();
    event->accept();
}
