#ifndef STRESSRUN_H
#define STRESSRUN_H

#include "actionplan.h"
#include "imagewatch.h"
#include "logwatch.h"
#include "probeclient.h"
#include "stressoptions.h"
#include "xinput.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

class RecordingSet;

// One stress run: makes the recordings, starts the real program with the
// probe plug-in, sends it the planned actions as X input and after each
// checks that it still answers within 2 s, that the catalogue and the
// playlist have the same length, and that no image appeared outside
// VideoShots/. Prints the seed first and every failure with its action.
class StressRun
{
public:
    explicit StressRun(const StressOptions &options);
    ~StressRun();

    // 0 when every check held, 1 on a failure, 2 when the run could not start.
    int exec();

private:
    struct ShownWindow {
        QString className;
        QString name;
        QRect rect;
        QString flags;
        quint64 id = 0; // the X window
    };
    struct Counts {
        int catalogue = -1;
        int playlist = -1;
        int index = -1;
    };

    bool setUp();
    bool startProgram();
    bool waitForWindow();
    void closeProgram();
    void printSummary(qint64 elapsedMs) const;
    void removeShots() const;

    void perform(const Action &action);
    void clickButton(const Action &action);
    void importThroughDialog(const Action &action);
    bool typeIntoFileDialog(const Action &action, const QString &text);
    void expectImported(const Action &action, int before, int files);
    void clickRow(const Action &action, bool twice);
    void doubleClickIn(const QString &name, const Action &action, int topMargin, int bottomMargin);
    void dragSlider(const QString &name, const Action &action);
    void pressKey(const Action &action);
    void activateMainWindow(const Action &action);
    void pause(const Action &action, int ms);

    void checkAfter(const Action &action);
    void settleGeometry(const Action &action);
    void settleWindows(const Action &action);
    void checkCounts(const Action &action);
    void checkImages(const Action &action);
    void checkLog(const Action &action);

    // Every request must be answered within 2 s; a late one is a hang.
    std::optional<QString> request(const Action &action, const QString &text);
    std::optional<ProbeClient::Placement> placement(const Action &action, const QString &text);
    std::optional<Counts> counts(const Action &action);
    QList<ShownWindow> windows(const Action &action);
    std::optional<ShownWindow> fileDialog(const Action &action);
    bool waitUntil(const Action &action, int timeoutMs, const std::function<bool()> &condition);

    void unresponsive(const Action &action, const QString &what);
    bool programEnded();
    void reportEnd(const Action &action);
    void fail(const Action &action, const QString &why);
    void saveBacktrace(const Action &action);
    void saveScreenshot(const Action &action);

    StressOptions options;
    std::unique_ptr<QTemporaryDir> temporaryWork;
    QString work;
    std::unique_ptr<RecordingSet> recordings;
    ImageWatch images;
    QProcess program;
    QString programLog;
    std::unique_ptr<LogWatch> log;
    std::unique_ptr<ProbeClient> probe;
    XInput input;

    bool fatal = false;
    int failures = 0;
    int actionsDone = 0;
    QString lastCountsProblem;
    // Figures for the summary.
    qint64 slowestAnswerMs = 0;
    int slowestAnswerAction = 0;
    int dialogsAccepted = 0;
    int filesImported = 0;
    int dialogsCancelled = 0;
    int dialogsRefused = 0;
    int backtraces = 0;
    int messageBoxesClosed = 0;
    int coveredTargets = 0;
    int typingRetries = 0;
    int typingFailures = 0;
    int troubleLines = 0;
    int minCatalogue = 0;
    int maxCatalogue = 0;
    Counts lastCounts;
};

#endif // STRESSRUN_H
