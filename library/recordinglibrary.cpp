#include "library/recordinglibrary.h"

#include "catalogue/filetime.h"
#include "library/programpaths.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RecordingLibrary", text);
}

// Every schema step, the first one creating the table; step k takes version k
// to k + 1, its statements separated by ';'. A new column is one more step at
// the end.
const char *const kMigrations[] = {
    "CREATE TABLE recordings ("
    " id INTEGER PRIMARY KEY,"
    " video_path TEXT NOT NULL UNIQUE,"
    " file_name TEXT NOT NULL,"
    " date TEXT,"
    " time TEXT,"
    " gps_path TEXT," // none when no log path can be built
    " gps_state INTEGER NOT NULL,"
    " video_size INTEGER NOT NULL,"
    " video_modified INTEGER NOT NULL,"
    " log_size INTEGER NOT NULL,"
    " log_modified INTEGER NOT NULL)",
    // What a probe found; all NULL until the recording is probed.
    "ALTER TABLE recordings ADD COLUMN duration_ms INTEGER;"
    "ALTER TABLE recordings ADD COLUMN log_start_ms INTEGER;"
    "ALTER TABLE recordings ADD COLUMN log_end_ms INTEGER",
    // The start as an instant, so that the zone it is shown in can change;
    // the text columns date and time are no longer written. Rows from before
    // take their log's earliest time when it was probed, otherwise the
    // video's. And the seconds the log runs behind the video.
    "ALTER TABLE recordings ADD COLUMN start_ms INTEGER;"
    "ALTER TABLE recordings ADD COLUMN clock_offset_s INTEGER NOT NULL DEFAULT 0;"
    "UPDATE recordings SET start_ms = COALESCE(log_start_ms, video_modified)",
};
static_assert(std::size(kMigrations) == RecordingLibrary::kSchemaVersion);

// A constant, not a QString: no initialisation order to depend on.
constexpr char kColumns[] = "video_path, file_name, start_ms, clock_offset_s, gps_path, gps_state, video_size, "
                            "video_modified, log_size, log_modified, duration_ms, log_start_ms, log_end_ms";

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("velmora-library-%1").arg(counter.fetchAndAddRelaxed(1));
}

// NULL for what is not known: a time of -1, or anything before a probe.
QVariant knownOrNull(bool known, qint64 value)
{
    return known ? QVariant(value) : QVariant(QMetaType::fromType<qint64>());
}

void bindProbe(QSqlQuery &query, bool probed, qint64 durationMs, qint64 logStartMs, qint64 logEndMs)
{
    query.addBindValue(knownOrNull(probed, durationMs));
    query.addBindValue(knownOrNull(probed && logStartMs >= 0, logStartMs));
    query.addBindValue(knownOrNull(probed && logEndMs >= 0, logEndMs));
}

void bindRecording(QSqlQuery &query, const StoredRecording &recording)
{
    const VideoAndGpsfileInfo &info = recording.info;
    for (const QVariant &value :
         { QVariant(info.videoPath), QVariant(info.fileName), QVariant(info.startMs),
           QVariant(recording.clockOffsetSeconds),
           QVariant(info.gpsFilePath), QVariant(int(info.gpsState)), QVariant(recording.video.size),
           QVariant(recording.video.modified), QVariant(recording.log.size), QVariant(recording.log.modified) })
        query.addBindValue(value);
    bindProbe(query, recording.probed, recording.durationMs, recording.logStartMs, recording.logEndMs);
}

qint64 timeOrUnknown(const QVariant &value)
{
    return value.isNull() ? -1 : value.toLongLong();
}

} // namespace

FileStamp FileStamp::of(const QString &path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile())
        return {};
    return { file.size(), modifiedMsSinceEpoch(path) };
}

StoredRecording StoredRecording::describe(const VideoAndGpsfileInfo &info)
{
    return { info, FileStamp::of(info.videoPath), FileStamp::of(info.gpsFilePath) };
}

RecordingLibrary::RecordingLibrary(const QString &path)
    : filePath(path), connection(newConnectionName())
{
}

RecordingLibrary::~RecordingLibrary()
{
    storeQuery.reset();
    QSqlDatabase::database(connection, false).close();
    QSqlDatabase::removeDatabase(connection);
}

QString RecordingLibrary::defaultPath()
{
    return ProgramPaths::libraryFile();
}

bool RecordingLibrary::open()
{
    storeQuery.reset();
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable()) {
        openProblem = tr("Recordings are not remembered: %1 cannot be written.")
                              .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    if (openFile() && migrate())
        return opened = true;
    moveAside();
    if (openFile() && migrate())
        return opened = true;
    openProblem = tr("Recordings are not remembered: %1 cannot be used.")
                          .arg(QDir::toNativeSeparators(filePath));
    return false;
}

// Also checks that the file is a library this version can read.
bool RecordingLibrary::openFile()
{
    QSqlDatabase db = QSqlDatabase::contains(connection)
            ? QSqlDatabase::database(connection, false)
            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(filePath);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return false;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()
        || query.value(0).toString() != QLatin1String("ok"))
        return false;
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()
        || query.value(0).toInt() > kSchemaVersion)
        return false;
    return query.exec(QStringLiteral("PRAGMA journal_mode=WAL"))
            && query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
}

