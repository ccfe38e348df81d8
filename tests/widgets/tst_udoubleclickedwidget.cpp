#include "widgets/udoubleclickedwidget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

// A parent that counts the double clicks that bubble up to it, so the test can
// tell whether the surface swallowed its own.
class RecordingParent : public QWidget
{
public:
    using QWidget::QWidget;
    int doubleClicks = 0;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        ++doubleClicks;
        QWidget::mouseDoubleClickEvent(event);
    }
};

const QColor kPaletteColour(0, 160, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

} // namespace

class TstUDoubleClickedWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void clicks_data();
    void clicks();
    void background_data();
    void background();
};

void TstUDoubleClickedWidget::init()
{
    // A widget that ignored an event would otherwise only print this.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("not accepted by receiving widget")));
}

void TstUDoubleClickedWidget::clicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("singleClicks");
    QTest::addColumn<int>("doubleClicks");

    const struct {
        const char *name;
        Qt::MouseButton button;
    } buttons[] = {
        {"left", Qt::LeftButton},
        {"right", Qt::RightButton},
        {"middle", Qt::MiddleButton},
    };
    for (const auto &b : buttons) {
        QTest::addRow("%s single click", b.name) << b.button << 1 << 0;
        QTest::addRow("%s double click", b.name) << b.button << 0 << 1;
        QTest::addRow("%s three double clicks", b.name) << b.button << 0 << 3;
        QTest::addRow("%s clicks then double click", b.name) << b.button << 2 << 1;
    }
}

void TstUDoubleClickedWidget::clicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, singleClicks);
    QFETCH(int, doubleClicks);

    RecordingParent parent;
    parent.resize(200, 200);
    auto *surface = new UDoubleClickedWidget(&parent);
    surface->setGeometry(20, 20, 160, 90);
    QSignalSpy spy(surface, &UDoubleClickedWidget::doubleclicked);

    for (int i = 0; i < singleClicks; ++i)
        QTest::mouseClick(surface, button);
    for (int i = 0; i < doubleClicks; ++i) {
        // What a window system delivers: press, release, double click, release.
        QTest::mousePress(surface, button);
        QTest::mouseRelease(surface, button);
        QTest::mouseDClick(surface, button);
        QTest::mouseRelease(surface, button);
    }

    QCOMPARE(spy.count(), doubleClicks);
    QCOMPARE(parent.doubleClicks, 0);
}

void TstUDoubleClickedWidget::background_data()
{
    QTest::addColumn<QString>("styleSheet");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<bool>("sheetOnParent");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("expected");

    const QString red = QStringLiteral("#VideoWindow { background-color: #ff0000; }");
    // A border is drawn only through PE_Widget, never by the palette fill.
    const QString bordered =
        QStringLiteral("#VideoWindow { background-color: #ff0000; border: 10px solid #0000ff; }");
    const QString name = QStringLiteral("VideoWindow");
    const QPoint centre(80, 45);
    const QPoint corner(2, 2);

    QTest::newRow("rule on widget") << red << name << false << centre << kRed;
    QTest::newRow("rule on widget, corner") << red << name << false << corner << kRed;
    QTest::newRow("rule on parent") << red << name << true << centre << kRed;
    QTest::newRow("border, centre") << bordered << name << false << centre << kRed;
    QTest::newRow("border, edge") << bordered << name << false << corner << kBlue;
    QTest::newRow("border from parent, edge") << bordered << name << true << corner << kBlue;
    QTest::newRow("rule names another widget") << red << QStringLiteral("Other") << false << centre
                                               << kPaletteColour;
    QTest::newRow("no style sheet") << QString() << name << false << centre << kPaletteColour;
}

void TstUDoubleClickedWidget::background()
{
    QFETCH(QString, styleSheet);
    QFETCH(QString, objectName);
    QFETCH(bool, sheetOnParent);
    QFETCH(QPoint, pixel);
    QFETCH(QColor, expected);

    QWidget parent;
    parent.resize(200, 200);
    auto *surface = new UDoubleClickedWidget(&parent);
    surface->setObjectName(objectName);
    surface->setGeometry(20, 20, 160, 90);
    QPalette palette = surface->palette();
    palette.setColor(QPalette::Window, kPaletteColour);
    surface->setPalette(palette);
    (sheetOnParent ? static_cast<QWidget *>(&parent) : surface)->setStyleSheet(styleSheet);

    // Grabbed through the parent: grab() of the surface itself would fill its
    // palette background whether or not the surface does so on screen.
    const QImage picture = parent.grab().toImage();
    QCOMPARE(picture.pixelColor(surface->pos() + pixel), expected);
}

QTEST_MAIN(TstUDoubleClickedWidget)

#include "tst_udoubleclickedwidget.moc"
