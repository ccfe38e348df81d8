#include "stressprobeserver.h"

#include "stressprobe.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

StressProbeServer::StressProbeServer(const QString &socketName, QObject *parent)
    : QObject(parent), socketName(socketName)
{
    // Generic plug-ins are made while the application object is still being
    // built; whether it is a widget application shows only afterwards.
    QTimer::singleShot(0, this, &StressProbeServer::listen);
}

void StressProbeServer::listen()
{
    // Helper processes that inherit the environment (Qt WebEngine's) have no
    // widgets to answer for.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()) || socketName.isEmpty())
        return;
    server = new QLocalServer(this);
    QLocalServer::removeServer(socketName);
    if (!server->listen(socketName)) {
        qWarning("stress probe: cannot listen on %s: %s", qPrintable(socketName),
                qPrintable(server->errorString()));
        return;
    }
    connect(server, &QLocalServer::newConnection, this, &StressProbeServer::accept);
}

void StressProbeServer::accept()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answerLines(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void StressProbeServer::answerLines(QLocalSocket *socket)
{
    while (socket->canReadLine()) {
        const QString request = QString::fromUtf8(socket->readLine()).trimmed();
        socket->write(StressProbe::answer(request).toUtf8() + '\n');
    }
    socket->flush();
}
