// The moment of the picture between libvlc's time reports.

#include "playback/playclock.h"

#include <QTest>

class TestPlayClock : public QObject
{
    Q_OBJECT

private slots:
    void time_data();
    void time();
};

namespace {

// What happens to the clock, one event a row: "r 1000 @500" libvlc reported
// 1000 at 500; "p 1000 @600" paused with libvlc at 1000; "g 1000 @700"
// played on; "j 5000 1000 @800" a seek to 5000 with libvlc still at 1000;
// "s 40 1000" a stepped picture; "f" forgotten.
void apply(PlayClock &clock, const QString &event, double rate)
{
    const QStringList f = event.split(QLatin1Char(' '));
    const auto at = [&](int i) { return f.at(i).mid(1).toLongLong(); };
    if (f[0] == QLatin1String("r"))
        clock.reported(f[1].toLongLong(), at(2));
    else if (f[0] == QLatin1String("p") || f[0] == QLatin1String("g"))
        clock.setRunning(f[0] == QLatin1String("g"), f[1].toLongLong(), at(2), rate);
    else if (f[0] == QLatin1String("j"))
        clock.jumped(f[1].toLongLong(), f[2].toLongLong(), at(3));
    else if (f[0] == QLatin1String("s"))
        clock.stepped(f[1].toLongLong(), f[2].toLongLong());
    else if (f[0] == QLatin1String("f"))
        clock.forget();
}

} // namespace

void TestPlayClock::time_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<double>("rate");
    QTest::addColumn<qint64>("libvlcMs");
    QTest::addColumn<qint64>("atMs");
    QTest::addColumn<qint64>("expected");

    const auto rows = [](std::initializer_list<const char *> each) {
        QStringList list;
        for (const char *event : each)
            list << QLatin1String(event);
        return list;
    };
    QTest::newRow("nothing reported: libvlc's time") << QStringList() << 1.0 << qint64(700) << qint64(900) << qint64(700);
    QTest::newRow("no media yet") << rows({ "r 0 @0" }) << 1.0 << qint64(-1) << qint64(100) << qint64(-1);
    QTest::newRow("runs on between reports") << rows({ "r 1000 @500" }) << 1.0 << qint64(1000) << qint64(730) << qint64(1230);
    QTest::newRow("at twice the speed") << rows({ "r 1000 @500" }) << 2.0 << qint64(1000) << qint64(600) << qint64(1200);
    QTest::newRow("not through a stall") << rows({ "r 1000 @500" }) << 1.0 << qint64(1000) << qint64(5000) << qint64(1400);
    QTest::newRow("a newer time of libvlc's holds") << rows({ "r 1000 @500" }) << 1.0 << qint64(1250) << qint64(760) << qint64(1250);
    QTest::newRow("a pause keeps its moment") << rows({ "r 1000 @500", "p 1000 @700" }) << 1.0 << qint64(1000) << qint64(9000) << qint64(1200);
    QTest::newRow("a pause at half speed") << rows({ "r 1000 @500", "p 1000 @700" }) << 0.5 << qint64(1000) << qint64(9000) << qint64(1100);
    QTest::newRow("play on from the pause, not from the report")
            << rows({ "r 1000 @500", "p 1000 @700", "g 1000 @5000" }) << 1.0 << qint64(1000) << qint64(5100) << qint64(1300);
    QTest::newRow("stepped pictures count") << rows({ "r 1000 @500", "p 1000 @700", "s 40 1000", "s 40 1000" })
                                            << 1.0 << qint64(1000) << qint64(9000) << qint64(1280);
    QTest::newRow("a seek while paused is where it asked")
            << rows({ "r 1000 @500", "p 1000 @700", "j 5000 1000 @800" }) << 1.0 << qint64(1000) << qint64(9000) << qint64(5000);
    QTest::newRow("and libvlc's time once it has moved")
            << rows({ "r 1000 @500", "p 1000 @700", "j 5000 1000 @800" }) << 1.0 << qint64(4990) << qint64(9000) << qint64(4990);
    QTest::newRow("forgotten") << rows({ "r 1000 @500", "p 1000 @700", "f" }) << 1.0 << qint64(1000) << qint64(9000) << qint64(1000);
}

void TestPlayClock::time()
{
    QFETCH(QStringList, events);
    QFETCH(double, rate);
    QFETCH(qint64, libvlcMs);
    QFETCH(qint64, atMs);
    QFETCH(qint64, expected);

    PlayClock clock;
    for (const QString &event : events)
        apply(clock, event, rate);
    QCOMPARE(clock.time(libvlcMs, atMs, rate), expected);
}

QTEST_MAIN(TestPlayClock)

#include "tst_playclock.moc"
