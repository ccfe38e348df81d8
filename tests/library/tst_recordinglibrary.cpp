// The library against a real SQLite file in a folder of the test's own: what
// is stored comes back in order, a file that is no library is put aside, a
// writer killed half-way leaves a sound file, and an import keeps one entry
// per recording.

#include "app/commandlinemodes.h"
#include "catalogue/uvideoandgpsfiles.h"
#include "library/librarykeeper.h"
#include "library/recordinglibrary.h"
#include "testrecordings.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <csignal>
#include <cstdlib>

using namespace testrecordings;

namespace {

StoredRecording recording(const QString &path, GpsFileState state = GpsFileAvailable)
{
    StoredRecording stored;
    stored.info.videoPath = path;
    stored.info.fileName = QFileInfo(path).fileName();
    stored.info.startMs = QDateTime(QDate(2010, 4, 3), QTime(12, 54, 7)).toMSecsSinceEpoch();
    stored.info.gpsState = state;
    stored.video = { 1000, 1 };
    return stored;
}

// Started as a child by killedWriterLeavesASoundFile: stores recordings, one
// transaction each, until it is killed.
void writeUntilKilled()
{
    const QByteArray path = qgetenv("VELMORA_TEST_WRITER");
    if (path.isEmpty())
        return;
    // Qt SQL finds its driver through the application.
    int argc = 1;
    char name[] = "writer";
    char *argv[] = { name, nullptr };
    QCoreApplication application(argc, argv);
    RecordingLibrary library(QString::fromLocal8Bit(path));
    if (!library.open())
        std::_Exit(2);
    for (int i = 0;; ++i) {
        if (!library.store(recording(QStringLiteral("/card/DCIM/100MEDIA/FILE%1.MOV").arg(i))))
            std::_Exit(3);
    }
}
Q_CONSTRUCTOR_FUNCTION(writeUntilKilled)

} // namespace

class TestRecordingLibrary : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void storesInOrder();
    void notALibrary_data();
    void notALibrary();
    void unwritableFolder();
    void migratesFromTheFirstVersion();
    void migratesFromTheSecondVersion_data();
    void migratesFromTheSecondVersion();
    void killedWriterLeavesASoundFile();
    void importKeepsOneEntry();
    void receiverLogAddedLater();
    void listPrintsTheLibrary();

private:
    QString libraryPath() const { return folder->filePath(QStringLiteral("library.sqlite")); }

    std::unique_ptr<QTemporaryDir> folder;
};

void TestRecordingLibrary::init()
{
    folder = std::make_unique<QTemporaryDir>();
    // Also when run by hand: never the user's own library.
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder->filePath(QStringLiteral("data"))));
}

void TestRecordingLibrary::storesInOrder()
{
    {
        RecordingLibrary library(libraryPath());
        QVERIFY(library.open());
        for (const char *name : { "/a/FILE0003.MOV", "/a/FILE0001.MOV", "/a/FILE0002.MOV" })
            QVERIFY(library.store(recording(QLatin1String(name))));
        // An update keeps the place; a removal leaves the others in order.
        QVERIFY(library.store(recording(QStringLiteral("/a/FILE0003.MOV"), GpsFileUnavailable)));
        QVERIFY(library.remove(QStringLiteral("/a/FILE0001.MOV")));
    }
    RecordingLibrary again(libraryPath());
    QVERIFY(again.open());
    QVERIFY(again.problem().isEmpty());
    const QList<StoredRecording> stored = again.recordings();
    QCOMPARE(stored.size(), 2);
    QCOMPARE(stored[0].info.fileName, QStringLiteral("FILE0003.MOV"));
    QCOMPARE(stored[0].info.gpsState, GpsFileUnavailable);
    QCOMPARE(stored[1].info.videoPath, QStringLiteral("/a/FILE0002.MOV"));
    QCOMPARE(stored[1].video, (FileStamp{ 1000, 1 }));
}

