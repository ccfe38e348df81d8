#ifndef GPSLOGDATA_H
#define GPSLOGDATA_H

#include <QObject>

// The records of the GPS log that belongs to the recording being played.
class GpsLogData : public QObject
{
    Q_OBJECT

public:
    explicit GpsLogData(QObject *parent = nullptr);
};

#endif // GPSLOGDATA_H
