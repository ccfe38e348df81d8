// Prints how long the picture stands still where one clip of a drive follows
// the next, both ways the window goes on:
//   inside a trip   the next clip is prepared (UVlcWrapper::prepareNext) a
//                   second before the current one ends and takes over at once;
//   outside a trip  the end is announced and the next clip is started then
//                   (SetIndex, PlayAtIndex: a stop, then a new start).
// Two 4 s 1920x1080 H.264 clips, one tinted red and one blue, each picture unlike
// the one before, play in a 960x540 window at the top left of the screen, which
// ffmpeg grabs 50 times a second. The stall is the longest time the picture did
// not change within half a second either side of the last red and the first
// blue picture; a clip at 25 fps changes every 40 ms. Each run also prints when
// the boundary's pictures were shown, beside continued() or the announced end,
// and which pictures of the blue clip came first. Run under an X server:
//   xvfb-run -a -s "-screen 0 1920x1080x24" ./bench/bench_boundary [output folder]
// The output folder (default ./bench-boundary) receives the last red and the
// first blue picture grabbed in each way's last run.

#include "benchfigures.h"
#include "playback/uvlcwrapper.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPalette>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr int kRuns = 3;
constexpr int kClipSeconds = 4;
constexpr QRect kArea(0, 0, 960, 540);
constexpr int kGrabRate = 50;
constexpr int kBytesPerPixel = 4; // bgr0, X's own layout: ffmpeg converts nothing
// The grab starts before the prepare, so that ffmpeg's start does not meet it.
constexpr qint64 kGrabBeforeEndMs = 1500;
constexpr qint64 kPrepareBeforeEndMs = 1000;
constexpr int kAfterSwitchMs = 1500;
constexpr int kPollMs = 20;
constexpr int kRunTimeoutMs = 20000;
constexpr int kShownTimeoutMs = 5000;
constexpr qint64 kAroundUs = 500000;
constexpr double kTargetMs = 100;

// Every second pixel of every second row: the moving bar alone changes some
// ten thousand of them from one picture to the next.
constexpr int kSampleStep = 2;
// Sum of the three channel differences above which a pixel has changed. The
// screen of an X server without a compositor holds a still picture exactly.
constexpr int kChangedDistance = 48;
constexpr int kChangedPixels = 200;
// The clips' bar: 192 px wide, 96 px further each picture, 20 places in all;
// found in a row near the bottom, by the green that the tint leaves out.
constexpr int kBarStep = 96 * kArea.width() / 1920;
constexpr int kBarPlaces = 20;
constexpr int kBarRow = kArea.height() - 10;

enum class Colour { Other, Red, Blue };
enum class Way { InsideTrip, OutsideTrip };

const char *wayName(Way way)
{
    return way == Way::InsideTrip ? "inside a trip" : "outside a trip";
}

// "inside a trip:", padded so that the figures of both ways line up.
QByteArray wayLabel(Way way)
{
    return (QByteArray(wayName(way)) + ':').leftJustified(15);
}

qint64 wallUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

qint64 steadyUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

double milliseconds(qint64 microseconds)
{
    return microseconds / 1000.0;
}

const char *verdict(bool met)
{
    return met ? "met" : "NOT met";
}

