#include "library/programpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kPagesFolder = QStringLiteral("images");
const QString kInstalledData = QStringLiteral("../share/velmora");
const QString kShotsBesideProgram = QStringLiteral("VideoShots");
const QString kShotsInPictures = QStringLiteral("Marvenda");

QString &programFolderOverride()
{
    static QString folder;
    return folder;
}

// A snapshot folder that is there or could be made, never through a link:
// a link planted in a shared folder would send the pictures anywhere.
QString usableShotFolder(const QString &path, QString *why)
{
    const QFileInfo folder(path);
    if (folder.isSymLink()) {
        *why = QCoreApplication::translate("ProgramPaths", "%1 is a symbolic link")
                       .arg(QDir::toNativeSeparators(path));
        return {};
    }
    if (folder.exists() && !folder.isDir()) {
        *why = QCoreApplication::translate("ProgramPaths", "%1 is not a folder")
                       .arg(QDir::toNativeSeparators(path));
        return {};
    }
    if (!QDir().mkpath(path)) {
        *why = QCoreApplication::translate("ProgramPaths", "%1 cannot be created")
                       .arg(QDir::toNativeSeparators(path));
        return {};
    }
    if (!QFileInfo(path).isWritable()) {
        *why = QCoreApplication::translate("ProgramPaths", "%1 cannot be written")
                       .arg(QDir::toNativeSeparators(path));
        return {};
    }
    return QDir::cleanPath(folder.absoluteFilePath());
}

} // namespace

namespace ProgramPaths {

QString programFolder()
{
    const QString &folder = programFolderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

QString dataFolder()
{
    const QDir program(programFolder());
    if (program.exists(kPagesFolder))
        return program.path();
    return QDir::cleanPath(program.filePath(kInstalledData));
}

QString pagesFolder()
{
    return QDir(dataFolder()).filePath(kPagesFolder);
}

QString pageFile(const QString &name)
{
    return QDir(pagesFolder()).filePath(name);
}

QString pluginFolder()
{
    const QFileInfo plugins(QDir(programFolder()).filePath(QStringLiteral("plugins")));
    return plugins.isDir() ? plugins.absoluteFilePath() : QString();
}

QString snapshotFolder(QString *why)
{
    QString reason;
    const QString program = programFolder();
    QString folder;
    // An installed program's folder (bin/) is no place for pictures, even for root.
    const bool runFolder = dataFolder() == QDir(program).path();
    if (runFolder && QFileInfo(program).isWritable()) {
        folder = usableShotFolder(QDir(program).filePath(kShotsBesideProgram), &reason);
    } else {
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (pictures.isEmpty())
            reason = QCoreApplication::translate("ProgramPaths", "there is no pictures folder");
        else
            folder = usableShotFolder(QDir(pictures).filePath(kShotsInPictures), &reason);
    }
    if (why)
        *why = reason;
    return folder;
}

// Named for the program rather than for whichever executable (a test, a
// benchmark) links this code, so that all of them share one layout.
QString settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QStringLiteral("/Marvenda/velmora.conf");
}

QString libraryFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/Marvenda/library.sqlite");
}

QString mapCacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/Marvenda/map");
}

void setProgramFolder(const QString &folder)
{
    programFolderOverride() = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

} // namespace ProgramPaths
