#ifndef JUMPCLICKSTYLE_H
#define JUMPCLICKSTYLE_H

#include <QProxyStyle>

// Sliders whose handle jumps to where the groove is clicked, as in every
// video player, instead of moving one page towards it.
class JumpClickStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

    // Gives `slider` this behaviour; the style lives as long as the slider.
    static void applyTo(QWidget *slider);
};

#endif // JUMPCLICKSTYLE_H
