#ifndef GPSLOGRECORD_H
#define GPSLOGRECORD_H

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// One second of a GPS log: the state of the car at one second of the video.
// Every log format gives these, with the texts in the camera log's form, so
// that no reader of a record needs to know which format it came from.
struct GpsLogRecord
{
    bool dataAvailable = false;
    QString date;         // "ddmmyy", UTC
    QString time;         // "hhmmss", UTC
    QString longitude;    // decimal degrees, "ddd.ddddd"
    QString eastOrWest;
    QString latitude;     // decimal degrees, "dd.ddddd"
    QString southOrNorth;
    double velocity = 0; // km/h
    double x = 0;
    double y = 0;
    double z = 0;
};

// The moment of a record from its "ddmmyy" date and "hhmmss" time, which the
// logger writes in UTC: ms since the epoch, nothing when either is no valid
// date or time. Years are 2000 to 2099.
std::optional<qint64> recordUtcMs(const GpsLogRecord &record);
// Decimal degrees, negative for south and west; nothing when the log gives no
// number or one that is no place on Earth.
std::optional<double> latitudeDegrees(const GpsLogRecord &record);
std::optional<double> longitudeDegrees(const GpsLogRecord &record);

// How the texts of a record are made from what a log writes. Shared by the
// readers of every format, so that the same place gives the same text.
namespace GpsLogText {

struct DegreesFormat
{
    int degreeDigits; // of a "DDMM.mmmm" field
    int precision;    // significant digits of the 'g' text
    int width;        // the text is padded with '0' up to this length
};

constexpr DegreesFormat kLatitude{2, 7, 8};
constexpr DegreesFormat kLongitude{3, 8, 9};
constexpr double kKmhPerKnot = 1.852;

// QString::toDouble, except that infinity and NaN give 0 like any other text
// that is no usable number: the speed meter and the map cannot draw them.
double numberFromText(QStringView text);

namespace detail {
constexpr int kMaxPlainDigits = 15; // any 15-digit integer is an exact double
constexpr std::array<double, kMaxPlainDigits + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
} // namespace detail

// "-?digits(.digits)?" with at most 15 digits; nothing for any other text.
// Digits and power of ten are exact doubles and the division rounds once, so
// the result is the correctly rounded value, as from QString::toDouble.
// Inline: the loaders read several numbers a line with it.
inline std::optional<double> plainDecimal(QByteArrayView text)
{
    const bool negative = text.startsWith('-');
    const char *c = text.data() + (negative ? 1 : 0);
    const char *const end = text.data() + text.size();
    const char *point = nullptr;
    qint64 mantissa = 0;
    int digits = 0;
    for (; c < end; ++c) {
        const unsigned digit = unsigned(*c - '0');
        if (digit < 10) {
            mantissa = mantissa * 10 + digit;
            if (++digits > detail::kMaxPlainDigits)
                return std::nullopt;
        } else if (*c == '.' && !point) {
            point = c;
        } else {
            return std::nullopt;
        }
    }
    const qsizetype fractionDigits = point ? end - point - 1 : 0;
    const bool pointBetweenDigits = !point || (point > text.data() + (negative ? 1 : 0) && fractionDigits > 0);
    if (!pointBetweenDigits || digits == 0)
        return std::nullopt;
    const double value = double(mantissa) / detail::kPowersOfTen[fractionDigits];
    return negative ? -value : value;
}

// The same for ASCII bytes, fast for the plain decimals loggers write.
inline double numberFromAscii(QByteArrayView text)
{
    if (const std::optional<double> value = plainDecimal(text))
        return *value;
    return numberFromText(QString::fromLatin1(text));
}
double knotsToKmh(double knots);

// The record's text of a value in degrees: QString::number 'g', padded.
QString decimalDegreesText(double value, const DegreesFormat &format);
// The same text, made without QString::number where that is safe; the
// loaders' hot path.
QString fastDegreesText(double value, const DegreesFormat &format);
// The record's text of a "DDMM.mmmm" / "DDDMM.mmmm" field; empty for none.
QString degreesMinutesText(QByteArrayView field, const DegreesFormat &format);

} // namespace GpsLogText

#endif // GPSLOGRECORD_H
