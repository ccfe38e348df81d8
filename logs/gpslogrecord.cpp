#include "logs/gpslogrecord.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>

namespace GpsLogText {

namespace {

constexpr double kMinutesPerDegree = 60;

// How far the scaled value may lie from a rounding tie before its rounding is
// left to QString::number: far above the error of one multiplication.
constexpr double kTieMargin = 1e-4;
constexpr double kFastSmallest = 1;    // below: 'g' writes leading zeros
constexpr double kFastLargest = 1000;  // at most three whole digits

QByteArrayView leftBytes(QByteArrayView bytes, qsizetype n)
{
    return bytes.first(std::min(n, bytes.size()));
}

QByteArrayView bytesFrom(QByteArrayView bytes, qsizetype position)
{
    return position < bytes.size() ? bytes.sliced(position) : QByteArrayView();
}

} // namespace

double numberFromText(QStringView text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

double knotsToKmh(double knots)
{
    const double kmh = knots * kKmhPerKnot;
    return std::isfinite(kmh) ? kmh : 0;
}

// The 'g' text padded with '0' is a decimal only for a positive value with a
// fraction. Whole degrees get a decimal point before the padding, and exponent
// texts are written out in full, so every result reads back as the same
// rounded number. A non-finite value cannot come from finite fields; it is
// written as 0 all the same so that the text is always a number.
QString decimalDegreesText(double value, const DegreesFormat &format)
{
    if (!std::isfinite(value))
        value = 0;
    QString text = QString::number(value, 'g', format.precision);
    if (text.contains(u'e'))
        text = QString::number(text.toDouble(), 'f', QLocale::FloatingPointShortest);
    if (text.size() < format.width && !text.contains(u'.'))
        text.append(u'.');
    if (text.size() < format.width)
        text.resize(format.width, u'0');
    return text;
}

// For 1 <= value < 1000 the padded 'g' text is the value rounded to
// `precision` significant digits with every digit written: it is made from
// the rounded integer. Close to a rounding tie, or when rounding adds a
// digit, QString::number decides.
QString fastDegreesText(double value, const DegreesFormat &format)
{
    if (!(value >= kFastSmallest && value < kFastLargest) || format.width != format.precision + 1)
        return decimalDegreesText(value, format);
    const int wholeDigits = value < 10 ? 1 : value < 100 ? 2 : 3;
    const double scaled = value * detail::kPowersOfTen[format.precision - wholeDigits];
    const double floor = std::floor(scaled);
    const double fraction = scaled - floor;
    const auto rounded = qint64(floor) + (fraction > 0.5 ? 1 : 0);
    if (std::abs(fraction - 0.5) < kTieMargin || rounded < qint64(detail::kPowersOfTen[format.precision - 1])
        || rounded >= qint64(detail::kPowersOfTen[format.precision]))
        return decimalDegreesText(value, format);
    QString text(format.width, Qt::Uninitialized);
    QChar *out = text.data() + format.width;
    qint64 rest = rounded;
    for (int digit = format.precision - 1; digit >= 0; --digit) {
        *--out = QChar(u'0' + char16_t(rest % 10));
        rest /= 10;
        if (digit == wholeDigits)
            *--out = QChar(u'.');
    }
    return text;
}

QString degreesMinutesText(QByteArrayView field, const DegreesFormat &format)
{
    if (field.isEmpty())
        return {};
    const double whole = numberFromAscii(leftBytes(field, format.degreeDigits));
    const double minutes = numberFromAscii(bytesFrom(field, format.degreeDigits));
    return fastDegreesText(whole + minutes / kMinutesPerDegree, format);
}

} // namespace GpsLogText

namespace {

using GpsLogText::plainDecimal;

constexpr int kFirstYear = 2000;
constexpr qint64 kMsPerSecond = 1000;
constexpr qint64 kMsPerDay = 24 * 3600 * kMsPerSecond;
constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01
constexpr double kMaxLatitude = 90;
constexpr double kMaxLongitude = 180;
constexpr qsizetype kMaxPlainLength = 17; // 15 digits, a sign and a point

// The two digits of `text` at `at` as a number; -1 when either is missing.
int twoDigits(const QString &text, qsizetype at)
{
    if (text.size() < at + 2 || !text.at(at).isDigit() || !text.at(at + 1).isDigit())
        return -1;
    return text.at(at).digitValue() * 10 + text.at(at + 1).digitValue();
}

// The degrees texts are plain decimals the loader wrote; read as such they
// cost a trip's figures a fraction of QString::toDouble.
std::optional<double> numberOfText(const QString &text)
{
    char bytes[kMaxPlainLength];
    const bool plain = text.size() <= kMaxPlainLength
            && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (plain) {
        std::transform(text.cbegin(), text.cend(), bytes, [](QChar c) { return char(c.unicode()); });
        if (const std::optional<double> value = plainDecimal(QByteArrayView(bytes, text.size())))
            return value;
    }
    bool number = false;
    const double value = text.toDouble(&number);
    return number ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> signedDegrees(const QString &text, bool negative, double limit)
{
    const std::optional<double> value = numberOfText(text);
    if (!value || !std::isfinite(*value) || std::abs(*value) > limit)
        return std::nullopt;
    return negative ? -*value : *value;
}

} // namespace

std::optional<qint64> recordUtcMs(const GpsLogRecord &record)
{
    // The time may carry a fraction of a second after its six digits.
    if (record.date.size() != 6 || (record.time.size() > 6 && record.time.at(6) != QLatin1Char('.')))
        return std::nullopt;
    const int year = twoDigits(record.date, 4);
    const QDate date(kFirstYear + year, twoDigits(record.date, 2), twoDigits(record.date, 0));
    const int hours = twoDigits(record.time, 0);
    const int minutes = twoDigits(record.time, 2);
    const int seconds = twoDigits(record.time, 4);
    if (year < 0 || !date.isValid() || hours < 0 || hours > 23 || minutes < 0 || minutes > 59
        || seconds < 0 || seconds > 59)
        return std::nullopt;
    const qint64 days = date.toJulianDay() - kEpochJulianDay;
    return days * kMsPerDay + ((hours * 60 + minutes) * 60 + seconds) * kMsPerSecond;
}

std::optional<double> latitudeDegrees(const GpsLogRecord &record)
{
    return signedDegrees(record.latitude, record.southOrNorth == QLatin1String("S"), kMaxLatitude);
}

std::optional<double> longitudeDegrees(const GpsLogRecord &record)
{
    return signedDegrees(record.longitude, record.eastOrWest == QLatin1String("W"), kMaxLongitude);
}
