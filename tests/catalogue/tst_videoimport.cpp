// Importing videos through the open dialog, the command line and drops, with
// progress for long imports.

#include "testwindow.h"

#include "catalogue/uvideoandgpsfiles.h"
#include "catalogue/videoimport.h"
#include "playback/uvlcwrapper.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include <algorithm>
#include <functional>
#include <memory>

#include <unistd.h>

using namespace testrecordings;

namespace {

// Thousands of files go through a dialog or a drop.
constexpr int kImportTimeout = 30000;
constexpr int kManyVideos = 3000;
// Each with a log of the largest size read: rating them takes seconds.
constexpr int kSlowVideos = 400;

// Names a user may give a recording; each must reach the list unchanged.
// No closing tag: a file name cannot hold a "/".
const QString kMarkupName = QStringLiteral("Ünïcödé <b>markup &amp; it's.MOV");
const QString kLowerCaseName = QStringLiteral("second clip.mov");
const QString kQuotesName = QStringLiteral("with \"quotes\" & spaces.MOV");

QStringList localFiles(const QList<QUrl> &urls)
{
    QStringList files;
    for (const QUrl &url : urls)
        files << url.toLocalFile();
    return files;
}

} // namespace

class TestVideoImport : public QObject, private TestWindow
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openDialog_data();
    void openDialog();
    void commandLine();
    void drops_data();
    void drops();
    void progress_data();
    void progress();

private:
    QStringList catalogued() const;
    bool drop(const QList<QUrl> &urls);
    void whileDialogOpen(const std::function<bool(QFileDialog *)> &step);

    QTemporaryDir files;
    QStringList many;
    QStringList slow;
};

void TestVideoImport::initTestCase()
{
    const QString clip = files.filePath(QStringLiteral("clip.MOV"));
    QVERIFY2(makeClip(clip), "ffmpeg could not make a clip");

    for (const char *name : { "drop/b/FILE0002.MOV", "drop/a/FILE0001.mov", "drop/a/c/FILE0003.Mov",
                              "drop/a/readme.txt" })
        QVERIFY(copyFile(clip, files.filePath(QLatin1String(name))));
    // A link back up must not send the search round in circles.
    QVERIFY(QFile::link(files.filePath(QStringLiteral("drop")),
                        files.filePath(QStringLiteral("drop/a/loop"))));

    // Import does not look inside the files, so these need not be videos.
    for (int i = 0; i < kManyVideos; ++i) {
        many << files.filePath(QStringLiteral("many/FILE%1.MOV").arg(i, 4, 10, QLatin1Char('0')));
        QVERIFY(writeFile(many.last(), "x"));
    }
    const QString bigLog = files.filePath(QStringLiteral("big.log"));
    QVERIFY(writeFile(bigLog, QByteArray(32 << 20, 'A')));
    QVERIFY(QDir().mkpath(files.filePath(QStringLiteral("slow/gps"))));
    for (int i = 0; i < kSlowVideos; ++i) {
        const QString name = QStringLiteral("FILE%1.MOV").arg(i, 4, 10, QLatin1Char('0'));
        const QString card = files.filePath(QStringLiteral("slow"));
        slow << cardVideo(card, name);
        QVERIFY(writeFile(slow.last(), "x"));
        QVERIFY(::link(QFile::encodeName(bigLog).constData(),
                       QFile::encodeName(cardLog(card, name)).constData()) == 0);
    }
}

void TestVideoImport::init()
{
    QVERIFY(open());
}

void TestVideoImport::cleanup()
{
    close();
}

QStringList TestVideoImport::catalogued() const
{
    QStringList paths;
    for (int i = 0; i < probe->catalogue()->GetVideoCount(); ++i)
        paths << probe->catalogue()->GetVideoPath(i);
    return paths;
}

bool TestVideoImport::drop(const QList<QUrl> &urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at(window->width() / 2, window->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &enter);
    if (!enter.isAccepted())
        return false;
    if (enter.dropAction() != Qt::CopyAction)
        qWarning("a drop is answered with action %d", int(enter.dropAction()));
    QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &dropped);
    return dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
}

// Runs `step` on the open dialog every 50 ms until it returns true; a dialog
// still open after the timeout is rejected so that the test cannot hang.
void TestVideoImport::whileDialogOpen(const std::function<bool(QFileDialog *)> &step)
{
    auto *poll = new QTimer(this);
    QElapsedTimer elapsed;
    elapsed.start();
    connect(poll, &QTimer::timeout, this, [=] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        const bool done = step(dialog);
        if (!done && elapsed.hasExpired(kImportTimeout))
            dialog->reject();
        if (done || elapsed.hasExpired(kImportTimeout))
            poll->deleteLater();
    });
    poll->start(50);
}

