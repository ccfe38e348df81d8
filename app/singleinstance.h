#ifndef SINGLEINSTANCE_H
#define SINGLEINSTANCE_H

#include <QObject>
#include <QStringList>

class QLocalServer;

// One window over one library: a second start hands the files it was given to
// the running program, which imports them. The socket is named for the user
// and the library file, so that a program with its own data folder (a test)
// never meets the user's.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &libraryPath, QObject *parent = nullptr);

    // True when a running program took the files (none: it is only raised).
    bool handOver(const QStringList &videos);
    // Answers the starts that come after this one.
    bool listen();

signals:
    void videosHandedOver(const QStringList &videos);

private:
    void receive();

    QString name;
    QLocalServer *server = nullptr;
};

#endif // SINGLEINSTANCE_H
