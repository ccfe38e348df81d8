#ifndef PLAYERPROCESS_H
#define PLAYERPROCESS_H

#include "xsession.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real program, started the way a user starts it: in its run folder, with
// the recordings named on its command line. Its output goes to a log file.
class PlayerProcess
{
public:
    struct ProcessMemory
    {
        qint64 pid = 0;
        QByteArray name;
        qint64 rssKb = 0;
        qint64 pssKb = 0;
    };
    // The program and every process below it (Qt WebEngine's), and their sums.
    // treeKb counts each physical page resident in any of them once: VmRSS
    // counts a shared library once per process that maps it, Pss splits it
    // with processes outside the tree. -1 when frame numbers cannot be read
    // (they need root).
    struct Memory
    {
        QList<ProcessMemory> processes;
        qint64 rssKb = 0;
        qint64 pssKb = 0;
        qint64 treeKb = -1;
    };

    PlayerProcess(const QString &runFolder, const QString &logPath);
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess &) = delete;
    PlayerProcess &operator=(const PlayerProcess &) = delete;

    // `environment` adds to the benchmark's own.
    bool start(const QStringList &recordings, const QStringList &environment = {});
    // The program's data folder (XDG_DATA_HOME), to be filled before start().
    QString dataHome() const { return home.filePath(QStringLiteral("data")); }
    bool isRunning() const;
    Memory memory() const;
    // Processor time used so far by the tree, in seconds.
    double cpuSeconds() const;
    // Closes the window as a window manager would; ends the program by signal
    // when it does not go. Returns once the whole process tree has gone, so
    // that the next run does not share the processor with its remains.
    void stop(XSession &x, XSession::WindowId window);

private:
    QList<qint64> tree() const;
    void waitUntilGone(const QList<qint64> &pids) const;

    QString runFolder;
    QString logPath;
    // The program's data, settings and cache: each launch starts as a new user's would.
    QTemporaryDir home;
    QProcess process;
};

// What every benchmark of the real program checks first: the program is in
// `runFolder`, and `output` exists without the logs of an earlier run. One
// line saying what is wrong; empty when all is well.
QString prepareProgramBench(const QString &runFolder, const QString &output);

#endif // PLAYERPROCESS_H
