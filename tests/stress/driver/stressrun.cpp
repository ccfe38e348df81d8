#include "stressrun.h"

#include "recordingset.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

// The pass rule: the window answers within this after every action.
constexpr int kAnswerMs = 2000;
// After a missed answer, how long to wait before calling it a hang for good.
constexpr int kRecoveryMs = 30000;
constexpr int kStartMs = 90000;
constexpr int kDialogMs = 10000;
constexpr int kImportMs = 30000;
constexpr int kSettleMs = 60000;
constexpr int kSettleGeometryMs = 5000;
constexpr int kCloseMs = 30000;
constexpr int kPollMs = 50;
constexpr int kProgressEvery = 100;
constexpr int kLogTailLines = 40;
// Clicks keep this far inside a target, clear of borders.
constexpr int kMargin = 3;
// The banner answers double clicks between its top rows and its bottom.
constexpr int kBannerTop = 6;
constexpr int kBannerBottom = 2;
constexpr int kEnterTries = 3;
constexpr int kEnterAnswerMs = 700;
constexpr int kMaxScreenshots = 10;
constexpr int kScreenshotMs = 10000;

const QString kMainWindow = QStringLiteral("Velmora");
const QString kFileNameEdit = QStringLiteral("fileNameEdit");

void say(const QString &line)
{
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

QPoint pointIn(const QRect &rect, double fx, double fy)
{
    const int width = qMax(1, rect.width() - 2 * kMargin);
    const int height = qMax(1, rect.height() - 2 * kMargin);
    return { rect.x() + kMargin + int(fx * (width - 1)),
        rect.y() + kMargin + int(fy * (height - 1)) };
}

QString quotedNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names << QLatin1Char('"') + QFileInfo(path).fileName() + QLatin1Char('"');
    return names.join(QLatin1Char(' '));
}

QString tail(const QString &path, int lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QStringList all = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
    return all.mid(qMax(0, int(all.size()) - lines)).join(QLatin1Char('\n'));
}

Action momentOf(const QString &moment)
{
    Action action;
    action.moment = moment;
    return action;
}

} // namespace

StressRun::StressRun(const StressOptions &options) : options(options)
{
}

StressRun::~StressRun()
{
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished(kCloseMs);
    }
}

void StressRun::fail(const Action &action, const QString &why)
{
    ++failures;
    say(QStringLiteral("FAIL %1: %2").arg(action.describe(), why));
    saveScreenshot(action);
}

// What the screen showed when a check failed, for the first few failures.
void StressRun::saveScreenshot(const Action &action)
{
    const QString import = QStandardPaths::findExecutable(QStringLiteral("import"));
    if (import.isEmpty() || failures > kMaxScreenshots)
        return;
    const QString path
            = work + QStringLiteral("/failure-%1-action-%2.png").arg(failures).arg(action.number);
    QProcess shot;
    shot.start(import, { QStringLiteral("-window"), QStringLiteral("root"), path });
    if (shot.waitForFinished(kScreenshotMs) && shot.exitCode() == 0)
        say(QStringLiteral("stress: screen at that moment: %1").arg(path));
}

// ---- set-up and shut-down -------------------------------------------------

bool StressRun::setUp()
{
    if (options.work.isEmpty()) {
        temporaryWork = std::make_unique<QTemporaryDir>(
                QDir::tempPath() + QStringLiteral("/velmora-stress-XXXXXX"));
        temporaryWork->setAutoRemove(!options.keepWork);
        work = temporaryWork->path();
    } else {
        work = QFileInfo(options.work).absoluteFilePath();
        QDir().mkpath(work);
    }
    QDir().mkpath(work + QStringLiteral("/home"));
    programLog = work + QStringLiteral("/velmora.log");
    QFile::remove(programLog);
    log = std::make_unique<LogWatch>(programLog);

    QElapsedTimer making;
    making.start();
    recordings
            = std::make_unique<RecordingSet>(work + QStringLiteral("/recordings"), options.drives);
    QString error;
    if (!recordings->make(&error)) {
        say(QStringLiteral("stress: cannot make the recordings: %1").arg(error));
        return false;
    }
    say(QStringLiteral("stress: recordings made in %1 s in %2")
                    .arg(making.elapsed() / 1000.0, 0, 'f', 1)
                    .arg(recordings->root()));

    images.watch(options.runFolder);
    images.watch(recordings->root());
    images.watch(work + QStringLiteral("/home"));
    images.allow(options.runFolder + QStringLiteral("/VideoShots"));
    return startProgram() && waitForWindow();
}

