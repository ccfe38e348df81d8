#include "catalogue/uvideoandgpsfiles.h"

#include "runfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <cstddef>
#include <ctime>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kAvailable = QStringLiteral("Available");
const QString kUnavailable = QStringLiteral("Unavailable");
const QString kNotExist = QStringLiteral("Not Exist");

const QByteArray kFixLine = "A,030410,131032,4618.9395,N,00656.1347,E,0.00,0.00,0.00,0.99;\n";
const QByteArray kNoFixLine = "V,030410,131417,,,,,,0.00,0.00,1.02;\n";

// Where a recording and its log sit on a dash camera's card.
const QString kCardVideo = QStringLiteral("DCIM/100MEDIA/FILE0001.MOV");
const QString kCardLog = QStringLiteral("gps/gps0001.log");

template<std::size_t N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1); // keeps embedded NULs
}

QByteArray logOf(int fixes, int withoutFix)
{
    return kNoFixLine.repeated(withoutFix) + kFixLine.repeated(fixes);
}

// Lines of `length` bytes with '\n'; the body is all 'A' so that only a true
// line start may count as a fix.
QByteArray longLines(int fixes, int total, int length)
{
    QByteArray log;
    for (int i = 0; i < total; ++i)
        log += (i < fixes ? 'A' : 'V') + QByteArray(length - 2, 'A') + '\n';
    return log;
}

// Random bytes in lines of random length; `fixes` of the lines begin with 'A'.
QByteArray garbageLines(int fixes, int total)
{
    QRandomGenerator random(2010);
    const auto anyByteBut = [&random](char a, char b) {
        char c;
        do
            c = char(random.bounded(256));
        while (c == a || c == b);
        return c;
    };
    QByteArray log;
    for (int i = 0; i < total; ++i) {
        log += i < fixes ? 'A' : anyByteBut('A', '\n');
        for (int n = int(random.bounded(200)); n > 0; --n)
            log += anyByteBut('\n', '\n');
        log += '\n';
    }
    return log;
}

QByteArray lineWindow(const QByteArray &log, int first, int count)
{
    qsizetype from = 0;
    for (int i = 0; i < first; ++i)
        from = log.indexOf('\n', from) + 1;
    qsizetype to = from;
    for (int i = 0; i < count; ++i)
        to = log.indexOf('\n', to) + 1;
    return log.mid(from, to - from);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
}

// Local time for one test, half an hour off UTC, so that a result in UTC or
// with a rounded offset shows.
class LocalZone
{
public:
    explicit LocalZone(const QByteArray &zone) : saved(qgetenv("TZ")), wasSet(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone()
    {
        if (wasSet)
            qputenv("TZ", saved);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray saved;
    bool wasSet;
};

// Adds the card's recording and gives the state its log was rated.
QString stateOfCardLog(const QTemporaryDir &card)
{
    UVideoAndGpsfiles catalogue;
    if (!writeFile(card.filePath(kCardVideo), "video"))
        return QStringLiteral("video not written");
    catalogue.AddVideoAndGpsfiles({card.filePath(kCardVideo)});
    if (catalogue.GetGpsFilePath(0) != card.filePath(kCardLog))
        return QStringLiteral("paired with ") + catalogue.GetGpsFilePath(0);
    return catalogue.GetGpsFileState(0);
}

// RMC sentences, `fixes` of them with a fix, then `withoutFix` without.
QByteArray nmeaOf(int fixes, int withoutFix)
{
    QByteArray log;
    for (int second = 0; second < fixes + withoutFix; ++second) {
        const QByteArray body = "GPRMC,1200" + QByteArray::number(second).rightJustified(2, '0')
                + (second < fixes ? ",A,4618.9395,N,00656.1347,E,1.0,,030410,,,A" : ",V,,,,,,,030410,,,N");
        unsigned char sum = 0;
        for (const char c : body)
            sum ^= static_cast<unsigned char>(c);
        log += '$' + body + '*' + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper() + "\r\n";
    }
    return log;
}

const QByteArray kGpx = "<?xml version=\"1.0\"?><gpx version=\"1.1\"><trk><trkseg>"
                        "<trkpt lat=\"46.3\" lon=\"6.9\"><time>2010-04-03T12:00:00Z</time></trkpt>"
                        "</trkseg></trk></gpx>";

enum LogPlace { NoLog, FolderAtLog, PipeAtLog, LinkToLog, DanglingLink, UnreadableLog };

} // namespace

class TstUVideoAndGpsfiles : public QObject
{
    Q_OBJECT

private slots:
    void adding_data();
    void adding();
    void pairing_data();
    void pairing();
    void sidecar_data();
    void sidecar();
    void rating_data();
    void rating();
    void logPlace_data();
    void logPlace();
    void realDrives_data();
    void realDrives();
    void modificationTime_data();
    void modificationTime();
    void removal_data();
    void removal();
    void gettersOutOfRange_data();
    void gettersOutOfRange();
    void entryKeepsFirstValues();

};

void TstUVideoAndGpsfiles::adding_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("storedNames");

