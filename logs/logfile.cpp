#include "logs/logfile.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace LogFile {

bool openRegular(QFile &file, const QString &path)
{
    if (path.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    // Checked on the opened descriptor, so that nothing can be swapped in
    // between the check and the read; O_NONBLOCK keeps the open of a FIFO
    // from waiting for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    return file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
#else
    file.setFileName(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
#endif
}

std::optional<QByteArray> readHead(const QString &path)
{
    QFile file;
    if (!openRegular(file, path))
        return std::nullopt;
    // The size is known for a regular file, so no more is ever reserved.
    QByteArray content = file.read(qMin(kMaxBytes, file.size()));
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

} // namespace LogFile