bool StressRun::startProgram()
{
    const QString socketName
            = QStringLiteral("velmora-stress-%1").arg(QCoreApplication::applicationPid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), options.plugins);
    environment.insert(
            QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("velmorastressprobe"));
    environment.insert(QStringLiteral("VELMORA_STRESS_SOCKET"), socketName);
    // Chromium refuses to start as root with its sandbox on.
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    // A home of its own, so that a stray file there is the program's.
    environment.insert(QStringLiteral("HOME"), work + QStringLiteral("/home"));
    for (const char *name :
            { "QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME" })
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(options.runFolder);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setStandardOutputFile(programLog);
    program.setProgram(options.program);
    // Without the library: the run counts every import as new entries, and a
    // library would rightly keep a file imported twice only once.
    program.setArguments(QStringList{ QStringLiteral("--fresh") } + recordings->startVideos());
    program.start();
    if (!program.waitForStarted(kStartMs)) {
        say(QStringLiteral("stress: cannot start %1: %2")
                        .arg(options.program, program.errorString()));
        return false;
    }
    probe = std::make_unique<ProbeClient>(socketName);
    return true;
}

// Up once the probe answers, the window is shown and the files named on the
// command line are in the catalogue.
bool StressRun::waitForWindow()
{
    const Action start = momentOf(QStringLiteral("start-up"));
    const QDeadlineTimer deadline(kStartMs);
    if (!probe->connectWithin(kStartMs)) {
        say(QStringLiteral("stress: the program never answered on its probe socket; see %1")
                        .arg(programLog));
        return false;
    }
    const int expected = int(recordings->startVideos().size());
    while (!deadline.hasExpired()) {
        if (programEnded()) {
            reportEnd(start);
            return false;
        }
        const std::optional<QString> shown
                = probe->ask(QStringLiteral("rect ") + kMainWindow, kAnswerMs);
        const std::optional<QString> answer = probe->ask(QStringLiteral("counts"), kAnswerMs);
        if (shown && *shown != QLatin1String("none") && answer
                && answer->startsWith(QString::number(expected) + QLatin1Char(' ')))
            return true;
        QThread::msleep(kPollMs * 4);
    }
    say(QStringLiteral("stress: the window did not come up with %1 recordings within %2 s")
                    .arg(expected)
                    .arg(kStartMs / 1000));
    return false;
}

void StressRun::closeProgram()
{
    const Action end = momentOf(QStringLiteral("shut-down"));
    if (fatal || programEnded())
        return;
    settleWindows(end);
    // The close button lies under the video in full screen.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto close = placement(end, QStringLiteral("rect WindowClose"));
        if (!close)
            break;
        if (close->covered) {
            activateMainWindow(end);
            input.pressKey(QStringLiteral("Escape"));
            QThread::msleep(kPollMs * 4);
            continue;
        }
        input.click(close->rect.center());
        break;
    }
    if (!program.waitForFinished(kCloseMs)) {
        fail(end,
                QStringLiteral("the close button did not end the program within %1 s")
                        .arg(kCloseMs / 1000));
        program.kill();
        program.waitForFinished(kCloseMs);
        return;
    }
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
        reportEnd(end);
    else
        say(QStringLiteral("stress: closed by its close button, exit code 0"));
    checkImages(end);
    checkLog(end);
}

void StressRun::removeShots() const
{
    const QStringList shots = images.allowedImages();
    for (const QString &shot : shots)
        QFile::remove(shot);
}

