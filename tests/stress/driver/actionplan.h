#ifndef ACTIONPLAN_H
#define ACTIONPLAN_H

#include <QRandomGenerator>
#include <QString>

// What a user can do to the window, short of minimising or closing it.
enum class ActionKind {
    Button, // previous, play/pause, next, stop, snapshot, page turns, delete, maximise
    Import, // the import button and its file dialog
    ClickRow,
    DoubleClickRow,
    DoubleClickVideo,
    DoubleClickBanner,
    DragTimeSlider,
    DragVolumeSlider,
    Key,
    Wait,
};

// How the import dialog is answered.
enum class ImportWay { Cancel, OneFile, SeveralFiles, MissingFile };

struct Action {
    int number = 0;
    ActionKind kind = ActionKind::Wait;
    int choice = 0; // the button, key or import way, as an index
    int row = 0; // table row (0..4), and on which table by `rightTable`
    bool rightTable = false;
    int column = 0;
    double x = 0.5; // where inside the target, as fractions of its size
    double y = 0.5;
    int amount = 0; // files to import, or milliseconds to wait
    // For the moments outside the plan (number 0): start-up, shut-down.
    QString moment;

    // Object names of the buttons and X key names of the keys, in `choice` order.
    static const QStringList &buttonNames();
    static const QStringList &keyNames();

    ImportWay importWay() const { return ImportWay(choice); }
    // Maximise, restore, video full screen and back.
    bool mayResizeWindow() const;
    QString describe() const;
};

// The sequence of actions that a seed stands for: it depends on the seed
// alone, never on what the program does, so a run is replayed from its
// printed seed. Every action takes the same number of draws, whatever its
// kind, so that a seed keeps its sequence when one kind's details change.
class ActionPlan
{
public:
    explicit ActionPlan(quint32 seed);

    Action next();

private:
    QRandomGenerator random;
    int count = 0;
};

#endif // ACTIONPLAN_H
