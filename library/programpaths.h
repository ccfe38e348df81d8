#ifndef PROGRAMPATHS_H
#define PROGRAMPATHS_H

#include <QString>

// Where the program finds its own files and puts the user's. Nothing is ever
// looked up relative to the working directory: a folder someone else filled
// (a memory card, an unpacked archive) must not supply pages, pictures or
// plug-ins to the player.
namespace ProgramPaths {

// The folder of the executable; the run folder when started from the build.
QString programFolder();

// The program's own data: the program folder when it holds images/ (the run
// folder), otherwise <prefix>/share/velmora of an installed program.
QString dataFolder();

// A file of the map pages (images/<name> in the data folder).
QString pageFile(const QString &name);
QString pagesFolder();

// The extra libvlc plug-ins beside the executable, or empty when there are none.
QString pluginFolder();

// Where snapshots go, created if need be: VideoShots/ in the run folder when
// the user can write there, otherwise (and for an installed program) Marvenda/
// in the user's pictures folder. Empty, with the reason in `why`, when neither can be used.
QString snapshotFolder(QString *why = nullptr);

// The user's settings file in the configuration folder.
QString settingsFile();

// The recordings library in the user's data folder.
QString libraryFile();

// <cache>/Marvenda/map: the map's tiles as the web engine keeps them between
// runs.
QString mapCacheFolder();

// Tests and embedding programs stand in a folder of their own for the
// executable's; an empty path returns to the executable's folder.
void setProgramFolder(const QString &folder);

} // namespace ProgramPaths

#endif // PROGRAMPATHS_H
