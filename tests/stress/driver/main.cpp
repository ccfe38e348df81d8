// velmora_stress: random user actions against the real program under X.
// Prints its seed first; `--seed N --actions M` replays a run up to action M.

#include "actionplan.h"
#include "stressoptions.h"
#include "stressrun.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    StressOptions options;
    QString message;
    if (!StressOptions::parse(QCoreApplication::arguments(), &options, &message)) {
        std::fprintf(options.helpAsked ? stdout : stderr, "%s\n", qPrintable(message));
        return options.helpAsked ? 0 : 2;
    }
    if (!options.seedGiven)
        options.seed = QRandomGenerator::global()->generate();
    if (options.planOnly) {
        ActionPlan plan(options.seed);
        for (int i = 0; i < options.actions; ++i)
            std::fprintf(stdout, "%s\n", qPrintable(plan.next().describe()));
        return 0;
    }
    StressRun run(options);
    return run.exec();
}
