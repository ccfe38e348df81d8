#include "library/speedunit.h"

#include <QCoreApplication>

#include <optional>

namespace {

// The international mile.
constexpr double kKmPerMile = 1.609344;

} // namespace

SpeedUnit defaultSpeedUnit(QLocale::MeasurementSystem system)
{
    return system == QLocale::ImperialUSSystem || system == QLocale::ImperialUKSystem ? SpeedUnit::Mph
                                                                                      : SpeedUnit::Kmh;
}

double speedIn(SpeedUnit unit, double kmh)
{
    return unit == SpeedUnit::Mph ? kmh / kKmPerMile : kmh;
}

double distanceIn(SpeedUnit unit, double km)
{
    return unit == SpeedUnit::Mph ? km / kKmPerMile : km;
}

QString speedUnitText(SpeedUnit unit)
{
    return unit == SpeedUnit::Mph ? QCoreApplication::translate("SpeedUnit", "mph")
                                  : QCoreApplication::translate("SpeedUnit", "km/h");
}

QString distanceUnitText(SpeedUnit unit)
{
    return unit == SpeedUnit::Mph ? QCoreApplication::translate("SpeedUnit", "mi")
                                  : QCoreApplication::translate("SpeedUnit", "km");
}

QString speedUnitName(SpeedUnit unit)
{
    return unit == SpeedUnit::Mph ? QStringLiteral("mph") : QStringLiteral("kmh");
}

std::optional<SpeedUnit> speedUnitNamed(const QString &name)
{
    if (name.compare(QLatin1String("mph"), Qt::CaseInsensitive) == 0)
        return SpeedUnit::Mph;
    if (name.compare(QLatin1String("kmh"), Qt::CaseInsensitive) == 0)
        return SpeedUnit::Kmh;
    return std::nullopt;
}
