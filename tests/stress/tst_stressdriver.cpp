#include "actionplan.h"
#include "imagewatch.h"
#include "logwatch.h"
#include "probeclient.h"
#include "stressoptions.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kPlanLength = 3000;

bool touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

class TestStressDriver : public QObject
{
    Q_OBJECT

private slots:
    void samePlanFromSameSeed_data();
    void samePlanFromSameSeed();
    void planReachesEveryAction();
    void planStaysInRange();
    void resizingActions_data();
    void resizingActions();

    void imageWatch_data();
    void imageWatch();
    void strayImageReportedOnce();

    void troubleLines_data();
    void troubleLines();
    void logReadInPieces();

    void options_data();
    void options();

    void placement_data();
    void placement();
};

// A failing run is replayed from its seed alone, so the plan must not depend
// on anything else.
void TestStressDriver::samePlanFromSameSeed_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("0") << 0u;
    QTest::newRow("the test's seed") << 20261207u;
    QTest::newRow("largest") << 0xffffffffu;
}

void TestStressDriver::samePlanFromSameSeed()
{
    QFETCH(quint32, seed);
    ActionPlan first(seed);
    ActionPlan second(seed);
    ActionPlan other(seed + 1);
    int differences = 0;
    for (int i = 0; i < kPlanLength; ++i) {
        const Action action = first.next();
        QCOMPARE(second.next().describe(), action.describe());
        differences += other.next().describe() != action.describe() ? 1 : 0;
    }
    QVERIFY2(differences > kPlanLength / 2, "the next seed gives much the same plan");
}

void TestStressDriver::planReachesEveryAction()
{
    ActionPlan plan(7);
    QSet<int> kinds;
    QSet<int> buttons;
    QSet<int> keys;
    QSet<int> importWays;
    for (int i = 0; i < kPlanLength; ++i) {
        const Action action = plan.next();
        kinds.insert(int(action.kind));
        if (action.kind == ActionKind::Button)
            buttons.insert(action.choice);
        if (action.kind == ActionKind::Key)
            keys.insert(action.choice);
        if (action.kind == ActionKind::Import)
            importWays.insert(action.choice);
    }
    QCOMPARE(kinds.size(), int(ActionKind::Wait) + 1);
    QCOMPARE(buttons.size(), int(Action::buttonNames().size()));
    QCOMPARE(keys.size(), int(Action::keyNames().size()));
    QCOMPARE(importWays.size(), int(ImportWay::MissingFile) + 1);
}

void TestStressDriver::planStaysInRange()
{
    ActionPlan plan(20261207);
    for (int i = 1; i <= kPlanLength; ++i) {
        const Action action = plan.next();
        const QByteArray what = action.describe().toUtf8();
        QCOMPARE(action.number, i);
        QVERIFY2(
                action.row >= 0 && action.row < 5 && action.column >= 0 && action.column < 4, what);
        QVERIFY2(action.x >= 0 && action.x < 1 && action.y >= 0 && action.y < 1, what);
        if (action.kind == ActionKind::Wait)
            QVERIFY2(action.amount >= 200 && action.amount <= 1500, what);
    }
}

// After these the driver waits for the window to settle before aiming again.
void TestStressDriver::resizingActions_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("choice"); // button or key name
    QTest::addColumn<bool>("resizes");

    QTest::newRow("maximise button") << int(ActionKind::Button) << "WindowMax|WindowNormal" << true;
    QTest::newRow("next button") << int(ActionKind::Button) << "VideoNext" << false;
    QTest::newRow("key F") << int(ActionKind::Key) << "f" << true;
    QTest::newRow("key Enter") << int(ActionKind::Key) << "KP_Enter" << true;
    QTest::newRow("key Escape") << int(ActionKind::Key) << "Escape" << true;
    QTest::newRow("key Space") << int(ActionKind::Key) << "space" << false;
    QTest::newRow("double click on the banner") << int(ActionKind::DoubleClickBanner) << "" << true;
    QTest::newRow("double click on a row") << int(ActionKind::DoubleClickRow) << "" << false;
}

void TestStressDriver::resizingActions()
{
    QFETCH(int, kind);
    QFETCH(QString, choice);

    Action action;
    action.kind = ActionKind(kind);
    const QStringList &names
            = action.kind == ActionKind::Key ? Action::keyNames() : Action::buttonNames();
    action.choice = choice.isEmpty() ? 0 : int(names.indexOf(choice));
    QVERIFY2(action.choice >= 0, "no such button or key");
    QTEST(action.mayResizeWindow(), "resizes");
}

void TestStressDriver::imageWatch_data()
{
    QTest::addColumn<QString>("created");
    QTest::addColumn<bool>("stray");
    QTest::addColumn<int>("allowed");

    QTest::newRow("snapshot in VideoShots") << "run/VideoShots/vlcsnap-1.png" << false << 1;
    QTest::newRow("snapshot in the run folder") << "run/vlcsnap-1.png" << true << 0;
    QTest::newRow("snapshot beside the recordings") << "cards/DCIM/100MEDIA/shot.jpg" << true << 0;
    QTest::newRow("upper-case suffix") << "home/Pictures/SHOT.PNG" << true << 0;
    QTest::newRow("hidden folder") << "home/.cache/vlc/snap.tiff" << true << 0;
    QTest::newRow("folder named like VideoShots") << "run/VideoShotsOld/a.png" << true << 0;
    QTest::newRow("no image") << "run/VideoShots/notes.txt" << false << 0;
    QTest::newRow("image there from the start") << "run/images/button.png" << false << 0;
}