    QTest::newRow("missing file dropped") << QStringList{"a.MOV", "missing.MOV", "b.MOV"}
                                          << QStringList{"a.MOV", "b.MOV"};
    QTest::newRow("same path twice") << QStringList{"a.MOV", "a.MOV"} << QStringList{"a.MOV", "a.MOV"};
    QTest::newRow("folder dropped") << QStringList{"folder.MOV", "b.MOV"} << QStringList{"b.MOV"};
    QTest::newRow("trailing separator dropped") << QStringList{"", "a.MOV"} << QStringList{"a.MOV"};
    QTest::newRow("order kept") << QStringList{"b.MOV", "a.MOV"} << QStringList{"b.MOV", "a.MOV"};
    QTest::newRow("path kept as given") << QStringList{"folder.MOV/../a.MOV"} << QStringList{"a.MOV"};
    QTest::newRow("nothing") << QStringList{} << QStringList{};
}

void TstUVideoAndGpsfiles::adding()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, storedNames);

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("a.MOV"), "a") && writeFile(dir.filePath("b.MOV"), "b"));
    QVERIFY(QDir(dir.path()).mkdir("folder.MOV"));
    QStringList paths;
    for (const QString &name : std::as_const(given))
        paths << dir.path() + '/' + name;

    UVideoAndGpsfiles catalogue;
    QSignalSpy added(&catalogue, &UVideoAndGpsfiles::VideoAdded);
    QStringList lastPathAtSignal;
    connect(&catalogue, &UVideoAndGpsfiles::VideoAdded, this, [&] {
        lastPathAtSignal << catalogue.GetVideoPath(catalogue.GetVideoCount() - 1);
    });
    catalogue.AddVideoAndGpsfiles(paths);

    QCOMPARE(catalogue.GetVideoCount(), int(storedNames.size()));
    QStringList storedPaths;
    for (int i = 0; i < catalogue.GetVideoCount(); ++i) {
        QCOMPARE(catalogue.GetVideoFileName(i), storedNames.at(i));
        storedPaths << catalogue.GetVideoPath(i);
    }
    QStringList signalled;
    for (const QList<QVariant> &arguments : std::as_const(added))
        signalled << arguments.at(0).toString();
    QCOMPARE(signalled, storedPaths);
    QCOMPARE(lastPathAtSignal, storedPaths); // each signal right after its own append
    for (const QString &path : std::as_const(storedPaths))
        QVERIFY2(paths.contains(path), qPrintable(path + " is not a path as given"));

    // Two entries of one path are the same in every field.
    for (int i = 1; i < catalogue.GetVideoCount(); ++i) {
        if (catalogue.GetVideoPath(i) != catalogue.GetVideoPath(i - 1))
            continue;
        QCOMPARE(catalogue.GetVideoDate(i), catalogue.GetVideoDate(i - 1));
        QCOMPARE(catalogue.GetVideoTime(i), catalogue.GetVideoTime(i - 1));
        QCOMPARE(catalogue.GetGpsFilePath(i), catalogue.GetGpsFilePath(i - 1));
        QCOMPARE(catalogue.GetGpsFileState(i), catalogue.GetGpsFileState(i - 1));
    }
}

