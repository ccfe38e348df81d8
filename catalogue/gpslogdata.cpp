#include "catalogue/gpslogdata.h"

#include "logs/logfile.h"

#include <QByteArrayView>
#include <QDate>
#include <QLocale>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

constexpr char kFieldSeparator = ',';
constexpr char kLineTerminator = ';';
constexpr char kFixMark = 'A';
constexpr double kKmhPerKnot = 1.852;
constexpr double kMinutesPerDegree = 60;

// Field k of a line is the text after the k-th separator of the chained search.
enum Field {
    DateField = 1,
    TimeField,
    LatitudeField,
    SouthOrNorthField,
    LongitudeField,
    EastOrWestField,
    VelocityField,
    XField,
    YField,
    ZField,
};

struct DegreesFormat
{
    int degreeDigits;
    int precision; // significant digits of the 'g' text
    int width;     // the text is padded with '0' up to this length
};

constexpr DegreesFormat kLatitudeFormat{2, 7, 8};
constexpr DegreesFormat kLongitudeFormat{3, 8, 9};

bool isEmptyField(qsizetype separator, qsizetype end)
{
    return separator == -1 || end == -1 || end == separator + 1;
}

// QString::toDouble, except that infinity and NaN ("inf", "nan", an overflow
// such as "1e400") give 0 like any other text that is no usable number: the
// speed meter and the map cannot draw them.
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

// ---- The field getters: each one searches the line on its own.

// A failed search gives -1, so the search after it starts again at 0.
qsizetype separatorBefore(QStringView line, int field)
{
    qsizetype position = -1;
    for (int k = 0; k < field; ++k)
        position = line.indexOf(QLatin1Char(kFieldSeparator), position + 1);
    return position;
}

QStringView textBetween(QStringView line, qsizetype separator, qsizetype end)
{
    if (isEmptyField(separator, end))
        return {};
    return line.sliced(separator + 1, end - separator - 1);
}

QStringView textField(QStringView line, int field)
{
    const qsizetype separator = separatorBefore(line, field);
    return textBetween(line, separator, line.indexOf(QLatin1Char(kFieldSeparator), separator + 1));
}

QString degreesFromText(QStringView field, const DegreesFormat &format)
{
    if (field.isEmpty())
        return {};
    const double degrees = numberFromText(field.left(format.degreeDigits));
    const double minutes = numberFromText(field.mid(format.degreeDigits));
    return decimalDegreesText(degrees + minutes / kMinutesPerDegree, format);
}

bool dataAvailableFromLine(QStringView line)
{
    return !line.isEmpty() && line.front() == QLatin1Char(kFixMark);
}

double velocityFromLine(QStringView line)
{
    const qsizetype separator = separatorBefore(line, VelocityField);
    if (separator == -1)
        return 0;
    const qsizetype comma = line.indexOf(QLatin1Char(kFieldSeparator), separator + 1);
    const qsizetype end =
        comma != -1 ? comma : line.indexOf(QLatin1Char(kLineTerminator), separator + 1);
    return knotsToKmh(numberFromText(textBetween(line, separator, end)));
}

double gSensorFromLine(QStringView line, int field)
{
    const qsizetype velocitySeparator = separatorBefore(line, VelocityField);
    if (line.indexOf(QLatin1Char(kFieldSeparator), velocitySeparator + 1) == -1)
        return 0; // the short form ends after the speed
    const qsizetype separator = separatorBefore(line, field);
    const char terminator = field == ZField ? kLineTerminator : kFieldSeparator;
    const qsizetype end = line.indexOf(QLatin1Char(terminator), separator + 1);
    return numberFromText(textBetween(line, separator, end));
}

// ---- Loading: each ASCII line is split once. Every step mirrors a getter above
// on the line's bytes, so a record equals the getters' record for that line.

qsizetype find(QByteArrayView bytes, char c, qsizetype from)
{
    if (from >= bytes.size())
        return -1;
    const void *hit = std::memchr(bytes.data() + from, c, size_t(bytes.size() - from));
    return hit ? static_cast<const char *>(hit) - bytes.data() : -1;
}

// QByteArrayView lacks QStringView's forgiving left() and mid().
QByteArrayView leftBytes(QByteArrayView bytes, qsizetype n)
{
    return bytes.first(std::min(n, bytes.size()));
}

QByteArrayView bytesFrom(QByteArrayView bytes, qsizetype position)
{
    return position < bytes.size() ? bytes.sliced(position) : QByteArrayView();
}

bool isAscii(QByteArrayView bytes)
{
    unsigned char seen = 0;
    for (const char c : bytes)
        seen |= static_cast<unsigned char>(c);
    return seen < 0x80;
}

