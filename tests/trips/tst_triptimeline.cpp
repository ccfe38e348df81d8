// A trip laid out as one drive: where each clip starts, which clip plays a
// second, and the log of every second, from real drive logs cut into clips.

#include "trips/triptimeline.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Lines [from, from + count) of the real hour-long drive.
QByteArray driveLines(int from, int count)
{
    QFile drive(QFINDTESTDATA(QStringLiteral("../data/real-drives/gps0002.log")));
    if (!drive.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = drive.readAll().split('\n');
    return lines.mid(from, count).join('\n') + '\n';
}

} // namespace

class TstTripTimeline : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void forgetRecording();

private:
    QTemporaryDir folder;
};

// A clip: "<log lines>/<video seconds>", "-" for no log, "?" for an unknown length.
void TstTripTimeline::layout_data()
{
    QTest::addColumn<QStringList>("clips");
    QTest::addColumn<QList<int>>("offsets");
    QTest::addColumn<int>("seconds");

    QTest::newRow("lengths known") << QStringList{ "10/10", "10/10", "10/10" } << QList<int>{ 0, 10, 20 } << 30;
    QTest::newRow("log longer than video") << QStringList{ "12/10", "10/10" } << QList<int>{ 0, 10 } << 20;
    QTest::newRow("log shorter than video") << QStringList{ "5/10", "10/10" } << QList<int>{ 0, 10 } << 20;
    QTest::newRow("clip without log") << QStringList{ "10/10", "-/7", "10/10" } << QList<int>{ 0, 10, 17 } << 27;
    QTest::newRow("length unknown: the log's") << QStringList{ "8/?", "10/10" } << QList<int>{ 0, 8 } << 18;
    QTest::newRow("nothing known: one second") << QStringList{ "-/?", "10/10" } << QList<int>{ 0, 1 } << 11;
}

void TstTripTimeline::layout()
{
    QFETCH(QStringList, clips);
    QFETCH(QList<int>, offsets);
    QFETCH(int, seconds);

    Trip trip;
    int driveLine = 0;
    for (int i = 0; i < clips.size(); ++i) {
        const QStringList parts = clips.at(i).split(QLatin1Char('/'));
        TripClip clip;
        clip.index = 40 + i;
        clip.durationMs = parts.at(1) == QLatin1String("?") ? -1 : parts.at(1).toInt() * 1000;
        if (parts.at(0) != QLatin1String("-")) {
            clip.logPath = folder.filePath(QStringLiteral("%1-%2.log").arg(QTest::currentDataTag()).arg(i));
            QFile log(clip.logPath);
            QVERIFY(log.open(QIODevice::WriteOnly));
            log.write(driveLines(driveLine, parts.at(0).toInt()));
        }
        driveLine += parts.at(0).toInt();
        trip.clips << clip;
    }

    const TripTimeline timeline(trip);
    QCOMPARE(timeline.seconds(), seconds);
    QCOMPARE(timeline.records().size(), seconds);
    for (int position = 0; position < offsets.size(); ++position) {
        QCOMPARE(timeline.offsetOf(position), offsets.at(position));
        QCOMPARE(timeline.positionOf(40 + position), position);
        QCOMPARE(timeline.positionAtSecond(offsets.at(position)), position);
        if (offsets.at(position) > 0)
            QCOMPARE(timeline.positionAtSecond(offsets.at(position) - 1), position - 1);
    }
    QCOMPARE(timeline.positionAtSecond(seconds + 100), clips.size() - 1);
    QCOMPARE(timeline.positionOf(39), -1);

    // Second k of a clip is line k of its log; seconds it lacks have no fix.
    GpsLogData log;
    for (int position = 0; position < clips.size(); ++position) {
        const TripClip &clip = timeline.clip(position);
        log.ClearGpsLog();
        if (!clip.logPath.isEmpty())
            log.LoadGpsLog(clip.logPath);
        const int end = position + 1 < offsets.size() ? offsets.at(position + 1) : seconds;
        for (int second = offsets.at(position); second < end; ++second) {
            const int line = second - offsets.at(position);
            const GpsLogRecord record = timeline.records().at(second);
            QCOMPARE(record.dataAvailable, line < log.records.size() && log.records.at(line).dataAvailable);
            if (record.dataAvailable)
                QCOMPARE(record.time, log.records.at(line).time);
        }
    }
}

// Deleting a recording takes its clip out and moves the later indices down,
// as the catalogue does; the trip's seconds stay, so the route stays too.
void TstTripTimeline::forgetRecording()
{
    Trip trip;
    for (const int index : { 3, 5, 9 })
        trip.clips << TripClip{ index, QString(), QString(), 0, 0, 4000 };
    TripTimeline timeline(trip);
    timeline.forgetRecording(5);
    QCOMPARE(timeline.positionOf(3), 0);
    QCOMPARE(timeline.positionOf(5), -1);
    QCOMPARE(timeline.clip(1).index, -1);
    QCOMPARE(timeline.positionOf(8), 2);
    QCOMPARE(timeline.seconds(), 12);
    timeline.forgetRecording(1);
    QCOMPARE(timeline.positionOf(2), 0);
    QCOMPARE(timeline.positionOf(-1), -1);
}

QTEST_GUILESS_MAIN(TstTripTimeline)
#include "tst_triptimeline.moc"