void TstUVideoAndGpsfiles::pairing_data()
{
    QTest::addColumn<QString>("video");
    QTest::addColumn<bool>("relative"); // given relative to the working folder
    QTest::addColumn<QString>("log");   // empty: no log path can be built

    QTest::newRow("dash camera card") << kCardVideo << false << kCardLog;
    QTest::newRow("deeper folders") << "media/sd/Rec/Day/ABCD0042.MOV" << false << "media/sd/gps/gps0042.log";
    QTest::newRow("relative, three folders") << "Card/Rec/Day/FILE0007.MOV" << true << "Card/gps/gps0007.log";
    QTest::newRow("six-character name") << "Rec/Day/AB.MOV" << false << "gps/gpsOV.log";
    QTest::newRow("five-character name") << "Rec/Day/ABCDE" << false << "gps/gpsE.log";
    QTest::newRow("four-character name") << "Rec/Day/A.MO" << false << "gps/gps.log";
    QTest::newRow("one-character name") << "Rec/Day/a" << false << "gps/gps.log";
    QTest::newRow("long name") << "Rec/Day/2023_0101_120000_F.MOV" << false << "gps/gps_010.log";
    QTest::newRow("letter case kept") << "CARD/Rec/Day/abcdXyZw.mov" << false << "CARD/gps/gpsXyZw.log";
    QTest::newRow("spaces and Cyrillic") << "Поездка 1/День 2/ЗАПИСЬ 07.MOV" << false << "gps/gpsСЬ 0.log";
    QTest::newRow("backslash is part of a name") << "Rec/Day/ABC\\0042.MOV" << false << "gps/gps0042.log";
    QTest::newRow("file in the working folder") << "FILE0001.MOV" << true << "";
    QTest::newRow("one folder deep") << "Day/FILE0001.MOV" << true << "";
    QTest::newRow("two folders deep") << "Rec/Day/FILE0001.MOV" << true << "";
}

void TstUVideoAndGpsfiles::pairing()
{
    QFETCH(QString, video);
    QFETCH(bool, relative);
    QFETCH(QString, log);

    ScratchRunFolder folder(ScratchRunFolder::Empty);
    const WorkingFolder here(folder.path());
    QVERIFY(writeFile(folder.filePath(video), "video"));
    if (!log.isEmpty())
        QVERIFY(writeFile(folder.filePath(log), logOf(1, 0)));
    else // logs where a rule reading past the path's start might look
        QVERIFY(writeFile(folder.filePath("gps/gps.log"), logOf(1, 0))
                && writeFile(folder.filePath("gps/gps0001.log"), logOf(1, 0)));
    const auto asGiven = [&](const QString &path) { return relative ? path : folder.filePath(path); };

    UVideoAndGpsfiles catalogue;
    catalogue.AddVideoAndGpsfiles({asGiven(video)});

    QCOMPARE(catalogue.GetVideoCount(), 1);
    QCOMPARE(catalogue.GetVideoPath(0), asGiven(video));
    QCOMPARE(catalogue.GetVideoFileName(0), QFileInfo(folder.filePath(video)).fileName());
    QCOMPARE(catalogue.GetGpsFilePath(0), log.isEmpty() ? QString() : asGiven(log));
    QCOMPARE(catalogue.GetGpsFileState(0), log.isEmpty() ? kNotExist : kAvailable);
}

