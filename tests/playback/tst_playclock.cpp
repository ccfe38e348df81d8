// The moment of the picture between libvlc's time reports.

#include "playback/playclock.h"

#include <QRegularExpression>
#include <QTest>

class TestPlayClock : public QObject
{
    Q_OBJECT

private slots:
    void time_data();
    void time();
};

// Events, one a word: "r1000@500" libvlc reported 1000 at 500; "p1000@700"
// paused, libvlc at 1000; "g1000@700" played on; "j5000/1000@800" a seek to
// 5000, libvlc still at 1000; "s40/1000" a stepped picture; "f" forgotten.
// Then libvlc's time and the moment asked about.
void TestPlayClock::time_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<double>("rate");
    QTest::addColumn<qint64>("libvlcMs");
    QTest::addColumn<qint64>("atMs");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("nothing reported") << "" << 1.0 << qint64(700) << qint64(900) << qint64(700);
    QTest::newRow("no media") << "r0@0" << 1.0 << qint64(-1) << qint64(100) << qint64(-1);
    QTest::newRow("runs on") << "r1000@500" << 1.0 << qint64(1000) << qint64(730) << qint64(1230);
    QTest::newRow("not through a stall") << "r1000@500" << 1.0 << qint64(1000) << qint64(5000) << qint64(1400);
    QTest::newRow("libvlc moved on") << "r1000@500" << 1.0 << qint64(1250) << qint64(760) << qint64(1250);
    QTest::newRow("a pause keeps its moment") << "r1000@500 p1000@700" << 1.0 << qint64(1000) << qint64(9000)
                                              << qint64(1200);
    QTest::newRow("at half speed") << "r1000@500 p1000@700" << 0.5 << qint64(1000) << qint64(9000) << qint64(1100);
    QTest::newRow("plays on from the pause") << "r1000@500 p1000@700 g1000@5000" << 1.0 << qint64(1000)
                                             << qint64(5100) << qint64(1300);
    QTest::newRow("steps") << "r1000@500 p1000@700 s40/1000 s40/1000" << 1.0 << qint64(1000) << qint64(9000)
                           << qint64(1280);
    QTest::newRow("seek while paused") << "r1000@500 p1000@700 j5000/1000@800" << 1.0 << qint64(1000)
                                       << qint64(9000) << qint64(5000);
    QTest::newRow("forgotten") << "r1000@500 p1000@700 f" << 1.0 << qint64(1000) << qint64(9000) << qint64(1000);
}

void TestPlayClock::time()
{
    QFETCH(QString, events);
    QFETCH(double, rate);
    PlayClock clock;
    for (const QString &event : events.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList n = event.mid(1).split(QRegularExpression(QStringLiteral("[@/]")));
        const auto at = [&](int i) { return n.value(i).toLongLong(); };
        switch (event.at(0).toLatin1()) {
        case 'r': clock.reported(at(0), at(1)); break;
        case 'p': clock.setRunning(false, at(0), at(1), rate); break;
        case 'g': clock.setRunning(true, at(0), at(1), rate); break;
        case 'j': clock.jumped(at(0), at(1), at(2)); break;
        case 's': clock.stepped(at(0), at(1)); break;
        default: clock.forget();
        }
    }
    QFETCH(qint64, libvlcMs);
    QFETCH(qint64, atMs);
    QTEST(clock.time(libvlcMs, atMs, rate), "expected");
}

QTEST_MAIN(TestPlayClock)

#include "tst_playclock.moc"
