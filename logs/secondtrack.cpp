#include "logs/secondtrack.h"

#include "logs/logfile.h"

#include <QDate>

#include <cmath>

namespace {

constexpr qint64 kSecondsPerDay = 24 * 3600;
constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01

// "hh", "mm", "ss", "dd"... into `out`.
void twoDigits(QChar *out, int value)
{
    out[0] = QChar(u'0' + char16_t(value / 10 % 10));
    out[1] = QChar(u'0' + char16_t(value % 10));
}

QString sixDigits(int first, int second, int third)
{
    QString text(6, Qt::Uninitialized);
    twoDigits(text.data(), first);
    twoDigits(text.data() + 2, second);
    twoDigits(text.data() + 4, third);
    return text;
}

QString hemisphere(double degrees, char positive, char negative)
{
    return QString(QLatin1Char(degrees < 0 ? negative : positive));
}

std::optional<double> mean(const std::optional<double> &a, const std::optional<double> &b)
{
    return a && b ? std::optional<double>((*a + *b) / 2) : std::nullopt;
}

} // namespace

bool SecondTrack::full() const
{
    return records.size() >= LogFile::kMaxLines;
}

SecondTrack::Outcome SecondTrack::add(qint64 second, GpsLogRecord record)
{
    if (records.isEmpty()) {
        records.append(stamped(second, std::move(record)));
        last = second;
        return Outcome::Added;
    }
    if (second == last)
        return Outcome::SameSecond;
    if (second < last)
        return Outcome::Backwards;
    if (second - last > kMaxGapSeconds || records.size() + (second - last) > LogFile::kMaxLines)
        return Outcome::TooFar;
    // One second missing between two fixes is what a receiver at 0.5 Hz
    // leaves every other second: the point between them, not a lost fix.
    // Longer gaps are seconds without a fix.
    if (second - last == 2 && record.dataAvailable && records.last().dataAvailable) {
        records.append(stamped(last + 1, between(records.last(), record)));
    } else {
        for (qint64 missing = last + 1; missing < second; ++missing)
            records.append(stamped(missing, GpsLogRecord{}));
    }
    records.append(stamped(second, std::move(record)));
    last = second;
    return Outcome::Added;
}

GpsLogRecord SecondTrack::stamped(qint64 second, GpsLogRecord record)
{
    const qint64 day = second >= 0 ? second / kSecondsPerDay : (second + 1) / kSecondsPerDay - 1;
    const int secondOfDay = int(second - day * kSecondsPerDay);
    if (day != dateDay) {
        const QDate date = QDate::fromJulianDay(day + kEpochJulianDay);
        dateText = sixDigits(date.day(), date.month(), date.year() % 100);
        dateDay = day;
    }
    record.date = dateText;
    record.time = sixDigits(secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
    return record;
}

GpsLogRecord SecondTrack::between(const GpsLogRecord &before, const GpsLogRecord &after) const
{
    const std::optional<double> latitude = mean(latitudeDegrees(before), latitudeDegrees(after));
    const std::optional<double> longitude = mean(longitudeDegrees(before), longitudeDegrees(after));
    GpsLogRecord record;
    // Across the date line the mean of the longitudes lies on the far side.
    if (!latitude || !longitude || std::abs(*longitudeDegrees(before) - *longitudeDegrees(after)) > 180)
        return record;
    record.dataAvailable = true;
    record.latitude = GpsLogText::fastDegreesText(std::abs(*latitude), GpsLogText::kLatitude);
    record.southOrNorth = hemisphere(*latitude, 'N', 'S');
    record.longitude = GpsLogText::fastDegreesText(std::abs(*longitude), GpsLogText::kLongitude);
    record.eastOrWest = hemisphere(*longitude, 'E', 'W');
    record.velocity = before.velocity / 2 + after.velocity / 2;
    return record;
}
