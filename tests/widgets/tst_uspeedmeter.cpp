#include "widgets/uspeedmeter.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QtMath>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(SpeedUnit)

namespace {

constexpr QPointF kPivot(97.0, 98.0);
constexpr double kEndAngle = 98.18181818181819;
constexpr int kGraphLeft = 279;
constexpr int kZeroLine = 59;
const QSize kMainWindowSize(460, 120);
constexpr int kMainWindowStep = 9; // (460 - 280) / 20
const QColor kGrid(Qt::darkGray);

using Samples = QVector<double>;

// The needle is translucent teal over a grey background: green and blue stay
// equal and well above red.
bool isNeedle(QColor c)
{
    return qAbs(c.green() - c.blue()) < 10 && c.green() - c.red() > 40;
}

// Degrees clockwise from straight up, as the needle turns.
QPoint probe(double degrees, double radius)
{
    const double r = qDegreesToRadians(degrees);
    return QPointF(kPivot.x() + radius * qSin(r), kPivot.y() - radius * qCos(r)).toPoint();
}

QImage render(USpeedMeter &meter)
{
    QImage image(meter.size(), QImage::Format_ARGB32);
    meter.render(&image);
    return image;
}

void setSeries(USpeedMeter &meter, int series, const Samples &values, double speed = 0.0)
{
    const Samples zeros(USpeedMeter::kSamples);
    Samples axes[3] = {zeros, zeros, zeros};
    axes[series] = values;
    meter.SetCarSpeed(speed, axes[0].data(), axes[1].data(), axes[2].data());
}

void clickButton(USpeedMeter &meter, const QString &name)
{
    auto *button = meter.findChild<QPushButton *>(name);
    QVERIFY2(button, qPrintable(name + QStringLiteral(" button missing")));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Grid pixels on a row, leaving out the columns of the vertical grid lines.
int gridPixelsOnRow(const QImage &image, int y)
{
    int count = 0;
    for (int x = kGraphLeft + 1; x < image.width(); ++x)
        count += (x - kGraphLeft) % kMainWindowStep != 0 && image.pixelColor(x, y) == kGrid;
    return count;
}

} // namespace

class TstUSpeedMeter : public QObject
{
    Q_OBJECT

private slots:
    void needle_data();
    void needle();
    void dialUnits_data();
    void dialUnits();
    void gridRows_data();
    void gridRows();
    void samples_data();
    void samples();
    void zeroLine_data();
    void zeroLine();
    void farSamples_data();
    void farSamples();
};

void TstUSpeedMeter::needle_data()
{
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("onAngle");
    QTest::addColumn<double>("offAngle");
    QTest::addColumn<double>("radius");

    // Probes pointing down stay short: the pivot is 22 px above the bottom edge.
    QTest::newRow("0 points left") << 0.0 << -kEndAngle << kEndAngle << 60.0;
    QTest::newRow("120 points up, not down") << 120.0 << 0.0 << 180.0 << 20.0;
    QTest::newRow("120 points straight up") << 120.0 << 0.0 << 10.0 << 80.0;
    QTest::newRow("240 points right") << 240.0 << kEndAngle << -kEndAngle << 60.0;
    QTest::newRow("300 is not clamped") << 300.0 << 147.27 << kEndAngle << 20.0;
}

void TstUSpeedMeter::needle()
{
    QFETCH(double, speed);
    QFETCH(double, onAngle);
    QFETCH(double, offAngle);
    QFETCH(double, radius);

    USpeedMeter meter;
    meter.resize(kMainWindowSize);
    setSeries(meter, 0, Samples(USpeedMeter::kSamples), speed);
    const QImage image = render(meter);
    QVERIFY2(isNeedle(image.pixelColor(probe(onAngle, radius))), "needle missing where it should point");
    QVERIFY2(!isNeedle(image.pixelColor(probe(offAngle, radius))), "needle found on the wrong side");
}

void TstUSpeedMeter::dialUnits_data()
{
    QTest::addColumn<SpeedUnit>("unit");
    QTest::addColumn<double>("kmh");
    QTest::addColumn<double>("fraction"); // of the dial's sweep
    QTest::addColumn<int>("top");

    QTest::newRow("km/h: 120 mid-dial") << SpeedUnit::Kmh << 120.0 << 0.5 << 240;
    QTest::newRow("km/h: 240 at the top") << SpeedUnit::Kmh << 240.0 << 1.0 << 240;
    QTest::newRow("mph: 75 mph mid-dial") << SpeedUnit::Mph << 120.7008 << 0.5 << 150;
    QTest::newRow("mph: 150 mph at the top") << SpeedUnit::Mph << 241.4016 << 1.0 << 150;
    QTest::newRow("mph: 100 km/h is 62 mph") << SpeedUnit::Mph << 100.0 << 62.137119 / 150 << 150;
}

// The needle points at the speed in the dial's unit, the log's km/h converted.
void TstUSpeedMeter::dialUnits()
{
    QFETCH(SpeedUnit, unit);
    QFETCH(double, kmh);
    QFETCH(double, fraction);
    QFETCH(int, top);

    const USpeedMeter::DialScale scale = USpeedMeter::dialScale(unit);
    QCOMPARE(scale.top, top);

    USpeedMeter meter;
    meter.resize(kMainWindowSize);
    meter.setSpeedUnit(unit);
    setSeries(meter, 0, Samples(USpeedMeter::kSamples), kmh);
    QVERIFY2(qAbs(meter.needleFraction() - fraction) < 1e-6, qPrintable(QString::number(meter.needleFraction())));
    const double angle = -kEndAngle + fraction * 2 * kEndAngle;
    QVERIFY2(isNeedle(render(meter).pixelColor(probe(angle, 60.0))), "needle missing where it should point");
}

void TstUSpeedMeter::gridRows_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("notRows");

