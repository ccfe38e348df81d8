#ifndef TESTWINDOW_H
#define TESTWINDOW_H

// The main window as the window tests use it: shown over a scratch run folder
// that holds the recording test map pages, with the probe on its private state.
// Test objects inherit it, so that `window`, `probe` and `folder` read as their
// own.

#include "app/velmora.h"
#include "runfolder.h"
#include "testrecordings.h"
#include "velmoraprobe.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <optional>

// Playback and page loads go through other processes and threads; this only
// bounds a wait.
constexpr int kTimeout = 20000;

class TestWindow
{
public:
    // The run folder alone, for tests that put recordings into it first.
    void makeFolder() { folder = std::make_unique<ScratchRunFolder>(ScratchRunFolder::Empty); }

    // Shows the window over the folder (made if need be) with map pages of
    // `kind`, imports `videos`, and waits for the first page to load.
    bool open(const QStringList &videos = {},
              testrecordings::MapPageKind kind = testrecordings::MapPageKind::Online)
    {
        if (!folder)
            makeFolder();
        if (!testrecordings::writeMapPages(folder->path(), kind))
            return false;
        window = std::make_unique<Velmora>(nullptr);
        probe = std::make_unique<VelmoraProbe>(*window);
        QSignalSpy loaded(probe->googleMap(), &QWebEngineView::loadFinished);
        window->show();
        if (!videos.isEmpty())
            window->importVideos(videos);
        return QTest::qWaitFor([&] { return !loaded.isEmpty(); }, kTimeout);
    }

    // The window goes before the folder it works in.
    void close()
    {
        probe.reset();
        window.reset();
        folder.reset();
    }

    // Answers come in the order the scripts were sent, so this also waits for
    // every script sent before it.
    QVariant evaluate(const QString &script)
    {
        // Shared: an answer later than the wait must still find it.
        const auto answer = std::make_shared<std::optional<QVariant>>();
        probe->googleMap()->page()->runJavaScript(script, [answer](const QVariant &value) {
            *answer = value;
        });
        if (!QTest::qWaitFor([&] { return answer->has_value(); }, kTimeout))
            qWarning("no answer to %s", qPrintable(script));
        return answer->value_or(QVariant());
    }

    // The calls the test map page has received.
    QStringList calls() { return evaluate(QStringLiteral("window.calls")).toStringList(); }

    template<typename T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<ScratchRunFolder> folder;
    std::unique_ptr<Velmora> window;
    std::unique_ptr<VelmoraProbe> probe;
};

#endif // TESTWINDOW_H
