#ifndef USERSETTINGS_H
#define USERSETTINGS_H

#include "library/speedunit.h"

#include <QRect>
#include <QString>

// How the user left the window, kept in the settings file between runs.
// The language the user chose: the system's, or one of the program's own.
enum class Language { System, English, Russian };

Language savedLanguage();
void saveLanguage(Language language);

struct WindowMemory
{
    int volume = 50;
    QRect geometry; // the normal (not maximised) frame; empty: never saved
    bool maximized = false;
    int listPage = 0;
    QString importFolder;

    static WindowMemory load();
    void save() const;
};

// How recordings are grouped into trips and what counts as a hard event
// ([trips] in the settings file). A value that is missing or makes no sense
// gives the default.
struct TripSettings
{
    static constexpr int kDefaultGapSeconds = 120;
    static constexpr double kDefaultHardEventG = 0.5;

    // A recording that starts later than this after the one before begins a new trip.
    int gapSeconds = kDefaultGapSeconds;
    // A change of the G-sensor's magnitude from one second to the next above this is a hard event.
    double hardEventG = kDefaultHardEventG;

    qint64 gapMs() const { return qint64(gapSeconds) * 1000; }

    static TripSettings load();
    void save() const;
};

// How figures and times are shown ([display] in the settings file): the
// speed unit (kmh or mph; the system's measurement system decides while
// unset) and the time zone (local, UTC or an IANA id such as Europe/Berlin).
struct DisplaySettings
{
    SpeedUnit speedUnit = defaultSpeedUnit();
    QString timeZone = QStringLiteral("local");

    static DisplaySettings load();
    void save() const;
};

// The most the map's tile cache on disk may take ([map] cacheMegabytes),
// in bytes: 1 GB unless set.
qint64 mapCacheBytes();

#endif // USERSETTINGS_H
