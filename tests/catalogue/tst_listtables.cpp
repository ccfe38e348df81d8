// The two paged list tables, driven through their buttons and cells.

#include "testwindow.h"

#include "catalogue/uvideoandgpsfiles.h"
#include "playback/uvlcwrapper.h"

#include <QApplication>
#include <QLabel>
#include <QMetaEnum>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using namespace testrecordings;

namespace {

constexpr int kMostEntries = 23;

enum Side { Left, Right, Neither, Both };

} // namespace

Q_DECLARE_METATYPE(Side)

class TestListTables : public QObject, private TestWindow
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void paging_data();
    void paging();
    void deleting_data();
    void deleting();
    void highlight_data();
    void highlight();
    void clicks_data();
    void clicks();
    void doubleClickOnBlankRowStartsNothing();

private:
    void importEntries(int count);
    void press(const char *button);
    void click(Side side, int row, bool twice = false);
    QTableWidget *table(Side side) const;
    QStringList shownNames() const;
    QStringList catalogueNames(int from, int to) const;
    int currentPage() const { return probe->status()->currentPage; }

    QTemporaryDir card;
    QStringList videos;
};

void TestListTables::initTestCase()
{
    const QString clip = card.filePath(QStringLiteral("clip.MOV"));
    QVERIFY2(makeClip(clip), "ffmpeg could not make a clip");
    for (int i = 1; i <= kMostEntries; ++i) {
        const QString name = QStringLiteral("FILE%1.MOV").arg(i, 4, 10, QLatin1Char('0'));
        videos << cardVideo(card.path(), name);
        QVERIFY(copyFile(clip, videos.last()));
    }
}

void TestListTables::init()
{
    QVERIFY(open());
}

void TestListTables::cleanup()
{
    close();
}

void TestListTables::importEntries(int count)
{
    window->importVideos(videos.mid(0, count));
    QCOMPARE(probe->catalogue()->GetVideoCount(), count);
}

void TestListTables::press(const char *button)
{
    window->findChild<QPushButton *>(QLatin1String(button))->click();
}

void TestListTables::click(Side side, int row, bool twice)
{
    QTableWidget *list = table(side);
    const QPoint at = list->visualItemRect(list->item(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    // A view takes a double click only on the item its first click pressed.
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QTableWidget *TestListTables::table(Side side) const
{
    return side == Right ? probe->videoListRight() : probe->videoListLeft();
}

// The name column of the left table's rows, then the right table's.
QStringList TestListTables::shownNames() const
{
    QStringList names;
    for (QTableWidget *list : { probe->videoListLeft(), probe->videoListRight() })
        for (int row = 0; row < list->rowCount(); ++row)
            names << list->item(row, 0)->text();
    return names;
}

// Entries from..to-1 as the tables show them, blank beyond the catalogue.
QStringList TestListTables::catalogueNames(int from, int to) const
{
    QStringList names;
    for (int i = from; i < to; ++i)
        names << probe->catalogue()->GetVideoFileName(i);
    return names;
}

void TestListTables::paging_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QByteArrayList>("presses");
    QTest::addColumn<int>("page");

    const QByteArray next = "VideoListNextPage";
    const QByteArray previous = "VideoListPrePage";
    QTest::newRow("0: next") << 0 << QByteArrayList{ next } << 0;
    QTest::newRow("0: previous") << 0 << QByteArrayList{ previous } << 0;
    QTest::newRow("10: next") << 10 << QByteArrayList{ next } << 0;
    QTest::newRow("11: next") << 11 << QByteArrayList{ next } << 1;
    QTest::newRow("11: next twice") << 11 << QByteArrayList{ next, next } << 1;
    QTest::newRow("23: next three times") << 23 << QByteArrayList{ next, next, next } << 2;
    QTest::newRow("23: next, next, previous") << 23 << QByteArrayList{ next, next, previous } << 1;
    // A thousand recordings take no hundred clicks.
    QTest::newRow("23: End") << 23 << QByteArrayList{ "key End" } << 2;
    QTest::newRow("23: End, Home") << 23 << QByteArrayList{ "key End", "key Home" } << 0;
    QTest::newRow("23: PageDown, PageUp, PageDown")
            << 23 << QByteArrayList{ "key PageDown", "key PageUp", "key PageDown" } << 1;
    QTest::newRow("23: wheel down twice") << 23 << QByteArrayList{ "wheel -120", "wheel -120" } << 2;
    QTest::newRow("23: wheel down, up") << 23 << QByteArrayList{ "wheel -120", "wheel 120" } << 0;
    QTest::newRow("23: half a notch twice") << 23 << QByteArrayList{ "wheel -60", "wheel -60" } << 1;
}

void TestListTables::paging()
{
    QFETCH(int, entries);
    QFETCH(QByteArrayList, presses);
    QFETCH(int, page);

    importEntries(entries);
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    for (const QByteArray &button : presses) {
        const QList<QByteArray> words = button.split(' ');
        if (words.first() == "key") {
            const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
            QTest::keyClick(window.get(), Qt::Key(keys.keyToValue("Key_" + words.last())));
        } else if (words.first() == "wheel") {
            QWidget *over = probe->videoListLeft()->viewport();
            const QPointF at = over->rect().center();
            QWheelEvent wheel(at, over->mapToGlobal(at), {}, QPoint(0, words.last().toInt()),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(over, &wheel);
        } else {
            press(button.constData());
        }
    }
    QCOMPARE(currentPage(), page);
    const QString recordings = entries == 1 ? QStringLiteral("1 recording")
                                            : QStringLiteral("%1 recordings").arg(entries);
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("VideoListPage"))->text(),
             QStringLiteral("page %1 of %2 · %3").arg(page + 1).arg(qMax(1, (entries + 9) / 10)).arg(recordings));
    QCOMPARE(shownNames(), catalogueNames(10 * page, 10 * page + 10));
    // Every shown entry has all four cells, every blank row none.
    for (Side side : { Left, Right }) {
        for (int row = 0; row < 5; ++row) {
            const bool shown = !table(side)->item(row, 0)->text().isEmpty();
            for (int column = 1; column < 4; ++column)
                QCOMPARE(!table(side)->item(row, column)->text().isEmpty(), shown);
        }
        QCOMPARE(table(side)->currentRow(), -1);
    }
}

void TestListTables::deleting_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("nextPresses");
    QTest::addColumn<Side>("side");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("deleted"); // -1: none
    QTest::addColumn<int>("page");

    QTest::newRow("0: nothing selected") << 0 << 0 << Neither << 0 << -1 << 0;
    QTest::newRow("10: nothing selected") << 10 << 0 << Neither << 0 << -1 << 0;
    QTest::newRow("10: right row 4") << 10 << 0 << Right << 4 << 9 << 0;
    QTest::newRow("11: the only entry of page 1") << 11 << 1 << Left << 0 << 10 << 0;
    QTest::newRow("23: left row 2 of page 2") << 23 << 2 << Left << 2 << 22 << 2;
    QTest::newRow("23: right row 0 of page 1") << 23 << 1 << Right << 0 << 15 << 1;
    QTest::newRow("23: both current, right wins") << 23 << 0 << Both << 1 << 6 << 0;
    QTest::newRow("1: the last one") << 1 << 0 << Left << 0 << 0 << 0;
}

