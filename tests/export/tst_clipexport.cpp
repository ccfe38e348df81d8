#include "export/clipexport.h"
#include "export/rangemarks.h"
#include "testrecordings.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace testrecordings;

namespace {

constexpr int kClipSeconds = 4;
constexpr double kFrameSeconds = 0.04; // 25 frames a second
constexpr double kGopSeconds = 1;      // a key frame every 25 frames

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The checksum of every video packet's bytes, in file order: ffmpeg as the
// independent reader.
QStringList packetSums(const QString &video)
{
    QStringList sums;
    const QStringList lines = run(QStringLiteral("ffmpeg"), { "-v", "error", "-i", video, "-map", "0:v", "-c",
                                                              "copy", "-f", "framemd5", "-" })
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1Char('#')))
            sums << line.section(QLatin1Char(','), -1).trimmed();
    }
    return sums;
}

double durationOf(const QString &video)
{
    return run(QStringLiteral("ffprobe"), { "-v", "error", "-show_entries", "format=duration", "-of",
                                            "csv=p=0", video })
            .toDouble();
}

// Clips with a key frame every second, B-frames and sound, as cameras write.
bool makeCameraClip(const QString &path, const QString &size = QStringLiteral("320x180"))
{
    run(QStringLiteral("ffmpeg"),
        { "-v", "error", "-y", "-f", "lavfi", "-i", QStringLiteral("testsrc2=size=%1:rate=25").arg(size), "-f",
          "lavfi", "-i", "sine", "-t", QString::number(kClipSeconds), "-c:v", "libx264", "-g", "25", "-pix_fmt",
          "yuv420p", "-c:a", "aac", path });
    return QFileInfo(path).size() > 0;
}

} // namespace

class TestClipExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void piecesFollowTheRange_data();
    void piecesFollowTheRange();
    void cutCopiesThePacketsOfTheRange_data();
    void cutCopiesThePacketsOfTheRange();
    void badInputWritesNothing_data();
    void badInputWritesNothing();
    void cancelledCutWritesNothing();
    void captionIsBurntFrameAccurately();
    void fullDiskLeavesNoFile();
    void marksMakeTheRange_data();
    void marksMakeTheRange();

private:
    QTemporaryDir folder;
    QString first;
    QString second;
};

void TestClipExport::initTestCase()
{
    first = folder.filePath(QStringLiteral("FILE0001.MOV"));
    second = folder.filePath(QStringLiteral("FILE0002.MOV"));
    QVERIFY(makeCameraClip(first));
    QVERIFY(makeCameraClip(second));
}

void TestClipExport::piecesFollowTheRange_data()
{
    QTest::addColumn<qint64>("fromMs");
    QTest::addColumn<qint64>("toMs"); // -1: no end mark
    QTest::addColumn<QString>("pieces");
    QTest::addColumn<bool>("fails");

    QTest::newRow("whole drive") << qint64(0) << qint64(-1) << "0:0-4000 1:0-4000" << false;
    QTest::newRow("inside one clip") << qint64(500) << qint64(1500) << "0:500-1500" << false;
    QTest::newRow("across the boundary") << qint64(3000) << qint64(5000) << "0:3000-4000 1:0-1000" << false;
    QTest::newRow("starts at the second clip") << qint64(4000) << qint64(-1) << "1:0-4000" << false;
    QTest::newRow("marks outside move to the ends") << qint64(-2000) << qint64(99000) << "0:0-4000 1:0-4000"
                                                    << false;
    QTest::newRow("reversed") << qint64(3000) << qint64(1000) << "" << true;
    QTest::newRow("empty") << qint64(3000) << qint64(3000) << "" << true;
    QTest::newRow("past the end") << qint64(8000) << qint64(-1) << "" << true;
}

void TestClipExport::piecesFollowTheRange()
{
    QFETCH(qint64, fromMs);
    QFETCH(qint64, toMs);
    ClipRange range{ fromMs, toMs < 0 ? std::nullopt : std::optional<qint64>(toMs) };
    QString error;
    QStringList found;
    for (const ClipPiece &piece : piecesOfRange({ "a", "b" }, { 4000, 4000 }, range, &error))
        found << QStringLiteral("%1:%2-%3").arg(piece.video).arg(piece.fromMs).arg(piece.toMs);
    QTEST(found.join(QLatin1Char(' ')), "pieces");
    QTEST(!error.isEmpty(), "fails");
}

