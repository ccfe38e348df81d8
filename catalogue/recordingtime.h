#ifndef RECORDINGTIME_H
#define RECORDINGTIME_H

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <optional>

// Where the user reads the times of recordings and trips: the system's local
// time, UTC, or a named zone ("Europe/Berlin"). The times themselves are kept
// as instants (UTC ms), so a change of zone only changes what is shown, and
// summer time follows the date shown, not the day it is shown on.
class DisplayZone
{
public:
    DisplayZone() = default; // local time

    // "local" (or nothing), "UTC", or an IANA zone id; an unknown name is local time.
    static DisplayZone named(const QString &name);
    // The name it was made from, as named() takes it back.
    QString name() const;
    bool isLocal() const { return !zone; }

    QDateTime at(qint64 utcMs) const;

private:
    std::optional<QTimeZone> zone;
};

// The day ("2010-04-03"), the clock with seconds ("14:52:25") and both as
// ISO 8601 with the zone's offset ("2010-04-03T14:52:25+02:00", "Z" for UTC).
QString dateText(qint64 utcMs, const DisplayZone &zone);
QString clockText(qint64 utcMs, const DisplayZone &zone);
QString isoText(qint64 utcMs, const DisplayZone &zone);

// The moment of the first line with a fix in the camera's log at `logPath`,
// UTC ms; nothing without one, or when the file cannot be read. Reads only
// as far as that line.
std::optional<qint64> firstFixUtcMs(const QString &logPath);

#endif // RECORDINGTIME_H
