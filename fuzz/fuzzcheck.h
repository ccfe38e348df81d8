#ifndef FUZZCHECK_H
#define FUZZCHECK_H

// What both fuzzers need: a broken promise must stop the run with a message
// that names it, so that libFuzzer saves the input that broke it.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtGlobal>

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

} // namespace fuzzcheck

#endif // FUZZCHECK_H
