#include "catalogue/uvideoandgpsfiles.h"
#include "export/trackexport.h"
#include "testrecordings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>

using namespace testrecordings;

namespace {

constexpr double kNoMark = -1;

// What a reader finds in a GPX file.
struct GpxSummary
{
    int points = 0;
    int segments = 0;
    int speeds = 0; // in the program's namespace
    QString firstTime;
    QString lastTime;
    QString error;
};

GpxSummary readGpx(const QString &path)
{
    GpxSummary summary;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        summary.error = file.errorString();
        return summary;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("trkseg"))
            ++summary.segments;
        else if (xml.name() == QLatin1String("trkpt"))
            ++summary.points;
        else if (xml.name() == QLatin1String("speed") && xml.namespaceUri() == QLatin1String(kVelmoraGpxNamespace))
            ++summary.speeds;
        else if (xml.name() == QLatin1String("time")) {
            summary.lastTime = xml.readElementText();
            if (summary.firstTime.isEmpty())
                summary.firstTime = summary.lastTime;
        }
    }
    if (xml.hasError())
        summary.error = xml.errorString();
    return summary;
}

QStringList csvRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList rows = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return rows.mid(1);
}

QString utc(const QString &hhmmss)
{
    return QStringLiteral("2010-04-03T%1Z").arg(hhmmss);
}

} // namespace

class TestTrackExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportsRange_data();
    void exportsRange();
    void refusesWithoutFile_data();
    void refusesWithoutFile();
    void gpxPassesSchemaAndReadsBack();
    void program_data();
    void program();

private:
    // The real drive cut into clips of `lengths` lines on a fresh card.
    QStringList cardOfClips(const QList<int> &lengths);
    Trip tripOf(const QStringList &videos) const;

    QTemporaryDir folder;
    QString clip;
    QList<QByteArray> driveLines;
    int cards = 0;
};

void TestTrackExport::initTestCase()
{
    QVERIFY(folder.isValid());
    clip = folder.filePath(QStringLiteral("clip.mov"));
    QVERIFY(makeClip(clip, 1));
    QFile drive(QFINDTESTDATA(QStringLiteral("../data/real-drives/gps0002.log")));
    QVERIFY(drive.open(QIODevice::ReadOnly));
    driveLines = drive.readAll().split('\n');
    QCOMPARE(driveLines.size(), 3601); // 3600 lines, each ending in a newline
}

QStringList TestTrackExport::cardOfClips(const QList<int> &lengths)
{
    const QString card = folder.filePath(QStringLiteral("card%1").arg(++cards));
    QStringList videos;
    int line = 0;
    for (const int length : lengths) {
        const QString name = QStringLiteral("FILE%1.MOV").arg(101 + videos.size(), 4, 10, QLatin1Char('0'));
        const QString video = cardVideo(card, name);
        if (!copyFile(clip, video)
            || !writeFile(cardLog(card, name), driveLines.mid(line, length).join('\n') + '\n'))
            return {};
        line += length;
        videos << video;
    }
    return videos;
}

Trip TestTrackExport::tripOf(const QStringList &videos) const
{
    Trip trip;
    for (const QString &video : videos)
        trip.clips << TripClip{ int(trip.clips.size()), video, UVideoAndGpsfiles::describeVideo(video)->gpsFilePath, 0, 0, -1 };
    return trip;
}

void TestTrackExport::exportsRange_data()
{
    QTest::addColumn<QList<int>>("clips");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("segments");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");

    const QList<int> three{ 300, 600, 2700 };
    // Lines 301 to 334 of the drive have no fix.
    QTest::newRow("one clip, whole") << QList<int>{ 3600 } << 0.0 << kNoMark << 3301 << 1 << utc("12:52:25") << utc("13:52:24");
    QTest::newRow("three clips, whole") << three << 0.0 << kNoMark << 3301 << 3 << utc("12:52:25") << utc("13:52:24");
    QTest::newRow("inside a clip") << three << 10.0 << 20.0 << 10 << 1 << utc("12:52:35") << utc("12:52:44");
    QTest::newRow("fractional marks take the seconds they touch") << three << 10.5 << 19.2 << 10 << 1 << utc("12:52:35") << utc("12:52:44");
    QTest::newRow("across two clips") << three << 880.0 << 920.0 << 40 << 2 << utc("13:07:05") << utc("13:07:44");
    QTest::newRow("fixes end where the range enters a gap") << three << 295.0 << 334.0 << 5 << 1 << utc("12:57:20") << utc("12:57:24");
    QTest::newRow("marks past both ends") << three << -50.0 << 99999.0 << 3301 << 3 << utc("12:52:25") << utc("13:52:24");
}

