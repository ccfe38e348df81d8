#include "benchfigures.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <iterator>

namespace {

constexpr QSize kArea(640, 360);

// Dark like the splash picture behind the video: near-black with a teal glow.
QImage stillPicture()
{
    QImage image(kArea, QImage::Format_RGB32);
    image.fill(QColor(8, 10, 12));
    QPainter painter(&image);
    painter.fillRect(QRect(0, 150, kArea.width(), 6), QColor(25, 211, 197));
    painter.fillRect(QRect(200, 60, 240, 50), QColor(230, 230, 230));
    return image;
}

// Vertical bars of saturated colours over the top `share` of the area; the
// rest stays as the still picture.
QImage bars(double share)
{
    QImage image = stillPicture();
    const QColor colours[] = { Qt::red, Qt::green, Qt::yellow, Qt::blue, Qt::magenta, Qt::cyan };
    const int width = kArea.width() / int(std::size(colours));
    QPainter painter(&image);
    for (int i = 0; i < int(std::size(colours)); ++i)
        painter.fillRect(QRect(i * width, 0, width + 1, int(kArea.height() * share)), colours[i]);
    return image;
}

QImage flat(const QColor &colour)
{
    QImage image(kArea, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class TestBenchFigures : public QObject
{
    Q_OBJECT

private slots:
    void median_data();
    void median();
    void showsPicture_data();
    void showsPicture();
    void kilobytes_data();
    void kilobytes();
    void parentPid_data();
    void parentPid();
    void processTree_data();
    void processTree();
};

void TestBenchFigures::median_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("expected");
    QTest::newRow("none") << QList<double>() << 0.0;
    QTest::newRow("one") << QList<double> { 7 } << 7.0;
    QTest::newRow("odd count, unsorted") << QList<double> { 900, 210, 480, 330, 2000 } << 480.0;
    QTest::newRow("even count, unsorted") << QList<double> { 40, 10, 30, 20 } << 25.0;
}

void TestBenchFigures::median()
{
    QFETCH(QList<double>, values);
    QFETCH(double, expected);
    QCOMPARE(benchfigures::median(values), expected);
}

void TestBenchFigures::showsPicture_data()
{
    QTest::addColumn<QImage>("now");
    QTest::addColumn<QImage>("before");
    QTest::addColumn<bool>("expected");
    QTest::newRow("still picture unchanged") << stillPicture() << stillPicture() << false;
    QTest::newRow("video surface cleared to black") << flat(Qt::black) << stillPicture() << false;
    QTest::newRow("video surface cleared to grey") << flat(Qt::gray) << stillPicture() << false;
    QTest::newRow("picture over the whole area") << bars(1.0) << stillPicture() << true;
    QTest::newRow("picture over most of the area") << bars(0.8) << stillPicture() << true;
    QTest::newRow("first rows of a picture only") << bars(0.3) << stillPicture() << false;
    QTest::newRow("same picture as before") << bars(1.0) << bars(1.0) << false;
    QTest::newRow("other size than before") << bars(1.0) << stillPicture().scaled(320, 180) << false;
    QTest::newRow("nothing grabbed") << QImage() << stillPicture() << false;
}

void TestBenchFigures::showsPicture()
{
    QFETCH(QImage, now);
    QFETCH(QImage, before);
    QFETCH(bool, expected);
    QCOMPARE(benchfigures::showsPicture(now, before), expected);
}

void TestBenchFigures::kilobytes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<qint64>("expected");
    const QByteArray status = "Name:\tvelmora\nVmPeak:\t 2871232 kB\nVmHWM:\t  401220 kB\n"
                              "VmRSS:\t  382288 kB\nRssAnon:\t  197192 kB\nThreads:\t41\n";
    // smaps_rollup lists Pss_Anon and friends after Pss; a prefix match would take them.
    const QByteArray rollup = "55d0e2a3b000-7ffd1b5fe000 ---p 00000000 00:00 0   [rollup]\n"
                              "Rss:              382288 kB\nPss_Anon:         197192 kB\n"
                              "Pss:              260870 kB\nPss_Dirty:        199000 kB\n";
    QTest::newRow("VmRSS in status") << status << QByteArray("VmRSS") << qint64(382288);
    QTest::newRow("Pss after Pss_Anon") << rollup << QByteArray("Pss") << qint64(260870);
    QTest::newRow("field missing") << status << QByteArray("Pss") << qint64(-1);
    QTest::newRow("field without kB") << status << QByteArray("Threads") << qint64(-1);
    QTest::newRow("empty text, process gone") << QByteArray() << QByteArray("VmRSS") << qint64(-1);
}

void TestBenchFigures::kilobytes()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, field);
    QFETCH(qint64, expected);
    QCOMPARE(benchfigures::kilobytes(text, field), expected);
}

void TestBenchFigures::parentPid_data()
{
    QTest::addColumn<QByteArray>("stat");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("plain name") << QByteArray("11256 (QtWebEngineProc) S 11244 11244 57 0 -1 4194560")
                                << qint64(11244);
    QTest::newRow("name with spaces and brackets")
        << QByteArray("4242 (Web (Content) x) R 4100 4242 57 0 -1") << qint64(4100);
    QTest::newRow("no name") << QByteArray("4242 R 4100") << qint64(-1);
    QTest::newRow("empty, process gone") << QByteArray() << qint64(-1);
}

void TestBenchFigures::parentPid()
{
    QFETCH(QByteArray, stat);
    QFETCH(qint64, expected);
    QCOMPARE(benchfigures::parentPid(stat), expected);
}

void TestBenchFigures::processTree_data()
{
    using Parents = QHash<qint64, qint64>;
    QTest::addColumn<Parents>("parentOf");
    QTest::addColumn<QList<qint64>>("expected");
    // 100 is the program; 1 and 50 are outside its tree.
    const Parents machine { { 1, 0 }, { 50, 1 }, { 100, 50 }, { 101, 100 }, { 102, 100 },
                            { 103, 102 }, { 104, 103 }, { 200, 1 }, { 201, 200 } };
    QTest::newRow("children and grandchildren, not parent or strangers")
        << machine << QList<qint64> { 100, 101, 102, 103, 104 };
    QTest::newRow("alone") << Parents { { 1, 0 }, { 100, 1 }, { 200, 1 } } << QList<qint64> { 100 };
    // A reused pid may name the program as the parent of its own parent.
    QTest::newRow("loop through a reused pid")
        << Parents { { 100, 101 }, { 101, 100 } } << QList<qint64> { 100, 101 };
}

void TestBenchFigures::processTree()
{
    using Parents = QHash<qint64, qint64>;
    QFETCH(Parents, parentOf);
    QFETCH(QList<qint64>, expected);
    QList<qint64> tree = benchfigures::processTree(100, parentOf);
    QCOMPARE(tree.value(0), 100);
    std::sort(tree.begin(), tree.end());
    QCOMPARE(tree, expected);
}

QTEST_GUILESS_MAIN(TestBenchFigures)
#include "tst_benchfigures.moc"