void TestClipExport::cutCopiesThePacketsOfTheRange_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("fromMs");
    QTest::addColumn<qint64>("toMs");
    QTest::addColumn<int>("firstPacket"); // of the two clips' packets, taken one after the other

    // 2.5 s starts at the key frame of 2 s, packet 50; 5.5 s at the second
    // clip's key frame of 1 s, packet 100 + 25.
    QTest::newRow("across two clips, mp4") << "cut.mp4" << qint64(2500) << qint64(6000) << 50;
    QTest::newRow("within the second, mov") << "cut.mov" << qint64(5500) << qint64(7000) << 125;
}

void TestClipExport::cutCopiesThePacketsOfTheRange()
{
    QFETCH(QString, name);
    QFETCH(qint64, fromMs);
    QFETCH(qint64, toMs);
    QFETCH(int, firstPacket);
    const QString cut = folder.filePath(name);
    const ClipExportResult result = exportClip({ first, second }, { fromMs, toMs }, cut);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QVERIFY2(result.note.isEmpty(), qPrintable(result.note));

    const QStringList sums = packetSums(cut);
    const QStringList source = packetSums(first) + packetSums(second);
    QVERIFY(!sums.isEmpty());
    QCOMPARE(sums, source.mid(firstPacket, sums.size()));
    const double range = (toMs - fromMs) / 1000.0;
    const double duration = durationOf(cut);
    QVERIFY2(duration >= range - kFrameSeconds && duration <= range + kGopSeconds,
             qPrintable(QStringLiteral("%1 s for a range of %2 s").arg(duration).arg(range)));
}

void TestClipExport::badInputWritesNothing_data()
{
    QTest::addColumn<QStringList>("videos");
    QTest::addColumn<qint64>("fromMs");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("says");

    const QString notVideo = folder.filePath(QStringLiteral("notes.MOV"));
    writeFile(notVideo, "not a video");
    // Its index first, so that it opens and then runs out of pictures.
    const QString truncated = folder.filePath(QStringLiteral("TRUNC.MOV"));
    run(QStringLiteral("ffmpeg"), { "-v", "error", "-i", first, "-c", "copy", "-movflags", "+faststart", truncated });
    QFile::resize(truncated, QFileInfo(truncated).size() / 2);
    const QString wide = folder.filePath(QStringLiteral("WIDE.MOV"));
    makeCameraClip(wide, QStringLiteral("640x360"));
    const QString out = QStringLiteral("bad/cut.mp4");

    QTest::newRow("missing video") << QStringList{ first, folder.filePath("GONE.MOV") } << qint64(0) << out
                                   << "file not found";
    QTest::newRow("not a video") << QStringList{ notVideo } << qint64(0) << out << "notes.MOV";
    QTest::newRow("truncated video") << QStringList{ truncated } << qint64(0) << out << "TRUNC.MOV ends early";
    QTest::newRow("other picture size") << QStringList{ first, wide } << qint64(0) << out << "WIDE.MOV";
    QTest::newRow("start past the end") << QStringList{ first } << qint64(9000) << out << "after the end";
    QTest::newRow("neither mp4 nor mov") << QStringList{ first } << qint64(0) << "bad/cut.avi" << ".mp4 or .mov";
    QTest::newRow("onto its own source") << QStringList{ first } << qint64(0) << "FILE0001.MOV"
                                         << "one of the videos";
    QTest::newRow("unwritable folder") << QStringList{ first } << qint64(0) << "/proc/cut.mp4" << "cannot write";
}

