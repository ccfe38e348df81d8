#include "logs/nmealog.h"

#include "logs/secondtrack.h"

#include <QCoreApplication>
#include <QDate>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Enough to find the first sentences behind a receiver's start-up texts.
constexpr qsizetype kHeadBytes = 64 * 1024;
constexpr int kMaxFields = 24;
constexpr qint64 kSecondsPerDay = 24 * 3600;
constexpr qint64 kHalfDay = kSecondsPerDay / 2;
constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01
constexpr int kFirstYear = 2000;

enum RmcField { RmcTime = 1, RmcStatus, RmcLatitude, RmcSouthOrNorth, RmcLongitude, RmcEastOrWest, RmcKnots,
                RmcCourse, RmcDate };

QString tr(const char *text)
{
    return QCoreApplication::translate("NmeaLog", text);
}

qsizetype find(QByteArrayView bytes, char c, qsizetype from)
{
    if (from >= bytes.size())
        return -1;
    const void *hit = std::memchr(bytes.data() + from, c, size_t(bytes.size() - from));
    return hit ? static_cast<const char *>(hit) - bytes.data() : -1;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool allDigits(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(), isDigit);
}

// `count` (at most 9) digits at `at` as a number; -1 when they are not there.
int digitsValue(QByteArrayView text, qsizetype at, int count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        if (i >= text.size() || !isDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// The sentence of a line, which starts with '$' after an optional
// "[milliseconds]" stamp; the line end and trailing blanks cut off.
QByteArrayView sentenceOf(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.chop(1);
    if (line.startsWith('[')) {
        const qsizetype close = find(line, ']', 1);
        if (close <= 1 || !allDigits(line.sliced(1, close - 1)))
            return {};
        line = line.sliced(close + 1);
        while (line.startsWith(' '))
            line = line.sliced(1);
    }
    if (!line.startsWith('$'))
        return {};
    // A sentence cut off by the next one (a receiver's buffer overrun): '$'
    // only ever starts a sentence, so the last one is the whole one.
    return line.sliced(line.lastIndexOf('$'));
}

enum class Kind { Other, Rmc, Gga };

// "$ttRMC," or "$ttGGA," with any two-letter talker.
Kind kindOf(QByteArrayView sentence)
{
    if (sentence.size() < 7 || !isUpper(sentence[1]) || !isUpper(sentence[2]) || sentence[6] != ',')
        return Kind::Other;
    const QByteArrayView type = sentence.sliced(3, 3);
    return type == "RMC" ? Kind::Rmc : type == "GGA" ? Kind::Gga : Kind::Other;
}

template <typename Visit>
void forEachLine(QByteArrayView content, Visit visit)
{
    qsizetype start = 0;
    qsizetype number = 0;
    while (start < content.size()) {
        const qsizetype newline = find(content, '\n', start);
        const qsizetype end = newline == -1 ? content.size() : newline;
        if (!visit(content.sliced(start, end - start), ++number))
            return;
        start = end + 1;
    }
}

// Seconds of the day of "hhmmss" or "hhmmss.sss"; -1 for anything else.
int secondOfDay(QByteArrayView time)
{
    if (time.size() < 6 || (time.size() > 6 && time[6] != '.'))
        return -1;
    const int hours = digitsValue(time, 0, 2);
    const int minutes = digitsValue(time, 2, 2);
    const int seconds = digitsValue(time, 4, 2);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
        return -1;
    return (hours * 60 + minutes) * 60 + seconds;
}

// A text of a few letters that repeats from sentence to sentence ("N", "E")
// is made once.
class RepeatedText
{
public:
    QString get(QByteArrayView bytes)
    {
        if (bytes.isEmpty())
            return {};
        if (bytes != lastBytes) {
            lastBytes = bytes;
            text = QString::fromLatin1(bytes);
        }
        return text;
    }

private:
    QByteArrayView lastBytes;
    QString text;
};

class NmeaReader
{
public:
    explicit NmeaReader(bool checksumsExpected) : checksumsExpected(checksumsExpected) { }

    // False when the track is full or ends.
    bool readLine(QByteArrayView line, qsizetype number);
    GpsLogReading finish();

private:
    bool checked(QByteArrayView sentence, QByteArrayView &body, qsizetype number);
    int split(QByteArrayView body);
    QByteArrayView field(int k) const { return k < fieldCount ? fields[k] : QByteArrayView(); }
    std::optional<qint64> dayOf(QByteArrayView date);
    std::optional<qint64> secondOf(int secondOfDay, QByteArrayView date);
    bool readRmc(qsizetype number);
    void pass(const char *why, qsizetype number);

    bool checksumsExpected;
    std::array<QByteArrayView, kMaxFields> fields;
    int fieldCount = 0;
    SecondTrack track;
    RepeatedText southOrNorth;
    RepeatedText eastOrWest;
    QByteArrayView lastDate;
    qint64 lastDay = 0;
    QString errorString;
    qsizetype errorLine = 0;
};

void NmeaReader::pass(const char *why, qsizetype number)
{
    if (errorLine == 0) {
        errorString = tr(why);
        errorLine = number;
    }
}

// The part between '$' and '*' when its checksum holds.
bool NmeaReader::checked(QByteArrayView sentence, QByteArrayView &body, qsizetype number)
{
    const qsizetype star = sentence.lastIndexOf('*');
    if (star < 0) {
        if (checksumsExpected) {
            pass(QT_TRANSLATE_NOOP("NmeaLog", "a sentence without its checksum"), number);
            return false;
        }
        body = sentence.sliced(1);
        return true;
    }
    if (sentence.size() != star + 3) {
        pass(QT_TRANSLATE_NOOP("NmeaLog", "a sentence cut short"), number);
        return false;
    }
    const int high = hexValue(sentence[star + 1]);
    const int low = hexValue(sentence[star + 2]);
    unsigned char sum = 0;
    for (qsizetype i = 1; i < star; ++i)
        sum ^= static_cast<unsigned char>(sentence[i]);
    if (high < 0 || low < 0 || sum != high * 16 + low) {
        pass(QT_TRANSLATE_NOOP("NmeaLog", "a sentence with a wrong checksum"), number);
        return false;
    }
    body = sentence.sliced(1, star - 1);
    return true;
}

int NmeaReader::split(QByteArrayView body)
{
    fieldCount = 0;
    qsizetype start = 0;
    while (fieldCount < kMaxFields) {
        const qsizetype comma = find(body, ',', start);
        const qsizetype end = comma == -1 ? body.size() : comma;
        fields[fieldCount++] = body.sliced(start, end - start);
        if (comma == -1)
            break;
        start = comma + 1;
    }
    return fieldCount;
}

// Days since the epoch of a "ddmmyy" date; the sentences of a log mostly share it.
std::optional<qint64> NmeaReader::dayOf(QByteArrayView date)
{
    if (!lastDate.isEmpty() && date == lastDate)
        return lastDay;
    if (date.size() != 6)
        return std::nullopt;
    const int day = digitsValue(date, 0, 2);
    const int month = digitsValue(date, 2, 2);
    const int year = digitsValue(date, 4, 2);
    const QDate calendar(kFirstYear + year, month, day);
    if (day < 0 || month < 0 || year < 0 || !calendar.isValid())
        return std::nullopt;
    lastDate = date;
    lastDay = calendar.toJulianDay() - kEpochJulianDay;
    return lastDay;
}

// A sentence without a date lies within half a day after the last second:
// past midnight when its time of day is much earlier.
std::optional<qint64> NmeaReader::secondOf(int secondOfDay, QByteArrayView date)
{
    if (const std::optional<qint64> day = dayOf(date))
        return *day * kSecondsPerDay + secondOfDay;
    if (track.isEmpty())
        return std::nullopt;
    const qint64 last = track.lastSecond();
    qint64 second = last - last % kSecondsPerDay + secondOfDay;
    if (second < last - kHalfDay)
        second += kSecondsPerDay;
    return second;
}

bool NmeaReader::readRmc(qsizetype number)
{
    const int timeOfDay = secondOfDay(field(RmcTime));
    const std::optional<qint64> second = timeOfDay < 0 ? std::nullopt : secondOf(timeOfDay, field(RmcDate));
    if (!second) {
        pass(QT_TRANSLATE_NOOP("NmeaLog", "a sentence without a usable time"), number);
        return true;
    }
    GpsLogRecord record;
    record.latitude = GpsLogText::degreesMinutesText(field(RmcLatitude), GpsLogText::kLatitude);
    record.southOrNorth = southOrNorth.get(field(RmcSouthOrNorth));
    record.longitude = GpsLogText::degreesMinutesText(field(RmcLongitude), GpsLogText::kLongitude);
    record.eastOrWest = eastOrWest.get(field(RmcEastOrWest));
    // A fix is a place on Earth: a garbled position is none.
    record.dataAvailable = field(RmcStatus) == "A" && latitudeDegrees(record) && longitudeDegrees(record);
    const QByteArrayView knots = field(RmcKnots);
    // A speed below zero is no speed a receiver measured.
    record.velocity = knots.isEmpty() ? 0 : std::max(0.0, GpsLogText::knotsToKmh(GpsLogText::numberFromAscii(knots)));
    switch (track.add(*second, std::move(record))) {
    case SecondTrack::Outcome::Added:
    case SecondTrack::Outcome::SameSecond:
        return !track.full();
    case SecondTrack::Outcome::Backwards:
        pass(QT_TRANSLATE_NOOP("NmeaLog", "a sentence earlier than the one before"), number);
        return true;
    case SecondTrack::Outcome::TooFar:
        pass(QT_TRANSLATE_NOOP("NmeaLog", "a jump in time too far to be the same drive"), number);
        return false;
    }
    return false;
}

bool NmeaReader::readLine(QByteArrayView line, qsizetype number)
{
    const QByteArrayView sentence = sentenceOf(line);
    // GGA adds altitude and satellites, which no record keeps: only RMC is read.
    if (kindOf(sentence) != Kind::Rmc)
        return true;
    QByteArrayView body;
    if (!checked(sentence, body, number))
        return true;
    split(body);
    return readRmc(number);
}

GpsLogReading NmeaReader::finish()
{
    return { track.take(), errorString, errorLine };
}

} // namespace

namespace NmeaLog {

bool looksLike(QByteArrayView content)
{
    const QByteArrayView head = content.first(std::min(content.size(), kHeadBytes));
    // Most logs looked at are the camera's, which hold no '$': one fast search.
    if (!head.contains('$'))
        return false;
    bool found = false;
    forEachLine(head, [&](QByteArrayView line, qsizetype) {
        found = kindOf(sentenceOf(line)) != Kind::Other;
        return !found;
    });
    return found;
}

GpsLogReading read(QByteArrayView content)
{
    // Receivers write a checksum on every sentence or on none.
    const QByteArrayView head = content.first(std::min(content.size(), kHeadBytes));
    NmeaReader reader(head.contains('*'));
    forEachLine(content, [&](QByteArrayView line, qsizetype number) { return reader.readLine(line, number); });
    return reader.finish();
}

} // namespace NmeaLog
