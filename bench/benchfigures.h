#ifndef BENCHFIGURES_H
#define BENCHFIGURES_H

// What bench_player computes from what it reads: medians, whether a screen area
// shows a video picture, and the memory of a process tree from /proc texts.
// Kept free of X and of processes so that the tests can feed them.

#include <QByteArray>
#include <QHash>
#include <QList>

class QImage;

namespace benchfigures {

// The middle value; the mean of the two middle ones for an even count, 0 for none.
double median(QList<double> values);

// True when `now` shows a picture unlike `before` (the still picture the area
// showed until then) and is not a flat fill, which is what a video surface
// shows between its creation and its first frame.
bool showsPicture(const QImage &now, const QImage &before);

// The value in kB of a "Name:   1234 kB" line of /proc/<pid>/status or
// smaps_rollup; -1 when the field is missing.
qint64 kilobytes(const QByteArray &procText, const QByteArray &field);

// The processor time (user and system, in clock ticks) from the text of
// /proc/<pid>/stat; -1 when it cannot be read.
qint64 cpuTicks(const QByteArray &statText);

// The parent pid from the text of /proc/<pid>/stat; -1 when it cannot be read.
// The command name in brackets may itself hold spaces and brackets.
qint64 parentPid(const QByteArray &statText);

// `root` and every process below it, `root` first, given each process's parent.
QList<qint64> processTree(qint64 root, const QHash<qint64, qint64> &parentOf);

} // namespace benchfigures

#endif // BENCHFIGURES_H