void TestVideoImport::openDialog_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("gpsState");

    QTest::newRow("chosen") << false << true << QStringLiteral("Open Files")
                            << QStringLiteral("Video Files (*.MOV)") << QStringLiteral("Not Exist");
    QTest::newRow("chosen, in Russian")
            << true << true << QStringLiteral("Открыть видеозаписи")
            << QStringLiteral("Видеофайлы (*.MOV)") << QStringLiteral("Нет");
    QTest::newRow("cancelled") << false << false << QStringLiteral("Open Files")
                               << QStringLiteral("Video Files (*.MOV)") << QString();
}

void TestVideoImport::openDialog()
{
    QFETCH(bool, russian);
    QFETCH(bool, accept);
    QFETCH(QString, caption);
    QFETCH(QString, filter);
    QFETCH(QString, gpsState);

    QTranslator translator;
    if (russian) {
        QVERIFY(translator.load(QStringLiteral("velmora_ru"),
                                qEnvironmentVariable("VELMORA_RUN_DIR")));
        QApplication::installTranslator(&translator);
    }
    // A folder of its own: the dialog opens where the last one was left.
    const QString dialogFolder = folder->filePath(QStringLiteral("dialog"));
    const QString clip = files.filePath(QStringLiteral("clip.MOV"));
    QVERIFY(copyFile(clip, dialogFolder + QLatin1Char('/') + kMarkupName));
    QVERIFY(copyFile(clip, dialogFolder + QLatin1Char('/') + kLowerCaseName));
    QVERIFY(writeFile(dialogFolder + QStringLiteral("/notes.txt"), "not a video"));
    QString seenCaption;
    QStringList seenFilters;
    QStringList listed;
    bool loaded = false;
    whileDialogOpen([&](QFileDialog *dialog) {
        if (seenCaption.isEmpty()) {
            seenCaption = dialog->windowTitle();
            seenFilters = dialog->nameFilters();
            connect(dialog->findChild<QFileSystemModel *>(), &QFileSystemModel::directoryLoaded,
                    dialog, [&](const QString &path) { loaded = loaded || path == dialogFolder; });
            dialog->setDirectory(dialogFolder);
            return false;
        }
        if (!loaded)
            return false;
        const auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        if (!accept) {
            dialog->reject();
            return true;
        }
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                ->setText(QStringLiteral("\"%1\" \"%2\"").arg(kLowerCaseName, kMarkupName));
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it
        return true;
    });
    window->findChild<QPushButton *>(QStringLiteral("VideoListItemImport"))->click();
    QApplication::removeTranslator(&translator);

    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenFilters, QStringList{ filter });
    // The filter names *.MOV; lower-case .mov files are offered as well.
    listed.sort();
    QCOMPARE(listed, (QStringList{ kLowerCaseName, kMarkupName }));
    if (!accept) {
        QVERIFY(catalogued().isEmpty());
        return;
    }
    QCOMPARE(catalogued(), (QStringList{ dialogFolder + QLatin1Char('/') + kLowerCaseName,
                                         dialogFolder + QLatin1Char('/') + kMarkupName }));
    QCOMPARE(probe->videoListLeft()->item(0, 0)->text(), kLowerCaseName);
    QCOMPARE(probe->videoListLeft()->item(1, 0)->text(), kMarkupName);
    QCOMPARE(probe->videoListLeft()->item(1, 3)->text(), gpsState);
}

// As the program's main() hands its arguments over: relative to the working
// directory, made absolute, and then played.
void TestVideoImport::commandLine()
{
    const WorkingFolder here(folder->path());
    const QString clip = files.filePath(QStringLiteral("clip.MOV"));
    QVERIFY(copyFile(clip, cardVideo(QStringLiteral("card"), QStringLiteral("FILE0001.MOV"))));
    QVERIFY(writeLog(cardLog(QStringLiteral("card"), QStringLiteral("FILE0001.MOV")), 3, 0));
    QVERIFY(copyFile(clip, cardVideo(QStringLiteral("card"), kQuotesName)));

    const QStringList arguments = {
        QStringLiteral("card/DCIM/100MEDIA/../100MEDIA/FILE0001.MOV"),
        QStringLiteral("./card/DCIM/100MEDIA/") + kQuotesName,
        QStringLiteral("card/DCIM/100MEDIA/missing.MOV"),
        QStringLiteral("card/DCIM"),
    };
    window->importVideos(videoPathsFromArguments(arguments));

    QCOMPARE(catalogued(), (QStringList{ cardVideo(folder->path() + QStringLiteral("/card"),
                                                   QStringLiteral("FILE0001.MOV")),
                                         cardVideo(folder->path() + QStringLiteral("/card"),
                                                   kQuotesName) }));
    // The log is found two folders above the video's own.
    QCOMPARE(probe->catalogue()->GetGpsFileState(0), QStringLiteral("Available"));
    QCOMPARE(probe->videoListLeft()->item(1, 0)->text(), kQuotesName);

    QTableWidget *list = probe->videoListLeft();
    const QPoint row = list->visualItemRect(list->item(1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing),
                              kImportTimeout);
    QCOMPARE(probe->player()->GetIndex(), 1);
}