void TestRecordingLibrary::notALibrary_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("garbage") << QByteArray("not a database at all\n").repeated(300);
    QTest::newRow("truncated") << QByteArray("truncate");
    QTest::newRow("from a newer version") << QByteArray("newer");
}

// Put aside, never lost, and the program starts with an empty library.
void TestRecordingLibrary::notALibrary()
{
    QFETCH(QByteArray, content);
    if (content == "truncate" || content == "newer") {
        RecordingLibrary library(libraryPath());
        QVERIFY(library.open());
        for (int i = 0; i < 200; ++i)
            QVERIFY(library.store(recording(QStringLiteral("/a/FILE%1.MOV").arg(i))));
    }
    if (content == "newer") {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        db.setDatabaseName(libraryPath());
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=99")));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    } else if (content == "truncate") {
        QFile file(libraryPath());
        QVERIFY(file.resize(file.size() / 3));
    } else {
        QVERIFY(writeFile(libraryPath(), content));
    }

    RecordingLibrary library(libraryPath());
    QVERIFY(library.open());
    QVERIFY(library.recordings().isEmpty());
    QVERIFY2(library.problem().contains(QLatin1String("put aside")), qPrintable(library.problem()));
    QCOMPARE(QDir(folder->path()).entryList({ QStringLiteral("library.sqlite.broken-*") }).size(), 1);
    QVERIFY(library.store(recording(QStringLiteral("/b/FILE0001.MOV"))));
}

void TestRecordingLibrary::unwritableFolder()
{
    QVERIFY(writeFile(folder->filePath(QStringLiteral("file")), "a file where the folder should be"));
    RecordingLibrary library(folder->filePath(QStringLiteral("file/library.sqlite")));
    QVERIFY(!library.open());
    QVERIFY(!library.problem().isEmpty());
    QVERIFY(!library.store(recording(QStringLiteral("/a/FILE0001.MOV"))));
}

// Its recordings stay, waiting for a probe; a changed file asks for a new one.
void TestRecordingLibrary::migratesFromTheFirstVersion()
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("first"));
        db.setDatabaseName(libraryPath());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral(
                "CREATE TABLE recordings (id INTEGER PRIMARY KEY, video_path TEXT NOT NULL UNIQUE,"
                " file_name TEXT NOT NULL, date TEXT, time TEXT, gps_path TEXT, gps_state INTEGER NOT NULL,"
                " video_size INTEGER NOT NULL, video_modified INTEGER NOT NULL, log_size INTEGER NOT NULL,"
                " log_modified INTEGER NOT NULL)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO recordings VALUES (1, '/a/FILE0001.MOV', 'FILE0001.MOV',"
                                          " '2010-04-03', '12:54', '/gps/gps0001.log', 2, 1000, 1, 50, 2)")));
        QVERIFY(query.exec(QStringLiteral("PRAGMA user_version=1")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("first"));

    RecordingLibrary library(libraryPath());
    QVERIFY(library.open());
    QVERIFY(library.problem().isEmpty());
    QCOMPARE(library.recordings().size(), 1);
    StoredRecording stored = library.recordings().first();
    QCOMPARE(stored.info.gpsFilePath, QStringLiteral("/gps/gps0001.log"));
    QCOMPARE(stored.log, (FileStamp{ 50, 2 }));
    QVERIFY(!stored.probed);
    QVERIFY(library.storeProbe(stored.info.videoPath, -1, 5000, 9000));
    stored = library.recordings().first();
    QVERIFY(stored.probed);
    QCOMPARE(stored.durationMs, -1);
    QCOMPARE(stored.logEndMs, 9000);
    QVERIFY(library.store(recording(stored.info.videoPath)));
    QVERIFY(!library.recordings().first().probed);
}

void TestRecordingLibrary::migratesFromTheSecondVersion_data()
{
    QTest::addColumn<QVariant>("logStart"); // as the probe stored it
    QTest::addColumn<qint64>("start");

    QTest::newRow("probed: the log's time") << QVariant(qint64(1270302745000)) << qint64(1270302745000);
    QTest::newRow("not probed: the video's time") << QVariant() << qint64(1270300000000);
}

