#include "widgets/uspeedmeter.h"

#include <QPainter>
#include <QtMath>
#include <QPolygon>
#include <QPushButton>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace {

constexpr QPointF kPivot(97.0, 98.0);
constexpr double kNeedleUnitsPerSide = 400.0;
constexpr double kZeroSpeedAngle = -98.18181818181819; // 1080 / 11
constexpr double kSweepDegrees = -2 * kZeroSpeedAngle;
const QColor kNeedleColour(0, 127, 127, 160);

// The marks sit on the face of the background picture, in its pixels: long
// ones from radius 80, short ones from 85.5, both out to 92; the numbers on
// radius 66; the unit under the hub.
constexpr double kMajorInner = 80.0;
constexpr double kMinorInner = 85.5;
constexpr double kMarkOuter = 92.0;
constexpr double kLabelRadius = 66.0;
constexpr int kLabelPixels = 10;
constexpr int kUnitPixels = 9;
constexpr QPointF kUnitCentre(97.0, 113.0);
const QColor kMajorColour(0xee, 0xf4, 0xf6);
const QColor kMinorColour(0x7f, 0x8e, 0x95);
const QColor kRedMajorColour(0xff, 0x8a, 0x8a);
const QColor kRedMinorColour(0xd0, 0x60, 0x66);
const QColor kLabelColour(0xe3, 0xea, 0xed);
const QColor kRedLabelColour(0xff, 0x9a, 0x9a);
const QColor kUnitColour(0x19, 0xd3, 0xc5);

// Degrees clockwise from straight up, for a fraction of the dial.
double dialAngle(double fraction)
{
    return kZeroSpeedAngle + fraction * kSweepDegrees;
}

QPointF onDial(double radius, double angleDegrees)
{
    const double radians = qDegreesToRadians(angleDegrees);
    return kPivot + QPointF(radius * std::sin(radians), -radius * std::cos(radians));
}

constexpr int kGraphLeft = 279;
constexpr int kColumns = USpeedMeter::kSamples - 1;
constexpr int kMiddleColumn = 10;
// The step is measured from one pixel past the axis.
constexpr int kStepOrigin = kGraphLeft + 1;

constexpr int kButtonSide = 15;
constexpr QPoint kPlusAt(240, 0);
constexpr QPoint kMinusAt(240, 20);

// How far out a sample off the graph is drawn. Inside a meter a few hundred
// pixels tall, the visible part of its segment moves by less than a hundredth
// of a pixel against the true position.
constexpr double kFarOffPixels = 1 << 20;

constexpr int kCoarseLevel = 0;
constexpr int kFineLevel = 1;

struct ScaleLabel
{
    const char *text;
    QPoint baseline;
};

// Rows are counted from the top; the zero line sits one pixel above its row.
struct LevelScale
{
    int rowsPerHeight;
    int unitsPerRow;
    int zeroRow;
    ScaleLabel labels[3];
};

constexpr LevelScale kCoarseScale{
    10, 20, 5, {{"80", {265, 16}}, {"0", {271, 64}}, {"-80", {259, 112}}}};
constexpr LevelScale kFineScale{
    4, 10, 2, {{"10", {265, 34}}, {"0", {271, 64}}, {"-10", {259, 94}}}};

struct Axis
{
    const double *samples;
    Qt::GlobalColor colour;
    const char *label;
    QPoint labelAt;
    QLine legend;
};

// Built once, on first use: the needle in units of a 400-unit dial, pivot at the origin.
const QPolygon &NeedleShape()
{
    static const QPolygon shape{
        {-6, 40}, {-15, 0}, {-5, -280}, {5, -280}, {15, 0}, {6, 40}};
    return shape;
}

QPen graphPen(QColor colour, Qt::PenStyle style)
{
    return QPen(colour, 1.0, style, Qt::SquareCap, Qt::BevelJoin);
}