constexpr int kMaxPlainDigits = 15; // any 15-digit integer is an exact double
constexpr std::array<double, kMaxPlainDigits + 1> kPowersOfTen{
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// "-?digits(.digits)?" with at most 15 digits, the shape of every number a
// logger writes. Digits and power of ten are exact doubles and the division
// rounds once, so the result is the correctly rounded value, as from
// QString::toDouble.
std::optional<double> plainDecimal(QByteArrayView text)
{
    const bool negative = text.startsWith('-');
    if (negative)
        text = text.sliced(1);
    const qsizetype point = text.indexOf('.');
    const bool hasPoint = point != -1;
    const qsizetype fractionDigits = hasPoint ? text.size() - point - 1 : 0;
    const qsizetype digits = hasPoint ? text.size() - 1 : text.size();
    const bool pointBetweenDigits = !hasPoint || (point > 0 && fractionDigits > 0);
    if (!pointBetweenDigits || digits == 0 || digits > kMaxPlainDigits)
        return std::nullopt;
    qint64 mantissa = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == point)
            continue;
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        mantissa = mantissa * 10 + (c - '0');
    }
    const double value = double(mantissa) / kPowersOfTen[fractionDigits];
    return negative ? -value : value;
}

double numberFromAscii(QByteArrayView text)
{
    if (const std::optional<double> value = plainDecimal(text))
        return *value;
    return numberFromText(QString::fromLatin1(text));
}

// Consecutive lines mostly repeat the date, the hemisphere letters and, while
// the car stands, the position: the text of the line before is shared.
class RepeatedText
{
public:
    template <typename Make>
    QString get(QByteArrayView bytes, Make make)
    {
        if (bytes.isEmpty())
            return {};
        if (bytes != lastBytes) {
            lastBytes = bytes;
            text = make(bytes);
        }
        return text;
    }

private:
    QByteArrayView lastBytes;
    QString text;
};

class LineSplitter
{
public:
    GpsLogRecord record(QByteArrayView line);

private:
    using Separators = std::array<qsizetype, ZField + 1>;

    static QByteArrayView bytesBetween(QByteArrayView line, qsizetype separator, qsizetype end);
    static double numberBetween(QByteArrayView line, qsizetype separator, qsizetype end);
    static QString latin1(QByteArrayView bytes) { return QString::fromLatin1(bytes); }
    static QString latitude(QByteArrayView field) { return degrees(field, kLatitudeFormat); }
    static QString longitude(QByteArrayView field) { return degrees(field, kLongitudeFormat); }
    static QString degrees(QByteArrayView field, const DegreesFormat &format);
    void readTexts(QByteArrayView line, const Separators &p, GpsLogRecord &record);
    static void readNumbers(QByteArrayView line, const Separators &p, GpsLogRecord &record);

    RepeatedText date;
    RepeatedText time;
    RepeatedText latitudeText;
    RepeatedText southOrNorth;
    RepeatedText longitudeText;
    RepeatedText eastOrWest;
};

QByteArrayView LineSplitter::bytesBetween(QByteArrayView line, qsizetype separator, qsizetype end)
{
    if (isEmptyField(separator, end))
        return {};
    return line.sliced(separator + 1, end - separator - 1);
}

double LineSplitter::numberBetween(QByteArrayView line, qsizetype separator, qsizetype end)
{
    const QByteArrayView bytes = bytesBetween(line, separator, end);
    return bytes.isEmpty() ? 0 : numberFromAscii(bytes);
}

QString LineSplitter::degrees(QByteArrayView field, const DegreesFormat &format)
{
    const double whole = numberFromAscii(leftBytes(field, format.degreeDigits));
    const double minutes = numberFromAscii(bytesFrom(field, format.degreeDigits));
    return decimalDegreesText(whole + minutes / kMinutesPerDegree, format);
}

void LineSplitter::readTexts(QByteArrayView line, const Separators &p, GpsLogRecord &record)
{
    const auto field = [&](int k) { return bytesBetween(line, p[k], p[k + 1]); };
    record.date = date.get(field(DateField), latin1);
    record.time = time.get(field(TimeField), latin1);
    record.longitude = longitudeText.get(field(LongitudeField), longitude);
    record.eastOrWest = eastOrWest.get(field(EastOrWestField), latin1);
    record.latitude = latitudeText.get(field(LatitudeField), latitude);
    record.southOrNorth = southOrNorth.get(field(SouthOrNorthField), latin1);
}

void LineSplitter::readNumbers(QByteArrayView line, const Separators &p, GpsLogRecord &record)
{
    if (p[VelocityField] != -1) {
        const qsizetype end = p[XField] != -1
            ? p[XField]
            : find(line, kLineTerminator, p[VelocityField] + 1);
        record.velocity = knotsToKmh(numberBetween(line, p[VelocityField], end));
    }
    if (p[XField] == -1)
        return; // the short form ends after the speed
    record.x = numberBetween(line, p[XField], p[YField]);
    record.y = numberBetween(line, p[YField], p[ZField]);
    if (p[ZField] != -1)
        record.z = numberBetween(line, p[ZField], find(line, kLineTerminator, p[ZField] + 1));
}

