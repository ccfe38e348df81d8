#ifndef STRESSOPTIONS_H
#define STRESSOPTIONS_H

#include <QString>
#include <QStringList>

// The driver's command line. The paths default to the build that made the
// driver, so that a bare `velmora_stress --seed 7 --seconds 600` works.
struct StressOptions {
    quint32 seed = 0;
    bool seedGiven = false;
    int actions = 0; // 0: limited by seconds only
    int seconds = 0; // 0: limited by actions only
    QString program;
    QString runFolder;
    QString plugins;
    QString drives;
    QString work; // scratch folder; a temporary one when empty
    bool keepWork = false;
    bool keepShots = false;
    bool verbose = false;
    bool tolerateLog = false;
    bool planOnly = false;
    bool helpAsked = false;

    // False with a message when the arguments make no sense.
    static bool parse(const QStringList &arguments, StressOptions *options, QString *message);
};

#endif // STRESSOPTIONS_H