void StressRun::printSummary(qint64 elapsedMs) const
{
    const double seconds = elapsedMs / 1000.0;
    say(QStringLiteral("stress: %1 actions in %2 s (%3 actions/s), seed %4")
                    .arg(actionsDone)
                    .arg(seconds, 0, 'f', 1)
                    .arg(seconds > 0 ? actionsDone / seconds : 0.0, 0, 'f', 1)
                    .arg(options.seed));
    say(QStringLiteral(
            "stress: slowest answer %1 ms (after action #%2); catalogue between %3 and %4, "
            "at the end catalogue %5, playlist %6, player index %7")
                    .arg(slowestAnswerMs)
                    .arg(slowestAnswerAction)
                    .arg(minCatalogue)
                    .arg(maxCatalogue)
                    .arg(lastCounts.catalogue)
                    .arg(lastCounts.playlist)
                    .arg(lastCounts.index));
    say(QStringLiteral("stress: file dialogs: %1 accepted (%2 files imported), %3 cancelled, %4 "
                       "left open after Enter, %5 with a path that could not be typed (%6 "
                       "retyped); %7 message boxes closed")
                    .arg(dialogsAccepted)
                    .arg(filesImported)
                    .arg(dialogsCancelled)
                    .arg(dialogsRefused)
                    .arg(typingFailures)
                    .arg(typingRetries)
                    .arg(messageBoxesClosed));
    say(QStringLiteral("stress: %1 snapshots in VideoShots/, %2 clicks on targets under the video")
                    .arg(images.allowedImages().size())
                    .arg(coveredTargets));
    say(QStringLiteral("stress: %1 trouble lines in the program's log%2")
                    .arg(troubleLines)
                    .arg(troubleLines > 0 && options.tolerateLog
                                    ? QStringLiteral(" (the first is shown above)")
                                    : QString()));
    say(failures == 0 ? QStringLiteral("stress: PASS")
                      : QStringLiteral(
                              "stress: FAIL, %1 failures; replay with --seed %2 --actions %3")
                                .arg(failures)
                                .arg(options.seed)
                                .arg(actionsDone));
}

int StressRun::exec()
{
    say(QStringLiteral("stress: seed %1 (replay: --seed %1%2)")
                    .arg(options.seed)
                    .arg(options.actions > 0
                                    ? QStringLiteral(" --actions %1").arg(options.actions)
                                    : QStringLiteral(" --seconds %1").arg(options.seconds)));
    if (!input.isOpen()) {
        say(QStringLiteral("stress: no X display with the XTEST extension (run under xvfb-run)"));
        return 2;
    }
    if (!setUp())
        return 2;
    say(QStringLiteral("stress: program up; log in %1").arg(programLog));
    {
        const Action start = momentOf(QStringLiteral("start-up"));
        activateMainWindow(start);
        checkCounts(start);
        checkLog(start);
    }

    ActionPlan plan(options.seed);
    QElapsedTimer clock;
    clock.start();
    while (!fatal) {
        if (options.actions > 0 && actionsDone >= options.actions)
            break;
        if (options.seconds > 0 && clock.elapsed() >= options.seconds * 1000LL)
            break;
        const Action action = plan.next();
        if (options.verbose)
            say(action.describe());
        perform(action);
        ++actionsDone;
        checkAfter(action);
        if (actionsDone % kProgressEvery == 0)
            say(QStringLiteral("stress: #%1 after %2 s: catalogue %3, playlist %4, index %5, "
                               "slowest answer %6 ms")
                            .arg(actionsDone)
                            .arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                            .arg(lastCounts.catalogue)
                            .arg(lastCounts.playlist)
                            .arg(lastCounts.index)
                            .arg(slowestAnswerMs));
    }
    const qint64 elapsed = clock.elapsed();
    closeProgram();
    printSummary(elapsed);
    if (!options.keepShots)
        removeShots();
    // The program's log, screenshots and backtraces explain a failure.
    if (temporaryWork && failures > 0)
        temporaryWork->setAutoRemove(false);
    if (!temporaryWork || !temporaryWork->autoRemove())
        say(QStringLiteral("stress: scratch folder kept: %1").arg(work));
    return failures == 0 ? 0 : 1;
}

// ---- actions ----------------------------------------------------------------

void StressRun::perform(const Action &action)
{
    switch (action.kind) {
    case ActionKind::Button:
        clickButton(action);
        break;
    case ActionKind::Import:
        importThroughDialog(action);
        break;
    case ActionKind::ClickRow:
        clickRow(action, false);
        break;
    case ActionKind::DoubleClickRow:
        clickRow(action, true);
        break;
    case ActionKind::DoubleClickVideo:
        doubleClickIn(QStringLiteral("VideoWindow"), action, 0, 0);
        break;
    case ActionKind::DoubleClickBanner:
        doubleClickIn(QStringLiteral("Header_Center"), action, kBannerTop, kBannerBottom);
        break;
    case ActionKind::DragTimeSlider:
        dragSlider(QStringLiteral("VideoTimeSlider"), action);
        break;
    case ActionKind::DragVolumeSlider:
        dragSlider(QStringLiteral("VideoVolumnSlider"), action);
        break;
    case ActionKind::Key:
        pressKey(action);
        break;
    case ActionKind::Wait:
        pause(action, action.amount);
        break;
    }
}

