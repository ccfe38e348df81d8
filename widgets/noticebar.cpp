#include "widgets/noticebar.h"

namespace {

// Long enough to read a line or two; longer texts stay longer.
constexpr int kShownMs = 5000;
constexpr int kMsPerCharacter = 40;
constexpr int kLongestMs = 15000;

} // namespace

NoticeBar::NoticeBar(QWidget *parent)
    : VideoOverlay(QStringLiteral("Notice"), parent)
{
    setWordWrap(true);
}

void NoticeBar::showNotice(const QString &text)
{
    showFor(text, qBound(kShownMs, int(text.size()) * kMsPerCharacter, kLongestMs));
}

QRect NoticeBar::placeIn(const QRect &area)
{
    // The style sheet's padding counts only once the label is polished.
    ensurePolished();
    const int width = qMax(0, area.width() - 2 * kMargin);
    return QRect(area.x() + kMargin, area.y() + kMargin, width, heightForWidth(width));
}
