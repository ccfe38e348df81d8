#include "library/usersettings.h"

#include "library/programpaths.h"

#include <QSettings>

#include <cmath>

namespace {

const QString kLanguageKey = QStringLiteral("interface/language");
const QString kTripGapKey = QStringLiteral("trips/gapSeconds");
const QString kHardEventKey = QStringLiteral("trips/hardEventG");
const QString kSpeedUnitKey = QStringLiteral("display/speedUnit");
const QString kTimeZoneKey = QStringLiteral("display/timeZone");

// A day between two recordings is no longer one drive; a jolt beyond 16 g is
// no car's.
constexpr int kMaxGapSeconds = 24 * 3600;
constexpr double kMaxHardEventG = 16;

} // namespace

Language savedLanguage()
{
    const QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    const QString name = settings.value(kLanguageKey).toString();
    if (name == QLatin1String("en"))
        return Language::English;
    if (name == QLatin1String("ru"))
        return Language::Russian;
    return Language::System;
}

void saveLanguage(Language language)
{
    QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    const char *const names[] = { "system", "en", "ru" };
    settings.setValue(kLanguageKey, QLatin1String(names[int(language)]));
}

WindowMemory WindowMemory::load()
{
    const QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    WindowMemory memory;
    memory.volume = qBound(0, settings.value(QStringLiteral("player/volume"), memory.volume).toInt(), 100);
    memory.geometry = settings.value(QStringLiteral("window/geometry")).toRect();
    memory.maximized = settings.value(QStringLiteral("window/maximized")).toBool();
    memory.listPage = qMax(0, settings.value(QStringLiteral("window/listPage")).toInt());
    memory.importFolder = settings.value(QStringLiteral("import/folder")).toString();
    return memory;
}

void WindowMemory::save() const
{
    QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("player/volume"), volume);
    settings.setValue(QStringLiteral("window/geometry"), geometry);
    settings.setValue(QStringLiteral("window/maximized"), maximized);
    settings.setValue(QStringLiteral("window/listPage"), listPage);
    settings.setValue(QStringLiteral("import/folder"), importFolder);
}

qint64 mapCacheBytes()
{
    constexpr qint64 kDefaultMegabytes = 1024;
    // The engine takes the size as an int.
    constexpr qint64 kMostMegabytes = 2047;
    const QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    bool number = false;
    const qint64 megabytes = settings.value(QStringLiteral("map/cacheMegabytes")).toString().toLongLong(&number);
    return (number && megabytes > 0 ? std::min(megabytes, kMostMegabytes) : kDefaultMegabytes) << 20;
}

TripSettings TripSettings::load()
{
    const QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    TripSettings trips;
    bool number = false;
    const int gap = settings.value(kTripGapKey).toString().toInt(&number);
    if (number && gap >= 0 && gap <= kMaxGapSeconds)
        trips.gapSeconds = gap;
    const double g = settings.value(kHardEventKey).toString().toDouble(&number);
    if (number && std::isfinite(g) && g > 0 && g <= kMaxHardEventG)
        trips.hardEventG = g;
    return trips;
}

void TripSettings::save() const
{
    QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    settings.setValue(kTripGapKey, gapSeconds);
    settings.setValue(kHardEventKey, hardEventG);
}

// The zone is kept as written; DisplayZone::named() decides what an unknown
// name shows (local time).
DisplaySettings DisplaySettings::load()
{
    const QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    DisplaySettings display;
    display.speedUnit = speedUnitNamed(settings.value(kSpeedUnitKey).toString()).value_or(display.speedUnit);
    const QString zone = settings.value(kTimeZoneKey).toString().trimmed();
    if (!zone.isEmpty())
        display.timeZone = zone;
    return display;
}

void DisplaySettings::save() const
{
    QSettings settings(ProgramPaths::settingsFile(), QSettings::IniFormat);
    settings.setValue(kSpeedUnitKey, speedUnitName(speedUnit));
    settings.setValue(kTimeZoneKey, timeZone);
}
