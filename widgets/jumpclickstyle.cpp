#include "widgets/jumpclickstyle.h"

#include <QWidget>

int JumpClickStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                              QStyleHintReturn *returnData) const
{
    if (hint == SH_Slider_AbsoluteSetButtons)
        return Qt::LeftButton;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void JumpClickStyle::applyTo(QWidget *slider)
{
    auto *style = new JumpClickStyle;
    style->setParent(slider);
    slider->setStyle(style);
}
