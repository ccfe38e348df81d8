#include "imagewatch.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

// What libvlc can write a snapshot as, and the usual others.
const QStringList kImageSuffixes = { QStringLiteral("png"), QStringLiteral("jpg"),
    QStringLiteral("jpeg"), QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("bmp"),
    QStringLiteral("ppm"), QStringLiteral("gif"), QStringLiteral("webp") };

QString folderPrefix(const QString &folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) + QLatin1Char('/');
}

} // namespace

bool ImageWatch::isImage(const QString &path)
{
    return kImageSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

QSet<QString> ImageWatch::imagesUnder(const QString &folder) const
{
    QSet<QString> images;
    // Hidden folders too: a stray snapshot could land in ~/.cache as well.
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
            QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (isImage(path))
            images.insert(QDir::cleanPath(it.fileInfo().absoluteFilePath()));
    }
    return images;
}

bool ImageWatch::isAllowed(const QString &path) const
{
    for (const QString &prefix : allowed) {
        if (path.startsWith(prefix))
            return true;
    }
    return false;
}

void ImageWatch::watch(const QString &folder)
{
    watched << folder;
    known.unite(imagesUnder(folder));
}

void ImageWatch::allow(const QString &folder)
{
    allowed << folderPrefix(folder);
}

QStringList ImageWatch::strayImages()
{
    QStringList stray;
    for (const QString &folder : std::as_const(watched)) {
        const QSet<QString> images = imagesUnder(folder);
        for (const QString &image : images) {
            if (known.contains(image) || reported.contains(image) || allowedNew.contains(image))
                continue;
            if (isAllowed(image)) {
                allowedNew.insert(image);
            } else {
                reported.insert(image);
                stray << image;
            }
        }
    }
    return stray;
}

QStringList ImageWatch::allowedImages() const
{
    return QStringList(allowedNew.cbegin(), allowedNew.cend());
}
