#include <QTest>

class TestUVideoAndGpsfiles : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(TestUVideoAndGpsfiles)
#include "tst_uvideoandgpsfiles.moc"
