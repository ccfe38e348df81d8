#include "playback/playbackrate.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <iterator>

namespace {

// Steps are compared with room for a rate that came through a float.
constexpr double kSameRate = 1e-3;

} // namespace

namespace PlaybackRate {

double faster(double rate)
{
    const auto next = std::find_if(std::begin(kSteps), std::end(kSteps),
                                   [rate](double step) { return step > rate + kSameRate; });
    return next != std::end(kSteps) ? *next : std::max(rate, kSteps[std::size(kSteps) - 1]);
}

double slower(double rate)
{
    const auto next = std::find_if(std::rbegin(kSteps), std::rend(kSteps),
                                   [rate](double step) { return step < rate - kSameRate; });
    return next != std::rend(kSteps) ? *next : std::min(rate, kSteps[0]);
}

QString overlayText(double rate)
{
    return QCoreApplication::translate("PlaybackRate", "Speed %1×").arg(QLocale().toString(rate, 'g', 3));
}

} // namespace PlaybackRate

QString clockOffsetOverlayText(int seconds)
{
    const QString signedSeconds = seconds > 0 ? QStringLiteral("+%1").arg(seconds) : QString::number(seconds);
    return QCoreApplication::translate("PlaybackRate", "Log %1 s").arg(signedSeconds);
}
