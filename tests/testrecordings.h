#ifndef TESTRECORDINGS_H
#define TESTRECORDINGS_H

// Recordings and map pages made by the tests themselves: H.264 clips from
// ffmpeg, GPS logs written line by line in a dash camera's folder shape, and
// small map pages that record the calls they receive.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace testrecordings {

inline bool makeClip(const QString &path, int seconds = 3)
{
    QDir().mkpath(QFileInfo(path).path());
    const QStringList arguments = QStringLiteral("-hide_banner -loglevel error -f lavfi "
                                                 "-i testsrc2=size=320x180:rate=25 -c:v libx264 "
                                                 "-pix_fmt yuv420p -y -t")
                                          .split(QLatin1Char(' '))
            << QString::number(seconds) << path;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit
            && ffmpeg.exitCode() == 0;
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline bool copyFile(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).path());
    return QFile::copy(from, to);
}

// <root>/DCIM/100MEDIA/<name>, whose log is <root>/gps/gps<5th to 8th letters>.log.
inline QString cardVideo(const QString &root, const QString &name)
{
    return root + QStringLiteral("/DCIM/100MEDIA/") + name;
}

inline QString cardLog(const QString &root, const QString &videoName)
{
    return root + QStringLiteral("/gps/gps") + videoName.mid(4, 4) + QStringLiteral(".log");
}

// One line a second; the fixes come first.
inline bool writeLog(const QString &path, int fixes, int withoutFix)
{
    QByteArray log;
    for (int second = 0; second < fixes; ++second)
        log += "A,030410,1310" + QByteArray::number(10 + second)
                + ",4618.9395,N,00656.1347,E,12.00,0.10,0.20,0.99;\n";
    for (int second = 0; second < withoutFix; ++second)
        log += "V,030410,131417,,,,,,0.00,0.00,1.02;\n";
    return writeFile(path, log);
}

// How the test map page answers the online check.
enum class MapPageKind {
    Online,        // #isonline checked
    Offline,       // #isonline not checked
    WithoutProbe,  // no #isonline element
    NeverFinishes, // waits for a stall: image that is never answered
    Missing,       // no googlearth.html: the load fails
};

inline QByteArray testPage(const QByteArray &title, const QByteArray &body)
{
    // The functions the player may call; each call is kept in window.calls.
    static const QByteArray recorder =
            "<script>window.calls = [];"
            "['SetLocation','setstart','clearPath','appendPathNode','showPath','setposition']"
            ".forEach(function (name) { window[name] = function () {"
            " window.calls.push(name + '(' + Array.prototype.join.call(arguments, ',') + ')');"
            " }; });</script>";
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title>"
            + recorder + "</head><body>" + body + "</body></html>";
}

// The five pages in <runFolder>/images/, the map page as `kind` asks.
inline bool writeMapPages(const QString &runFolder, MapPageKind kind)
{
    const QString images = runFolder + QStringLiteral("/images/");
    bool written = writeFile(images + QStringLiteral("startupp.html"), testPage("start", ""))
            && writeFile(images + QStringLiteral("no_gps_file.html"), testPage("no gps file", ""))
            && writeFile(images + QStringLiteral("no_gps_info.html"), testPage("no gps info", ""))
            && writeFile(images + QStringLiteral("no_connection.html"),
                         testPage("no connection", ""));
    QByteArray map;
    switch (kind) {
    case MapPageKind::Online:
        map = "<input type=\"checkbox\" id=\"isonline\" checked>";
        break;
    case MapPageKind::Offline:
        map = "<input type=\"checkbox\" id=\"isonline\">";
        break;
    case MapPageKind::WithoutProbe:
        break;
    case MapPageKind::NeverFinishes:
        map = "<input type=\"checkbox\" id=\"isonline\" checked><img src=\"stall:forever\">";
        break;
    case MapPageKind::Missing:
        return written;
    }
    return written && writeFile(images + QStringLiteral("googlearth.html"), testPage("map", map));
}

} // namespace testrecordings

#endif // TESTRECORDINGS_H
