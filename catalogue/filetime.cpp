#include "catalogue/filetime.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

qint64 modifiedMsSinceEpoch(const QString &path)
{
#ifdef Q_OS_LINUX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    return qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
#else
    return QFileInfo(path).lastModified().toMSecsSinceEpoch();
#endif
}