    const QList<int> coarse{0, 11, 23, 35, 47, 71, 83, 95, 107, 119};
    const QList<int> fine{0, 29, 89, 119};
    QTest::newRow("fine at start") << QString() << fine << QList<int>{11, 47, 71};
    QTest::newRow("Minus: coarse at once") << QStringLiteral("Minus") << coarse << QList<int>{12, 29, 89};
    QTest::newRow("Plus keeps fine") << QStringLiteral("Plus") << fine << QList<int>{11, 47, 71};
}

void TstUSpeedMeter::gridRows()
{
    QFETCH(QString, button);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, notRows);

    USpeedMeter meter;
    meter.resize(kMainWindowSize);
    if (!button.isEmpty())
        clickButton(meter, button);
    const QImage image = render(meter);
    for (int y : rows)
        QVERIFY2(gridPixelsOnRow(image, y) > 40, qPrintable(QStringLiteral("no grid row at y=%1").arg(y)));
    for (int y : notRows)
        QVERIFY2(gridPixelsOnRow(image, y) == 0, qPrintable(QStringLiteral("grid row at y=%1").arg(y)));
}

void TstUSpeedMeter::samples_data()
{
    QTest::addColumn<bool>("coarse");
    QTest::addColumn<int>("series");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("coarse x 20") << true << 0 << 20.0 << 47 << QColor(Qt::red);
    QTest::newRow("coarse y -80") << true << 1 << -80.0 << 107 << QColor(Qt::magenta);
    QTest::newRow("coarse x -31 truncates") << true << 0 << -31.0 << 77 << QColor(Qt::red);
    QTest::newRow("fine z 10") << false << 2 << 10.0 << 29 << QColor(Qt::yellow);
    QTest::newRow("fine x -10") << false << 0 << -10.0 << 89 << QColor(Qt::red);
}

void TstUSpeedMeter::samples()
{
    QFETCH(bool, coarse);
    QFETCH(int, series);
    QFETCH(double, value);
    QFETCH(int, row);
    QFETCH(QColor, colour);

    USpeedMeter meter;
    meter.resize(kMainWindowSize);
    if (coarse)
        clickButton(meter, QStringLiteral("Minus"));
    // Two equal samples give a flat segment between columns 5 and 6 (x 324 to 333).
    Samples values(USpeedMeter::kSamples);
    values[5] = values[6] = value;
    setSeries(meter, series, values);
    const QImage image = render(meter);
    const int farther = row + (value > 0 ? -1 : 1);
    QCOMPARE(image.pixelColor(328, row), colour);
    QVERIFY2(image.pixelColor(328, farther) != colour, "sample drawn one row too far out");
}

void TstUSpeedMeter::zeroLine_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("firstYellow");
    QTest::addColumn<int>("lastYellow");

    QTest::newRow("z on top of the zero line") << 460 << kGraphLeft << 459;
    QTest::newRow("step 0: all on the axis") << 290 << kGraphLeft << kGraphLeft;
    // -10 / 20 truncates to 0, so the graph stays on the axis, past the right edge.
    QTest::newRow("step 0 from a negative quotient") << 270 << kGraphLeft << kGraphLeft;
    QTest::newRow("negative step: left of the axis") << 200 << 199 << 199;
}

void TstUSpeedMeter::zeroLine()
{
    QFETCH(int, width);
    QFETCH(int, firstYellow);
    QFETCH(int, lastYellow);

    USpeedMeter meter;
    meter.resize(width, kMainWindowSize.height());
    const QImage image = render(meter);
    for (int x = 0; x < width; ++x) {
        const bool yellow = image.pixelColor(x, kZeroLine) == QColor(Qt::yellow);
        QVERIFY2(yellow == (x >= firstYellow && x <= lastYellow),
                 qPrintable(QStringLiteral("x=%1 yellow: %2").arg(x).arg(yellow)));
    }
}

void TstUSpeedMeter::farSamples_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("direction"); // -1 up off the graph, 1 down, 0 on the zero line

    // A log's G-sensor field may hold any finite number, e.g. "1e20".
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    QTest::newRow("1e20") << 1e20 << -1;
    QTest::newRow("-1e20") << -1e20 << 1;
    QTest::newRow("largest double") << kMax << -1;
    QTest::newRow("lowest double") << -kMax << 1;
    QTest::newRow("infinity") << kInfinity << -1;
    QTest::newRow("minus infinity") << -kInfinity << 1;
    QTest::newRow("NaN") << std::nan("") << 0;
}

// Sample 10 far off the graph: the segment from sample 9, on the zero line at
// x 360, runs straight up or down off the graph. Samples past what an int holds
// must still draw to their side (and are undefined behaviour if cast unchecked).
void TstUSpeedMeter::farSamples()
{
    QFETCH(double, value);
    QFETCH(int, direction);

    USpeedMeter meter;
    meter.resize(kMainWindowSize);
    Samples values(USpeedMeter::kSamples);
    values[10] = value;
    setSeries(meter, 0, values);
    const QImage image = render(meter);
    const int x = kGraphLeft + 9 * kMainWindowStep;
    const QColor red(Qt::red);
    QCOMPARE(image.pixelColor(x, kZeroLine - 30) == red, direction < 0);
    QCOMPARE(image.pixelColor(x, kZeroLine + 30) == red, direction > 0);
}

QTEST_MAIN(TstUSpeedMeter)

#include "tst_uspeedmeter.moc"