// Pixel geometry of the graph for one widget size and level.
struct Graph
{
    int height;
    int step;
    const LevelScale &scale;
    int rowHeight;
    int zeroLine;

    int columnX(int i) const { return kGraphLeft + i * step; }
    int right() const { return columnX(kColumns); }
    // Truncated, not rounded, toward zero. A log may hold any finite value;
    // held within kFarOffPixels its conversion to int stays defined. NaN, which
    // the parser never gives, stays on the zero line.
    int sampleY(double v) const
    {
        const double y = zeroLine - (v / scale.unitsPerRow) * rowHeight;
        if (std::isnan(y))
            return zeroLine;
        return static_cast<int>(std::clamp(y, -kFarOffPixels, kFarOffPixels));
    }
};

Graph graphFor(QSize size, int level)
{
    const LevelScale &scale = level == kCoarseLevel ? kCoarseScale : kFineScale;
    const int rowHeight = size.height() / scale.rowsPerHeight;
    return {size.height(), (size.width() - kStepOrigin) / kColumns, scale, rowHeight,
            scale.zeroRow * rowHeight - 1};
}

void drawVertical(QPainter &painter, const Graph &graph, int x)
{
    painter.drawLine(x, 0, x, graph.height - 1);
}

void drawGrid(QPainter &painter, const Graph &graph)
{
    painter.setPen(graphPen(Qt::white, Qt::SolidLine));
    drawVertical(painter, graph, kGraphLeft);

    painter.setPen(graphPen(Qt::darkGray, Qt::DashLine));
    for (const ScaleLabel &label : graph.scale.labels)
        painter.drawText(label.baseline, QString::fromLatin1(label.text));
    for (int k = 0; k <= graph.scale.rowsPerHeight; ++k) {
        if (k == graph.scale.zeroRow)
            continue;
        const int y = qMax(0, k * graph.rowHeight - 1);
        painter.drawLine(kGraphLeft, y, graph.right(), y);
    }
    for (int j = 1; j <= kColumns; ++j) {
        if (j != kMiddleColumn)
            drawVertical(painter, graph, graph.columnX(j));
    }

    painter.setPen(graphPen(Qt::white, Qt::DashLine));
    drawVertical(painter, graph, graph.columnX(kMiddleColumn));
    painter.setPen(graphPen(Qt::white, Qt::SolidLine));
    painter.drawLine(kGraphLeft, graph.zeroLine, graph.right(), graph.zeroLine);
}

void drawSeries(QPainter &painter, const Graph &graph, const Axis &axis)
{
    painter.setPen(graphPen(axis.colour, Qt::SolidLine));
    for (int i = 0; i < kColumns; ++i) {
        painter.drawLine(graph.columnX(i), graph.sampleY(axis.samples[i]),
                         graph.columnX(i + 1), graph.sampleY(axis.samples[i + 1]));
        // Redrawn after every segment, so a series never hides its legend.
        painter.drawText(axis.labelAt, QString::fromLatin1(axis.label));
        painter.drawLine(axis.legend);
    }
}

// The face comes from the style sheet rule for the object name.
QPushButton *makeLevelButton(QWidget *parent, const QString &name, QPoint at)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(QRect(at, QSize(kButtonSide, kButtonSide)));
    return button;
}

} // namespace

USpeedMeter::USpeedMeter(QWidget *parent)
    : QWidget(parent)
{
    PlusButton = makeLevelButton(this, QStringLiteral("Plus"), kPlusAt);
    MinusButton = makeLevelButton(this, QStringLiteral("Minus"), kMinusAt);
    connect(PlusButton, &QPushButton::clicked, this, &USpeedMeter::SetLevel);
    connect(MinusButton, &QPushButton::clicked, this, &USpeedMeter::ResetLevel);
    SetCarSpeed(0.0, GSensorX, GSensorY, GSensorZ);
}

USpeedMeter::DialScale USpeedMeter::dialScale(SpeedUnit unit)
{
    if (unit == SpeedUnit::Mph)
        return { 150, 5, 10, 30, 125 };
    return { 240, 10, 20, 40, 200 };
}

