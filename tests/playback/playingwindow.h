#ifndef PLAYINGWINDOW_H
#define PLAYINGWINDOW_H

// A shown main window over a scratch run folder with recording test pages and
// a card of recordings made from one ffmpeg clip.

#include "app/velmora.h"
#include "runfolder.h"
#include "testrecordings.h"
#include "velmoraprobe.h"

#include <QSignalSpy>
#include <QLocale>
#include <QStringList>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <optional>

// Playback and page loads go through other processes and threads; this only
// bounds a wait.
constexpr int kTimeout = 20000;

// Debug lines of the program, collected so that tests can count them.
inline QStringList &debugLines()
{
    static QStringList lines;
    return lines;
}

inline void collectDebugLines()
{
    static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (type == QtDebugMsg)
                    debugLines() << message;
                previous(type, context, message);
            });
}

// A call as the test page records it: the page receives numbers, and
// JavaScript writes them in their shortest form (22.40 becomes 22.4).
inline QString asRecorded(const QString &script)
{
    const qsizetype open = script.indexOf(QLatin1Char('('));
    const QString arguments = script.mid(open + 1, script.size() - open - 2);
    if (arguments.isEmpty())
        return script;
    QStringList numbers;
    for (const QString &argument : arguments.split(QLatin1Char(',')))
        numbers << QString::number(argument.toDouble(), 'g', QLocale::FloatingPointShortest);
    return script.left(open + 1) + numbers.join(QLatin1Char(',')) + QLatin1Char(')');
}

class PlayingWindow
{
public:
    // FILE0001.MOV, FILE0002.MOV, ... each with the log given (empty: none).
    bool make(const QString &clip, const QList<QByteArray> &logs)
    {
        folder = std::make_unique<ScratchRunFolder>(ScratchRunFolder::Empty);
        if (!testrecordings::writeMapPages(folder->path(), testrecordings::MapPageKind::Online))
            return false;
        const QString card = folder->filePath(QStringLiteral("card"));
        QStringList videos;
        for (int i = 0; i < logs.size(); ++i) {
            const QString name = QStringLiteral("FILE%1.MOV").arg(i + 1, 4, 10, QLatin1Char('0'));
            videos << testrecordings::cardVideo(card, name);
            if (!testrecordings::copyFile(clip, videos.last()))
                return false;
            if (!logs[i].isNull()
                && !testrecordings::writeFile(testrecordings::cardLog(card, name), logs[i]))
                return false;
        }
        window = std::make_unique<Velmora>(nullptr);
        probe = std::make_unique<VelmoraProbe>(*window);
        QSignalSpy loaded(probe->googleMap(), &QWebEngineView::loadFinished);
        window->show();
        window->importVideos(videos);
        return QTest::qWaitFor([&] { return !loaded.isEmpty(); }, kTimeout);
    }

    // Answers come in the order the scripts were sent, so this also waits for
    // every script sent before it.
    QVariant evaluate(const QString &script)
    {
        const auto answer = std::make_shared<std::optional<QVariant>>();
        probe->googleMap()->page()->runJavaScript(script, [answer](const QVariant &value) {
            *answer = value;
        });
        if (!QTest::qWaitFor([&] { return answer->has_value(); }, kTimeout))
            qWarning("no answer to %s", qPrintable(script));
        return answer->value_or(QVariant());
    }

    QStringList calls() { return evaluate(QStringLiteral("window.calls")).toStringList(); }

    template<typename T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<ScratchRunFolder> folder;
    std::unique_ptr<Velmora> window;
    std::unique_ptr<VelmoraProbe> probe;
};

#endif // PLAYINGWINDOW_H
