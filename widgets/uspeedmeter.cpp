#include "widgets/uspeedmeter.h"

#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace {

constexpr QPointF kPivot(97.0, 98.0);
constexpr double kNeedleUnitsPerSide = 400.0;
constexpr double kDegreesPerKmh = 9.0 / 11.0;
constexpr double kZeroSpeedAngle = -98.18181818181819; // 1080 / 11
const QColor kNeedleColour(0, 127, 127, 160);

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

void USpeedMeter::DrawSpeedNeedle(double speed)
{
    const int side = qMin(width(), height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(kPivot);
    painter.scale(side / kNeedleUnitsPerSide, side / kNeedleUnitsPerSide);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNeedleColour);
    painter.rotate(speed * kDegreesPerKmh + kZeroSpeedAngle);
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