// The rows stay, with an instant to show in any zone and no clock offset;
// an offset set later is kept.
void TestRecordingLibrary::migratesFromTheSecondVersion()
{
    QFETCH(QVariant, logStart);
    QFETCH(qint64, start);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("second"));
        db.setDatabaseName(libraryPath());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral(
                "CREATE TABLE recordings (id INTEGER PRIMARY KEY, video_path TEXT NOT NULL UNIQUE,"
                " file_name TEXT NOT NULL, date TEXT, time TEXT, gps_path TEXT, gps_state INTEGER NOT NULL,"
                " video_size INTEGER NOT NULL, video_modified INTEGER NOT NULL, log_size INTEGER NOT NULL,"
                " log_modified INTEGER NOT NULL, duration_ms INTEGER, log_start_ms INTEGER, log_end_ms INTEGER)")));
        for (int n = 1; n <= 2; ++n) {
            QVERIFY(query.prepare(QStringLiteral("INSERT INTO recordings VALUES (?, ?, ?, '2010-04-03', '13:26',"
                                                 " '/gps/gps0001.log', 2, 1000, 1270300000000, 50, 2, 60000, ?, ?)")));
            query.addBindValue(n);
            query.addBindValue(QStringLiteral("/a/FILE000%1.MOV").arg(n));
            query.addBindValue(QStringLiteral("FILE000%1.MOV").arg(n));
            query.addBindValue(logStart);
            query.addBindValue(logStart.isNull() ? QVariant() : QVariant(logStart.toLongLong() + 59000));
            QVERIFY(query.exec());
        }
        QVERIFY(query.exec(QStringLiteral("PRAGMA user_version=2")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("second"));

    {
        RecordingLibrary library(libraryPath());
        QVERIFY(library.open());
        QVERIFY(library.problem().isEmpty());
        const QList<StoredRecording> stored = library.recordings();
        QCOMPARE(stored.size(), 2);
        for (const StoredRecording &recording : stored) {
            QCOMPARE(recording.info.startMs, start);
            QCOMPARE(recording.clockOffsetSeconds, 0);
        }
        QVERIFY(library.storeClockOffset(stored.at(1).info.videoPath, -3));
    }
    RecordingLibrary library(libraryPath());
    QVERIFY(library.open());
    UVideoAndGpsfiles catalogue;
    LibraryKeeper keeper(&catalogue);
    keeper.restoreFrom(&library);
    QCOMPARE(keeper.clockOffset(0), 0);
    QCOMPARE(keeper.clockOffset(1), -3);
    QCOMPARE(catalogue.startMs(1), start);
}

// kill -9 in the middle of storing: every committed recording is there and
// the file passes SQLite's own integrity check.
void TestRecordingLibrary::killedWriterLeavesASoundFile()
{
    QProcess writer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELMORA_TEST_WRITER"), libraryPath());
    writer.setProcessEnvironment(environment);
    writer.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(writer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(libraryPath() + QStringLiteral("-wal")).size() > 100000, 20000);
    ::kill(pid_t(writer.processId()), SIGKILL);
    QVERIFY(writer.waitForFinished());

    RecordingLibrary library(libraryPath());
    QVERIFY(library.open());
    QVERIFY(library.problem().isEmpty());
    QVERIFY(library.recordings().size() > 10);
}

