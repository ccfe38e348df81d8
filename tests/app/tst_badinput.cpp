// What a card straight from a camera, or a user's own folder, may hold: damaged
// logs, files that are no video, odd names, files gone since the import, and a
// snapshot folder that cannot be written. The real window imports each beside
// a good recording, plays it, and must go on playing the good one afterwards
// without losing an entry.

#include "testwindow.h"

#include "catalogue/uvideoandgpsfiles.h"
#include "playback/uvlcwrapper.h"

#include <QApplication>
#include <QDirIterator>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testrecordings;

namespace {

const QString kGoodName = QStringLiteral("GOOD0001.MOV");

enum class Video { Clip, Text, Truncated, Empty, Folder, Vanished, NameNotUtf8 };
enum class Log { File, Folder, Vanished, Fifo, DevZero };

QByteArray realDrive(const char *name)
{
    QFile file(QFINDTESTDATA(QStringLiteral("../data/real-drives/") + QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lines rated as fixes, each followed by bytes of every value but the line end.
QByteArray garbageWithFixes(int lines)
{
    QRandomGenerator random(7);
    QByteArray log;
    for (int line = 0; line < lines; ++line) {
        log += "A,";
        for (int i = 0; i < 60; ++i) {
            const char byte = char(random.bounded(256));
            log += byte == '\n' ? ',' : byte;
        }
        log += '\n';
    }
    return log;
}

QByteArray fixWith(const QByteArray &latitude)
{
    return "A,030410,131032," + latitude + ",N,00656.1347,E,12.00,0.10,0.20,0.99;";
}

// A recorded map call whose arguments are all finite numbers.
bool isNumericCall(const QString &call)
{
    static const QRegularExpression shape(QStringLiteral(
            R"(^[A-Za-z]+\((-?[0-9]+(\.[0-9]+)?(e[-+][0-9]+)?(,-?[0-9]+(\.[0-9]+)?(e[-+][0-9]+)?)*)?\)$)"));
    return shape.match(call).hasMatch();
}

} // namespace

Q_DECLARE_METATYPE(Video)
Q_DECLARE_METATYPE(Log)

class TestBadInput : public QObject, private TestWindow
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void recordings_data();
    void recordings();
    void blockedSnapshotFolder_data();
    void blockedSnapshotFolder();

private:
    void doubleClickEntry(int index);
    void verifyInStep(int entries);

    QTemporaryDir clips;
    QString clip;
};

void TestBadInput::initTestCase()
{
    clip = clips.filePath(QStringLiteral("clip.MOV"));
    QVERIFY(makeClip(clip, 4));
}

void TestBadInput::cleanup()
{
    close();
}

void TestBadInput::doubleClickEntry(int index)
{
    QTableWidget *list = index < 5 ? probe->videoListLeft() : probe->videoListRight();
    const QPoint at = list->visualItemRect(list->item(index % 5, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// The catalogue and the playlist describe the same recordings.
void TestBadInput::verifyInStep(int entries)
{
    QCOMPARE(probe->catalogue()->GetVideoCount(), entries);
    QCOMPARE(probe->player()->GetMediaCount(), entries);
}

void TestBadInput::recordings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Video>("video");
    QTest::addColumn<Log>("log");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("plays");
    QTest::addColumn<bool>("route");

    const QByteArray drive = realDrive("gps0001.log");
    const QByteArray fix = fixWith("4618.9395");
    QTest::newRow("log: binary garbage")
            << "FILE0002.MOV" << Video::Clip << Log::File << garbageWithFixes(20) << true << false;
    QTest::newRow("log: NUL bytes inside fixes")
            << "FILE0002.MOV" << Video::Clip << Log::File
            << (fixWith(QByteArray("46\0" "18.93", 8)) + "\n").repeated(10) << true << false;
    QTest::newRow("log: multi-megabyte line")
            << "FILE0002.MOV" << Video::Clip << Log::File
            << fixWith(QByteArray(6 << 20, '9')) + "\n" + (fix + "\n").repeated(5) << true << true;
    QTest::newRow("log: fixes without a position or with signed degrees")
            << "FILE0002.MOV" << Video::Clip << Log::File
            << (fix + "\nA,030410,131033,,N,,E,12.00,0.10,0.20,0.99;\n"
                + "A,030410,131034,-4618.9395,S,-00656.1347,W,12.00,0.10,0.20,0.99;\n")
                       .repeated(5)
            << true << true;
    QTest::newRow("log: CR LF") << "FILE0002.MOV" << Video::Clip << Log::File
                                << QByteArray(drive).replace("\n", "\r\n") << true << true;
    QTest::newRow("log: a folder") << "FILE0002.MOV" << Video::Clip << Log::Folder << QByteArray()
                                   << true << false;
    QTest::newRow("log: gone since the import")
            << "FILE0002.MOV" << Video::Clip << Log::Vanished << drive << true << false;
    QTest::newRow("log: a FIFO since the import")
            << "FILE0002.MOV" << Video::Clip << Log::Fifo << drive << true << false;
    QTest::newRow("log: a link to /dev/zero since the import")
            << "FILE0002.MOV" << Video::Clip << Log::DevZero << drive << true << false;
    QTest::newRow("video: a text file")
            << "FILE0002.MOV" << Video::Text << Log::File << drive << false << false;
    QTest::newRow("video: truncated") << "FILE0002.MOV" << Video::Truncated << Log::File << drive
                                      << false << false;
    QTest::newRow("video: zero bytes") << "FILE0002.MOV" << Video::Empty << Log::File << drive
                                       << false << false;
    QTest::newRow("video: a folder") << "FILE0002.MOV" << Video::Folder << Log::File << drive
                                     << false << false;
    QTest::newRow("video: a name that is not UTF-8")
            << "FILE0002.MOV" << Video::NameNotUtf8 << Log::File << drive << false << false;
    QTest::newRow("video: gone since the import")
            << "FILE0002.MOV" << Video::Vanished << Log::File << drive << false << false;
    QTest::newRow("name: spaces") << "my trip 0002 to work.MOV" << Video::Clip << Log::File
                                  << drive << true << true;
    QTest::newRow("name: quotes") << "it's \"0002\" `x`.MOV" << Video::Clip << Log::File << drive
                                  << true << true;
    QTest::newRow("name: non-ASCII") << "Поездка_ёжик_東京.MOV" << Video::Clip << Log::File
                                     << drive << true << true;
    QTest::newRow("name: markup") << "<b><img src=x onerror=alert(1)>&amp;.MOV" << Video::Clip
                                  << Log::File << drive << true << true;
}

// The odd recording plays as far as it can, its name shows as it is, the map
// receives nothing but numbers, and the good recording plays after it.
void TestBadInput::recordings()
{
    QFETCH(QString, name);
    QFETCH(Video, video);
    QFETCH(Log, log);
    QFETCH(QByteArray, content);
    QFETCH(bool, plays);
    QFETCH(bool, route);

    makeFolder();
    const QString card = folder->filePath(QStringLiteral("card"));
    QString odd = cardVideo(card, name);
    const QString oddLog = cardLog(card, name);
    const QString good = cardVideo(card, kGoodName);
    QVERIFY(copyFile(clip, good));
    QVERIFY(writeFile(cardLog(card, kGoodName), realDrive("gps0001.log")));

    QFile clipFile(clip);
    QVERIFY(clipFile.open(QIODevice::ReadOnly));
    const QByteArray clipBytes = clipFile.readAll();
    switch (video) {
    case Video::Clip:
    case Video::Vanished:
        QVERIFY(writeFile(odd, clipBytes));
        break;
    case Video::Text:
        QVERIFY(writeFile(odd, QByteArray("notes of a trip, not a video\n").repeated(200)));
        break;
    case Video::Truncated:
        QVERIFY(writeFile(odd, clipBytes.left(clipBytes.size() / 3)));
        break;
    case Video::Empty:
        QVERIFY(writeFile(odd, QByteArray()));
        break;
    case Video::Folder:
        QVERIFY(QDir().mkpath(odd));
        break;
    case Video::NameNotUtf8: {
        // What the file dialog or a dropped folder then names: a path with a
        // replacement character, where no file is.
        const QByteArray bytes = QFile::encodeName(odd).replace("0002", "\xff\xfe" "02");
        QFile file;
        QVERIFY(file.open(::creat(bytes.constData(), 0644), QIODevice::WriteOnly, QFile::AutoCloseHandle));
        name = QFile::decodeName(bytes).section(QLatin1Char('/'), -1);
        odd = QFile::decodeName(bytes);
        break;
    }
    }
    if (log == Log::Folder)
        QVERIFY(QDir().mkpath(oddLog));
    else
        QVERIFY(writeFile(oddLog, content));

    QVERIFY(open({ odd, good }));
    // A folder is no recording; everything else the user chose is kept.
    const int entries = video == Video::Folder || video == Video::NameNotUtf8 ? 1 : 2;
    verifyInStep(entries);
    const int goodIndex = entries - 1;
    QCOMPARE(probe->videoListLeft()->item(goodIndex, 0)->text(), kGoodName);
    if (entries == 1) {
        // Said, not dropped without a word.
        const auto *shown = window->findChild<QLabel *>(QStringLiteral("Notice"));
        QVERIFY(shown->isVisible());
        QVERIFY2(shown->text().contains(name), qPrintable(shown->text()));
        return;
    }
    QCOMPARE(probe->videoListLeft()->item(0, 0)->text(), name);

    if (video == Video::Vanished)
        QVERIFY(QFile::remove(odd));
    if (log != Log::File && log != Log::Folder)
        QVERIFY(QFile::remove(oddLog));
    if (log == Log::Fifo)
        QCOMPARE(::mkfifo(QFile::encodeName(oddLog).constData(), 0600), 0);
    if (log == Log::DevZero)
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), oddLog));

    doubleClickEntry(0);
    const QList<int> settled = { UVlcWrapper::Playing, UVlcWrapper::Ended, UVlcWrapper::Error };
    QTRY_VERIFY_WITH_TIMEOUT(settled.contains(probe->player()->GetState()), kTimeout);
    if (plays) {
        QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing),
                                  kTimeout);
        // A few ticks of the update cycle over the damaged log.
        QTest::qWait(1200);
        QCOMPARE(window->findChild<QLabel *>(QStringLiteral("VideoName"))->text(), name);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Error), kTimeout);
        QTest::qWait(600);
    }
    verifyInStep(entries);
    const QStringList received = calls();
    for (const QString &call : received)
        QVERIFY2(isNumericCall(call), qPrintable(call));
    if (route)
        QVERIFY(!received.filter(QStringLiteral("appendPathNode(")).isEmpty());

    doubleClickEntry(goodIndex);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetIndex(), goodIndex, kTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    verifyInStep(entries);
}