void TestStressDriver::imageWatch()
{
    QFETCH(QString, created);
    QFETCH(bool, stray);
    QFETCH(int, allowed);

    QTemporaryDir root;
    QVERIFY(touch(root.filePath("run/images/button.png")));
    QVERIFY(touch(root.filePath("cards/DCIM/100MEDIA/FILE0001.MOV")));
    QVERIFY(QDir().mkpath(root.filePath("home")));
    ImageWatch watch;
    for (const char *folder : { "run", "cards", "home" })
        watch.watch(root.filePath(folder));
    watch.allow(root.filePath("run/VideoShots"));

    QVERIFY(QFile::exists(root.filePath(created)) || touch(root.filePath(created)));
    const QStringList found = watch.strayImages();
    QCOMPARE(found, stray ? QStringList { root.filePath(created) } : QStringList());
    QCOMPARE(watch.allowedImages().size(), allowed);
}

void TestStressDriver::strayImageReportedOnce()
{
    QTemporaryDir root;
    ImageWatch watch;
    watch.watch(root.path());
    QVERIFY(touch(root.filePath("a.png")));
    QCOMPARE(watch.strayImages().size(), 1);
    QVERIFY(watch.strayImages().isEmpty());
    QVERIFY(touch(root.filePath("b.png")));
    QCOMPARE(watch.strayImages(), QStringList { root.filePath("b.png") });
}

void TestStressDriver::troubleLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("trouble");

    QTest::newRow("context") << "QOpenGLContext::makeCurrent() called with non-opengl surface 0x5"
                             << true;
    QTest::newRow("rhi")
            << "QRhiGles2: Failed to make context current. Expect bad things to happen." << true;
    QTest::newRow("fatal") << "Fatal Python error" << true;
    QTest::newRow("sound card") << "ALSA lib pcm.c:2666:(snd_pcm_open_noupdate) Unknown PCM default"
                                << false;
    QTest::newRow("snapshot debug") << "Media is not NULL" << false;
}

void TestStressDriver::troubleLines()
{
    QFETCH(QString, line);
    QTEST(LogWatch::isTrouble(line), "trouble");
}

// The program writes while the driver reads: a line is judged once, whole.
void TestStressDriver::logReadInPieces()
{
    QTemporaryDir folder;
    QFile file(folder.filePath("velmora.log"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    LogWatch watch(file.fileName());
    QVERIFY(watch.newTroubleLines().isEmpty());

    file.write("ALSA lib: no card\nQOpenGLContext::makeCurrent() called");
    QVERIFY(watch.newTroubleLines().isEmpty());
    file.write(" with non-opengl surface\nplain\nQRhiGles2: Failed\n");
    QCOMPARE(watch.newTroubleLines(),
            QStringList({ "QOpenGLContext::makeCurrent() called with non-opengl surface",
                    "QRhiGles2: Failed" }));
    QVERIFY(watch.newTroubleLines().isEmpty());
}

void TestStressDriver::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("actions");
    QTest::addColumn<int>("seconds");

    QTest::newRow("nothing: a thousand actions") << QStringList() << true << 0u << 1000 << 0;
    QTest::newRow("seed and seconds")
            << QStringList { "--seed", "42", "--seconds", "110" } << true << 42u << 0 << 110;
    QTest::newRow("largest seed") << QStringList { "--seed", "4294967295" } << true << 0xffffffffu
                                  << 1000 << 0;
    QTest::newRow("both limits") << QStringList { "--actions", "5", "--seconds", "9" } << true << 0u
                                 << 5 << 9;
    QTest::newRow("seed too large")
            << QStringList { "--seed", "4294967296" } << false << 0u << 0 << 0;
    QTest::newRow("negative") << QStringList { "--actions", "-3" } << false << 0u << 0 << 0;
    QTest::newRow("not a number") << QStringList { "--seconds", "ten" } << false << 0u << 0 << 0;
    QTest::newRow("stray argument") << QStringList { "extra" } << false << 0u << 0 << 0;
}

void TestStressDriver::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);

    StressOptions parsed;
    QString message;
    QCOMPARE(StressOptions::parse(QStringList { "velmora_stress" } + arguments, &parsed, &message),
            valid);
    if (!valid) {
        QVERIFY(!message.isEmpty());
        return;
    }
    QTEST(parsed.seed, "seed");
    QTEST(parsed.actions, "actions");
    QTEST(parsed.seconds, "seconds");
    QVERIFY2(QFileInfo(parsed.program).fileName() == QLatin1String("velmora"),
            "the default program is not this build's velmora");
}

void TestStressDriver::placement_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("placed");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("covered");

    QTest::newRow("shown") << "187 630 35 35" << true << QRect(187, 630, 35, 35) << false;
    QTest::newRow("covered") << "-5 0 20 20 covered" << true << QRect(-5, 0, 20, 20) << true;
    QTest::newRow("not shown") << "none" << false << QRect() << false;
    QTest::newRow("empty") << "" << false << QRect() << false;
    QTest::newRow("too many words") << "1 2 3 4 covered x" << false << QRect() << false;
}

void TestStressDriver::placement()
{
    QFETCH(QString, answer);
    QFETCH(bool, placed);

    const auto placement = ProbeClient::parsePlacement(answer);
    QCOMPARE(placement.has_value(), placed);
    if (!placed)
        return;
    QTEST(placement->rect, "rect");
    QTEST(placement->covered, "covered");
}

QTEST_GUILESS_MAIN(TestStressDriver)
#include "tst_stressdriver.moc"
