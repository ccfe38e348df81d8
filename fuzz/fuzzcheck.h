#ifndef FUZZCHECK_H
#define FUZZCHECK_H

// What both fuzzers need: a broken promise must stop the run with a message
// that names it, so that libFuzzer saves the input that broke it.

#include "logs/gpslogrecord.h"
#include "logs/logfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtGlobal>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzzcheck {

[[noreturn]] inline void fail(const QString &what)
{
    std::fprintf(stderr, "broken promise: %s\n", qPrintable(what));
    std::fflush(stderr);
    std::abort();
}

inline void check(bool promiseKept, const QString &what)
{
    if (!promiseKept)
        fail(what);
}

// The catalogue and the parser write no diagnostics of their own, and a Qt
// warning while they run means that they fed Qt something it rejects. Qt's
// own clean-up at exit may still talk: that is not ours to judge.
inline void failOnQtMessages()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        fail(QStringLiteral("Qt message: ") + message);
    });
    std::atexit([] { qInstallMessageHandler(nullptr); });
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// What every reader of a receiver's log promises: at most the cap of records,
// one a second without a gap, and the record of a fix a place on Earth at a
// speed the meter can draw, in the texts the camera's log gives.
inline void checkSeconds(const QList<GpsLogRecord> &records)
{
    check(records.size() <= LogFile::kMaxLines, QStringLiteral("more records than the cap"));
    std::optional<qint64> previous;
    for (qsizetype k = 0; k < records.size(); ++k) {
        const GpsLogRecord &record = records.at(k);
        const std::optional<qint64> utc = recordUtcMs(record);
        const QString where = QStringLiteral("record %1 (%2 %3)").arg(k).arg(record.date, record.time);
        check(utc.has_value(), where + QStringLiteral(": no date and time"));
        check(!previous || *utc == *previous + 1000, where + QStringLiteral(": not one second after the one before"));
        previous = utc;
        check(std::isfinite(record.velocity) && record.velocity >= 0 && record.x == 0 && record.y == 0 && record.z == 0,
              where + QStringLiteral(": a speed or G-sensor value no receiver gives"));
        if (record.dataAvailable)
            check(latitudeDegrees(record).has_value() && longitudeDegrees(record).has_value(),
                  where + QStringLiteral(": a fix that is no place: ") + record.latitude + u' ' + record.longitude);
    }
}

} // namespace fuzzcheck

#endif // FUZZCHECK_H
