#ifndef STRESSPROBESERVER_H
#define STRESSPROBESERVER_H

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Listens on a local socket inside the program and answers each request line
// with one line from StressProbe, on the GUI thread: an answer proves that the
// program's event loop runs.
class StressProbeServer : public QObject
{
    Q_OBJECT

public:
    explicit StressProbeServer(const QString &socketName, QObject *parent = nullptr);

private:
    void listen();
    void accept();
    void answerLines(QLocalSocket *socket);

    QString socketName;
    QLocalServer *server = nullptr;
};

#endif // STRESSPROBESERVER_H