void TestRecordingLibrary::importKeepsOneEntry()
{
    const QString card = folder->filePath(QStringLiteral("card"));
    const QString video = cardVideo(card, QStringLiteral("FILE0001.MOV"));
    QVERIFY(writeFile(video, "video"));
    RecordingLibrary library(libraryPath());
    QVERIFY(library.open());
    UVideoAndGpsfiles catalogue;
    LibraryKeeper keeper(&catalogue);
    keeper.restoreFrom(&library);
    const auto import = [&](const QString &path) { keeper.addImported(*LibraryKeeper::describe(path)); };

    import(video);
    import(folder->filePath(QStringLiteral("card/DCIM/../DCIM/100MEDIA/FILE0001.MOV")));
    QCOMPARE(catalogue.GetVideoCount(), 1);
    QCOMPARE(catalogue.GetGpsFileState(0), QStringLiteral("Not Exist"));
    // A log that appeared since: rated again, still one entry.
    QVERIFY(writeLog(cardLog(card, QStringLiteral("FILE0001.MOV")), 5, 0));
    import(video);
    QCOMPARE(catalogue.GetVideoCount(), 1);
    QCOMPARE(catalogue.GetGpsFileState(0), QStringLiteral("Available"));
    // The card mounted elsewhere: found again, not listed twice.
    QVERIFY(QDir().rename(card, folder->filePath(QStringLiteral("media"))));
    import(cardVideo(folder->filePath(QStringLiteral("media")), QStringLiteral("FILE0001.MOV")));
    QCOMPARE(catalogue.GetVideoCount(), 1);
    QVERIFY(catalogue.GetVideoPath(0).contains(QLatin1String("/media/")));
    QCOMPARE(library.recordings().size(), 1);
    QCOMPARE(library.recordings().first().info.videoPath, catalogue.GetVideoPath(0));
    // Deleting forgets it in the library too.
    catalogue.DeleteVideoAndGpsfile(0);
    QVERIFY(library.recordings().isEmpty());
}

// A receiver's log copied beside the video is found by the next import, as
// the camera's log is; the camera's log, when it turns up, wins.
void TestRecordingLibrary::receiverLogAddedLater()
{
    const QString card = folder->filePath(QStringLiteral("card"));
    const QString video = cardVideo(card, QStringLiteral("FILE0001.MOV"));
    QVERIFY(writeFile(video, "video"));
    RecordingLibrary library(libraryPath());
    QVERIFY(library.open());
    UVideoAndGpsfiles catalogue;
    LibraryKeeper keeper(&catalogue);
    keeper.restoreFrom(&library);
    const auto import = [&] { keeper.addImported(*LibraryKeeper::describe(video)); };

    import();
    QCOMPARE(catalogue.GetGpsFileState(0), QStringLiteral("Not Exist"));
    const QString nmea = QFileInfo(video).path() + QStringLiteral("/FILE0001.nmea");
    QVERIFY(writeFile(nmea, "$GPRMC,120000,A,4618.9395,N,00656.1347,E,1.0,,030410,,,A*53\r\n"));
    import();
    QCOMPARE(catalogue.GetGpsFilePath(0), nmea);
    QCOMPARE(catalogue.GetGpsFileState(0), QStringLiteral("Available"));
    QCOMPARE(library.recordings().first().info.gpsFilePath, nmea);
    QVERIFY(writeLog(cardLog(card, QStringLiteral("FILE0001.MOV")), 5, 0));
    import();
    QCOMPARE(catalogue.GetGpsFilePath(0), cardLog(card, QStringLiteral("FILE0001.MOV")));
    QCOMPARE(library.recordings().size(), 1);
    QCOMPARE(library.recordings().first().info.gpsFilePath, catalogue.GetGpsFilePath(0));
}

void TestRecordingLibrary::listPrintsTheLibrary()
{
    {
        RecordingLibrary library(RecordingLibrary::defaultPath());
        QVERIFY(library.open());
        for (const StoredRecording &stored : library.recordings())
            QVERIFY(library.remove(stored.info.videoPath));
        QVERIFY(library.store(recording(QStringLiteral("/media/sd/DCIM/100MEDIA/FILE0042.MOV"))));
    }
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    QCOMPARE(listLibrary(outStream, errStream), 0);
    QCOMPARE(out, QStringLiteral("FILE0042.MOV\t2010-04-03\t12:54:07\tAvailable\t/media/sd/DCIM/100MEDIA/FILE0042.MOV\n"));
    QVERIFY(err.isEmpty());
}

QTEST_MAIN(TestRecordingLibrary)
#include "tst_recordinglibrary.moc"