void StressRun::clickButton(const Action &action)
{
    const auto button
            = placement(action, QStringLiteral("rect ") + Action::buttonNames().at(action.choice));
    if (!button)
        return;
    coveredTargets += button->covered ? 1 : 0;
    input.click(pointIn(button->rect, action.x, action.y));
}

void StressRun::clickRow(const Action &action, bool twice)
{
    const QString table = action.rightTable ? QStringLiteral("VideoListRight")
                                            : QStringLiteral("VideoListLeft");
    const auto cell = placement(
            action, QStringLiteral("cell %1 %2 %3").arg(table).arg(action.row).arg(action.column));
    if (!cell)
        return;
    const QPoint point = pointIn(cell->rect, action.x, action.y);
    if (twice)
        input.doubleClick(point);
    else
        input.click(point);
}

void StressRun::doubleClickIn(
        const QString &name, const Action &action, int topMargin, int bottomMargin)
{
    const auto target = placement(action, QStringLiteral("rect ") + name);
    if (!target)
        return;
    coveredTargets += target->covered ? 1 : 0;
    const QRect band = target->rect.adjusted(0, topMargin, 0, -bottomMargin);
    input.doubleClick(pointIn(band, action.x, action.y));
}

void StressRun::dragSlider(const QString &name, const Action &action)
{
    const auto slider = placement(action, QStringLiteral("rect ") + name);
    const auto handle = placement(action, QStringLiteral("handle ") + name);
    if (!slider || !handle)
        return;
    coveredTargets += slider->covered ? 1 : 0;
    const QPoint from = handle->rect.center();
    const QPoint to(slider->rect.x() + int(action.x * (slider->rect.width() - 1)), from.y());
    input.drag(from, to);
}

// Keys go to the active window, which a click on the bare window makes it.
void StressRun::activateMainWindow(const Action &action)
{
    const QList<ShownWindow> shown = windows(action);
    for (const ShownWindow &window : shown) {
        if (window.name == kMainWindow && window.flags.contains(QLatin1Char('a')))
            return;
    }
    const auto label = placement(action, QStringLiteral("rect VideoTime"));
    if (label)
        input.click(label->rect.center());
}

void StressRun::pressKey(const Action &action)
{
    activateMainWindow(action);
    input.pressKey(Action::keyNames().at(action.choice));
}

void StressRun::pause(const Action &action, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && !fatal) {
        QThread::msleep(
                quint64(qMin<qint64>(kPollMs * 4, qMax<qint64>(0, deadline.remainingTime()))));
        if (!request(action, QStringLiteral("ping")))
            return;
    }
}

std::optional<StressRun::ShownWindow> StressRun::fileDialog(const Action &action)
{
    const QList<ShownWindow> shown = windows(action);
    for (const ShownWindow &window : shown) {
        if (window.className == QLatin1String("QFileDialog"))
            return window;
    }
    return std::nullopt;
}

// Clicks the file name field, replaces its text and checks that it arrived.
bool StressRun::typeIntoFileDialog(const Action &action, const QString &text)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto field = placement(action, QStringLiteral("rect ") + kFileNameEdit);
        if (!field)
            return false;
        input.click(field->rect.center());
        input.pressKey(QStringLiteral("a"), true);
        const auto fieldHolds = [&](const QString &expected) {
            return waitUntil(action, kAnswerMs, [&] {
                return request(action, QStringLiteral("text ") + kFileNameEdit).value_or(QString())
                        == expected;
            });
        };
        const bool arrived = input.typeText(text, fieldHolds) && fieldHolds(text);
        if (arrived)
            return true;
        ++typingRetries;
    }
    return false;
}

