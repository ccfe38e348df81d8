// The program started from a folder that someone else filled (a memory card,
// an unpacked archive): nothing in it supplies pages, plug-ins or a place for
// snapshots, and recordings play all the same.

#include "testwindow.h"

#include "playback/mappages.h"
#include "playback/uvlcwrapper.h"

#include <QApplication>
#include <QDirIterator>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace testrecordings;

class TestWorkingFolder : public QObject, private TestWindow
{
    Q_OBJECT

private slots:
    void plantedFilesChangeNothing();
};

void TestWorkingFolder::plantedFilesChangeNothing()
{
    QTemporaryDir planted;
    const QString marker = planted.filePath(QStringLiteral("plug-in was loaded"));
    qputenv("VELMORA_PLANTED_MARKER", QFile::encodeName(marker));
    QVERIFY(copyFile(QStringLiteral(VELMORA_PLANTED_PLUGIN),
                     planted.filePath(QStringLiteral("plugins/libplanted_plugin.so"))));
    for (const char *page : { "startupp.html", "googlearth.html", "no_gps_file.html" })
        QVERIFY(writeFile(planted.filePath(QStringLiteral("images/")) + QLatin1String(page),
                          testPage("planted", "")));
    const WorkingFolder here(planted.path());

    makeFolder();
    const QString card = folder->filePath(QStringLiteral("card"));
    const QString video = cardVideo(card, QStringLiteral("FILE0001.MOV"));
    QVERIFY(makeClip(video, 3));
    QVERIFY(writeLog(cardLog(card, QStringLiteral("FILE0001.MOV")), 3, 0));
    QVERIFY(open({ video }));
    QCOMPARE(probe->googleMap()->title(), QStringLiteral("start"));

    probe->loadMapToPlay(0);
    QTRY_COMPARE_WITH_TIMEOUT(probe->player()->GetState(), int(UVlcWrapper::Playing), kTimeout);
    QCOMPARE(probe->googleMap()->url(), QUrl::fromLocalFile(folder->filePath(QStringLiteral("images/googlearth.html"))));
    QCOMPARE(probe->googleMap()->title(), QStringLiteral("map"));
    QVERIFY2(!QFile::exists(marker), "libvlc loaded a plug-in from the working directory");

    QTRY_VERIFY_WITH_TIMEOUT(probe->player()->GetPlayTime() > 500, kTimeout);
    window->findChild<QPushButton *>(QStringLiteral("Shot"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(folder->filePath(QStringLiteral("VideoShots")))
                                      .entryList({ QStringLiteral("FILE0001_*.png") })
                                      .isEmpty(),
                             kTimeout);
    QVERIFY(!QFile::exists(planted.filePath(QStringLiteral("VideoShots"))));
    close();
}

QTEST_MAIN(TestWorkingFolder)

#include "tst_workingfolder.moc"