double USpeedMeter::needleFraction() const
{
    return speedIn(unit, CarSpeed) / dialScale(unit).top;
}

void USpeedMeter::setSpeedUnit(SpeedUnit newUnit)
{
    unit = newUnit;
    update();
}

void USpeedMeter::SetCarSpeed(double NewCarSpeed, double x[21], double y[21], double z[21])
{
    CarSpeed = NewCarSpeed;
    // Element by element, so the widget's own arrays may be passed back in.
    for (int i = 0; i < kSamples; ++i) {
        GSensorX[i] = x[i];
        GSensorY[i] = y[i];
        GSensorZ[i] = z[i];
    }
    repaint();
}

void USpeedMeter::SetLevel()
{
    Level = kFineLevel;
    repaint();
}

void USpeedMeter::ResetLevel()
{
    Level = kCoarseLevel;
    repaint();
}

void USpeedMeter::paintEvent(QPaintEvent *)
{
    // Each step opens its own painter, so no pen or transform leaks into the next.
    drawBackground();
    drawDialMarks();
    DrawSpeedNeedle(CarSpeed);
    DrawGSensorLine();
}

void USpeedMeter::drawBackground()
{
    // The dial is the style-sheet background, which custom widgets only get
    // through PE_Widget.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void USpeedMeter::drawDialMarks()
{
    const DialScale scale = dialScale(unit);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int v = 0; v <= scale.top; v += scale.minor) {
        const bool major = v % scale.major == 0;
        const bool red = v >= scale.red;
        const double angle = dialAngle(double(v) / scale.top);
        painter.setPen(QPen(major ? (red ? kRedMajorColour : kMajorColour) : (red ? kRedMinorColour : kMinorColour),
                            major ? 2.0 : 1.0, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(onDial(major ? kMajorInner : kMinorInner, angle), onDial(kMarkOuter, angle));
    }
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(kLabelPixels);
    painter.setFont(font);
    constexpr QSizeF kLabelBox(40, 14);
    for (int v = 0; v <= scale.top; v += scale.label) {
        const QPointF centre = onDial(kLabelRadius, dialAngle(double(v) / scale.top));
        painter.setPen(v >= scale.red ? kRedLabelColour : kLabelColour);
        painter.drawText(QRectF(centre - QPointF(kLabelBox.width() / 2, kLabelBox.height() / 2), kLabelBox),
                         Qt::AlignCenter, QString::number(v));
    }
    font.setBold(false);
    font.setPixelSize(kUnitPixels);
    painter.setFont(font);
    painter.setPen(kUnitColour);
    constexpr QSizeF kUnitBox(60, 12);
    painter.drawText(QRectF(kUnitCentre - QPointF(kUnitBox.width() / 2, kUnitBox.height() / 2), kUnitBox),
                     Qt::AlignCenter, speedUnitText(unit));
}

void USpeedMeter::DrawSpeedNeedle(double speed)
{
    const int side = qMin(width(), height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kPivot);
    painter.scale(side / kNeedleUnitsPerSide, side / kNeedleUnitsPerSide);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNeedleColour);
    painter.rotate(dialAngle(speedIn(unit, speed) / dialScale(unit).top));
    painter.drawConvexPolygon(NeedleShape());
}

void USpeedMeter::DrawGSensorLine()
{
    const Graph graph = graphFor(size(), Level);
    const Axis axes[] = {
        {GSensorX, Qt::red, "X:", {185, 10}, {200, 5, 225, 5}},
        {GSensorY, Qt::magenta, "Y:", {185, 20}, {200, 15, 225, 15}},
        {GSensorZ, Qt::yellow, "Z:", {185, 30}, {200, 25, 225, 25}},
    };
    QPainter painter(this);
    drawGrid(painter, graph);
    for (const Axis &axis : axes)
        drawSeries(painter, graph, axis);
}
