// The map's tile cache, measured on the real program driven through the X
// server. A tile server inside this benchmark answers every tile with one
// flat colour and counts the requests; the program's settings name it. The
// same recording (a small clip as long as a real drive's log, paired with it)
// is opened by a real double click three times, each in a new launch of
// `velmora` with the same user folders:
//   cold     the cache empty, the server up;
//   warm     the tiles of the route cached by the first run, the server up:
//            how many requests still reach the server, and how soon the map shows;
//   offline  the server stopped: how soon the map shows from the cache alone.
// Each time is from the double click until the map column shows the tiles'
// colour over most of its area. Run under an X server with XTEST and DAMAGE,
// from the build folder:
//   xvfb-run -a -s "-screen 0 1920x1080x24" ./bench/bench_mapcache [output folder]
// The output folder (default ./bench-mapcache) receives the program's output
// and one screenshot of the window per run, taken once the map has shown.

#include "playerprocess.h"
#include "xsession.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kShownTimeoutMs = 30000;
// Before the click: the start page has loaded and the recording is listed.
constexpr int kSettleMs = 2000;
// Longer than the program waits before it gives up on the map (12 s), so
// that a run that gets no map ends on the no-connection page.
constexpr int kMapTimeoutMs = 14000;
// After the map has shown, every run plays on for as long, so that the
// tiles the first run fetched while playing are the ones the others need.
constexpr int kPlayAfterMapMs = 2000;
constexpr int kPollMs = 10;
constexpr double kWarmTargetMs = 1000;
constexpr double kOfflineTargetMs = 1500;
// Most of the column: the route, the car, the zoom buttons and the
// attribution cover the rest.
constexpr double kTileShareShown = 0.5;
constexpr int kColourTolerance = 6;

const char *const kWindowTitle = "Marvenda";
const QRgb kTileColour = qRgb(0xaa, 0xd3, 0xdf);

// Where Velmora::layoutWidgets() puts the map view, in window coordinates.
QRect mapArea(const QSize &window)
{
    return QRect(window.width() - 465, 55, 460, window.height() - 310);
}

// Inside the first row of the left list, as bench_player clicks it.
QPoint firstRow(const QSize &window)
{
    return QPoint(65, window.height() - 170 + 35);
}

double milliseconds(qint64 nanoseconds)
{
    return nanoseconds / 1e6;
}

const char *verdict(bool met)
{
    return met ? "met" : "NOT met";
}

// Plain HTTP on the loopback: the program would rightly refuse a self-signed
// certificate, and what is measured is its cache, not TLS. Answers every GET
// with the same tile, fresh for a week as the big tile servers say, and
// counts them. It has its own thread and event loop, so that it answers
// while the benchmark waits on the X server or on the program.
class TileHost : public QThread
{
public:
    ~TileHost() override { stop(); }

    bool begin()
    {
        start();
        ready.acquire();
        return listeningPort != 0;
    }
    // Closed: the port refuses connections, as a server out of reach would.
    void stop()
    {
        quit();
        wait();
    }
    quint16 port() const { return listeningPort; }
    int requests() const { return served.load(); }

protected:
    void run() override
    {
        const QByteArray tile = tilePng();
        // Before the server, which takes its sockets with it when it goes.
        QHash<QTcpSocket *, QByteArray> pending;
        QTcpServer server;
        if (server.listen(QHostAddress::LocalHost))
            listeningPort = server.serverPort();
        ready.release();
        if (listeningPort == 0)
            return;
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [&, socket] { answer(socket, pending[socket], tile); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [&, socket] {
                    pending.remove(socket);
                    socket->deleteLater();
                });
            }
        });
        exec();
    }

private:
    static QByteArray tilePng()
    {
        QImage image(256, 256, QImage::Format_RGB32);
        image.fill(kTileColour);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return png;
    }

    // One request a connection: each answer closes it.
    void answer(QTcpSocket *socket, QByteArray &buffer, const QByteArray &tile)
    {
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        if (buffer.startsWith("GET ")) {
            ++served;
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nCache-Control: max-age=604800\r\n"
                          "Content-Length: " + QByteArray::number(tile.size()) + "\r\nConnection: close\r\n\r\n");
            socket->write(tile);
        } else {
            socket->write("HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        }
        buffer.clear();
        socket->disconnectFromHost();
    }

    QSemaphore ready;
    std::atomic<quint16> listeningPort { 0 };
    std::atomic<int> served { 0 };
};

QString runFolderPath()
{
    const QString configured = qEnvironmentVariable("VELMORA_RUN_DIR");
    return configured.isEmpty() ? QStringLiteral(BENCH_RUN_DIR) : configured;
}

