#include "trips/tripfigures.h"

#include "catalogue/gpslogdata.h"
#include "trips/hardevents.h"
#include "trips/tripgrouper.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kEarthRadiusKm = 6371.0088; // the mean radius
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;
constexpr double kMaxPlausibleKmh = 300;
constexpr double kMovingKmh = 3; // slower is standing or creeping in a queue
constexpr double kMsPerHour = 3600000;
constexpr qint64 kMsPerSecond = 1000;

struct Fix
{
    qint64 utcMs;
    double latitude;
    double longitude;
};

std::optional<Fix> fixOf(const GpsLogRecord &record)
{
    if (!record.dataAvailable)
        return std::nullopt;
    const std::optional<qint64> utcMs = recordUtcMs(record);
    const std::optional<double> latitude = latitudeDegrees(record);
    const std::optional<double> longitude = longitudeDegrees(record);
    if (!utcMs || !latitude || !longitude)
        return std::nullopt;
    return Fix{ *utcMs, *latitude, *longitude };
}

// Fed every record of the trip in order.
class FigureCounter
{
public:
    explicit FigureCounter(double hardEventG) : events(hardEventG) { }

    void add(const GpsLogRecord &record)
    {
        if (events.startsEvent(record))
            ++figures.hardEvents;
        if (!record.dataAvailable)
            return;
        addSpeed(record.velocity);
        if (const std::optional<Fix> fix = fixOf(record)) {
            if (last)
                addStep(*last, *fix);
            last = fix;
        }
    }

    TripFigures result() const
    {
        TripFigures done = figures;
        done.meanMovingSpeedKmh = movingSeconds > 0 ? movingSpeedSum / double(movingSeconds) : 0;
        return done;
    }

private:
    void addSpeed(double kmh)
    {
        if (kmh > kMaxPlausibleKmh)
            return;
        figures.maxSpeedKmh = std::max(figures.maxSpeedKmh, kmh);
        if (kmh > kMovingKmh) {
            movingSpeedSum += kmh;
            ++movingSeconds;
        }
    }

    // From the fix before, also when it was skipped: after one wild fix the
    // track goes on from the next good one.
    void addStep(const Fix &from, const Fix &to)
    {
        const double km = greatCircleKm(from.latitude, from.longitude, to.latitude, to.longitude);
        const double hours = double(to.utcMs - from.utcMs) / kMsPerHour;
        if (km > 0 && (hours <= 0 || km / hours > kMaxPlausibleKmh))
            return;
        figures.distanceKm += km;
    }

    TripFigures figures;
    HardEventFinder events;
    std::optional<Fix> last;
    double movingSpeedSum = 0;
    qint64 movingSeconds = 0;
};

} // namespace

double greatCircleKm(double latitudeA, double longitudeA, double latitudeB, double longitudeB)
{
    const double phiA = latitudeA * kRadiansPerDegree;
    const double phiB = latitudeB * kRadiansPerDegree;
    const double sinHalfPhi = std::sin((phiB - phiA) / 2);
    const double sinHalfLambda = std::sin((longitudeB - longitudeA) * kRadiansPerDegree / 2);
    // Haversine: exact enough at the few metres between two seconds.
    const double h = sinHalfPhi * sinHalfPhi + std::cos(phiA) * std::cos(phiB) * sinHalfLambda * sinHalfLambda;
    return 2 * kEarthRadiusKm * std::asin(std::sqrt(std::min(1.0, h)));
}

TripFigures tripFigures(const Trip &trip, const QList<QList<GpsLogRecord>> &logs, double hardEventG)
{
    FigureCounter counter(hardEventG);
    for (const QList<GpsLogRecord> &log : logs) {
        for (const GpsLogRecord &record : log)
            counter.add(record);
    }
    TripFigures figures = counter.result();
    figures.startMs = trip.startMs();
    figures.endMs = trip.endMs();
    figures.durationSeconds = (figures.endMs - figures.startMs) / kMsPerSecond;
    figures.clips = int(trip.clips.size());
    return figures;
}

TripFigures readTripFigures(const Trip &trip, double hardEventG)
{
    QList<QList<GpsLogRecord>> logs;
    logs.reserve(trip.clips.size());
    for (const TripClip &clip : trip.clips) {
        GpsLogData log;
        if (!clip.logPath.isEmpty())
            log.LoadGpsLog(clip.logPath);
        logs.append(std::move(log.records));
    }
    return tripFigures(trip, logs, hardEventG);
}

QList<TripRow> tripRows(const QList<TripClip> &clips, qint64 gapMs, double hardEventG)
{
    QList<TripRow> rows;
    for (const Trip &trip : groupTrips(clips, gapMs))
        rows.append({ trip, readTripFigures(trip, hardEventG) });
    std::reverse(rows.begin(), rows.end());
    return rows;
}