void TestTrackExport::exportsRange()
{
    QFETCH(QList<int>, clips);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(int, points);
    QFETCH(int, segments);
    QFETCH(QString, first);
    QFETCH(QString, last);

    const QStringList videos = cardOfClips(clips);
    QVERIFY(!videos.isEmpty());
    const TripTimeline timeline(tripOf(videos));
    TrackRange range{ from, to == kNoMark ? std::nullopt : std::optional<double>(to) };
    const QString gpx = folder.filePath(QStringLiteral("range.gpx"));
    const QString csv = folder.filePath(QStringLiteral("range.csv"));
    QCOMPARE(exportTrack(timeline, range, TrackFormat::Gpx, gpx, QStringLiteral("drive")), QString());
    QCOMPARE(exportTrack(timeline, range, TrackFormat::Csv, csv, QStringLiteral("drive")), QString());

    const GpxSummary summary = readGpx(gpx);
    QVERIFY2(summary.error.isEmpty(), qPrintable(summary.error));
    QCOMPARE(summary.points, points);
    QCOMPARE(summary.speeds, points);
    QCOMPARE(summary.segments, segments);
    QCOMPARE(summary.firstTime, first);
    QCOMPARE(summary.lastTime, last);

    const QStringList rows = csvRows(csv);
    QCOMPARE(rows.size(), points);
    QVERIFY2(rows.first().startsWith(first + ',') && rows.last().startsWith(last + ','), qPrintable(rows.first()));
    QCOMPARE(rows.first().split(QLatin1Char(',')).size(), 7);

    // In miles an hour the header says so, and each speed is the km/h one
    // converted (to the hundredth the km/h figure is rounded to).
    const QString mph = folder.filePath(QStringLiteral("range-mph.csv"));
    QCOMPARE(exportTrack(timeline, range, TrackFormat::Csv, mph, QStringLiteral("drive"), SpeedUnit::Mph), QString());
    QFile file(mph);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readLine().contains(",speed_mph,"));
    const QStringList inMiles = csvRows(mph);
    QCOMPARE(inMiles.size(), points);
    const double kmh = rows.last().section(QLatin1Char(','), 3, 3).toDouble();
    QVERIFY(qAbs(inMiles.last().section(QLatin1Char(','), 3, 3).toDouble() - speedIn(SpeedUnit::Mph, kmh)) < 0.01);
}

void TestTrackExport::refusesWithoutFile_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<bool>("folderIsAFile");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("clockOffset");

    QTest::newRow("reversed marks") << 20.0 << 10.0 << false << "the range ends" << 0;
    // The offset moves both marks: their order stays.
    QTest::newRow("reversed, the log ahead") << 5.0 << 3.0 << false << "the range ends" << 5;
    QTest::newRow("the log behind, before its start") << 2.0 << 4.0 << false << "nothing to export" << -5;
    QTest::newRow("no fix in the range") << 300.0 << 334.0 << false << "nothing to export" << 0;
    QTest::newRow("range past the end") << 5000.0 << 6000.0 << false << "nothing to export" << 0;
    QTest::newRow("empty range") << 10.0 << 10.0 << false << "nothing to export" << 0;
    QTest::newRow("folder cannot be written") << 0.0 << kNoMark << true << "cannot write" << 0;
}

void TestTrackExport::refusesWithoutFile()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(bool, folderIsAFile);
    QFETCH(QString, error);
    QFETCH(int, clockOffset);

    const QStringList videos = cardOfClips({ 300, 600, 2700 });
    QVERIFY(!videos.isEmpty());
    const TripTimeline timeline(tripOf(videos));
    TrackRange range{ from, to == kNoMark ? std::nullopt : std::optional<double>(to), clockOffset };
    // A file already there stays as it was; root can write anywhere, so the
    // folder that cannot be written is a file.
    QTemporaryDir target;
    const QString folderFile = target.filePath(QStringLiteral("not-a-folder"));
    QVERIFY(writeFile(folderFile, "old"));
    const QString path = folderIsAFile ? folderFile + QStringLiteral("/track.gpx") : folderFile;
    for (const TrackFormat format : { TrackFormat::Gpx, TrackFormat::Csv }) {
        const QString problem = exportTrack(timeline, range, format, path, QStringLiteral("drive"));
        QVERIFY2(problem.startsWith(error) && !problem.contains(QLatin1Char('\n')), qPrintable(problem));
        QFile old(folderFile);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
    }
}

