#include "stressoptions.h"

#include <QCommandLineParser>

namespace {

constexpr int kDefaultActions = 1000;

bool readNumber(const QCommandLineParser &parser, const QString &name, qint64 maximum,
        qint64 *value, QString *message)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    *value = parser.value(name).toLongLong(&ok);
    if (!ok || *value < 0 || *value > maximum) {
        *message = QStringLiteral("--%1 wants a number from 0 to %2").arg(name).arg(maximum);
        return false;
    }
    return true;
}

} // namespace

bool StressOptions::parse(const QStringList &arguments, StressOptions *options, QString *message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "Drives the real velmora program with random user actions under X and checks that it "
            "keeps answering, that its catalogue and playlist agree and that snapshots land in "
            "VideoShots/ only."));
    parser.addHelpOption();
    parser.addOptions({
            { QStringLiteral("seed"),
                    QStringLiteral("Seed of the action sequence (random if not given)."),
                    QStringLiteral("n") },
            { QStringLiteral("actions"), QStringLiteral("Stop after n actions."),
                    QStringLiteral("n") },
            { QStringLiteral("seconds"), QStringLiteral("Stop after n seconds of actions."),
                    QStringLiteral("n") },
            { QStringLiteral("program"), QStringLiteral("The velmora executable."),
                    QStringLiteral("path"), QStringLiteral(VELMORA_STRESS_PROGRAM) },
            { QStringLiteral("run-folder"), QStringLiteral("The folder the program runs in."),
                    QStringLiteral("path"), QStringLiteral(VELMORA_STRESS_RUN_DIR) },
            { QStringLiteral("plugins"),
                    QStringLiteral("Folder holding generic/ with the probe plug-in."),
                    QStringLiteral("path"), QStringLiteral(VELMORA_STRESS_PLUGINS) },
            { QStringLiteral("drives"),
                    QStringLiteral("Folder with the real drive logs gps000N.log."),
                    QStringLiteral("path"), QStringLiteral(VELMORA_STRESS_DRIVES) },
            { QStringLiteral("work"), QStringLiteral("Scratch folder (default: a temporary one)."),
                    QStringLiteral("path") },
            { QStringLiteral("keep-work"), QStringLiteral("Keep the scratch folder afterwards.") },
            { QStringLiteral("keep-shots"), QStringLiteral("Keep the snapshots the run made.") },
            { QStringLiteral("verbose"), QStringLiteral("Print every action.") },
            { QStringLiteral("plan"),
                    QStringLiteral(
                            "Print the seed's actions (up to --actions) without running them.") },
            { QStringLiteral("tolerate-log"),
                    QStringLiteral(
                            "Only warn about rendering complaints in the program's output.") },
    });
    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        options->helpAsked = true;
        *message = parser.helpText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message = QStringLiteral("unexpected argument %1")
                           .arg(parser.positionalArguments().first());
        return false;
    }
    qint64 seed = 0;
    qint64 actions = 0;
    qint64 seconds = 0;
    if (!readNumber(parser, QStringLiteral("seed"), 0xffffffffLL, &seed, message)
            || !readNumber(parser, QStringLiteral("actions"), 100000000, &actions, message)
            || !readNumber(parser, QStringLiteral("seconds"), 7 * 24 * 3600, &seconds, message))
        return false;
    options->seedGiven = parser.isSet(QStringLiteral("seed"));
    options->seed = quint32(seed);
    options->actions = int(actions);
    options->seconds = int(seconds);
    if (options->actions == 0 && options->seconds == 0)
        options->actions = kDefaultActions;
    options->program = parser.value(QStringLiteral("program"));
    options->runFolder = parser.value(QStringLiteral("run-folder"));
    options->plugins = parser.value(QStringLiteral("plugins"));
    options->drives = parser.value(QStringLiteral("drives"));
    options->work = parser.value(QStringLiteral("work"));
    options->keepWork = parser.isSet(QStringLiteral("keep-work"));
    options->keepShots = parser.isSet(QStringLiteral("keep-shots"));
    options->verbose = parser.isSet(QStringLiteral("verbose"));
    options->tolerateLog = parser.isSet(QStringLiteral("tolerate-log"));
    options->planOnly = parser.isSet(QStringLiteral("plan"));
    return true;
}