void TstUVideoAndGpsfiles::sidecar_data()
{
    QTest::addColumn<QStringList>("files"); // beside the card's video; "gps" is the camera's log
    QTest::addColumn<QByteArrayList>("contents");
    QTest::addColumn<QString>("paired"); // the file paired with, or "gps"
    QTest::addColumn<QString>("state");

    QTest::newRow("camera's log wins") << QStringList{"gps", "FILE0001.nmea"} << QByteArrayList{logOf(1, 0), nmeaOf(1, 0)}
                                       << "gps" << kAvailable;
    QTest::newRow("NMEA") << QStringList{"FILE0001.nmea"} << QByteArrayList{nmeaOf(3, 0)} << "FILE0001.nmea" << kAvailable;
    QTest::newRow("NMEA, capitals") << QStringList{"FILE0001.NMEA"} << QByteArrayList{nmeaOf(3, 0)} << "FILE0001.NMEA"
                                    << kAvailable;
    QTest::newRow(".gps") << QStringList{"FILE0001.gps"} << QByteArrayList{nmeaOf(3, 0)} << "FILE0001.gps" << kAvailable;
    QTest::newRow(".log holding NMEA") << QStringList{"FILE0001.log"} << QByteArrayList{nmeaOf(3, 0)} << "FILE0001.log"
                                       << kAvailable;
    QTest::newRow(".log holding something else") << QStringList{"FILE0001.log"} << QByteArrayList{logOf(3, 0)} << "gps"
                                                 << kNotExist;
    QTest::newRow("GPX") << QStringList{"FILE0001.gpx"} << QByteArrayList{kGpx} << "FILE0001.gpx" << kAvailable;
    QTest::newRow("NMEA before GPX") << QStringList{"FILE0001.gpx", "FILE0001.nmea"} << QByteArrayList{kGpx, nmeaOf(0, 3)}
                                     << "FILE0001.nmea" << kUnavailable;
    QTest::newRow("1 fix in 5: rated by seconds") << QStringList{"FILE0001.nmea"} << QByteArrayList{nmeaOf(1, 4)}
                                                  << "FILE0001.nmea" << kUnavailable;
    QTest::newRow("another video's") << QStringList{"FILE0002.nmea"} << QByteArrayList{nmeaOf(1, 0)} << "gps" << kNotExist;
    QTest::newRow("GPX without a track") << QStringList{"FILE0001.gpx"} << QByteArrayList{"<gpx/>"} << "FILE0001.gpx"
                                         << kUnavailable;
}

void TstUVideoAndGpsfiles::sidecar()
{
    QFETCH(QStringList, files);
    QFETCH(QByteArrayList, contents);
    QFETCH(QString, paired);
    QFETCH(QString, state);

    QTemporaryDir card;
    const QString videoFolder = QFileInfo(card.filePath(kCardVideo)).path();
    const auto pathOf = [&](const QString &file) {
        return file == QLatin1String("gps") ? card.filePath(kCardLog) : videoFolder + u'/' + file;
    };
    for (int i = 0; i < files.size(); ++i)
        QVERIFY(writeFile(pathOf(files.at(i)), contents.at(i)));
    QVERIFY(writeFile(card.filePath(kCardVideo), "video"));
    UVideoAndGpsfiles catalogue;
    catalogue.AddVideoAndGpsfiles({card.filePath(kCardVideo)});
    QCOMPARE(catalogue.GetGpsFilePath(0), pathOf(paired));
    QCOMPARE(catalogue.GetGpsFileState(0), state);
}

