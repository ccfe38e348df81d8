#ifndef LOGWATCH_H
#define LOGWATCH_H

#include <QString>
#include <QStringList>

// Reads what the program has written to its log since the last call and picks
// out the lines that tell of trouble: the rendering complaints that the smoke
// test looks for too, and fatal messages.
class LogWatch
{
public:
    explicit LogWatch(const QString &path) : path(path) { }

    QStringList newTroubleLines();

    static bool isTrouble(const QString &line);

private:
    QString path;
    qint64 offset = 0;
    QByteArray partialLine;
};

#endif // LOGWATCH_H
