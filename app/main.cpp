#include "app/commandlinemodes.h"
#include "app/singleinstance.h"
#include "app/velmora.h"
#include "library/programpaths.h"
#include "library/recordinglibrary.h"
#include "library/usersettings.h"
#include "maptiles/tileserver.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <QSplashScreen>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The video is bound to a native X11 window, so the program needs the xcb
// platform unless the user asked for another one.
void preferX11()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

QString readStyleSheet()
{
    QFile file(QStringLiteral(":/qss/Velmora.qss"));
    file.open(QFile::ReadOnly);
    // As Latin-1 text that ends at the first NUL byte.
    return QString::fromLatin1(file.readAll().constData());
}

// The map view composes its page through Qt Quick, by default with OpenGL,
// while libvlc draws into a native child window of the same top-level window.
// OpenGL composition cannot keep that child's surface current (Qt warns on
// every video start) and costs a GL stack of its own; software composition
// draws the same pages with neither.
void composeInSoftware()
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

// Qt WebEngine describes its graphics set-up on every start, and the
// program's own debug lines are for whoever asks for them (QT_LOGGING_RULES).
void quietLogging()
{
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false\n"
                                                    "velmora.*.debug=false"));
}

// The catalogue for the user's language from the program's own folder; none
// (English) when there is none for it. The user may have chosen another.
void installTranslation(QTranslator &translator, Language language)
{
    const QLocale locale = language == Language::Russian ? QLocale(QLocale::Russian)
            : language == Language::English              ? QLocale(QLocale::English)
                                                         : QLocale::system();
    if (translator.load(locale, QStringLiteral("velmora"), QStringLiteral("_"), ProgramPaths::dataFolder()))
        QApplication::installTranslator(&translator);
}

// libvlc starts new decoder and output threads for every recording, and glibc
// gives each new thread a heap arena of its own, up to eight a core; memory
// freed in them is seldom returned, so the program grew by megabytes at every
// recording change. Two arenas keep it flat at no cost to playback.
void limitHeapArenas()
{
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 2);
#endif
}

// A command-line mode says what went wrong in its one line; the GUI's own
// remarks about the session (no runtime folder, no display) are not for it.
void keepQtWarningsQuiet()
{
    static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                const bool ours = context.category && qstrncmp(context.category, "velmora.", 8) == 0;
                if (ours || type == QtCriticalMsg || type == QtFatalMsg)
                    previous(type, context, message);
            });
}

} // namespace

// Modes without a window need no display. A caption burnt into a cut needs
// fonts, which only a GUI application has: an offscreen one.
int runWithoutWindow(int argc, char **argv, const CommandLine &line)
{
    std::unique_ptr<QCoreApplication> application;
    if (line.burnIn && line.error.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        keepQtWarningsQuiet();
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!line.error.isEmpty()) {
        err << line.error << Qt::endl;
        return 2;
    }
    if (line.exports())
        return exportFile(line, err);
    const int status = line.list ? listLibrary(out, err) : 0;
    return status == 0 && line.trips ? listTrips(out, err) : status;
}

int main(int argc, char **argv)
{
    limitHeapArenas();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = CommandLine::parse(arguments);
    if (line.list || line.trips || line.exports() || !line.error.isEmpty())
        return runWithoutWindow(argc, argv, line);

    preferX11();
    composeInSoftware();
    quietLogging();
    QApplication application(argc, argv);

    // A program already running over the same library takes the files.
    SingleInstance instance(RecordingLibrary::defaultPath());
    if (!line.fresh && instance.handOver(line.videos))
        return 0;

    QTranslator translator;
    installTranslation(translator, line.fresh ? Language::System : savedLanguage());

    auto splashPixmap = std::make_unique<QPixmap>(QStringLiteral(":/images/Splash.png"));
    auto splash = std::make_unique<QSplashScreen>(*splashPixmap);
    splash->show();
    splash->showMessage(QObject::tr("Loading...Please Wait."), Qt::AlignRight | Qt::AlignBottom,
                        Qt::white);
    QApplication::processEvents(QEventLoop::AllEvents);

    // Outlives the window, which keeps it in step with the catalogue.
    RecordingLibrary library;
    Velmora window(nullptr);
    if (!line.tileServer.isEmpty() || !line.offlineMap.isEmpty()) {
        TileServer server = TileServer::fromSettings();
        if (!line.tileServer.isEmpty())
            server = server.withTemplate(line.tileServer).value_or(server);
        if (!line.offlineMap.isEmpty())
            server.offlineFile = line.offlineMap;
        window.useTileServer(server);
    }
    QString styleSheet = readStyleSheet();
    window.setStyleSheet(styleSheet);
    window.setObjectName(QStringLiteral("Velmora"));
    // What was imported before, and how the window was left.
    if (!line.fresh) {
        window.remember(library.open() ? &library : nullptr, library.problem());
        instance.listen();
        QObject::connect(&instance, &SingleInstance::videosHandedOver, &window, [&window](const QStringList &videos) {
            window.activateWindow();
            window.raise();
            if (!videos.isEmpty())
                window.importVideos(videos);
        });
    }
    window.show();

    splash->finish(&window);
    splash.reset();
    splashPixmap.reset();

    // Once the event loop runs, so that the window paints while they are read.
    if (!line.videos.isEmpty())
        QTimer::singleShot(0, &window, [&window, &line] { window.importVideos(line.videos); });

    return application.exec();
}