void TstUVideoAndGpsfiles::rating_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("state");

    QTest::newRow("2 of 10") << logOf(2, 8) << kUnavailable;
    QTest::newRow("3 of 10") << logOf(3, 7) << kAvailable;
    QTest::newRow("1 of 5") << logOf(1, 4) << kUnavailable;
    QTest::newRow("1 of 4") << logOf(1, 3) << kAvailable;
    QTest::newRow("no fixes") << logOf(0, 5) << kUnavailable;
    QTest::newRow("lower-case a") << QByteArray("a,1;\n").repeated(5) << kUnavailable;
    QTest::newRow("A not first") << QByteArray(" A,1;\nVA\n") << kUnavailable;
    QTest::newRow("empty file") << QByteArray() << kUnavailable;
    QTest::newRow("only a newline") << QByteArray("\n") << kUnavailable;
    QTest::newRow("CR LF, 1 of 4") << QByteArray("A,1;\r\nV;\r\nV;\r\nV;\r\n") << kAvailable;
    QTest::newRow("CR LF, blank lines") << QByteArray("A,1;\r\n\r\n\r\n\r\n\r\n") << kUnavailable;
    QTest::newRow("last line without newline counts") << QByteArray("V\nV\nV\nV\nA") << kUnavailable;
    QTest::newRow("fix on last line without newline") << QByteArray("V\nV\nV\nA") << kAvailable;
    QTest::newRow("final newline adds no line") << QByteArray("A\nV\nV\nV\n") << kAvailable;
    QTest::newRow("blank lines count, 1 of 5") << QByteArray("A\n\n\n\n\n") << kUnavailable;
    QTest::newRow("blank lines count, 1 of 4") << QByteArray("A\n\n\n\n") << kAvailable;
    QTest::newRow("NUL bytes, 2 of 4") << bytes("\0\0\0\nA\0B\nA\n\0\n") << kAvailable;
    QTest::newRow("NUL before A") << bytes("\0A\n\0A\n\0A\n") << kUnavailable;
    QTest::newRow("only NULs") << QByteArray(4096, '\0') << kUnavailable;
    QTest::newRow("garbage, 30 of 100") << garbageLines(30, 100) << kAvailable;
    QTest::newRow("garbage, 20 of 100") << garbageLines(20, 100) << kUnavailable;
    QTest::newRow("4 MB single line") << 'A' + QByteArray(4 << 20, ',') << kAvailable;
    QTest::newRow("4 MB line, then 4 without fix") << 'A' + QByteArray(4 << 20, ',') + "\nV\nV\nV\nV\n"
                                                   << kUnavailable;
    for (int length : {4096, 65536, 100000, 262144}) {
        QTest::addRow("lines of %d bytes, 2 of 10", length) << longLines(2, 10, length) << kUnavailable;
        QTest::addRow("lines of %d bytes, 3 of 10", length) << longLines(3, 10, length) << kAvailable;
    }
}

void TstUVideoAndGpsfiles::rating()
{
    QFETCH(QByteArray, log);
    QFETCH(QString, state);

    QTemporaryDir card;
    QVERIFY(writeFile(card.filePath(kCardLog), log));
    QCOMPARE(stateOfCardLog(card), state);
}

void TstUVideoAndGpsfiles::logPlace_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("state");

    QTest::newRow("missing") << int(NoLog) << kNotExist;
    QTest::newRow("folder") << int(FolderAtLog) << kNotExist;
    QTest::newRow("named pipe") << int(PipeAtLog) << kNotExist;
    QTest::newRow("link to a log") << int(LinkToLog) << kAvailable;
    QTest::newRow("dangling link") << int(DanglingLink) << kNotExist;
    QTest::newRow("unreadable") << int(UnreadableLog) << kUnavailable;
}

void TstUVideoAndGpsfiles::logPlace()
{
    QFETCH(int, place);
    QFETCH(QString, state);

    QTemporaryDir card;
    const QString log = card.filePath(kCardLog);
    QVERIFY(QDir().mkpath(card.filePath("gps")));
    switch (LogPlace(place)) {
    case NoLog:
        break;
    case FolderAtLog:
        QVERIFY(QDir().mkpath(log));
        break;
    case PipeAtLog: // opening it to read would wait for a writer for ever
        QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
        break;
    case LinkToLog:
        QVERIFY(writeFile(card.filePath("elsewhere.log"), logOf(1, 0)));
        QVERIFY(QFile::link(card.filePath("elsewhere.log"), log));
        break;
    case DanglingLink:
        QVERIFY(QFile::link(card.filePath("gone.log"), log));
        break;
    case UnreadableLog:
        if (::geteuid() == 0)
            QSKIP("root reads any file");
        QVERIFY(writeFile(log, logOf(1, 0)));
        QVERIFY(QFile::setPermissions(log, QFileDevice::WriteOwner));
        break;
    }
    QCOMPARE(stateOfCardLog(card), state);
}

void TstUVideoAndGpsfiles::realDrives_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("firstLine");
    QTest::addColumn<int>("lineCount"); // -1: the whole log
    QTest::addColumn<QString>("state");

    for (int drive = 1; drive <= 5; ++drive) {
        const QString name = QStringLiteral("gps%1.log").arg(drive, 4, 10, QLatin1Char('0'));
        QTest::newRow(qPrintable(name)) << name << 0 << -1 << kAvailable;
    }
    QTest::newRow("gps0002, 205 s without a sentence") << "gps0002.log" << 1312 << 205 << kUnavailable;
    QTest::newRow("gps0005 without its first fix") << "gps0005.log" << 1 << 42 << kUnavailable;
}

