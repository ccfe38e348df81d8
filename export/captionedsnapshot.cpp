#include "export/captionedsnapshot.h"

#include "catalogue/gpslogdata.h"
#include "trips/triptimeline.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QTime>
#include <QtConcurrent>

namespace {

constexpr int kDegreeDecimals = 5; // about a metre
constexpr int kMinStripHeight = 24;
constexpr int kStripDivisor = 24; // the strip is this part of the picture's width, at least the minimum
constexpr double kTextShare = 0.6;
constexpr int kMargin = 8;
const QString kSeparator = QStringLiteral("   ");

QString degreesText(double degrees, char positive, char negative)
{
    return QStringLiteral("%1° %2").arg(std::abs(degrees), 0, 'f', kDegreeDecimals)
            .arg(QLatin1Char(degrees < 0 ? negative : positive));
}

// The largest font, up to the strip's, that fits the line into `width`.
QFont fittingFont(const QString &line, int stripHeight, int width)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    int pixels = std::max(6, int(stripHeight * kTextShare));
    font.setPixelSize(pixels);
    while (pixels > 6 && QFontMetrics(font).horizontalAdvance(line) > width) {
        font.setPixelSize(--pixels);
    }
    return font;
}

// "2010-04-03 14:52:25 UTC+02:00": the offset says which clock it is.
QString momentText(qint64 utcMs, const DisplayZone &zone)
{
    const QDateTime moment = zone.at(utcMs);
    const int offset = moment.offsetFromUtc();
    const QString clock = QStringLiteral("UTC");
    const QString offsetText = offset == 0 ? clock
            : clock + QLatin1Char(offset < 0 ? '-' : '+')
                    + QTime(0, 0).addSecs(std::abs(offset)).toString(QStringLiteral("HH:mm"));
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + offsetText;
}

} // namespace

QString SnapshotCaption::line() const
{
    QStringList parts{ moment, speed, position, recording };
    parts.removeAll(QString());
    return parts.join(kSeparator);
}

SnapshotCaption snapshotCaption(const GpsLogRecord &record, bool withLog, const QString &videoPath,
                                qint64 videoMs, const CaptionStyle &style)
{
    SnapshotCaption caption;
    caption.recording = QStringLiteral("%1 %2").arg(
            QFileInfo(videoPath).fileName(),
            QTime(0, 0).addMSecs(std::max<qint64>(0, videoMs)).toString(QStringLiteral("HH:mm:ss.zzz")));
    if (!withLog) {
        caption.position = QStringLiteral("no GPS log");
        return caption;
    }
    if (const std::optional<qint64> ms = recordUtcMs(record))
        caption.moment = momentText(*ms, style.zone);
    const std::optional<double> latitude = latitudeDegrees(record);
    const std::optional<double> longitude = longitudeDegrees(record);
    if (!record.dataAvailable || !latitude || !longitude) {
        caption.position = QStringLiteral("no GPS fix");
        return caption;
    }
    caption.speed = QStringLiteral("%1 %2").arg(qRound(speedIn(style.unit, record.velocity))).arg(speedUnitText(style.unit));
    caption.position = degreesText(*latitude, 'N', 'S') + QLatin1Char(' ') + degreesText(*longitude, 'E', 'W');
    return caption;
}

CaptionLine captionLineOf(std::shared_ptr<const TripTimeline> timeline, const CaptionStyle &style,
                          int clockOffsetSeconds)
{
    return [timeline, style, clockOffsetSeconds](int video, qint64 ms) {
        const TripClip &clip = timeline->clip(video);
        const int second = timeline->offsetOf(video) + int(ms / 1000) + clockOffsetSeconds;
        const GpsLogRecord record = timeline->records().value(second);
        return snapshotCaption(record, !clip.logPath.isEmpty(), clip.videoPath, ms, style).line();
    };
}

QImage captionStrip(const QString &line, int width, int height)
{
    QImage strip(width, height, QImage::Format_ARGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    painter.setFont(fittingFont(line, height, width - 2 * kMargin));
    painter.setPen(Qt::white);
    painter.drawText(QRect(kMargin, 0, width - 2 * kMargin, height), Qt::AlignVCenter | Qt::AlignLeft, line);
    return strip;
}

int captionStripHeight(int width)
{
    return std::max(kMinStripHeight, width / kStripDivisor);
}

QString captionedCopyPath(const QString &picturePath)
{
    const QFileInfo picture(picturePath);
    return picture.dir().filePath(picture.completeBaseName() + QStringLiteral("_captioned.png"));
}

QString writeCaptionedCopy(const QString &picturePath, const SnapshotCaption &caption)
{
    const QImage picture(picturePath);
    if (picture.isNull())
        return QStringLiteral("cannot read %1").arg(QFileInfo(picturePath).fileName());
    const int strip = captionStripHeight(picture.width());
    QImage captioned(picture.width(), picture.height() + strip, QImage::Format_RGB32);
    {
        QPainter painter(&captioned);
        painter.drawImage(0, 0, picture);
        painter.drawImage(0, picture.height(), captionStrip(caption.line(), picture.width(), strip));
    }
    // Standard PNG keywords where there is one.
    captioned.setText(QStringLiteral("Creation Time"), caption.moment);
    captioned.setText(QStringLiteral("Speed"), caption.speed);
    captioned.setText(QStringLiteral("Position"), caption.position);
    captioned.setText(QStringLiteral("Title"), caption.recording);
    captioned.setText(QStringLiteral("Software"), QStringLiteral("Marvenda"));

    const QString path = captionedCopyPath(picturePath);
    QSaveFile file(path);
    QImageWriter writer(&file, "png");
    if (!file.open(QIODevice::WriteOnly) || !writer.write(captioned) || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(QFileInfo(path).fileName(),
                                                          writer.error() != QImageWriter::UnknownError
                                                                  ? writer.errorString()
                                                                  : file.errorString());
    return {};
}

void SnapshotCaptioner::caption(const QString &picturePath)
{
    SnapshotCaption caption = pending.value_or(SnapshotCaption{});
    if (!pending)
        caption.recording = QFileInfo(picturePath).completeBaseName();
    pending.reset();
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher, picturePath] {
        emit captioned(picturePath, captionedCopyPath(picturePath), watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(writeCaptionedCopy, picturePath, caption));
}