void TestBadInput::blockedSnapshotFolder_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::addColumn<int>("snapshots");
    QTest::addColumn<QString>("notice");

    // The picture and its captioned copy.
    QTest::newRow("writable folder") << QString() << 2 << "Snapshot saved, with a captioned copy: ";
    QTest::newRow("a file") << QStringLiteral("file") << 0 << "is not a folder";
    QTest::newRow("a link into a file") << QStringLiteral("link") << 0 << "symbolic link";
    // A link planted in a shared folder would send the pictures anywhere.
    QTest::newRow("a link to a folder") << QStringLiteral("folder link") << 0 << "symbolic link";
    QTest::newRow("a read-only folder") << QStringLiteral("read-only") << 0 << "cannot be written";
}

// A snapshot while playing: pictures in VideoShots/ or none, never one elsewhere,
// and the recording plays on.
void TestBadInput::blockedSnapshotFolder()
{
    QFETCH(QString, blocker);
    QFETCH(int, snapshots);
    QFETCH(QString, notice);

    makeFolder();
    const QString shots = folder->filePath(QStringLiteral("VideoShots"));
    if (blocker == QLatin1String("file")) {
        QVERIFY(writeFile(shots, "not a folder"));
    } else if (blocker == QLatin1String("link")) {
        QVERIFY(writeFile(folder->filePath(QStringLiteral("plain")), "a file"));
        QVERIFY(QFile::link(QStringLiteral("plain/shots"), shots));
    } else if (blocker == QLatin1String("folder link")) {
        QVERIFY(QDir().mkpath(folder->filePath(QStringLiteral("elsewhere"))));
        QVERIFY(QFile::link(QStringLiteral("elsewhere"), shots));
    } else if (blocker == QLatin1String("read-only")) {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QVERIFY(QDir().mkpath(shots));
        QVERIFY(QFile::setPermissions(shots, QFile::ReadOwner | QFile::ExeOwner));
    }
    const QString good = cardVideo(folder->filePath(QStringLiteral("card")), kGoodName);
    QVERIFY(copyFile(clip, good));
    QVERIFY(open({ good }));

    doubleClickEntry(0);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    // Until a frame is decoded there is nothing to take.
    QTRY_VERIFY_WITH_TIMEOUT(probe->player()->GetPlayTime() > 500, kTimeout);
    window->findChild<QPushButton *>(QStringLiteral("Shot"))->click();
    const auto pictures = [this] {
        QStringList found;
        QDirIterator it(folder->path(), { QStringLiteral("*.png"), QStringLiteral("*.jpg") },
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(folder->path()).relativeFilePath(it.next());
        return found;
    };
    if (snapshots > 0)
        QTRY_COMPARE_WITH_TIMEOUT(pictures().size(), snapshots, kTimeout);
    else
        QTest::qWait(1000);
    QCOMPARE(pictures().size(), snapshots);
    QCOMPARE(probe->player()->GetState(), int(UVlcWrapper::Playing));
    auto *shown = window->findChild<QLabel *>(QStringLiteral("Notice"));
    QTRY_VERIFY_WITH_TIMEOUT(shown->isVisible(), kTimeout);
    QVERIFY2(shown->text().contains(notice), qPrintable(shown->text()));
    for (const QString &picture : pictures())
        QVERIFY2(picture.startsWith(QLatin1String("VideoShots/")), qPrintable(picture));
    if (blocker == QLatin1String("read-only"))
        QFile::setPermissions(shots, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_MAIN(TestBadInput)

#include "tst_badinput.moc"
