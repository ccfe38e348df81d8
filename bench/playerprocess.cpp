#include "playerprocess.h"

#include "benchfigures.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QThread>

#include <unistd.h>

namespace {

constexpr int kStartMs = 10000;
constexpr int kCloseMs = 10000;
constexpr int kSignalMs = 3000;
constexpr int kGoneMs = 5000;
constexpr int kGonePollMs = 20;

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A zombie counts as gone: in a container nobody may ever reap it.
bool isAlive(qint64 pid)
{
    const QByteArray stat = procFile(pid, "stat");
    const qsizetype commEnd = stat.lastIndexOf(')');
    return commEnd >= 0 && stat.mid(commEnd + 2, 1) != "Z";
}

} // namespace

PlayerProcess::PlayerProcess(const QString &runFolder, const QString &logPath)
    : runFolder(runFolder), logPath(logPath)
{
}

PlayerProcess::~PlayerProcess()
{
    if (isRunning()) {
        const QList<qint64> pids = tree();
        process.kill();
        process.waitForFinished(kSignalMs);
        waitUntilGone(pids);
    }
}

bool PlayerProcess::start(const QStringList &recordings)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Chromium will not start its sandbox as root; tools/run.sh does the same.
    if (::geteuid() == 0)
        environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(runFolder);
    process.setStandardOutputFile(logPath, QIODevice::Append);
    process.setStandardErrorFile(logPath, QIODevice::Append);
    process.start(QDir(runFolder).filePath(QStringLiteral("velmora")), recordings);
    return process.waitForStarted(kStartMs);
}

bool PlayerProcess::isRunning() const
{
    return process.state() != QProcess::NotRunning;
}

QList<qint64> PlayerProcess::tree() const
{
    QHash<qint64, qint64> parentOf;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number)
            parentOf.insert(pid, benchfigures::parentPid(procFile(pid, "stat")));
    }
    return benchfigures::processTree(process.processId(), parentOf);
}

PlayerProcess::Memory PlayerProcess::memory() const
{
    Memory memory;
    for (const qint64 pid : tree()) {
        const qint64 rss = benchfigures::kilobytes(procFile(pid, "status"), "VmRSS");
        const qint64 pss = benchfigures::kilobytes(procFile(pid, "smaps_rollup"), "Pss");
        // Gone between the listing and the reading.
        if (rss < 0 || pss < 0)
            continue;
        memory.processes << ProcessMemory { pid, procFile(pid, "comm").trimmed(), rss, pss };
        memory.rssKb += rss;
        memory.pssKb += pss;
    }
    return memory;
}

void PlayerProcess::stop(XSession &x, XSession::WindowId window)
{
    if (!isRunning())
        return;
    const QList<qint64> pids = tree();
    if (window != 0)
        x.askToClose(window);
    if (!process.waitForFinished(kCloseMs)) {
        process.terminate();
        if (!process.waitForFinished(kSignalMs)) {
            process.kill();
            process.waitForFinished(kSignalMs);
        }
    }
    waitUntilGone(pids);
}

void PlayerProcess::waitUntilGone(const QList<qint64> &pids) const
{
    const QDeadlineTimer deadline(kGoneMs);
    for (const qint64 pid : pids) {
        while (isAlive(pid) && !deadline.hasExpired())
            QThread::msleep(kGonePollMs);
    }
}