void TestClipExport::badInputWritesNothing()
{
    QFETCH(QStringList, videos);
    QFETCH(qint64, fromMs);
    QFETCH(QString, out);
    QFETCH(QString, says);
    QDir(folder.path()).mkpath(QStringLiteral("bad"));
    const QString path = QDir(folder.path()).absoluteFilePath(out);
    const qint64 sizeBefore = QFileInfo(path).size();
    const ClipExportResult result = exportClip(videos, { fromMs, std::nullopt }, path);
    QVERIFY2(result.error.contains(says), qPrintable(result.error));
    QCOMPARE(QFileInfo(path).size(), sizeBefore); // a source stays whole
    QCOMPARE(QDir(folder.filePath(QStringLiteral("bad"))).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestClipExport::cancelledCutWritesNothing()
{
    QTemporaryDir out;
    ClipExportControl control;
    QList<double> progress;
    control.progress = [&](double fraction) {
        progress << fraction;
        control.cancelled = fraction > 0.3;
    };
    const ClipExportResult result = exportClip({ first, second }, {}, out.filePath(QStringLiteral("cut.mp4")), &control);
    QCOMPARE(result.error, QStringLiteral("cancelled"));
    QVERIFY(!progress.isEmpty() && progress.last() < 1);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// Every picture from the first at or after the start to the last before the
// end, each with the caption of its own moment over its bottom rows.
void TestClipExport::captionIsBurntFrameAccurately()
{
    QStringList asked;
    const CaptionLine caption = [&](int video, qint64 ms) {
        asked << QStringLiteral("%1:%2").arg(video).arg(ms);
        return QStringLiteral("caption");
    };
    const QString cut = folder.filePath(QStringLiteral("captioned.mp4"));
    const ClipExportResult result = exportClip({ first, second }, { 2500, 6000 }, cut, nullptr, caption);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    // 2.52 s is the first picture at or after 2.5 s; 1.96 s of the second clip the last before 6 s.
    QCOMPARE(asked.size(), 87);
    QCOMPARE(asked.first(), QStringLiteral("0:2520"));
    QCOMPARE(asked.last(), QStringLiteral("1:1960"));
    QCOMPARE(packetSums(cut).size(), 87);

    const QString still = folder.filePath(QStringLiteral("still.png"));
    run(QStringLiteral("ffmpeg"), { "-v", "error", "-y", "-i", cut, "-frames:v", "1", still });
    const QImage picture(still);
    QVERIFY(!picture.isNull());
    QVERIFY(qGray(picture.pixel(1, picture.height() - 2)) < 40); // the strip's black edge
    QVERIFY(qGray(picture.pixel(1, 1)) > 40);                     // testsrc2's picture above it
}

// A file size limit fails the writes as a full disk does.
void TestClipExport::fullDiskLeavesNoFile()
{
    QTemporaryDir out;
    QProcess program;
    program.start(QStringLiteral("sh"), { "-c", "trap '' XFSZ; ulimit -f 16; exec \"$0\" --export-clip \"$1\" \"$2\"",
                                          QStringLiteral(VELMORA_PROGRAM), out.filePath(QStringLiteral("cut.mp4")),
                                          first });
    QVERIFY(program.waitForFinished(60000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(program.exitCode() == 1 && err.startsWith(QLatin1String("velmora: cannot write")), qPrintable(err));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestClipExport::marksMakeTheRange_data()
{
    QTest::addColumn<QList<DriveMark>>("starts");
    QTest::addColumn<QList<DriveMark>>("ends"); // set after the starts
    QTest::addColumn<QString>("pieces");        // of three clips
    QTest::addColumn<QString>("spans");         // of each clip 4 s long, as percentages

    QTest::newRow("no marks: the whole drive") << QList<DriveMark>{} << QList<DriveMark>{}
                                               << "0:0-end 1:0-end 2:0-end" << "- - -";
    QTest::newRow("start only") << QList<DriveMark>{ { 1, 1000 } } << QList<DriveMark>{} << "1:1000-end 2:0-end"
                                << "- 25-100 0-100";
    QTest::newRow("across a boundary") << QList<DriveMark>{ { 0, 3000 } } << QList<DriveMark>{ { 1, 2000 } }
                                       << "0:3000-end 1:0-2000" << "75-100 0-50 -";
    QTest::newRow("in one clip") << QList<DriveMark>{ { 2, 1000 } } << QList<DriveMark>{ { 2, 3000 } } << "2:1000-3000"
                                 << "- - 25-75";
    QTest::newRow("an end before the start clears the start")
            << QList<DriveMark>{ { 1, 3000 } } << QList<DriveMark>{ { 1, 1000 } } << "0:0-end 1:0-1000"
            << "0-100 0-25 -";
}

void TestClipExport::marksMakeTheRange()
{
    QFETCH(QList<DriveMark>, starts);
    QFETCH(QList<DriveMark>, ends);
    RangeMarks marks;
    for (const DriveMark &mark : starts)
        marks.setStart(mark);
    for (const DriveMark &mark : ends)
        marks.setEnd(mark);
    QStringList pieces;
    for (const ClipPiece &piece : marks.clipPieces({ "a", "b", "c" }))
        pieces << QStringLiteral("%1:%2-%3").arg(piece.video).arg(piece.fromMs).arg(
                piece.toMs > 3600000 ? QStringLiteral("end") : QString::number(piece.toMs));
    QTEST(pieces.join(QLatin1Char(' ')), "pieces");
    QStringList spans;
    for (int clip = 0; clip < 3; ++clip) {
        const auto span = marks.spanOfClip(clip, 4000);
        spans << (span ? QStringLiteral("%1-%2").arg(span->first * 100).arg(span->second * 100) : QStringLiteral("-"));
    }
    QTEST(spans.join(QLatin1Char(' ')), "spans");
}

QTEST_MAIN(TestClipExport)
#include "tst_clipexport.moc"