void TestListTables::deleting()
{
    QFETCH(int, entries);
    QFETCH(int, nextPresses);
    QFETCH(Side, side);
    QFETCH(int, row);
    QFETCH(int, deleted);
    QFETCH(int, page);

    importEntries(entries);
    for (int i = 0; i < nextPresses; ++i)
        press("VideoListNextPage");
    if (side == Both) {
        probe->videoListLeft()->setCurrentCell(row, 0);
        probe->videoListRight()->setCurrentCell(row, 0);
    } else if (side != Neither) {
        click(side, row);
    }
    QStringList expected = catalogueNames(0, entries);
    if (deleted >= 0)
        expected.removeAt(deleted);

    press("VideoListItemDelete");
    QCOMPARE(catalogueNames(0, probe->catalogue()->GetVideoCount()), expected);
    QCOMPARE(currentPage(), page);
    QCOMPARE(shownNames(), catalogueNames(10 * page, 10 * page + 10));
}

void TestListTables::highlight_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("nextPresses");
    QTest::addColumn<Side>("side");
    QTest::addColumn<int>("row");

    QTest::newRow("no index") << -1 << 0 << Neither << -1;
    // Elsewhere a highlight would pick a recording the user never chose.
    QTest::newRow("13, page 0 shown") << 13 << 0 << Neither << -1;
    QTest::newRow("7 on page 0") << 7 << 0 << Right << 2;
    QTest::newRow("19 on page 1") << 19 << 1 << Right << 4;
    QTest::newRow("20 on page 2") << 20 << 2 << Left << 0;
}

void TestListTables::highlight()
{
    QFETCH(int, index);
    QFETCH(int, nextPresses);
    QFETCH(Side, side);
    QFETCH(int, row);

    importEntries(kMostEntries);
    probe->player()->SetIndex(index);
    for (int i = 0; i < nextPresses; ++i)
        press("VideoListNextPage");
    probe->listTableUpdate();
    QCOMPARE(probe->videoListLeft()->currentRow(), side == Left ? row : -1);
    QCOMPARE(probe->videoListRight()->currentRow(), side == Right ? row : -1);
}

void TestListTables::clicks_data()
{
    QTest::addColumn<bool>("playing"); // entry 10, the left table's row 0, plays
    QTest::addColumn<Side>("side");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("index");

    QTest::newRow("nothing loaded: left row 1 of page 1") << false << Left << 1 << 11;
    QTest::newRow("nothing loaded: right row 2 of page 1") << false << Right << 2 << 17;
    QTest::newRow("playing: a click only selects") << true << Right << 2 << 10;
}

// A click clears the other table's selection and, while nothing is loaded,
// picks the player's index; a double click plays its row.
void TestListTables::clicks()
{
    QFETCH(bool, playing);
    QFETCH(Side, side);
    QFETCH(int, row);
    QFETCH(int, index);

    importEntries(kMostEntries);
    press("VideoListNextPage");
    if (playing) {
        click(Left, 0, true);
        QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    }
    const Side other = side == Left ? Right : Left;
    click(other, 3);
    click(side, row);
    QCOMPARE(table(other)->currentRow(), -1);
    QCOMPARE(table(side)->currentRow(), row);
    QCOMPARE(probe->player()->GetIndex(), index);
}

void TestListTables::doubleClickOnBlankRowStartsNothing()
{
    importEntries(kMostEntries);
    press("VideoListNextPage");
    press("VideoListNextPage");
    click(Left, 4, true);
    QCOMPARE(probe->player()->GetIndex(), -1);
    QCOMPARE(probe->player()->GetState(), int(UVlcWrapper::Error));
    QCOMPARE(probe->status()->mapState, 0);
}

QTEST_MAIN(TestListTables)
#include "tst_listtables.moc"
