#include "playback/mappagetexts.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct PageText
{
    const char *key;
    const char *text; // may hold the markup <br>, <code> and entities
};

const PageText kPageTexts[] = {
    { "start.tagline", QT_TRANSLATE_NOOP("MapPages", "Dash-camera recording player") },
    { "start.import",
      QT_TRANSLATE_NOOP("MapPages", "Import recordings with the folder button below,<br>"
                                    "then double-click one to play it.") },
    { "start.route", QT_TRANSLATE_NOOP("MapPages", "Its route and the car&rsquo;s position then appear here.") },
    { "offline.title", QT_TRANSLATE_NOOP("MapPages", "The map could not be loaded") },
    { "offline.why",
      QT_TRANSLATE_NOOP("MapPages", "No tile of this route could be had: the map server did not answer, "
                                    "and neither the cache nor an offline map holds them.") },
    { "offline.works", QT_TRANSLATE_NOOP("MapPages", "Video, speed, G-sensor and position still follow the recording.") },
    { "offline.missing", QT_TRANSLATE_NOOP("MapPages", "Route and position are not shown on a map.") },
    { "nolog.title", QT_TRANSLATE_NOOP("MapPages", "No GPS log for this recording") },
    { "nolog.why",
      QT_TRANSLATE_NOOP("MapPages", "Marvenda looks for it in the <code>gps</code> folder two levels "
                                    "above the video file and found none there.") },
    { "nolog.works", QT_TRANSLATE_NOOP("MapPages", "The video plays as usual.") },
    { "nolog.missing", QT_TRANSLATE_NOOP("MapPages", "Speed, G-sensor and map are unavailable.") },
    { "nofix.title", QT_TRANSLATE_NOOP("MapPages", "Too few GPS fixes") },
    { "nofix.why",
      QT_TRANSLATE_NOOP("MapPages", "This recording has a GPS log, but it holds too few position fixes "
                                    "to show a route &mdash; the camera probably had no satellite "
                                    "reception.") },
    { "nofix.works", QT_TRANSLATE_NOOP("MapPages", "The video and the G-sensor graph still work.") },
    { "nofix.missing", QT_TRANSLATE_NOOP("MapPages", "No map, route or car position.") },
    { "map.speed-unit", QT_TRANSLATE_NOOP("MapPages", "km/h") },
    { "map.hard-event", QT_TRANSLATE_NOOP("MapPages", "hard event") },
};

} // namespace

QString mapPageTextsScript()
{
    QJsonObject texts;
    for (const PageText &text : kPageTexts)
        texts.insert(QLatin1String(text.key), QCoreApplication::translate("MapPages", text.text));
    return QStringLiteral("window.velmoraTexts = %1;")
            .arg(QString::fromUtf8(QJsonDocument(texts).toJson(QJsonDocument::Compact)));
}
