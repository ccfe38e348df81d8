#include "app/singleinstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr int kAnswerMs = 3000;

} // namespace

SingleInstance::SingleInstance(const QString &libraryPath, QObject *parent)
    : QObject(parent)
{
    const QByteArray library =
            QCryptographicHash::hash(libraryPath.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    name = QStringLiteral("velmora-%1-%2").arg(::getuid()).arg(QString::fromLatin1(library));
}

bool SingleInstance::handOver(const QStringList &videos)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write(videos.join(QLatin1Char('\n')).toUtf8() + '\n');
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kAnswerMs);
}

bool SingleInstance::listen()
{
    server = new QLocalServer(this);
    // Only this user may hand files over.
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a program that crashed would refuse the name.
    QLocalServer::removeServer(name);
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::receive);
    return server->listen(name);
}

// The whole list arrives before the other program hangs up.
void SingleInstance::receive()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, [this, socket] {
            QStringList videos = QString::fromUtf8(socket->readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            socket->deleteLater();
            emit videosHandedOver(videos);
        });
    }
}