GpsLogRecord LineSplitter::record(QByteArrayView line)
{
    // The chained search once for all fields; p[k + 1] is also where field k ends.
    Separators p;
    p[0] = -1;
    for (int k = 1; k <= ZField; ++k)
        p[k] = find(line, kFieldSeparator, p[k - 1] + 1);

    GpsLogRecord record;
    record.dataAvailable = line.startsWith(kFixMark);
    readTexts(line, p, record);
    readNumbers(line, p, record);
    return record;
}

// Lines end at '\n'; one '\r' before it belongs to the line end. A last line
// without '\n' counts, and a file that ends in '\n' has no empty line after it.
// Lines past the cap are ignored.
template <typename Visit>
void forEachLine(QByteArrayView content, Visit visit)
{
    qsizetype start = 0;
    qsizetype lines = 0;
    while (start < content.size() && lines++ < LogFile::kMaxLines) {
        const qsizetype newline = find(content, '\n', start);
        const qsizetype next = newline == -1 ? content.size() : newline + 1;
        qsizetype end = newline == -1 ? content.size() : newline;
        if (newline != -1 && end > start && content[end - 1] == '\r')
            --end;
        visit(content.sliced(start, end - start));
        start = next;
    }
}

qsizetype lineCount(QByteArrayView content)
{
    if (content.isEmpty())
        return 0;
    const qsizetype newlines = std::count(content.begin(), content.end(), '\n');
    return content.back() == '\n' ? newlines : newlines + 1;
}

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
    constexpr qsizetype kMaxPlainLength = kMaxPlainDigits + 2;
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

constexpr int kFirstYear = 2000;
constexpr qint64 kMsPerSecond = 1000;
constexpr qint64 kMsPerDay = 24 * 3600 * kMsPerSecond;
constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01
constexpr double kMaxLatitude = 90;
constexpr double kMaxLongitude = 180;

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

GpsLogData::GpsLogData(QObject *parent)
    : QObject(parent)
{
}

void GpsLogData::LoadGpsLog(QString path)
{
    const std::optional<QByteArray> content = LogFile::readHead(path);
    if (!content)
        return;
    records.reserve(records.size() + std::min(lineCount(*content), LogFile::kMaxLines));
    LineSplitter splitter;
    // In other lines UTF-8 bytes are not characters: the getters read those.
    forEachLine(*content, [&](QByteArrayView line) {
        if (isAscii(line))
            records.append(splitter.record(line));
        else
            records.append(recordFromLine(QString::fromUtf8(line)));
    });
}

void GpsLogData::ClearGpsLog()
{
    records.clear();
}

int GpsLogData::GetLastIndex() const
{
    return int(records.size()) - 1;
}

// Without a record to copy, the default record (no fix, empty texts, zeros)
// is what every caller can show.
GpsLogRecord GpsLogData::GetFirstAvailableRecord() const
{
    const auto available = std::find_if(records.cbegin(), records.cend(),
                                        [](const GpsLogRecord &r) { return r.dataAvailable; });
    return available != records.cend() ? *available : GpsLogRecord{};
}

GpsLogRecord GpsLogData::GetRecord(int i) const
{
    if (i < 0 || records.isEmpty())
        return {};
    return i < records.size() - 1 ? records.at(i) : records.constLast();
}

bool GpsLogData::GetDataAvailable(QString linedata) const
{
    return dataAvailableFromLine(linedata);
}

QString GpsLogData::GetDate(QString linedata) const
{
    return textField(linedata, DateField).toString();
}

QString GpsLogData::GetTime(QString linedata) const
{
    return textField(linedata, TimeField).toString();
}

QString GpsLogData::GetLongitude(QString linedata) const
{
    return degreesFromText(textField(linedata, LongitudeField), kLongitudeFormat);
}

QString GpsLogData::GetEastOrWest(QString linedata) const
{
    return textField(linedata, EastOrWestField).toString();
}

QString GpsLogData::GetLatitude(QString linedata) const
{
    return degreesFromText(textField(linedata, LatitudeField), kLatitudeFormat);
}

QString GpsLogData::GetSouthOrNorth(QString linedata) const
{
    return textField(linedata, SouthOrNorthField).toString();
}

double GpsLogData::GetVelocity(QString linedata) const
{
    return velocityFromLine(linedata);
}

GpsLogRecord GpsLogData::recordFromLine(const QString &line) const
{
    GpsLogRecord record;
    record.dataAvailable = GetDataAvailable(line);
    record.date = GetDate(line);
    record.time = GetTime(line);
    record.longitude = GetLongitude(line);
    record.eastOrWest = GetEastOrWest(line);
    record.latitude = GetLatitude(line);
    record.southOrNorth = GetSouthOrNorth(line);
    record.velocity = GetVelocity(line);
    record.x = GetX(line);
    record.y = GetY(line);
    record.z = GetZ(line);
    return record;
}

double GpsLogData::GetX(QString linedata) const
{
    return gSensorFromLine(linedata, XField);
}

double GpsLogData::GetY(QString linedata) const
{
    return gSensorFromLine(linedata, YField);
}

double GpsLogData::GetZ(QString linedata) const
{
    return gSensorFromLine(linedata, ZField);
}
