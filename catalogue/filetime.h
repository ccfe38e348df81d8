#ifndef FILETIME_H
#define FILETIME_H

#include <QtGlobal>

class QString;

// When the file at `path` was last written, in milliseconds since the epoch.
// QFileInfo::lastModified() turns the time into local time, which an import
// of a thousand recordings would pay for more than for the reads of their logs.
qint64 modifiedMsSinceEpoch(const QString &path);

#endif // FILETIME_H