void StressRun::importThroughDialog(const Action &action)
{
    const auto button = placement(action, QStringLiteral("rect VideoListItemImport"));
    const auto before = counts(action);
    if (!button || !before)
        return;
    input.click(pointIn(button->rect, action.x, action.y));
    // Under the video in full screen the click opens nothing.
    if (button->covered) {
        ++coveredTargets;
        return;
    }
    if (!waitUntil(action, kDialogMs, [&] { return fileDialog(action).has_value(); })) {
        const auto now = placement(action, QStringLiteral("rect VideoListItemImport"));
        if (now && now->rect != button->rect) {
            say(QStringLiteral("note %1: the window moved under the click").arg(action.describe()));
            return;
        }
        if (!fatal)
            fail(action,
                    QStringLiteral(
                            "the import button at %1,%2 %3x%4 opened no file dialog within %5 s; "
                            "windows: %6")
                            .arg(button->rect.x())
                            .arg(button->rect.y())
                            .arg(button->rect.width())
                            .arg(button->rect.height())
                            .arg(kDialogMs / 1000)
                            .arg(request(action, QStringLiteral("windows")).value_or(QString())));
        return;
    }

    QStringList files;
    QString text;
    switch (action.importWay()) {
    case ImportWay::Cancel:
        break;
    case ImportWay::OneFile:
        files = recordings->pick(action.amount, 1);
        text = files.first();
        break;
    case ImportWay::SeveralFiles: {
        files = recordings->pick(action.amount, action.amount % 4 + 1);
        // Into the folder first; the field then takes several quoted names.
        const QString folder = QFileInfo(files.first()).absolutePath();
        if (!typeIntoFileDialog(action, folder))
            break;
        input.pressKey(QStringLiteral("Return"));
        waitUntil(action, kDialogMs, [&] {
            return request(action, QStringLiteral("text ") + kFileNameEdit)
                    .value_or(QString())
                    .isEmpty();
        });
        text = quotedNames(files);
        break;
    }
    case ImportWay::MissingFile:
        text = recordings->root() + QStringLiteral("/nowhere/FILE0999.MOV");
        break;
    }

    if (text.isEmpty() || !typeIntoFileDialog(action, text)) {
        const auto field = placement(action, QStringLiteral("rect ") + kFileNameEdit);
        if (field)
            input.click(field->rect.center());
        input.pressKey(QStringLiteral("Escape"));
        if (action.importWay() == ImportWay::Cancel) {
            ++dialogsCancelled;
        } else {
            ++typingFailures;
            say(QStringLiteral("note %1: the path could not be typed; cancelled")
                            .arg(action.describe()));
        }
        return;
    }
    // A first Enter may only close the completer's list; a missing file
    // leaves the dialog open however often it is pressed.
    const int tries = action.importWay() == ImportWay::MissingFile ? 1 : kEnterTries;
    for (int attempt = 0; attempt < tries; ++attempt) {
        input.pressKey(QStringLiteral("Return"));
        if (waitUntil(action, kEnterAnswerMs, [&] { return !fileDialog(action).has_value(); }))
            break;
    }
    if (fileDialog(action)) {
        ++dialogsRefused;
        if (options.verbose)
            say(QStringLiteral("note %1: the dialog stayed open after Enter")
                            .arg(action.describe()));
        return; // settleWindows() closes what is left
    }
    ++dialogsAccepted;
    expectImported(action, before->catalogue, int(files.size()));
}

// The import runs once the dialog has closed; the probe is answered between
// its files, so wait for the catalogue to reach its new length.
void StressRun::expectImported(const Action &action, int before, int files)
{
    const int expected = before + files;
    int got = before;
    waitUntil(action, kImportMs, [&] {
        const auto now = counts(action);
        got = now ? now->catalogue : got;
        return got == expected;
    });
    if (fatal)
        return;
    if (got != expected)
        fail(action,
                QStringLiteral("the import of %1 files took the catalogue from %2 to %3")
                        .arg(files)
                        .arg(before)
                        .arg(got));
    else
        filesImported += files;
}

// ---- checks -----------------------------------------------------------------

std::optional<QString> StressRun::request(const Action &action, const QString &text)
{
    if (fatal)
        return std::nullopt;
    QElapsedTimer timer;
    timer.start();
    const std::optional<QString> answer = probe->ask(text, kAnswerMs);
    if (!answer) {
        unresponsive(action, text);
        return std::nullopt;
    }
    if (timer.elapsed() > slowestAnswerMs) {
        slowestAnswerMs = timer.elapsed();
        slowestAnswerAction = action.number;
    }
    return answer;
}

std::optional<ProbeClient::Placement> StressRun::placement(
        const Action &action, const QString &text)
{
    const std::optional<QString> answer = request(action, text);
    return answer ? ProbeClient::parsePlacement(*answer) : std::nullopt;
}

std::optional<StressRun::Counts> StressRun::counts(const Action &action)
{
    const std::optional<QString> answer = request(action, QStringLiteral("counts"));
    if (!answer)
        return std::nullopt;
    const QStringList words = answer->split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != 3)
        return std::nullopt;
    return Counts { words.at(0).toInt(), words.at(1).toInt(), words.at(2).toInt() };
}

