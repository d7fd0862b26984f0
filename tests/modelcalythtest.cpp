#include <model/processor/modelcalyth.h>

#include <QtTest/QtTest>

class ModelCalythTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void construct();
};

void ModelCalythTest::construct()
{
    ModelCalyth model;
    QCOMPARE(model.getMaxOutputCount(), 8);
}

QTEST_GUILESS_MAIN(ModelCalythTest)
#include "modelcalythtest.moc"
