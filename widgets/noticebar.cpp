#include "widgets/noticebar.h"

#include <QTimer>

namespace {

constexpr int kMargin = 10;
// Long enough to read a line or two; longer texts stay longer.
constexpr int kShownMs = 5000;
constexpr int kMsPerCharacter = 40;
constexpr int kLongestMs = 15000;

} // namespace

NoticeBar::NoticeBar(QWidget *parent)
    : QLabel(parent), hideTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("Notice"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    hideTimer->setSingleShot(true);
    connect(hideTimer, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

// The native window is made with the first notice, as the video's is with the
// first recording: made while the main window is being built, it would fix
// the window's surface before the map view has set up its own.
void NoticeBar::showNotice(const QString &text)
{
    setAttribute(Qt::WA_NativeWindow);
    setText(text);
    show();
    fitToArea();
    raise();
    hideTimer->start(qBound(kShownMs, int(text.size()) * kMsPerCharacter, kLongestMs));
}

void NoticeBar::placeOver(const QRect &videoArea)
{
    area = videoArea;
    if (isVisible()) {
        fitToArea();
        raise();
    }
}

// Only while shown: the text and the style decide the height.
void NoticeBar::fitToArea()
{
    // The style sheet's padding counts only once the label is polished.
    ensurePolished();
    const int width = qMax(0, area.width() - 2 * kMargin);
    setGeometry(area.x() + kMargin, area.y() + kMargin, width, heightForWidth(width));
}
