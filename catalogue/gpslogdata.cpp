#include "catalogue/gpslogdata.h"

#include "logs/gpslogreader.h"
#include "logs/logfile.h"

#include <QByteArrayView>
#include <QStringView>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

using GpsLogText::DegreesFormat;
using GpsLogText::decimalDegreesText;
using GpsLogText::knotsToKmh;
using GpsLogText::numberFromAscii;
using GpsLogText::numberFromText;
constexpr DegreesFormat kLatitudeFormat = GpsLogText::kLatitude;
constexpr DegreesFormat kLongitudeFormat = GpsLogText::kLongitude;

constexpr char kFieldSeparator = ',';
constexpr char kLineTerminator = ';';
constexpr char kFixMark = 'A';
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

bool isEmptyField(qsizetype separator, qsizetype end)
{
    return separator == -1 || end == -1 || end == separator + 1;
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

// Eight bytes at a time: a whole log is checked once, in a fraction of its
// reading time.
bool isAscii(QByteArrayView bytes)
{
    constexpr quint64 kHighBits = 0x8080808080808080ULL;
    quint64 seen = 0;
    qsizetype i = 0;
    for (; i + qsizetype(sizeof(quint64)) <= bytes.size(); i += sizeof(quint64)) {
        quint64 word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        seen |= word;
    }
    for (; i < bytes.size(); ++i)
        seen |= static_cast<unsigned char>(bytes[i]);
    return (seen & kHighBits) == 0;
}

// The positions of the first separators of `line`, eight bytes at a time;
// how many there are, up to the size of `commas`.
template <std::size_t N>
int firstSeparators(QByteArrayView line, std::array<qsizetype, N> &commas)
{
    constexpr quint64 kSeparators = 0x2c2c2c2c2c2c2c2cULL; // ','
    static_assert(kFieldSeparator == 0x2c);
    constexpr quint64 kLowBits = 0x7f7f7f7f7f7f7f7fULL;
    int found = 0;
    qsizetype i = 0;
    for (; i + qsizetype(sizeof(quint64)) <= line.size(); i += sizeof(quint64)) {
        // Little-endian: byte k of the line is byte k of the number, on any host.
        quint64 word = qFromLittleEndian<quint64>(line.data() + i);
        word ^= kSeparators;
        // High bit set exactly in the bytes that were separators.
        quint64 hits = ~(((word & kLowBits) + kLowBits) | word | kLowBits);
        while (hits) {
            commas[found++] = i + qCountTrailingZeroBits(hits) / 8;
            if (found == int(N))
                return found;
            hits &= hits - 1;
        }
    }
    for (; i < line.size(); ++i) {
        if (line[i] == kFieldSeparator) {
            commas[found++] = i;
            if (found == int(N))
                return found;
        }
    }
    return found;
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
        if (bytes.size() != lastBytes.size()
            || std::memcmp(bytes.data(), lastBytes.data(), size_t(bytes.size())) != 0) {
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
    // Fills a new, default record, in place: no record is moved.
    void fill(QByteArrayView line, GpsLogRecord &record);

private:
    using Separators = std::array<qsizetype, ZField + 1>;

    static QByteArrayView bytesBetween(QByteArrayView line, qsizetype separator, qsizetype end);
    static double numberBetween(QByteArrayView line, qsizetype separator, qsizetype end);
    static QString latin1(QByteArrayView bytes) { return QString::fromLatin1(bytes); }
    static QString hemisphere(QByteArrayView bytes);
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

// The usual letters are static texts, which records share without counting.
QString LineSplitter::hemisphere(QByteArrayView bytes)
{
    if (bytes.size() == 1) {
        switch (bytes.front()) {
        case 'N':
            return QStringLiteral("N");
        case 'S':
            return QStringLiteral("S");
        case 'E':
            return QStringLiteral("E");
        case 'W':
            return QStringLiteral("W");
        }
    }
    return latin1(bytes);
}

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
    return GpsLogText::degreesMinutesText(field, format);
}

void LineSplitter::readTexts(QByteArrayView line, const Separators &p, GpsLogRecord &record)
{
    const auto field = [&](int k) { return bytesBetween(line, p[k], p[k + 1]); };
    record.date = date.get(field(DateField), latin1);
    record.time = time.get(field(TimeField), latin1);
    record.longitude = longitudeText.get(field(LongitudeField), longitude);
    record.eastOrWest = eastOrWest.get(field(EastOrWestField), hemisphere);
    record.latitude = latitudeText.get(field(LatitudeField), latitude);
    record.southOrNorth = southOrNorth.get(field(SouthOrNorthField), hemisphere);
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

void LineSplitter::fill(QByteArrayView line, GpsLogRecord &record)
{
    // The chained search once for all fields; p[k + 1] is also where field k ends.
    // The line is scanned once: the chain finds the first separators in turn,
    // then -1, after which it starts again at the first.
    std::array<qsizetype, ZField> commas;
    const int found = firstSeparators(line, commas);
    Separators p;
    p[0] = -1;
    for (int k = 1, turn = 0; k <= ZField; ++k) {
        p[k] = turn < found ? commas[turn] : -1;
        turn = turn < found ? turn + 1 : 0;
    }

    record.dataAvailable = line.startsWith(kFixMark);
    readTexts(line, p, record);
    readNumbers(line, p, record);
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

// Newlines counted eight bytes at a time: a zero byte of word ^ 0x0a0a...
// marks one.
qsizetype newlineCount(QByteArrayView content)
{
    constexpr quint64 kNewlines = 0x0a0a0a0a0a0a0a0aULL;
    constexpr quint64 kLowBits = 0x7f7f7f7f7f7f7f7fULL;
    constexpr quint64 kOnePerByte = 0x0101010101010101ULL; // sums the bytes' low bits into the top byte
    qsizetype count = 0;
    qsizetype i = 0;
    for (; i + qsizetype(sizeof(quint64)) <= content.size(); i += sizeof(quint64)) {
        quint64 word;
        std::memcpy(&word, content.data() + i, sizeof word);
        word ^= kNewlines;
        // High bit set exactly in the bytes that are zero.
        const quint64 zeros = ~(((word & kLowBits) + kLowBits) | word | kLowBits);
        count += qsizetype(((zeros >> 7) * kOnePerByte) >> 56);
    }
    return count + std::count(content.begin() + i, content.end(), '\n');
}

qsizetype lineCount(QByteArrayView content)
{
    if (content.isEmpty())
        return 0;
    const qsizetype newlines = newlineCount(content);
    return content.back() == '\n' ? newlines : newlines + 1;
}

} // namespace

GpsLogData::GpsLogData(QObject *parent)
    : QObject(parent)
{
}

void GpsLogData::LoadGpsLog(QString path)
{
    const std::optional<QByteArray> content = LogFile::readHead(path);
    if (!content)
        return;
    if (GpsLogReader::formatOf(*content) == GpsLogReader::Format::Camera)
        loadCameraLog(*content);
    else
        records.append(GpsLogReader::read(*content));
}

void GpsLogData::loadCameraLog(QByteArrayView content)
{
    records.reserve(records.size() + std::min(lineCount(content), LogFile::kMaxLines));
    LineSplitter splitter;
    // In lines with other bytes UTF-8 bytes are not characters: the getters read those.
    const bool allAscii = isAscii(content);
    forEachLine(content, [&](QByteArrayView line) {
        if (allAscii || isAscii(line))
            splitter.fill(line, records.emplaceBack());
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
