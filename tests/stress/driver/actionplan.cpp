#include "actionplan.h"

#include <QStringList>

#include <array>
#include <utility>

namespace {

// Relative weights: mostly the controls a user reaches for most.
constexpr std::array<std::pair<ActionKind, int>, 10> kWeights = { {
        { ActionKind::Button, 30 },
        { ActionKind::Import, 6 },
        { ActionKind::ClickRow, 12 },
        { ActionKind::DoubleClickRow, 8 },
        { ActionKind::DoubleClickVideo, 4 },
        { ActionKind::DoubleClickBanner, 3 },
        { ActionKind::DragTimeSlider, 6 },
        { ActionKind::DragVolumeSlider, 4 },
        { ActionKind::Key, 20 },
        { ActionKind::Wait, 7 },
} };

constexpr int kImportWays = 4;
constexpr int kMaxImportFiles = 4;
constexpr int kRows = 5;
constexpr int kColumns = 4;
constexpr int kMinWaitMs = 200;
constexpr int kMaxWaitMs = 1500;

int totalWeight()
{
    int total = 0;
    for (const auto &weight : kWeights)
        total += weight.second;
    return total;
}

ActionKind kindAt(int draw)
{
    for (const auto &weight : kWeights) {
        if (draw < weight.second)
            return weight.first;
        draw -= weight.second;
    }
    return ActionKind::Wait;
}

QString importText(const Action &action)
{
    switch (action.importWay()) {
    case ImportWay::Cancel:
        return QStringLiteral("import, cancelled");
    case ImportWay::OneFile:
        return QStringLiteral("import one file (file pick %1)").arg(action.amount);
    case ImportWay::SeveralFiles:
        return QStringLiteral("import %1 files from one folder (file pick %2)")
                .arg(action.amount % kMaxImportFiles + 1)
                .arg(action.amount);
    case ImportWay::MissingFile:
        return QStringLiteral("import a file that does not exist");
    }
    return QString();
}

QString tableText(const Action &action)
{
    return QStringLiteral("%1 table row %2 column %3")
            .arg(action.rightTable ? QStringLiteral("right") : QStringLiteral("left"))
            .arg(action.row)
            .arg(action.column);
}

} // namespace

const QStringList &Action::buttonNames()
{
    // The play and maximise buttons change their object names with their faces.
    static const QStringList names = {
        QStringLiteral("VideoPre"),
        QStringLiteral("VideoPlay|VideoPause"),
        QStringLiteral("VideoNext"),
        QStringLiteral("VideoStop"),
        QStringLiteral("Shot"),
        QStringLiteral("VideoListPrePage"),
        QStringLiteral("VideoListNextPage"),
        QStringLiteral("VideoListItemDelete"),
        QStringLiteral("WindowMax|WindowNormal"),
    };
    return names;
}

const QStringList &Action::keyNames()
{
    static const QStringList names = {
        QStringLiteral("space"),
        QStringLiteral("Left"),
        QStringLiteral("Right"),
        QStringLiteral("Up"),
        QStringLiteral("Down"),
        QStringLiteral("s"),
        QStringLiteral("f"),
        QStringLiteral("Return"),
        QStringLiteral("KP_Enter"),
        QStringLiteral("Escape"),
    };
    return names;
}

bool Action::mayResizeWindow() const
{
    static const QStringList resizingKeys = { QStringLiteral("f"), QStringLiteral("Return"),
        QStringLiteral("KP_Enter"), QStringLiteral("Escape") };
    switch (kind) {
    case ActionKind::Button:
        return buttonNames().at(choice).startsWith(QLatin1String("WindowMax"));
    case ActionKind::Key:
        return resizingKeys.contains(keyNames().at(choice));
    case ActionKind::DoubleClickVideo:
    case ActionKind::DoubleClickBanner:
        return true;
    default:
        return false;
    }
}

QString Action::describe() const
{
    if (number == 0)
        return QStringLiteral("(%1)").arg(moment);
    QString text;
    switch (kind) {
    case ActionKind::Button:
        text = QStringLiteral("click %1").arg(buttonNames().at(choice));
        break;
    case ActionKind::Import:
        text = importText(*this);
        break;
    case ActionKind::ClickRow:
        text = QStringLiteral("click ") + tableText(*this);
        break;
    case ActionKind::DoubleClickRow:
        text = QStringLiteral("double click ") + tableText(*this);
        break;
    case ActionKind::DoubleClickVideo:
        text = QStringLiteral("double click the video at %1, %2")
                       .arg(x, 0, 'f', 2)
                       .arg(y, 0, 'f', 2);
        break;
    case ActionKind::DoubleClickBanner:
        text = QStringLiteral("double click the banner at %1").arg(x, 0, 'f', 2);
        break;
    case ActionKind::DragTimeSlider:
        text = QStringLiteral("drag the time slider to %1").arg(x, 0, 'f', 2);
        break;
    case ActionKind::DragVolumeSlider:
        text = QStringLiteral("drag the volume slider to %1").arg(x, 0, 'f', 2);
        break;
    case ActionKind::Key:
        text = QStringLiteral("key %1").arg(keyNames().at(choice));
        break;
    case ActionKind::Wait:
        text = QStringLiteral("wait %1 ms").arg(amount);
        break;
    }
    return QStringLiteral("#%1 %2").arg(number).arg(text);
}

ActionPlan::ActionPlan(quint32 seed) : random(seed)
{
}

Action ActionPlan::next()
{
    static const int total = totalWeight();
    const int kindDraw = int(random.bounded(total));
    const int choiceDraw = int(random.bounded(1 << 20));
    const int cellDraw = int(random.bounded(2 * kRows * kColumns));
    const double x = random.generateDouble();
    const double y = random.generateDouble();
    const int amountDraw = int(random.bounded(1 << 20));

    Action action;
    action.number = ++count;
    action.kind = kindAt(kindDraw);
    action.rightTable = cellDraw >= kRows * kColumns;
    action.row = (cellDraw % (kRows * kColumns)) / kColumns;
    action.column = cellDraw % kColumns;
    action.x = x;
    action.y = y;
    switch (action.kind) {
    case ActionKind::Button:
        action.choice = choiceDraw % int(Action::buttonNames().size());
        break;
    case ActionKind::Key:
        action.choice = choiceDraw % int(Action::keyNames().size());
        break;
    case ActionKind::Import:
        action.choice = choiceDraw % kImportWays;
        action.amount = amountDraw;
        break;
    case ActionKind::Wait:
        action.amount = kMinWaitMs + amountDraw % (kMaxWaitMs - kMinWaitMs + 1);
        break;
    default:
        break;
    }
    return action;
}
