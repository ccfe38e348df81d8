#include "catalogue/uvideoandgpsfiles.h"

UVideoAndGpsfiles::UVideoAndGpsfiles(QObject *parent)
    : QObject(parent)
{
}