// As long as its log, one line a second, as a camera writes them: the route
// the page draws is then the route whose area it loads first.
bool makeClip(const QString &path, int seconds)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 { QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                   QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("testsrc2=size=640x360:rate=25"), QStringLiteral("-t"),
                   QString::number(seconds), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                   QStringLiteral("-preset"), QStringLiteral("ultrafast"), QStringLiteral("-pix_fmt"),
                   QStringLiteral("yuv420p"), QStringLiteral("-movflags"), QStringLiteral("+faststart"),
                   QStringLiteral("-y"), path });
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitStatus() == QProcess::NormalExit
        && ffmpeg.exitCode() == 0;
}

// <root>/DCIM/100MEDIA/FILE0001.MOV with the whole real log as <root>/gps/gps0001.log.
QString makeCard(const QString &root)
{
    const QString video = root + QStringLiteral("/DCIM/100MEDIA/FILE0001.MOV");
    const QString log = root + QStringLiteral("/gps/gps0001.log");
    if (!QDir().mkpath(QFileInfo(video).path()) || !QDir().mkpath(QFileInfo(log).path()))
        return QString();
    QFile source(QStringLiteral(BENCH_REAL_DRIVE_LOG));
    if (!source.open(QIODevice::ReadOnly) || !QFile::copy(source.fileName(), log))
        return QString();
    const int seconds = int(source.readAll().count('\n'));
    if (seconds <= 0 || !makeClip(video, seconds))
        return QString();
    std::printf("recording: %d s 640x360 H.264 clip, log %s (%d lines)\n", seconds,
                qPrintable(QFileInfo(source.fileName()).fileName()), seconds);
    return video;
}

// The settings file the program reads at start, naming this benchmark's server.
bool writeSettings(const QString &configHome, quint16 port)
{
    const QString path = configHome + QStringLiteral("/Marvenda/velmora.conf");
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QByteArray text = "[map]\ntileServer=http://127.0.0.1:" + QByteArray::number(port)
        + "/{z}/{x}/{y}.png\ntileAttribution=Benchmark tiles\n";
    return file.write(text) == text.size();
}

// The share of `image` in the tiles' colour.
double tileShare(const QImage &image)
{
    if (image.isNull() || image.width() * image.height() == 0)
        return 0;
    qint64 matching = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            matching += std::abs(qRed(line[x]) - qRed(kTileColour)) <= kColourTolerance
                && std::abs(qGreen(line[x]) - qGreen(kTileColour)) <= kColourTolerance
                && std::abs(qBlue(line[x]) - qBlue(kTileColour)) <= kColourTolerance;
        }
    }
    return double(matching) / (double(image.width()) * image.height());
}

struct FolderSize
{
    qint64 bytes = 0;
    int files = 0;
};

FolderSize folderSize(const QString &path)
{
    FolderSize size;
    QDirIterator entries(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        entries.next();
        size.bytes += entries.fileInfo().size();
        ++size.files;
    }
    return size;
}

// The same user throughout: one home, one settings file, one cache.
struct Setting
{
    XSession &x;
    TileHost &tiles;
    QString runFolder;
    QString output;
    QString home;
    QString video;

    QStringList environment() const
    {
        return { QStringLiteral("HOME=") + home, QStringLiteral("XDG_DATA_HOME=") + home + QStringLiteral("/data"),
                 QStringLiteral("XDG_CONFIG_HOME=") + home + QStringLiteral("/config"),
                 QStringLiteral("XDG_CACHE_HOME=") + home + QStringLiteral("/cache") };
    }
    QString cacheFolder() const { return home + QStringLiteral("/cache/Marvenda/map"); }
};

struct View
{
    bool launched = false;
    // From the double click; -1 when the map did not show in time.
    double shownMs = -1;
    int requestsUntilShown = 0;
    int requests = 0;
    FolderSize cache;
};

