#ifndef GPSLOGDATA_H
#define GPSLOGDATA_H

#include "logs/gpslogrecord.h"

#include <QList>
#include <QObject>
#include <QString>

// The records of the GPS log that belongs to the recording being played.
// Record k is second k of the recording: in the camera's own log line k, also
// when the line is empty or malformed; NMEA and GPX logs are read by
// GpsLogReader.
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

private:
    void loadCameraLog(QByteArrayView content);
};

#endif // GPSLOGDATA_H
