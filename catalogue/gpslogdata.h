#ifndef GPSLOGDATA_H
#define GPSLOGDATA_H

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// One line of a GPS log: the state of the car at one second of the video.
struct GpsLogRecord
{
    bool dataAvailable = false;
    QString date;
    QString time;
    QString longitude;
    QString eastOrWest;
    QString latitude;
    QString southOrNorth;
    double velocity = 0; // km/h
    double x = 0;
    double y = 0;
    double z = 0;
};

// The moment of a record from its "ddmmyy" date and "hhmmss" time, which the
// logger writes in UTC: ms since the epoch, nothing when either is no valid
// date or time. Years are 2000 to 2099.
std::optional<qint64> recordUtcMs(const GpsLogRecord &record);
// Decimal degrees, negative for south and west; nothing when the log gives no
// number or one that is no place on Earth.
std::optional<double> latitudeDegrees(const GpsLogRecord &record);
std::optional<double> longitudeDegrees(const GpsLogRecord &record);

// The records of the GPS log that belongs to the recording being played.
// Record k is line k of the log, also when the line is empty or malformed.
class GpsLogData : public QObject
{
    Q_OBJECT

public:
    explicit GpsLogData(QObject *parent = nullptr);

    void LoadGpsLog(QString path);
    void ClearGpsLog();
    int GetLastIndex() const;
    GpsLogRecord GetFirstAvailableRecord() const;
    GpsLogRecord GetRecord(int i) const;
    // The record that the field getters below give for one line.
    GpsLogRecord recordFromLine(const QString &line) const;

    QList<GpsLogRecord> records;

public slots:
    bool GetDataAvailable(QString linedata) const;
    QString GetDate(QString linedata) const;
    QString GetTime(QString linedata) const;
    QString GetLongitude(QString linedata) const;
    QString GetEastOrWest(QString linedata) const;
    QString GetLatitude(QString linedata) const;
    QString GetSouthOrNorth(QString linedata) const;
    double GetVelocity(QString linedata) const;
    double GetX(QString linedata) const;
    double GetY(QString linedata) const;
    double GetZ(QString linedata) const;
};

#endif // GPSLOGDATA_H