QList<StressRun::ShownWindow> StressRun::windows(const Action &action)
{
    QList<ShownWindow> shown;
    const std::optional<QString> answer = request(action, QStringLiteral("windows"));
    if (!answer)
        return shown;
    const QStringList entries = answer->split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const QStringList words = entry.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() != 8)
            continue;
        shown << ShownWindow { words.at(0), words.at(1),
            QRect(words.at(2).toInt(), words.at(3).toInt(), words.at(4).toInt(),
                    words.at(5).toInt()),
            words.at(6), words.at(7).toULongLong() };
    }
    return shown;
}

bool StressRun::waitUntil(
        const Action &action, int timeoutMs, const std::function<bool()> &condition)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!fatal) {
        if (condition())
            return true;
        if (deadline.hasExpired() || programEnded())
            return false;
        QThread::msleep(kPollMs);
    }
    Q_UNUSED(action);
    return false;
}

void StressRun::checkAfter(const Action &action)
{
    if (fatal)
        return;
    if (programEnded()) {
        reportEnd(action);
        return;
    }
    if (!request(action, QStringLiteral("ping")))
        return;
    settleGeometry(action);
    settleWindows(action);
    checkCounts(action);
    checkImages(action);
    checkLog(action);
}

// Where the program believes its window is and where the X server has it
// differ for a moment after a resize; clicks are aimed by the former and land
// by the latter, so the next action waits until the two agree (twice running
// after an action that may have resized the window).
void StressRun::settleGeometry(const Action &action)
{
    const int wanted = action.mayResizeWindow() ? 2 : 1;
    const QDeadlineTimer deadline(kSettleGeometryMs);
    QRect believed;
    std::optional<QRect> actual;
    int agreements = 0;
    while (!fatal && !deadline.hasExpired()) {
        const QList<ShownWindow> shown = windows(action);
        const auto main = std::find_if(shown.cbegin(), shown.cend(),
                [](const ShownWindow &window) { return window.name == kMainWindow; });
        if (main == shown.cend())
            return;
        believed = main->rect;
        actual = input.windowGeometry(main->id);
        agreements = actual == believed ? agreements + 1 : 0;
        if (agreements == wanted)
            return;
        QThread::msleep(kPollMs * 2);
    }
    if (!fatal)
        fail(action,
                QStringLiteral(
                        "the window believes it is at %1,%2 %3x%4, the X server has it at %5")
                        .arg(believed.x())
                        .arg(believed.y())
                        .arg(believed.width())
                        .arg(believed.height())
                        .arg(actual ? QStringLiteral("%1,%2 %3x%4")
                                                .arg(actual->x())
                                                .arg(actual->y())
                                                .arg(actual->width())
                                                .arg(actual->height())
                                    : QStringLiteral("no place at all")));
}

// Closes what the action left open: message boxes, a file dialog, popups.
// A running import's progress is waited for.
void StressRun::settleWindows(const Action &action)
{
    const QDeadlineTimer deadline(kSettleMs);
    QString lastSeen;
    while (!fatal && !deadline.hasExpired()) {
        const QList<ShownWindow> shown = windows(action);
        std::optional<ShownWindow> other;
        for (const ShownWindow &window : shown) {
            if (window.name == kMainWindow || window.flags.contains(QLatin1Char('t')))
                continue;
            if (!other || window.flags.contains(QLatin1Char('m')))
                other = window;
        }
        if (!other)
            return;
        lastSeen = other->className;
        if (other->className == QLatin1String("QProgressDialog")
                || other->className == QLatin1String("QSplashScreen")) {
            QThread::msleep(kPollMs * 4);
            continue;
        }
        if (other->className == QLatin1String("QMessageBox")) {
            ++messageBoxesClosed;
        } else if (other->className != QLatin1String("QFileDialog")
                && !other->flags.contains(QLatin1Char('p'))) {
            say(QStringLiteral("note %1: closing an unexpected %2 window")
                            .arg(action.describe(), other->className));
        }
        // A click on its bare corner makes it the active window for the key.
        if (!other->flags.contains(QLatin1Char('p')))
            input.click(other->rect.topLeft() + QPoint(kMargin * 2, kMargin * 2));
        input.pressKey(QStringLiteral("Escape"));
        QThread::msleep(kPollMs);
    }
    if (!fatal)
        fail(action,
                QStringLiteral("a %1 window stayed open for %2 s")
                        .arg(lastSeen)
                        .arg(kSettleMs / 1000));
}

