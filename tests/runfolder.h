#ifndef RUNFOLDER_H
#define RUNFOLDER_H

#include "library/programpaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

// A private program folder for a test, standing in for the executable's
// folder, optionally holding a copy of the built run folder's images/ (map
// pages and Leaflet). The folder that counted before counts again when it goes.
class ScratchRunFolder
{
public:
    enum Content { Empty, WithImages };

    explicit ScratchRunFolder(Content content = WithImages)
        : previous(ProgramPaths::programFolder())
    {
        if (content == WithImages)
            copyTree(builtImages(), dir.filePath(QStringLiteral("images")));
        ProgramPaths::setProgramFolder(dir.path());
    }
    ~ScratchRunFolder() { ProgramPaths::setProgramFolder(previous); }

    static QString builtImages()
    {
        return QString::fromLocal8Bit(qgetenv("VELMORA_RUN_DIR")) + QStringLiteral("/images");
    }

    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }

    static void copyTree(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString target = to + source.mid(from.size());
            if (it.fileInfo().isDir())
                QDir().mkpath(target);
            else
                QFile::copy(source, target);
        }
    }

private:
    QString previous;
    QTemporaryDir dir;
};

// The working directory for its lifetime, as for a user who started the
// program there; the previous one comes back when it goes.
class WorkingFolder
{
public:
    explicit WorkingFolder(const QString &folder) : previous(QDir::currentPath())
    {
        QDir::setCurrent(folder);
    }
    ~WorkingFolder() { QDir::setCurrent(previous); }

private:
    QString previous;
};

#endif // RUNFOLDER_H
