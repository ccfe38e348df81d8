#include "playerprocess.h"

#include "benchfigures.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QThread>

#include <cstring>

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

// Adds the physical frames of the resident pages of `pid` to `frames`; false
// when frame numbers are hidden (not root) or the process has gone.
bool addResidentFrames(qint64 pid, QSet<quint64> &frames)
{
    constexpr quint64 kPresent = quint64(1) << 63;
    constexpr quint64 kFrameMask = (quint64(1) << 55) - 1;
    static const qint64 pageSize = sysconf(_SC_PAGESIZE);

    QFile pagemap(QStringLiteral("/proc/%1/pagemap").arg(pid));
    if (!pagemap.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const QList<QByteArray> mappings = procFile(pid, "maps").split('\n');
    for (const QByteArray &mapping : mappings) {
        // "start-end perms ..."; reserved address space without access holds no pages.
        const QList<QByteArray> fields = mapping.split(' ');
        if (fields.size() < 2 || fields[1].startsWith("---"))
            continue;
        const QList<QByteArray> range = fields[0].split('-');
        if (range.size() != 2)
            continue;
        const quint64 first = range[0].toULongLong(nullptr, 16) / pageSize;
        const quint64 end = range[1].toULongLong(nullptr, 16) / pageSize;
        if (!pagemap.seek(qint64(first * sizeof(quint64))))
            continue;
        const QByteArray entries = pagemap.read(qint64((end - first) * sizeof(quint64)));
        for (qsizetype i = 0; i + qsizetype(sizeof(quint64)) <= entries.size(); i += sizeof(quint64)) {
            quint64 entry;
            memcpy(&entry, entries.constData() + i, sizeof entry);
            if (!(entry & kPresent))
                continue;
            if ((entry & kFrameMask) == 0)
                return false;
            frames.insert(entry & kFrameMask);
        }
    }
    return true;
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

bool PlayerProcess::start(const QStringList &recordings, const QStringList &extraEnvironment)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *folder : { "DATA", "CONFIG", "CACHE" })
        environment.insert(QStringLiteral("XDG_%1_HOME").arg(QLatin1String(folder)),
                           home.filePath(QString::fromLatin1(folder).toLower()));
    for (const QString &variable : extraEnvironment)
        environment.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
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
    QSet<quint64> frames;
    bool framesRead = true;
    for (const qint64 pid : tree()) {
        const qint64 rss = benchfigures::kilobytes(procFile(pid, "status"), "VmRSS");
        const qint64 pss = benchfigures::kilobytes(procFile(pid, "smaps_rollup"), "Pss");
        // Gone between the listing and the reading.
        if (rss < 0 || pss < 0)
            continue;
        memory.processes << ProcessMemory { pid, procFile(pid, "comm").trimmed(), rss, pss };
        memory.rssKb += rss;
        memory.pssKb += pss;
        framesRead = addResidentFrames(pid, frames) && framesRead;
    }
    if (framesRead)
        memory.treeKb = frames.size() * (sysconf(_SC_PAGESIZE) / 1024);
    return memory;
}

double PlayerProcess::cpuSeconds() const
{
    qint64 ticks = 0;
    for (const qint64 pid : tree())
        ticks += qMax<qint64>(0, benchfigures::cpuTicks(procFile(pid, "stat")));
    return double(ticks) / double(sysconf(_SC_CLK_TCK));
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

QString prepareProgramBench(const QString &runFolder, const QString &output)
{
    if (!QFileInfo(QDir(runFolder).filePath(QStringLiteral("velmora"))).isExecutable())
        return QStringLiteral("no velmora program in %1").arg(runFolder);
    if (!QDir().mkpath(output))
        return QStringLiteral("cannot make %1").arg(output);
    // The launches of one measurement share a log; this run starts them afresh.
    for (const QString &log : QDir(output).entryList({ QStringLiteral("*.log") }, QDir::Files))
        QFile::remove(QDir(output).filePath(log));
    return QString();
}