// Another program's reader, not ours, sees the same points as the CSV export.
void TestTrackExport::gpxPassesSchemaAndReadsBack()
{
    const QStringList videos = cardOfClips({ 300, 600, 2700 });
    QVERIFY(!videos.isEmpty());
    const TripTimeline timeline(tripOf(videos));
    const QString gpx = folder.filePath(QStringLiteral("whole.gpx"));
    const QString csv = folder.filePath(QStringLiteral("whole.csv"));
    QCOMPARE(exportTrack(timeline, {}, TrackFormat::Gpx, gpx, QStringLiteral("<drive & more>")), QString());
    QCOMPARE(exportTrack(timeline, {}, TrackFormat::Csv, csv, QStringLiteral("drive")), QString());
    const QStringList rows = csvRows(csv);
    // 4628.5479 N, 00651.7063 E; the log reader keeps five decimals of a degree.
    const QStringList start = rows.first().split(QLatin1Char(','));
    QVERIFY2(start.at(0) == utc("12:52:25") && std::abs(start.at(1).toDouble() - 46.4757983) < 1e-5
                     && std::abs(start.at(2).toDouble() - 6.8617717) < 1e-5,
             qPrintable(rows.first()));

    if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        QSKIP("xmllint is not installed (tools/install-deps.sh)");
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"), { QStringLiteral("--noout"), QStringLiteral("--schema"),
                                               QFINDTESTDATA(QStringLiteral("../data/gpx11.xsd")), gpx });
    QVERIFY(xmllint.waitForFinished(60000));
    QVERIFY2(xmllint.exitCode() == 0, xmllint.readAllStandardError().constData());

    if (QStandardPaths::findExecutable(QStringLiteral("gpsbabel")).isEmpty())
        QSKIP("gpsbabel is not installed (tools/install-deps.sh)");
    QProcess gpsbabel;
    gpsbabel.start(QStringLiteral("gpsbabel"), { QStringLiteral("-t"), QStringLiteral("-i"), QStringLiteral("gpx"),
                                                 QStringLiteral("-f"), gpx, QStringLiteral("-o"),
                                                 QStringLiteral("unicsv,utc=0"), QStringLiteral("-F"), QStringLiteral("-") });
    QVERIFY(gpsbabel.waitForFinished(60000));
    QVERIFY2(gpsbabel.exitCode() == 0, gpsbabel.readAllStandardError().constData());
    QStringList read = QString::fromUtf8(gpsbabel.readAllStandardOutput()).remove(QLatin1Char('\r')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(read.takeFirst(), QStringLiteral("No,Latitude,Longitude,Date,Time"));
    QCOMPARE(read.size(), rows.size());
    for (int k = 0; k < rows.size(); ++k) {
        const QStringList ours = rows.at(k).split(QLatin1Char(','));
        const QStringList theirs = read.at(k).split(QLatin1Char(','));
        const QString theirTime = QStringLiteral("%1T%2Z").arg(theirs.at(3)).arg(theirs.at(4)).replace(QLatin1Char('/'), QLatin1Char('-'));
        QVERIFY2(theirTime == ours.at(0) && std::abs(theirs.at(1).toDouble() - ours.at(1).toDouble()) < 1e-6
                         && std::abs(theirs.at(2).toDouble() - ours.at(2).toDouble()) < 1e-6,
                 qPrintable(QStringLiteral("point %1: %2 read back as %3").arg(k).arg(rows.at(k), read.at(k))));
    }
}

void TestTrackExport::program_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("two clips to GPX") << QStringList{ "--export-gpx", "OUT", "V1", "V2" } << 0;
    QTest::newRow("CSV of a range") << QStringList{ "--export-csv", "OUT", "--from", "10", "--to=20", "V1" } << 0;
    QTest::newRow("video without a log") << QStringList{ "--export-gpx", "OUT", "NOLOG" } << 1;
    QTest::newRow("no fix in the range") << QStringList{ "--export-gpx", "OUT", "--from", "300", "--to", "334", "V1", "V2" } << 1;
    QTest::newRow("reversed marks") << QStringList{ "--export-csv", "OUT", "--from", "20", "--to", "10", "V1" } << 1;
    QTest::newRow("mark that is no number") << QStringList{ "--export-gpx", "OUT", "--from", "ten", "V1" } << 2;
    QTest::newRow("no video") << QStringList{ "--export-gpx", "OUT" } << 2;
    QTest::newRow("two clips cut") << QStringList{ "--export-clip", "OUT.mp4", "V1", "V2" } << 0;
    QTest::newRow("caption burnt in, offscreen") << QStringList{ "--export-clip", "OUT.mp4", "--burn-in", "--from", "0.5", "V1", "V2" } << 0;
    QTest::newRow("cut past the end") << QStringList{ "--export-clip", "OUT.mp4", "--from", "5", "V1" } << 1;
    QTest::newRow("burn-in without a cut") << QStringList{ "--burn-in", "--export-gpx", "OUT", "V1" } << 2;
}

void TestTrackExport::program()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);

    const QStringList videos = cardOfClips({ 300, 600 });
    QVERIFY(!videos.isEmpty());
    const QString noLog = folder.filePath(QStringLiteral("elsewhere/FILE0900.MOV"));
    QVERIFY(copyFile(clip, noLog) || QFileInfo::exists(noLog));
    QTemporaryDir target;
    const QString out = target.filePath(QStringLiteral("track"));
    arguments.replaceInStrings(QStringLiteral("OUT"), out);
    arguments.replaceInStrings(QStringLiteral("NOLOG"), noLog);
    arguments.replaceInStrings(QStringLiteral("V1"), videos.at(0));
    arguments.replaceInStrings(QStringLiteral("V2"), videos.at(1));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VELMORA_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(60000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(program.exitCode() == exitCode, qPrintable(err));
    QCOMPARE(QFileInfo::exists(arguments.filter(out).value(0)), exitCode == 0);
    if (exitCode == 0)
        QVERIFY2(err.isEmpty(), qPrintable(err));
    else
        QVERIFY2(err.count(QLatin1Char('\n')) == 1 && err.startsWith(QLatin1String("velmora: ")), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestTrackExport)
#include "tst_trackexport.moc"
