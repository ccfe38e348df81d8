#ifndef RANGEBAND_H
#define RANGEBAND_H

#include <QWidget>

#include <optional>
#include <utility>

class QSlider;

// The marked range drawn over a slider's groove, with a tick at each end. It
// lies on the slider and lets every mouse event through to it.
class RangeBand : public QWidget
{
    Q_OBJECT

public:
    explicit RangeBand(QSlider *slider);

    // From and to as fractions of the slider's length; nothing hides the band.
    void setSpan(std::optional<std::pair<double, double>> span);
    std::optional<std::pair<double, double>> span() const { return shown; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QSlider *slider;
    std::optional<std::pair<double, double>> shown;
};

#endif // RANGEBAND_H
