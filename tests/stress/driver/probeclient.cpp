#include "probeclient.h"

#include <QDeadlineTimer>
#include <QStringList>
#include <QThread>

namespace {

constexpr int kRetryMs = 100;

} // namespace

bool ProbeClient::connectOnce(int timeoutMs)
{
    socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(socketName);
    return socket->waitForConnected(timeoutMs);
}

bool ProbeClient::connectWithin(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (connectOnce(int(qMax<qint64>(1, deadline.remainingTime()))))
            return true;
        QThread::msleep(kRetryMs);
    }
    return false;
}

std::optional<QString> ProbeClient::ask(const QString &request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    if ((!socket || socket->state() != QLocalSocket::ConnectedState) && !connectOnce(timeoutMs))
        return std::nullopt;
    socket->write(request.toUtf8() + '\n');
    socket->flush();
    while (!socket->canReadLine()) {
        if (deadline.hasExpired() || socket->state() != QLocalSocket::ConnectedState
                || !socket->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            if (socket->canReadLine())
                break;
            socket.reset();
            return std::nullopt;
        }
    }
    return QString::fromUtf8(socket->readLine()).chopped(1);
}

std::optional<ProbeClient::Placement> ProbeClient::parsePlacement(const QString &answer)
{
    const QStringList words = answer.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 4 || words.size() > 5)
        return std::nullopt;
    Placement placement;
    placement.rect = QRect(
            words.at(0).toInt(), words.at(1).toInt(), words.at(2).toInt(), words.at(3).toInt());
    placement.covered = words.size() == 5 && words.at(4) == QLatin1String("covered");
    return placement;
}
