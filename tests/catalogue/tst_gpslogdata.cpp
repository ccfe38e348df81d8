#include <QTest>

class TestGpsLogData : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(TestGpsLogData)
#include "tst_gpslogdata.moc"
