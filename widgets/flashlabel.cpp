#include "widgets/flashlabel.h"

namespace {

// Long enough to read a word, short enough not to cover the picture.
constexpr int kShownMs = 1500;

} // namespace

FlashLabel::FlashLabel(QWidget *parent)
    : VideoOverlay(QStringLiteral("Flash"), parent)
{
    setAlignment(Qt::AlignCenter);
}

void FlashLabel::flash(const QString &text)
{
    showFor(text, kShownMs);
}

QRect FlashLabel::placeIn(const QRect &area)
{
    const QSize size = sizeHint();
    return QRect(area.right() - kMargin - size.width(), area.bottom() - kMargin - size.height(), size.width(),
                 size.height());
}
