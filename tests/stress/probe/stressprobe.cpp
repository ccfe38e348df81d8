#include "stressprobe.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableView>

namespace {

const QString kNone = QStringLiteral("none");
const QString kMainWindowName = QStringLiteral("Velmora");

QString rectText(const QRect &rect)
{
    return QStringLiteral("%1 %2 %3 %4")
            .arg(rect.x())
            .arg(rect.y())
            .arg(rect.width())
            .arg(rect.height());
}

QRect globalRect(const QWidget *widget, const QRect &local)
{
    return QRect(widget->mapToGlobal(local.topLeft()), local.size());
}

QWidget *findIn(QWidget *window, const QStringList &names)
{
    if (!window || !window->isVisible())
        return nullptr;
    for (const QString &name : names) {
        if (window->objectName() == name)
            return window;
        const QList<QWidget *> found = window->findChildren<QWidget *>(name);
        for (QWidget *widget : found) {
            if (widget->isVisible())
                return widget;
        }
    }
    return nullptr;
}

// Something else (the video in full screen, a dialog) may lie over the widget.
bool isCovered(const QWidget *widget, const QRect &global)
{
    const QWidget *top = QApplication::widgetAt(global.center());
    return top != widget && !widget->isAncestorOf(top);
}

QString rectAnswer(const QString &names)
{
    const QWidget *widget = StressProbe::shownWidget(names);
    if (!widget)
        return kNone;
    const QRect global = globalRect(widget, widget->rect());
    return rectText(global) + (isCovered(widget, global) ? QStringLiteral(" covered") : QString());
}

QString cellAnswer(const QString &name, int row, int column)
{
    auto *table = qobject_cast<QTableView *>(StressProbe::shownWidget(name));
    if (!table || !table->model())
        return kNone;
    const QModelIndex index = table->model()->index(row, column);
    if (!index.isValid())
        return kNone;
    return rectText(globalRect(table->viewport(), table->visualRect(index)));
}

// QSlider keeps its own style option protected; this is what it fills in.
QString handleAnswer(const QString &name)
{
    auto *slider = qobject_cast<QSlider *>(StressProbe::shownWidget(name));
    if (!slider)
        return kNone;
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = slider->orientation();
    option.maximum = slider->maximum();
    option.minimum = slider->minimum();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.upsideDown = slider->orientation() == Qt::Horizontal
            ? slider->invertedAppearance() != (option.direction == Qt::RightToLeft)
            : !slider->invertedAppearance();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    if (slider->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    const QRect handle = slider->style()->subControlRect(
            QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    return rectText(globalRect(slider, handle));
}

QObject *childOfClass(const char *className)
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->objectName() != kMainWindowName)
            continue;
        const QList<QObject *> children = window->findChildren<QObject *>();
        for (QObject *child : children) {
            if (qstrcmp(child->metaObject()->className(), className) == 0)
                return child;
        }
    }
    return nullptr;
}

bool invokeInt(QObject *object, const char *method, int *result)
{
    return object
            && QMetaObject::invokeMethod(
                    object, method, Qt::DirectConnection, Q_RETURN_ARG(int, *result));
}

QString countsAnswer()
{
    int catalogue = 0;
    int playlist = 0;
    int index = 0;
    QObject *player = childOfClass("UVlcWrapper");
    if (!invokeInt(childOfClass("UVideoAndGpsfiles"), "GetVideoCount", &catalogue)
            || !invokeInt(player, "GetMediaCount", &playlist)
            || !invokeInt(player, "GetIndex", &index))
        return kNone;
    return QStringLiteral("%1 %2 %3").arg(catalogue).arg(playlist).arg(index);
}

QString orDash(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

// Flags: m modal, a active, p popup, t tool tip.
QString windowsAnswer()
{
    QStringList answers;
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (const QWidget *window : windows) {
        if (!window->isVisible())
            continue;
        QString flags;
        if (window->isModal())
            flags += QLatin1Char('m');
        if (window == QApplication::activeWindow())
            flags += QLatin1Char('a');
        if (window->windowType() == Qt::Popup)
            flags += QLatin1Char('p');
        if (window->windowType() == Qt::ToolTip)
            flags += QLatin1Char('t');
        answers << QStringLiteral("%1 %2 %3 %4 %5")
                           .arg(QString::fromLatin1(window->metaObject()->className()),
                                   orDash(window->objectName()), rectText(window->geometry()),
                                   orDash(flags))
                           .arg(quint64(window->internalWinId()));
    }
    return answers.join(QLatin1Char('|'));
}

QString textAnswer(const QString &name)
{
    const auto *edit = qobject_cast<QLineEdit *>(StressProbe::shownWidget(name));
    return edit ? edit->text() : kNone;
}

} // namespace

QWidget *StressProbe::shownWidget(const QString &names)
{
    const QStringList wanted = names.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    if (QWidget *widget = findIn(QApplication::activeModalWidget(), wanted))
        return widget;
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (QWidget *widget = findIn(window, wanted))
            return widget;
    }
    return nullptr;
}

QString StressProbe::answer(const QString &request)
{
    const QStringList words = request.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString command = words.value(0);
    if (command == QLatin1String("ping"))
        return QStringLiteral("pong");
    if (command == QLatin1String("rect") && words.size() == 2)
        return rectAnswer(words.at(1));
    if (command == QLatin1String("cell") && words.size() == 4)
        return cellAnswer(words.at(1), words.at(2).toInt(), words.at(3).toInt());
    if (command == QLatin1String("handle") && words.size() == 2)
        return handleAnswer(words.at(1));
    if (command == QLatin1String("counts"))
        return countsAnswer();
    if (command == QLatin1String("windows"))
        return windowsAnswer();
    if (command == QLatin1String("text") && words.size() == 2)
        return textAnswer(words.at(1));
    return kNone;
}
