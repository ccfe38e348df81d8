// Prints what one tick of the update cycle costs while a recording plays with
// its route drawn (speed meter repaint included), what sending the route of a
// one-hour recording costs on the GUI thread, and how long the map page takes
// to run that route. Run under an X server, e.g.
//   xvfb-run -a ./bench/bench_updatecycle

#include "playingwindow.h"

#include "playback/uvlcwrapper.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kRouteSeconds = 3600;
constexpr int kTicks = 200;

double cpuMilliseconds()
{
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

// One frame a second keeps an hour of video quick to make.
bool makeHourClip(const QString &path)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 { QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                   QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("testsrc2=size=64x64:rate=1"), QStringLiteral("-c:v"),
                   QStringLiteral("libx264"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
                   QStringLiteral("-t"), QString::number(kRouteSeconds), QStringLiteral("-y"), path });
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitCode() == 0;
}

QByteArray hourLog()
{
    QByteArray log;
    for (int s = 0; s < kRouteSeconds; ++s)
        log += "A,030410,131010,4618." + QByteArray::number(1000 + s)
                + ",N,00656.1347,E,12.00,0.10,0.20,0.99;\n";
    return log;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication application(argc, argv);
    // As the program does: no description of Qt WebEngine's graphics set-up.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

    QTemporaryDir scratch;
    const QString clip = scratch.filePath(QStringLiteral("hour.MOV"));
    PlayingWindow window;
    if (!makeHourClip(clip) || !window.make(clip, { hourLog() })) {
        std::fprintf(stderr, "could not make the recording\n");
        return 1;
    }
    UVlcWrapper *player = window.probe->player();
    window.probe->loadMapToPlay(0);
    const bool playing = QTest::qWaitFor([&] { return player->GetState() == UVlcWrapper::Playing
                                                      && player->GetMediaLength() > 0; }, kTimeout);
    if (!playing) {
        std::fprintf(stderr, "the recording did not start\n");
        return 1;
    }
    // The ticks are run by hand from here on. The route may have gone with the
    // announcement that the recording plays; the timed tick sends it afresh.
    window.probe->updateTimer()->stop();
    window.evaluate(QStringLiteral("0"));
    window.probe->forgetRoute();

    QElapsedTimer wall;
    wall.start();
    double cpu = cpuMilliseconds();
    window.probe->updateUIData();
    std::printf("route of %d s (first tick):  %7.1f ms wall, %7.1f ms CPU   (target under 50 ms)\n",
                kRouteSeconds, wall.nsecsElapsed() / 1e6, cpuMilliseconds() - cpu);
    // Scripts are answered in order, so this answer comes once the page has
    // run the whole route; the ticks are timed after that.
    window.evaluate(QStringLiteral("0"));
    std::printf("route taken by the page:    %7.0f ms after the first tick began\n", wall.nsecsElapsed() / 1e6);

    wall.restart();
    cpu = cpuMilliseconds();
    for (int i = 0; i < kTicks; ++i)
        window.probe->updateUIData();
    std::printf("one tick, route drawn:      %7.3f ms wall, %7.3f ms CPU   (target under 1 ms; mean of %d)\n",
                wall.nsecsElapsed() / 1e6 / kTicks, (cpuMilliseconds() - cpu) / kTicks, kTicks);
    return 0;
}