void StressRun::checkCounts(const Action &action)
{
    const auto now = counts(action);
    if (!now) {
        if (!fatal)
            fail(action, QStringLiteral("the probe cannot read the catalogue and playlist counts"));
        return;
    }
    if (lastCounts.catalogue < 0)
        minCatalogue = maxCatalogue = now->catalogue;
    lastCounts = *now;
    minCatalogue = qMin(minCatalogue, now->catalogue);
    maxCatalogue = qMax(maxCatalogue, now->catalogue);
    QString problem;
    if (now->catalogue != now->playlist)
        problem = QStringLiteral("catalogue holds %1 recordings, playlist %2")
                          .arg(now->catalogue)
                          .arg(now->playlist);
    else if (now->index < -1 || now->index >= now->playlist)
        problem = QStringLiteral("player index %1 outside a playlist of %2")
                          .arg(now->index)
                          .arg(now->playlist);
    // Reported when it starts or changes, not after every action it lasts.
    if (!problem.isEmpty() && problem != lastCountsProblem)
        fail(action, problem);
    lastCountsProblem = problem;
}

void StressRun::checkImages(const Action &action)
{
    const QStringList stray = images.strayImages();
    for (const QString &image : stray)
        fail(action, QStringLiteral("an image appeared outside VideoShots/: %1").arg(image));
}

// Rendering complaints, which the smoke test fails on too, are told with the
// action after which they were written.
void StressRun::checkLog(const Action &action)
{
    const QStringList lines = log->newTroubleLines();
    if (lines.isEmpty())
        return;
    troubleLines += int(lines.size());
    const QString what = QStringLiteral("the program wrote %1 trouble lines, the first: %2")
                                 .arg(lines.size())
                                 .arg(lines.first());
    if (!options.tolerateLog)
        fail(action, what);
    else if (troubleLines == lines.size() || options.verbose)
        say(QStringLiteral("WARN %1: %2").arg(action.describe(), what));
}

// ---- hangs and crashes ------------------------------------------------------

bool StressRun::programEnded()
{
    QCoreApplication::processEvents();
    return program.state() == QProcess::NotRunning || program.waitForFinished(0);
}

void StressRun::reportEnd(const Action &action)
{
    fatal = true;
    const QString how = program.exitStatus() == QProcess::CrashExit
            ? QStringLiteral("crashed")
            : QStringLiteral("ended with exit code %1").arg(program.exitCode());
    fail(action,
            QStringLiteral("the program %1; last lines of %2:\n%3")
                    .arg(how, programLog, tail(programLog, kLogTailLines)));
}

void StressRun::unresponsive(const Action &action, const QString &what)
{
    if (programEnded()) {
        reportEnd(action);
        return;
    }
    fail(action, QStringLiteral("no answer to \"%1\" within %2 ms").arg(what).arg(kAnswerMs));
    QElapsedTimer waited;
    waited.start();
    saveBacktrace(action);
    if (probe->ask(QStringLiteral("ping"), kRecoveryMs)) {
        say(QStringLiteral("note %1: the program answered again after %2 ms more")
                        .arg(action.describe())
                        .arg(waited.elapsed()));
        return;
    }
    fatal = true;
    say(QStringLiteral("FAIL %1: still no answer after %2 s; stopping")
                    .arg(action.describe())
                    .arg(kRecoveryMs / 1000));
    saveBacktrace(action);
}

// Where each thread of a hung program stands, when gdb is there to tell.
void StressRun::saveBacktrace(const Action &action)
{
    const QString gdb = QStandardPaths::findExecutable(QStringLiteral("gdb"));
    if (gdb.isEmpty())
        return;
    const QString path
            = work + QStringLiteral("/backtrace-%1-%2.txt").arg(action.number).arg(++backtraces);
    QProcess trace;
    trace.setStandardOutputFile(path);
    trace.start(gdb,
            { QStringLiteral("-p"), QString::number(program.processId()), QStringLiteral("-batch"),
                    QStringLiteral("-ex"), QStringLiteral("thread apply all bt 30") });
    trace.waitForFinished(kRecoveryMs * 2);
    say(QStringLiteral("stress: the hung program's threads are in %1").arg(path));
}