// One launch: the recording double-clicked, the map column watched until it
// shows the tiles, the program played on for a while, then closed.
View viewRoute(const Setting &setting, const QString &name)
{
    View view;
    PlayerProcess player(setting.runFolder, QDir(setting.output).filePath(name + QStringLiteral(".log")));
    const int requestsBefore = setting.tiles.requests();
    setting.x.watchTopLevels();
    QElapsedTimer clock;
    clock.start();
    if (!player.start({ setting.video }, setting.environment())) {
        std::fprintf(stderr, "%s: the program did not start\n", qPrintable(name));
        return view;
    }
    const XSession::Shown shown =
        setting.x.waitForPaintedWindow(QLatin1String(kWindowTitle), clock, kShownTimeoutMs);
    if (shown.paintedNs < 0) {
        std::fprintf(stderr, "%s: no window titled %s was drawn within %d ms\n", qPrintable(name), kWindowTitle,
                     kShownTimeoutMs);
        return view;
    }
    view.launched = true;
    QThread::msleep(kSettleMs);
    const QRect frame = setting.x.geometry(shown.window);
    const QRect map = mapArea(frame.size()).translated(frame.topLeft());
    const qint64 clicked = setting.x.doubleClick(frame.topLeft() + firstRow(frame.size()), clock);
    while (milliseconds(clock.nsecsElapsed() - clicked) < kMapTimeoutMs) {
        const bool tiled = tileShare(setting.x.grab(map)) >= kTileShareShown;
        // Taken after the grab: the tiles were there at the latest then.
        const double elapsed = milliseconds(clock.nsecsElapsed() - clicked);
        if (tiled) {
            view.shownMs = elapsed;
            view.requestsUntilShown = setting.tiles.requests() - requestsBefore;
            break;
        }
        QThread::msleep(kPollMs);
    }
    QThread::msleep(kPlayAfterMapMs);
    const QString shot = QDir(setting.output).filePath(name + QStringLiteral(".png"));
    const bool saved = setting.x.grab(setting.x.geometry(shown.window)).save(shot);
    if (!player.isRunning())
        std::fprintf(stderr, "%s: the program ended while playing\n", qPrintable(name));
    player.stop(setting.x, shown.window);
    view.requests = setting.tiles.requests() - requestsBefore;
    view.cache = folderSize(setting.cacheFolder());
    if (view.shownMs >= 0)
        std::printf("  %-8s map shown %5.0f ms after the double click, %d tile requests by then, %d in the run",
                    qPrintable(name), view.shownMs, view.requestsUntilShown, view.requests);
    else
        std::printf("  %-8s map NOT shown within %d ms after the double click, %d tile requests in the run",
                    qPrintable(name), kMapTimeoutMs, view.requests);
    std::printf("; cache %.2f MB in %d files; screenshot %s\n", view.cache.bytes / 1e6, view.cache.files,
                saved ? qPrintable(shot) : "could not be saved");
    return view;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    // Progress shows as it happens also when the output goes to a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const QString runFolder = runFolderPath();
    const QString output =
        QCoreApplication::arguments().value(1, QDir::current().filePath(QStringLiteral("bench-mapcache")));
    if (const QString problem = prepareProgramBench(runFolder, output); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    XSession x;
    if (!x.error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(x.error()));
        return 1;
    }

    QTemporaryDir work;
    const QString video = work.isValid() ? makeCard(work.filePath(QStringLiteral("card"))) : QString();
    if (video.isEmpty()) {
        std::fprintf(stderr, "could not make the recording\n");
        return 1;
    }
    TileHost tiles;
    const QString home = work.filePath(QStringLiteral("home"));
    if (!tiles.begin() || !writeSettings(home + QStringLiteral("/config"), tiles.port())) {
        std::fprintf(stderr, "could not start the tile server or write the settings\n");
        return 1;
    }
    std::printf("tiles: http://127.0.0.1:%u, one 256x256 PNG, max-age one week\n", unsigned(tiles.port()));
    std::printf("program: %s/velmora; its output: %s/*.log\n", qPrintable(runFolder), qPrintable(output));

    const Setting setting { x, tiles, runFolder, output, home, video };
    const View cold = viewRoute(setting, QStringLiteral("cold"));
    const View warm = viewRoute(setting, QStringLiteral("warm"));
    tiles.stop();
    const View offline = viewRoute(setting, QStringLiteral("offline"));
    if (!cold.launched || !warm.launched || !offline.launched)
        return 1;

    if (cold.shownMs >= 0)
        std::printf("first view of the route, cache empty: %d tile requests, map shown in %.0f ms after the "
                    "double click\n",
                    cold.requests, cold.shownMs);
    else
        std::printf("first view of the route, cache empty: %d tile requests, map not shown within %d ms\n",
                    cold.requests, kMapTimeoutMs);
    if (warm.shownMs >= 0)
        std::printf("second view of the route: %d tile requests, map shown in %.0f ms after the double click   "
                    "(target 0 requests, under %.0f ms: %s)\n",
                    warm.requests, warm.shownMs, kWarmTargetMs,
                    verdict(warm.requests == 0 && warm.shownMs < kWarmTargetMs));
    else
        std::printf("second view of the route: %d tile requests, map not shown within %d ms   "
                    "(target 0 requests, under %.0f ms: NOT met)\n",
                    warm.requests, kMapTimeoutMs, kWarmTargetMs);
    if (offline.shownMs >= 0)
        std::printf("offline with the route cached: map shown in %.0f ms after the double click   "
                    "(target under %.0f ms: %s)\n",
                    offline.shownMs, kOfflineTargetMs, verdict(offline.shownMs < kOfflineTargetMs));
    else
        std::printf("offline with the route cached: map not shown within %d ms   (target under %.0f ms: NOT met)\n",
                    kMapTimeoutMs, kOfflineTargetMs);
    return cold.shownMs >= 0 && warm.shownMs >= 0 && offline.shownMs >= 0 ? 0 : 1;
}
