#include "catalogue/gpslogdata.h"

GpsLogData::GpsLogData(QObject *parent)
    : QObject(parent)
{
}
