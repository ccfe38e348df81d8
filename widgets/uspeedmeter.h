#ifndef USPEEDMETER_H
#define USPEEDMETER_H

#include "library/speedunit.h"

#include <QWidget>

class QPushButton;

// The speedometer dial with its needle and the three-axis G-sensor graph.
class USpeedMeter : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSamples = 21;

    // The dial's marks for a unit: its top speed, a thin mark every `minor`,
    // a long one every `major`, a number every `label`, red from `red` on.
    struct DialScale
    {
        int top;
        int minor;
        int major;
        int label;
        int red;
    };
    static DialScale dialScale(SpeedUnit unit);

    explicit USpeedMeter(QWidget *parent = nullptr);

    // What the meter shows now; sample k of 21, the current second at 10.
    double carSpeed() const { return CarSpeed; } // km/h, as the log gives it
    // Where the needle points: 0 at the dial's zero, 1 at its top speed.
    double needleFraction() const;
    SpeedUnit speedUnit() const { return unit; }
    void setSpeedUnit(SpeedUnit newUnit);
    double sampleX(int k) const { return GSensorX[k]; }
    double sampleY(int k) const { return GSensorY[k]; }
    double sampleZ(int k) const { return GSensorZ[k]; }

public slots:
    // The literal 21 stays: moc records the signature as written.
    void SetCarSpeed(double NewCarSpeed, double x[21], double y[21], double z[21]);
    void DrawGSensorLine();
    void SetLevel();
    void ResetLevel();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void DrawSpeedNeedle(double speed);
    void drawBackground();
    void drawDialMarks();

    double CarSpeed = 0.0;
    double GSensorX[kSamples] = {};
    double GSensorY[kSamples] = {};
    double GSensorZ[kSamples] = {};
    int Level = 1;
    SpeedUnit unit = SpeedUnit::Kmh;
    QPushButton *PlusButton = nullptr;
    QPushButton *MinusButton = nullptr;
};

#endif // USPEEDMETER_H
