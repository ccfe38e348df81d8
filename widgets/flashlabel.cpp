#include "widgets/flashlabel.h"

#include <QTimer>

namespace {

constexpr int kMargin = 10;
// Long enough to read a word, short enough not to cover the picture.
constexpr int kShownMs = 1500;

} // namespace

FlashLabel::FlashLabel(QWidget *parent)
    : QLabel(parent), hideTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("Flash"));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    hideTimer->setSingleShot(true);
    connect(hideTimer, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

// The native window is made when first shown, as the notice's is.
void FlashLabel::flash(const QString &text)
{
    setAttribute(Qt::WA_NativeWindow);
    setText(text);
    show();
    fitToArea();
    raise();
    hideTimer->start(kShownMs);
}

void FlashLabel::placeOver(const QRect &videoArea)
{
    area = videoArea;
    if (isVisible()) {
        fitToArea();
        raise();
    }
}

void FlashLabel::fitToArea()
{
    const QSize size = sizeHint();
    setGeometry(area.right() - kMargin - size.width(), area.bottom() - kMargin - size.height(), size.width(),
                size.height());
}
