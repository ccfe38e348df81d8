#ifndef USPEEDMETER_H
#define USPEEDMETER_H

#include <QWidget>

// The speedometer dial with its needle and the three-axis G-sensor graph.
class USpeedMeter : public QWidget
{
    Q_OBJECT

public:
    explicit USpeedMeter(QWidget *parent = nullptr);

public slots:
    void SetCarSpeed(double NewCarSpeed, double x[21], double y[21], double z[21]);
    void DrawGSensorLine();
    void SetLevel();
    void ResetLevel();

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // USPEEDMETER_H