void TstUVideoAndGpsfiles::realDrives()
{
    QFETCH(QString, name);
    QFETCH(int, firstLine);
    QFETCH(int, lineCount);
    QFETCH(QString, state);

    const QString source = QFINDTESTDATA(QStringLiteral("../data/real-drives/") + name);
    QVERIFY2(!source.isEmpty(), qPrintable(name + " not found"));
    QFile drive(source);
    QVERIFY(drive.open(QIODevice::ReadOnly));
    QByteArray log = drive.readAll();
    if (lineCount >= 0)
        log = lineWindow(log, firstLine, lineCount);

    QTemporaryDir card;
    QVERIFY(writeFile(card.filePath(kCardLog), log));
    QCOMPARE(stateOfCardLog(card), state);
}

void TstUVideoAndGpsfiles::modificationTime_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QTime>("clock");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");

    QTest::newRow("before ten") << QDate(2019, 7, 4) << QTime(7, 5, 59) << "2019-07-04" << "07:05";
    QTest::newRow("just after midnight") << QDate(2021, 3, 1) << QTime(0, 20) << "2021-03-01" << "00:20";
    QTest::newRow("last minute of a year") << QDate(2023, 12, 31) << QTime(23, 59, 30) << "2023-12-31" << "23:59";
    QTest::newRow("leap day") << QDate(2024, 2, 29) << QTime(12, 0) << "2024-02-29" << "12:00";
}

void TstUVideoAndGpsfiles::modificationTime()
{
    QFETCH(QDate, day);
    QFETCH(QTime, clock);
    QFETCH(QString, date);
    QFETCH(QString, time);

    const LocalZone zone("XST-5:30");
    QTemporaryDir card;
    const QString video = card.filePath("DCIM/100MEDIA/FILE1111.MOV");
    const QString log = card.filePath("gps/gps1111.log");
    QVERIFY(writeFile(video, "video") && writeFile(log, logOf(1, 0)));
    QVERIFY(setModified(video, QDateTime(day, clock)));
    QVERIFY(setModified(log, QDateTime(QDate(2001, 2, 3), QTime(4, 5))));

    UVideoAndGpsfiles catalogue;
    catalogue.AddVideoAndGpsfiles({video});
    QCOMPARE(catalogue.GetVideoDate(0), date);
    QCOMPARE(catalogue.GetVideoTime(0), time);
}

void TstUVideoAndGpsfiles::removal_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("left"); // recording numbers still stored, in order

    QTest::newRow("first") << 0 << QList<int>{2, 3};
    QTest::newRow("middle") << 1 << QList<int>{1, 3};
    QTest::newRow("last") << 2 << QList<int>{1, 2};
    QTest::newRow("below range") << -1 << QList<int>{1, 2, 3};
    QTest::newRow("at count") << 3 << QList<int>{1, 2, 3};
    QTest::newRow("far above") << 100 << QList<int>{1, 2, 3};
}