// testsrc2 mapped into one channel, with a bright bar that moves a tenth of the
// width each picture, so that no two pictures are alike, the tint is
// unmistakable and the bar tells which picture of the clip is shown.
bool makeClip(const QString &path, Colour colour)
{
    const bool red = colour == Colour::Red;
    const QString mixer = red ? QStringLiteral("rr=0.3:rg=0.4:rb=0.3:gr=0:gg=0:gb=0:br=0:bg=0:bb=0")
                              : QStringLiteral("rr=0:rg=0:rb=0:gr=0:gg=0:gb=0:br=0.3:bg=0.4:bb=0.3");
    const QString bar = red ? QStringLiteral("0xff4060") : QStringLiteral("0x4060ff");
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 { QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                   QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("testsrc2=size=1920x1080:rate=25"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                   QStringLiteral("-i"), QStringLiteral("color=c=%1:size=192x1080:rate=25").arg(bar),
                   QStringLiteral("-t"), QString::number(kClipSeconds), QStringLiteral("-filter_complex"),
                   QStringLiteral("[0]colorchannelmixer=%1[tint];[tint][1]overlay=x='mod(t*25*96,1920)':y=0")
                           .arg(mixer),
                   QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"),
                   QStringLiteral("ultrafast"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
                   QStringLiteral("-y"), path });
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitStatus() == QProcess::NormalExit
        && ffmpeg.exitCode() == 0;
}

// One grabbed picture: when (µs on the wall clock), its tint, whether it
// differs from the one grabbed before, and which picture of its clip it is
// (counted modulo kBarPlaces; -1 when no bar shows).
struct Grab
{
    qint64 atUs = -1;
    Colour colour = Colour::Other;
    bool changed = false;
    int clipPicture = -1;
};

struct Recording
{
    QList<Grab> grabs;
    QImage lastRed;
    QImage firstBlue;
    QString problem;
};

// ffmpeg grabbing the window's area, read on a thread of its own: while
// ffmpeg waits for its pipe to be read it grabs nothing, and the GUI thread
// is busy with the player exactly at the boundary.
class Grabber : public QObject
{
public:
    void start(const QString &display)
    {
        recording = {};
        pending.clear();
        previous.clear();
        logRest.clear();
        clockOffsetUs.reset();
        ffmpeg = new QProcess(this);
        connect(ffmpeg, &QProcess::readyReadStandardOutput, this, &Grabber::takeFrames);
        connect(ffmpeg, &QProcess::readyReadStandardError, this, &Grabber::takeLog);
        // -copyts keeps the grab times, showinfo prints them; one output
        // picture for each grabbed one.
        ffmpeg->start(QStringLiteral("ffmpeg"),
                      { QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                        QStringLiteral("info"), QStringLiteral("-f"), QStringLiteral("x11grab"),
                        QStringLiteral("-draw_mouse"), QStringLiteral("0"), QStringLiteral("-framerate"),
                        QString::number(kGrabRate), QStringLiteral("-video_size"),
                        QStringLiteral("%1x%2").arg(kArea.width()).arg(kArea.height()), QStringLiteral("-i"),
                        QStringLiteral("%1+%2,%3").arg(display).arg(kArea.x()).arg(kArea.y()),
                        QStringLiteral("-copyts"), QStringLiteral("-vf"), QStringLiteral("showinfo=checksum=0"),
                        QStringLiteral("-fps_mode"), QStringLiteral("passthrough"), QStringLiteral("-pix_fmt"),
                        QStringLiteral("bgr0"), QStringLiteral("-f"), QStringLiteral("rawvideo"),
                        QStringLiteral("-") });
        if (!ffmpeg->waitForStarted())
            recording.problem = QStringLiteral("ffmpeg did not start");
    }

    Recording finish()
    {
        if (ffmpeg) {
            ffmpeg->terminate();
            if (!ffmpeg->waitForFinished(3000))
                ffmpeg->kill();
            ffmpeg->waitForFinished(1000);
            takeFrames();
            takeLog();
            delete ffmpeg;
            ffmpeg = nullptr;
        }
        if (grabTimes.size() < recording.grabs.size())
            recording.grabs.resize(grabTimes.size());
        for (qsizetype i = 0; i < recording.grabs.size(); ++i)
            recording.grabs[i].atUs = grabTimes[i];
        grabTimes.clear();
        return std::move(recording);
    }

private:
    void takeFrames()
    {
        constexpr qsizetype frameBytes = qsizetype(kArea.width()) * kArea.height() * kBytesPerPixel;
        pending += ffmpeg->readAllStandardOutput();
        qsizetype used = 0;
        for (; pending.size() - used >= frameBytes; used += frameBytes)
            look(reinterpret_cast<const uchar *>(pending.constData() + used));
        pending.remove(0, used);
    }

    void look(const uchar *frame)
    {
        constexpr qsizetype stride = qsizetype(kArea.width()) * kBytesPerPixel;
        constexpr qsizetype frameBytes = stride * kArea.height();
        const bool first = previous.isEmpty();
        const auto *before = reinterpret_cast<const uchar *>(previous.constData());
        qint64 sums[3] = {};
        int changed = 0;
        int samples = 0;
        for (int y = 0; y < kArea.height(); y += kSampleStep) {
            for (int x = 0; x < kArea.width(); x += kSampleStep) {
                const qsizetype at = y * stride + x * kBytesPerPixel;
                for (int c = 0; c < 3; ++c)
                    sums[c] += frame[at + c];
                if (!first) {
                    const int distance = std::abs(frame[at] - before[at])
                        + std::abs(frame[at + 1] - before[at + 1]) + std::abs(frame[at + 2] - before[at + 2]);
                    changed += distance > kChangedDistance;
                }
                ++samples;
            }
        }
        const double blue = double(sums[0]) / samples;
        const double red = double(sums[2]) / samples;
        Grab grab;
        grab.changed = first || changed >= kChangedPixels;
        if (red > 2 * blue + 20)
            grab.colour = Colour::Red;
        else if (blue > 2 * red + 20)
            grab.colour = Colour::Blue;
        const uchar *row = frame + kBarRow * stride;
        for (int x = 0; x < kArea.width() && grab.colour != Colour::Other; ++x) {
            const uchar *pixel = row + x * kBytesPerPixel;
            if (pixel[1] > 50 && std::max(pixel[0], pixel[2]) > 200) {
                grab.clipPicture = (x + kBarStep / 2) / kBarStep % kBarPlaces;
                break;
            }
        }
        recording.grabs << grab;
        const auto picture = [frame] {
            return QImage(frame, kArea.width(), kArea.height(), int(stride), QImage::Format_RGB32).copy();
        };
        if (grab.colour == Colour::Red && grab.changed)
            recording.lastRed = picture();
        else if (grab.colour == Colour::Blue && recording.firstBlue.isNull())
            recording.firstBlue = picture();
        previous = QByteArray(reinterpret_cast<const char *>(frame), frameBytes);
    }

    // showinfo's lines, in the order of the pictures: "n:  12 pts:1796663618569064 ...".
    void takeLog()
    {
        static const QRegularExpression shown(QStringLiteral("\\] n: *(\\d+) pts:(-?\\d+) "));
        logRest += QString::fromUtf8(ffmpeg->readAllStandardError());
        const qsizetype lineEnd = logRest.lastIndexOf(QLatin1Char('\n'));
        if (lineEnd < 0)
            return;
        for (const QString &line : logRest.left(lineEnd).split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch match = shown.match(line);
            if (match.hasMatch())
                grabTimes << toWallClock(match.captured(2).toLongLong());
        }
        logRest.remove(0, lineEnd + 1);
    }

    // x11grab stamps its pictures with the wall clock; older versions used
    // the monotonic one, told apart by which of the two is near.
    qint64 toWallClock(qint64 pts)
    {
        if (!clockOffsetUs) {
            const qint64 wall = wallUs();
            const qint64 steady = steadyUs();
            clockOffsetUs = std::abs(pts - wall) <= std::abs(pts - steady) ? 0 : wall - steady;
        }
        return pts + *clockOffsetUs;
    }

    QProcess *ffmpeg = nullptr;
    QByteArray pending;
    QByteArray previous;
    QString logRest;
    QList<qint64> grabTimes;
    std::optional<qint64> clockOffsetUs;
    Recording recording;
};

// Where the red clip gave way to the blue one in a recording; times in µs on
// the wall clock.
struct Boundary
{
    bool found = false;
    double stallMs = 0;
    qint64 lastRedUs = -1;  // the last red picture first shown
    qint64 firstBlueUs = -1;
    qint64 blueMovedUs = -1; // the second blue picture
    int firstBluePicture = -1; // of the blue clip, from 0
    int secondBluePicture = -1;
};

Boundary findBoundary(const QList<Grab> &grabs)
{
    Boundary boundary;
    qsizetype lastRed = -1;
    qsizetype firstBlue = -1;
    for (qsizetype i = 0; i < grabs.size() && firstBlue < 0; ++i) {
        if (grabs[i].colour == Colour::Red)
            lastRed = i;
        else if (grabs[i].colour == Colour::Blue && lastRed >= 0)
            firstBlue = i;
    }
    if (firstBlue < 0)
        return boundary;
    while (lastRed > 0 && !grabs[lastRed].changed)
        --lastRed;
    boundary.lastRedUs = grabs[lastRed].atUs;
    boundary.firstBlueUs = grabs[firstBlue].atUs;
    boundary.firstBluePicture = grabs[firstBlue].clipPicture;
    if (grabs.last().atUs < boundary.firstBlueUs + kAroundUs)
        return boundary;
    // Pictures of either clip; what shows between them (the window's own
    // background) is no picture of the drive.
    qint64 lastChangeUs = -1;
    for (const Grab &grab : grabs) {
        if (!grab.changed || grab.colour == Colour::Other || grab.atUs < boundary.lastRedUs - kAroundUs
            || grab.atUs > boundary.firstBlueUs + kAroundUs)
            continue;
        if (lastChangeUs >= 0)
            boundary.stallMs = std::max(boundary.stallMs, milliseconds(grab.atUs - lastChangeUs));
        if (boundary.blueMovedUs < 0 && grab.colour == Colour::Blue && grab.atUs > boundary.firstBlueUs) {
            boundary.blueMovedUs = grab.atUs;
            boundary.secondBluePicture = grab.clipPicture;
        }
        lastChangeUs = grab.atUs;
    }
    boundary.found = true;
    return boundary;
}

bool waitUntilExposed(QWidget &window)
{
    QElapsedTimer clock;
    clock.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        if (clock.elapsed() > kShownTimeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

struct Run
{
    Boundary boundary;
    qint64 switchUs = -1; // continued() or the end announced
    qint64 preparedUs = -1;
    Recording recording;
    QString problem;
};

// One boundary: the red clip from its start, the blue one after it, with a
// new window and player.
Run playAcross(Way way, const QStringList &clips, Grabber &grabber, const QString &display)
{
    Run run;
    QWidget window(nullptr, Qt::FramelessWindowHint);
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);
    window.setGeometry(kArea);
    window.show();
    if (!waitUntilExposed(window)) {
        run.problem = QStringLiteral("the window was not shown");
        return run;
    }
    UVlcWrapper player;
    player.SetVideoWindow(&window);
    for (const QString &clip : clips)
        player.AddMedia(clip);

    QEventLoop loop;
    bool grabbing = false;
    const auto switched = [&] {
        run.switchUs = wallUs();
        QTimer::singleShot(kAfterSwitchMs, &loop, &QEventLoop::quit);
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const qint64 length = player.GetMediaLength();
        const qint64 time = player.GetPlayTime();
        if (run.switchUs >= 0 || length <= 0 || time < 0)
            return;
        if (!grabbing && length - time <= kGrabBeforeEndMs) {
            grabbing = true;
            QMetaObject::invokeMethod(&grabber, [&] { grabber.start(display); }, Qt::BlockingQueuedConnection);
        }
        if (way == Way::InsideTrip && run.preparedUs < 0 && length - time <= kPrepareBeforeEndMs) {
            run.preparedUs = wallUs();
            player.prepareNext(1);
        }
    });
    QObject::connect(&player, &UVlcWrapper::continued, &loop, [&](int index) {
        if (index == 1 && run.switchUs < 0)
            switched();
    });
    QObject::connect(&player, &UVlcWrapper::stateChanged, &loop, [&](UVlcWrapper::State state) {
        if (state != UVlcWrapper::State::Ended || run.switchUs >= 0)
            return;
        if (way == Way::InsideTrip)
            run.problem = QStringLiteral("the prepared clip did not take over; the end was announced");
        switched();
        if (way == Way::OutsideTrip) {
            player.SetIndex(1);
            player.PlayAtIndex();
        }
    });
    QTimer::singleShot(kRunTimeoutMs, &loop, [&] {
        run.problem = QStringLiteral("the red clip did not end within %1 s").arg(kRunTimeoutMs / 1000);
        loop.quit();
    });
    poll.start(kPollMs);
    player.SetIndex(0);
    player.PlayAtIndex();
    loop.exec();
    poll.stop();
    if (grabbing)
        QMetaObject::invokeMethod(&grabber, [&] { run.recording = grabber.finish(); },
                                  Qt::BlockingQueuedConnection);
    player.Stop();
    if (run.problem.isEmpty())
        run.problem = run.recording.problem;
    if (run.problem.isEmpty()) {
        run.boundary = findBoundary(run.recording.grabs);
        if (!run.boundary.found)
            run.problem = QStringLiteral("no red picture followed by a blue one in %1 grabbed pictures")
                                  .arg(run.recording.grabs.size());
    }
    return run;
}

// Times beside the switch: negative before continued() or the announced end.
void printRun(Way way, int number, const Run &run)
{
    const Boundary &b = run.boundary;
    const auto fromSwitch = [&run](qint64 us) { return milliseconds(us - run.switchUs); };
    std::printf("  run %d, %s stall %4.0f ms; from %s: last red picture %+4.0f ms, "
                "blue picture %d %+4.0f ms, picture %d %+4.0f ms",
                number, wayLabel(way).constData(), b.stallMs,
                way == Way::InsideTrip ? "continued()" : "the end announced", fromSwitch(b.lastRedUs),
                b.firstBluePicture, fromSwitch(b.firstBlueUs), b.secondBluePicture,
                b.blueMovedUs < 0 ? 0.0 : fromSwitch(b.blueMovedUs));
    if (run.preparedUs >= 0)
        std::printf("; prepared %+5.0f ms", fromSwitch(run.preparedUs));
    std::printf("; %lld pictures grabbed\n", static_cast<long long>(run.recording.grabs.size()));
}

void savePictures(const QString &output, Way way, const Recording &recording)
{
    const QString prefix = way == Way::InsideTrip ? QStringLiteral("inside") : QStringLiteral("outside");
    const auto save = [&](const QImage &picture, const QString &name) {
        const QString path = QDir(output).filePath(prefix + name);
        std::printf("  picture: %s\n", picture.save(path) ? qPrintable(path) : "could not be saved");
    };
    save(recording.lastRed, QStringLiteral("-last-red.png"));
    save(recording.firstBlue, QStringLiteral("-first-blue.png"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString output =
            QCoreApplication::arguments().value(1, QDir::current().filePath(QStringLiteral("bench-boundary")));
    if (display.isEmpty()) {
        std::fprintf(stderr, "no DISPLAY: run under an X server\n");
        return 1;
    }
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(output));
        return 1;
    }
    QTemporaryDir scratch;
    const QStringList clips { scratch.filePath(QStringLiteral("red.mp4")),
                              scratch.filePath(QStringLiteral("blue.mp4")) };
    QElapsedTimer making;
    making.start();
    if (!scratch.isValid() || !makeClip(clips[0], Colour::Red) || !makeClip(clips[1], Colour::Blue)) {
        std::fprintf(stderr, "could not make the clips\n");
        return 1;
    }
    std::printf("clips: red then blue, 1920x1080 H.264 at 25 fps, %d s each, made in %.1f s; "
                "grabbed: %dx%d at %d/s\n",
                kClipSeconds, making.elapsed() / 1000.0, kArea.width(), kArea.height(), kGrabRate);

    QThread grabbing;
    Grabber grabber;
    grabber.moveToThread(&grabbing);
    grabbing.start();
    QList<double> stalls[2];
    bool measured = true;
    // Alternating, so that both ways share whatever else the machine does.
    for (int number = 1; number <= kRuns; ++number) {
        for (const Way way : { Way::InsideTrip, Way::OutsideTrip }) {
            const Run run = playAcross(way, clips, grabber, display);
            if (!run.problem.isEmpty()) {
                std::fprintf(stderr, "run %d, %s: %s\n", number, wayName(way), qPrintable(run.problem));
                measured = false;
                continue;
            }
            printRun(way, number, run);
            stalls[int(way)] << run.boundary.stallMs;
            if (number == kRuns)
                savePictures(output, way, run.recording);
        }
    }
    grabbing.quit();
    grabbing.wait();

    for (const Way way : { Way::InsideTrip, Way::OutsideTrip }) {
        const QList<double> &times = stalls[int(way)];
        if (times.size() < kRuns)
            continue;
        const double median = benchfigures::median(times);
        const double worst = *std::max_element(times.cbegin(), times.cend());
        std::printf("boundary stall %s %4.0f ms median, %4.0f ms worst over %d", wayLabel(way).constData(),
                    median, worst, kRuns);
        if (way == Way::InsideTrip)
            std::printf("   (target under %.0f ms: %s)\n", kTargetMs, verdict(median < kTargetMs));
        else
            std::printf("   (the next clip started at the end, for comparison)\n");
    }
    return measured ? 0 : 1;
}