bool RecordingLibrary::migrate()
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return false;
    for (int version = query.value(0).toInt(); version < kSchemaVersion; ++version) {
        if (!db.transaction())
            return false;
        QSqlQuery step(db);
        bool done = true;
        for (const QString &statement : QString::fromLatin1(kMigrations[version]).split(QLatin1Char(';')))
            done = done && step.exec(statement);
        if (!done || !step.exec(QStringLiteral("PRAGMA user_version=%1").arg(version + 1)) || !db.commit()) {
            db.rollback();
            return false;
        }
    }
    return true;
}

// Kept for whoever wants to look at it; the program starts afresh.
void RecordingLibrary::moveAside()
{
    QSqlDatabase::database(connection, false).close();
    const QString aside = filePath + QStringLiteral(".broken-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QFile::rename(filePath, aside);
    for (const char *suffix : { "-wal", "-shm" })
        QFile::remove(filePath + QLatin1String(suffix));
    openProblem = tr("The library was damaged and has been put aside as %1; it starts empty.")
                          .arg(QDir::toNativeSeparators(aside));
}

QList<StoredRecording> RecordingLibrary::recordings() const
{
    QList<StoredRecording> stored;
    if (!opened)
        return stored;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM recordings ORDER BY id").arg(QLatin1String(kColumns))))
        return stored;
    while (query.next()) {
        StoredRecording recording;
        VideoAndGpsfileInfo &info = recording.info;
        info.videoPath = query.value(0).toString();
        info.fileName = query.value(1).toString();
        info.startMs = query.value(2).isNull() ? query.value(7).toLongLong() : query.value(2).toLongLong();
        recording.clockOffsetSeconds = query.value(3).toInt();
        info.gpsFilePath = query.value(4).toString();
        info.gpsState = GpsFileState(qBound(0, query.value(5).toInt(), int(GpsFileAvailable)));
        recording.video = { query.value(6).toLongLong(), query.value(7).toLongLong() };
        recording.log = { query.value(8).toLongLong(), query.value(9).toLongLong() };
        recording.probed = !query.value(10).isNull();
        recording.durationMs = timeOrUnknown(query.value(10));
        recording.logStartMs = timeOrUnknown(query.value(11));
        recording.logEndMs = timeOrUnknown(query.value(12));
        stored << recording;
    }
    return stored;
}

bool RecordingLibrary::store(const StoredRecording &recording)
{
    if (!opened)
        return false;
    if (!storeQuery) {
        const QString insert =
                QStringLiteral("INSERT INTO recordings (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                               " ON CONFLICT(video_path) DO UPDATE SET file_name = excluded.file_name,"
                               " start_ms = excluded.start_ms, clock_offset_s = excluded.clock_offset_s,"
                               " gps_path = excluded.gps_path,"
                               " gps_state = excluded.gps_state, video_size = excluded.video_size,"
                               " video_modified = excluded.video_modified, log_size = excluded.log_size,"
                               " log_modified = excluded.log_modified, duration_ms = excluded.duration_ms,"
                               " log_start_ms = excluded.log_start_ms, log_end_ms = excluded.log_end_ms")
                        .arg(QLatin1String(kColumns));
        storeQuery = std::make_unique<QSqlQuery>(QSqlDatabase::database(connection, false));
        if (!storeQuery->prepare(insert)) {
            storeQuery.reset();
            return false;
        }
    }
    bindRecording(*storeQuery, recording);
    return storeQuery->exec();
}

bool RecordingLibrary::beginChanges()
{
    return opened && QSqlDatabase::database(connection, false).transaction();
}

bool RecordingLibrary::commitChanges()
{
    return opened && QSqlDatabase::database(connection, false).commit();
}

bool RecordingLibrary::move(const QString &oldVideoPath, const StoredRecording &recording)
{
    if (!opened)
        return false;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.prepare(QStringLiteral("UPDATE recordings SET video_path = ?, file_name = ?, start_ms = ?,"
                                 " clock_offset_s = ?,"
                                 " gps_path = ?, gps_state = ?, video_size = ?, video_modified = ?,"
                                 " log_size = ?, log_modified = ?, duration_ms = ?, log_start_ms = ?,"
                                 " log_end_ms = ? WHERE video_path = ?"));
    bindRecording(query, recording);
    query.addBindValue(oldVideoPath);
    return query.exec();
}

bool RecordingLibrary::storeProbe(const QString &videoPath, qint64 durationMs, qint64 logStartMs, qint64 logEndMs)
{
    if (!opened)
        return false;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.prepare(QStringLiteral("UPDATE recordings SET duration_ms = ?, log_start_ms = ?, log_end_ms = ?"
                                 " WHERE video_path = ?"));
    bindProbe(query, true, durationMs, logStartMs, logEndMs);
    query.addBindValue(videoPath);
    return query.exec();
}

bool RecordingLibrary::storeClockOffset(const QString &videoPath, int seconds)
{
    if (!opened)
        return false;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.prepare(QStringLiteral("UPDATE recordings SET clock_offset_s = ? WHERE video_path = ?"));
    query.addBindValue(seconds);
    query.addBindValue(videoPath);
    return query.exec();
}

bool RecordingLibrary::remove(const QString &videoPath)
{
    if (!opened)
        return false;
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.prepare(QStringLiteral("DELETE FROM recordings WHERE video_path = ?"));
    query.addBindValue(videoPath);
    return query.exec();
}
