#ifndef PROBECLIENT_H
#define PROBECLIENT_H

#include <QLocalSocket>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

// The driver's end of the probe's local socket: one request line, one answer
// line. An answer that comes too late would answer the next request, so a
// connection that timed out is dropped and a new one made.
class ProbeClient
{
public:
    explicit ProbeClient(const QString &socketName) : socketName(socketName) { }

    // Tries until the probe listens or the time is up.
    bool connectWithin(int timeoutMs);

    // Empty when no answer came in time.
    std::optional<QString> ask(const QString &request, int timeoutMs);

    // Where a widget is, read back from "x y w h [covered]"; nullopt for "none".
    struct Placement {
        QRect rect;
        bool covered = false;
    };
    static std::optional<Placement> parsePlacement(const QString &answer);

private:
    bool connectOnce(int timeoutMs);

    QString socketName;
    std::unique_ptr<QLocalSocket> socket;
};

#endif // PROBECLIENT_H
