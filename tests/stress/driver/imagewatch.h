#ifndef IMAGEWATCH_H
#define IMAGEWATCH_H

#include <QSet>
#include <QString>
#include <QStringList>

// Watches folder trees for image files that were not there at the start. New
// images inside an allowed folder are counted (the snapshots the program
// should take); new images anywhere else are reported, each once.
class ImageWatch
{
public:
    // Takes the folder's images as they are now as its starting point.
    void watch(const QString &folder);
    void allow(const QString &folder);

    // Images that appeared outside the allowed folders since the last call.
    QStringList strayImages();
    // Every image that appeared inside the allowed folders so far.
    QStringList allowedImages() const;

    static bool isImage(const QString &path);

private:
    QSet<QString> imagesUnder(const QString &folder) const;
    bool isAllowed(const QString &path) const;

    QStringList watched;
    QStringList allowed;
    QSet<QString> known;
    QSet<QString> reported;
    QSet<QString> allowedNew;
};

#endif // IMAGEWATCH_H