void TstUVideoAndGpsfiles::removal()
{
    QFETCH(int, index);
    QFETCH(QList<int>, left);

    // Three recordings that differ in every field.
    const QStringList states{QString(), kAvailable, kUnavailable, kNotExist};
    const QStringList times{QString(), "01:01", "02:02", "03:03"};
    QTemporaryDir card;
    QStringList videos;
    for (int n = 1; n <= 3; ++n) {
        const QString video = card.filePath(QStringLiteral("DCIM/100MEDIA/FILE000%1.MOV").arg(n));
        QVERIFY(writeFile(video, "video"));
        QVERIFY(setModified(video, QDateTime(QDate(2020, 1, n), QTime(n, n))));
        videos << video;
    }
    QVERIFY(writeFile(card.filePath("gps/gps0001.log"), logOf(1, 0)));
    QVERIFY(writeFile(card.filePath("gps/gps0002.log"), logOf(0, 1)));

    UVideoAndGpsfiles catalogue;
    catalogue.AddVideoAndGpsfiles(videos);
    QSignalSpy deleted(&catalogue, &UVideoAndGpsfiles::VideoDeleted);
    int countAtSignal = -1;
    connect(&catalogue, &UVideoAndGpsfiles::VideoDeleted, this,
            [&] { countAtSignal = catalogue.GetVideoCount(); });
    catalogue.DeleteVideoAndGpsfile(index);

    QCOMPARE(deleted.size(), 1);
    QCOMPARE(deleted.at(0).at(0).toInt(), index);
    QCOMPARE(countAtSignal, int(left.size())); // removed before the signal
    QCOMPARE(catalogue.GetVideoCount(), int(left.size()));
    for (int i = 0; i < left.size(); ++i) {
        const int n = left.at(i);
        QCOMPARE(catalogue.GetVideoPath(i), videos.at(n - 1));
        QCOMPARE(catalogue.GetVideoFileName(i), QStringLiteral("FILE000%1.MOV").arg(n));
        QCOMPARE(catalogue.GetVideoDate(i), QStringLiteral("2020-01-0%1").arg(n));
        QCOMPARE(catalogue.GetVideoTime(i), times.at(n));
        QCOMPARE(catalogue.GetGpsFilePath(i), card.filePath(QStringLiteral("gps/gps000%1.log").arg(n)));
        QCOMPARE(catalogue.GetGpsFileState(i), states.at(n));
    }
}

void TstUVideoAndGpsfiles::gettersOutOfRange_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("index");

    QTest::newRow("empty catalogue") << 0 << 0;
    QTest::newRow("-1") << 3 << -1;
    QTest::newRow("count") << 3 << 3;
    QTest::newRow("count + 2") << 3 << 5;
    QTest::newRow("INT_MIN") << 3 << INT_MIN;
    QTest::newRow("INT_MAX") << 3 << INT_MAX;
}

void TstUVideoAndGpsfiles::gettersOutOfRange()
{
    QFETCH(int, entries);
    QFETCH(int, index);

    QTemporaryDir card;
    QVERIFY(writeFile(card.filePath(kCardVideo), "video") && writeFile(card.filePath(kCardLog), logOf(1, 0)));
    UVideoAndGpsfiles catalogue;
    for (int i = 0; i < entries; ++i)
        catalogue.AddVideoAndGpsfiles({card.filePath(kCardVideo)});

    QCOMPARE(catalogue.GetVideoPath(index), QString());
    QCOMPARE(catalogue.GetVideoFileName(index), QString());
    QCOMPARE(catalogue.GetVideoDate(index), QString());
    QCOMPARE(catalogue.GetVideoTime(index), QString());
    QCOMPARE(catalogue.GetGpsFilePath(index), QString());
    QCOMPARE(catalogue.GetGpsFileState(index), QString());
}

void TstUVideoAndGpsfiles::entryKeepsFirstValues()
{
    QTemporaryDir card;
    const QString video = card.filePath(kCardVideo);
    const QString log = card.filePath(kCardLog);
    QVERIFY(writeFile(video, "video") && writeFile(log, logOf(1, 0)));
    QVERIFY(setModified(video, QDateTime(QDate(2020, 5, 6), QTime(7, 8))));
    UVideoAndGpsfiles catalogue;
    catalogue.AddVideoAndGpsfiles({video});

    QVERIFY(QFile::remove(log));
    QVERIFY(setModified(video, QDateTime(QDate(2021, 9, 10), QTime(11, 12))));
    QVERIFY(QFile::rename(video, video + ".old"));

    QCOMPARE(catalogue.GetVideoCount(), 1);
    QCOMPARE(catalogue.GetVideoFileName(0), QStringLiteral("FILE0001.MOV"));
    QCOMPARE(catalogue.GetVideoDate(0), QStringLiteral("2020-05-06"));
    QCOMPARE(catalogue.GetVideoTime(0), QStringLiteral("07:08"));
    QCOMPARE(catalogue.GetGpsFilePath(0), log);
    QCOMPARE(catalogue.GetGpsFileState(0), kAvailable);
}

QTEST_GUILESS_MAIN(TstUVideoAndGpsfiles)
#include "tst_uvideoandgpsfiles.moc"
