#ifndef RUNFOLDER_H
#define RUNFOLDER_H

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

// A private working directory for a test, optionally holding a copy of the
// built run folder's images/ (map pages, Leaflet, button pictures). The
// previous working directory comes back when it goes.
class ScratchRunFolder
{
public:
    enum Content { Empty, WithImages };

    explicit ScratchRunFolder(Content content = WithImages) : previous(QDir::currentPath())
    {
        if (content == WithImages)
            copyTree(QString::fromLocal8Bit(qgetenv("VELMORA_RUN_DIR")) + QStringLiteral("/images"),
                     dir.filePath(QStringLiteral("images")));
        QDir::setCurrent(dir.path());
    }
    ~ScratchRunFolder() { QDir::setCurrent(previous); }

    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }

private:
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

    QString previous;
    QTemporaryDir dir;
};

#endif // RUNFOLDER_H
