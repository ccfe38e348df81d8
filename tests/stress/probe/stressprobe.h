#ifndef STRESSPROBE_H
#define STRESSPROBE_H

#include <QString>

class QWidget;

// Answers the stress driver's one-line requests from what the running
// program's widgets show. It lives inside the program (through the probe
// plug-in) but never links the program's classes: the catalogue and the
// player are reached through the meta-object system only.
//
//   ping                          -> pong
//   rect <name>[|<name>...]       -> x y w h [covered]   (global; "none" if not shown)
//   cell <table> <row> <column>   -> x y w h             (global rectangle of the cell)
//   handle <slider>               -> x y w h             (global rectangle of the handle)
//   counts                        -> <catalogue> <playlist> <player index>
//   windows                       -> <class> <name> x y w h <flags> <X window>, '|' between
//   text <line edit>              -> the text it holds
//
// Anything else, or a widget that is not shown, answers "none".
class StressProbe
{
public:
    static QString answer(const QString &request);

    // The visible widget with one of the '|'-separated object names, looked
    // for first in the active modal dialog, then in every shown window.
    static QWidget *shownWidget(const QString &names);
};

#endif // STRESSPROBE_H
