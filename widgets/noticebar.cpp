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
    setAttribute(Qt::WA_NativeWindow);
    hideTimer->setSingleShot(true);
    connect(hideTimer, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void NoticeBar::showNotice(const QString &text)
{
    setText(text);
    placeOver(area);
    show();
    raise();
    hideTimer->start(qBound(kShownMs, int(text.size()) * kMsPerCharacter, kLongestMs));
}

void NoticeBar::placeOver(const QRect &videoArea)
{
    area = videoArea;
    const int width = qMax(0, area.width() - 2 * kMargin);
    setGeometry(area.x() + kMargin, area.y() + kMargin, width, heightForWidth(width));
    if (isVisible())
        raise();
}
