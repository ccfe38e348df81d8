#ifndef PLAYINGWINDOW_H
#define PLAYINGWINDOW_H

// A shown main window over a scratch run folder with recording test pages and
// a card of recordings made from one ffmpeg clip.

#include "testwindow.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QStringList>

// Debug lines of the program, collected so that tests can count them.
inline QStringList &debugLines()
{
    static QStringList lines;
    return lines;
}

inline void collectDebugLines()
{
    // The program's debug lines are off unless asked for.
    QLoggingCategory::setFilterRules(QStringLiteral("velmora.*.debug=true"));
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

class PlayingWindow : public TestWindow
{
public:
    // FILE0001.MOV, FILE0002.MOV, ... each with the log given (empty: none).
    bool make(const QString &clip, const QList<QByteArray> &logs)
    {
        makeFolder();
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
        return open(videos);
    }
};

#endif // PLAYINGWINDOW_H