void TestVideoImport::drops_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("imported");

    const auto local = [this](const char *name) {
        return QUrl::fromLocalFile(files.filePath(QLatin1String(name)));
    };
    const QUrl remote(QStringLiteral("https://example.com/FILE0009.MOV"));
    QTest::newRow("videos among other things")
            << QList<QUrl>{ local("drop/b/FILE0002.MOV"), local("drop/a/readme.txt"), remote,
                            local("drop/a/FILE0001.mov") }
            << true
            << localFiles({ local("drop/b/FILE0002.MOV"), local("drop/a/FILE0001.mov") });
    QTest::newRow("a folder, searched through and sorted")
            << QList<QUrl>{ local("drop") } << true
            << localFiles({ local("drop/a/FILE0001.mov"), local("drop/a/c/FILE0003.Mov"),
                            local("drop/b/FILE0002.MOV") });
    QTest::newRow("nothing local") << QList<QUrl>{ remote } << false << QStringList();
    QTest::newRow("no video")
            << QList<QUrl>{ local("drop/a/readme.txt") } << false << QStringList();
    QTest::newRow("a folder of thousands") << QList<QUrl>{ local("many") } << true << many;
}

void TestVideoImport::drops()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, accepted);
    QFETCH(QStringList, imported);

    QCOMPARE(drop(urls), accepted);
    QTRY_COMPARE_WITH_TIMEOUT(catalogued().size(), imported.size(), kImportTimeout);
    QCOMPARE(catalogued(), imported);
}

void TestVideoImport::progress_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("slowDisk");
    QTest::addColumn<QString>("meanwhile");

    QTest::newRow("quick: no progress shown") << 5 << false << QString();
    QTest::newRow("slow: Cancel keeps what was imported") << kSlowVideos << true
                                                          << QStringLiteral("cancel");
    QTest::newRow("slow: a drop joins the import") << kSlowVideos << true << QStringLiteral("drop");
}

void TestVideoImport::progress()
{
    QFETCH(int, count);
    QFETCH(bool, slowDisk);
    QFETCH(QString, meanwhile);

    const QStringList videos = (slowDisk ? slow : many).mid(0, count);
    const QList<QUrl> dropped = { QUrl::fromLocalFile(files.filePath(QStringLiteral("drop/b"))) };
    bool shown = false;
    qsizetype mostDialogs = 0;
    int importedAtCancel = -1;
    int ticks = 0;
    // Runs while the import goes on: the window answers meanwhile.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (++ticks == 2 && meanwhile == QLatin1String("drop"))
            QVERIFY(drop(dropped));
        mostDialogs = std::max(mostDialogs, window->findChildren<QProgressDialog *>().size());
        auto *progress = window->findChild<QProgressDialog *>();
        if (!progress || !progress->isVisible() || importedAtCancel >= 0)
            return;
        shown = true;
        if (meanwhile == QLatin1String("cancel")) {
            importedAtCancel = probe->catalogue()->GetVideoCount();
            progress->findChild<QPushButton *>()->click();
        }
    });
    poll.start(0);
    window->importVideos(videos);
    poll.stop();

    // Whether the dialog had come up when the drop landed does not matter here.
    if (meanwhile != QLatin1String("drop"))
        QCOMPARE(shown, slowDisk);
    QCOMPARE(mostDialogs, qsizetype(1)); // a drop does not start a second import
    QVERIFY(!window->findChild<QProgressDialog *>());
    QStringList expected = videos;
    if (meanwhile == QLatin1String("cancel")) {
        // The video being looked at when Cancel came may still land.
        const int kept = probe->catalogue()->GetVideoCount();
        QVERIFY2(importedAtCancel > 0 && kept >= importedAtCancel && kept < count,
                 qPrintable(QStringLiteral("%1 at cancel, %2 kept").arg(importedAtCancel).arg(kept)));
        expected = videos.mid(0, kept);
    } else if (meanwhile == QLatin1String("drop")) {
        expected << files.filePath(QStringLiteral("drop/b/FILE0002.MOV"));
    }
    QCOMPARE(catalogued(), expected);
    // The playlist grew in step, and the list shows the first entries.
    probe->player()->SetIndex(int(expected.size()) - 1);
    QCOMPARE(probe->player()->GetIndex(), int(expected.size()) - 1);
    QCOMPARE(probe->videoListLeft()->item(0, 0)->text(), QStringLiteral("FILE0000.MOV"));
}

QTEST_MAIN(TestVideoImport)

#include "tst_videoimport.moc"
