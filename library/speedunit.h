#ifndef SPEEDUNIT_H
#define SPEEDUNIT_H

#include <QLocale>
#include <QString>

#include <optional>

// The unit the user reads speeds and distances in. Logs, trips and exports
// keep km/h and km; figures are converted only where they are shown.
enum class SpeedUnit { Kmh, Mph };

// Miles per hour for the imperial systems (US and UK), km/h otherwise.
SpeedUnit defaultSpeedUnit(QLocale::MeasurementSystem system = QLocale::system().measurementSystem());

// A speed given in km/h, and a distance given in km, in `unit`'s terms
// (mph and miles for Mph).
double speedIn(SpeedUnit unit, double kmh);
double distanceIn(SpeedUnit unit, double km);

// "km/h" or "mph", and "km" or "mi", as the user reads them.
QString speedUnitText(SpeedUnit unit);
QString distanceUnitText(SpeedUnit unit);

// The settings file's word for a unit, and back (an unknown word gives nothing).
QString speedUnitName(SpeedUnit unit);
std::optional<SpeedUnit> speedUnitNamed(const QString &name);

#endif // SPEEDUNIT_H
