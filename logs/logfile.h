#ifndef LOGFILE_H
#define LOGFILE_H

#include <QByteArray>
#include <QtGlobal>

#include <optional>

class QFile;
class QString;

// Reading a GPS log safely, whatever sits at its path. A day of one-second
// lines is 86,400 lines and about 5 MB; the caps lie far above that and bound
// what a crafted file (a sparse 26 GB file, millions of empty lines) can cost.
namespace LogFile {

constexpr qint64 kMaxBytes = 32 * 1024 * 1024;
constexpr qsizetype kMaxLines = 200000;

// Opens `path` for reading only when it is a regular file now, without ever
// blocking on it: a FIFO or a link to a device put there after the import is
// refused, not waited on.
bool openRegular(QFile &file, const QString &path);

// The first kMaxBytes of the regular file at `path`; nothing when it is not
// one or cannot be read.
std::optional<QByteArray> readHead(const QString &path);

} // namespace LogFile

#endif // LOGFILE_H
