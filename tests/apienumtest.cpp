#include <model/records/apienum.h>

#include <QtTest/QtTest>

class APIEnumTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void deviceType()
    {
        // Callers turn keys into values and back by name, through APIEnum's meta-object.
        const QMetaEnum me = QMetaEnum::fromType<APIEnum::DeviceTYPE>();
        QCOMPARE(me.enclosingMetaObject(), &APIEnum::staticMetaObject);
        QCOMPARE(me.name(), "DeviceTYPE");
        QVERIFY(!me.isFlag() && !me.isScoped());
        QCOMPARE(me.keyCount(), 2);
        QCOMPARE(QByteArray(me.valueToKey(0)) + ' ' + me.valueToKey(1),
                 "E_DeviceTYPE_KTR8 E_DeviceTYPE_vMix");
        QCOMPARE(me.keyToValue("E_DeviceTYPE_vMix"), 1);
        QVERIFY(!me.valueToKey(2));
    }
};

QTEST_GUILESS_MAIN(APIEnumTest)
#include "apienumtest.moc"
