#include <model/records/apienum.h>

#include <QtCore/QMetaEnum>
#include <QtTest/QtTest>

class APIEnumTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void metaObject();
    void deviceType_data();
    void deviceType();
    void unknownValue();
    void castByName_data();
    void castByName();
};

void APIEnumTest::metaObject()
{
    const QMetaObject &mo = APIEnum::staticMetaObject;
    QCOMPARE(mo.className(), "APIEnum");
    QCOMPARE(mo.superClass(), &QObject::staticMetaObject);
    // Nothing of its own but the one enumerator.
    QCOMPARE(mo.methodCount(), mo.methodOffset());
    QCOMPARE(mo.propertyCount(), mo.propertyOffset());
    QCOMPARE(mo.classInfoCount(), 0);
    QCOMPARE(mo.constructorCount(), 0);
    QCOMPARE(mo.enumeratorCount() - mo.enumeratorOffset(), 1);

    const QMetaEnum me = mo.enumerator(mo.indexOfEnumerator("DeviceTYPE"));
    QVERIFY(me.isValid());
    QCOMPARE(me.keyCount(), 2);
    QVERIFY(!me.isFlag());
    QVERIFY(!me.isScoped());
    QCOMPARE(QMetaEnum::fromType<APIEnum::DeviceTYPE>().enclosingMetaObject(), &mo);

    const APIEnum object;
    QCOMPARE(object.metaObject(), &mo);
}

void APIEnumTest::deviceType_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("value");
    QTest::newRow("KTR8") << QByteArray("E_DeviceTYPE_KTR8") << int(APIEnum::E_DeviceTYPE_KTR8);
    QTest::newRow("vMix") << QByteArray("E_DeviceTYPE_vMix") << int(APIEnum::E_DeviceTYPE_vMix);
}

void APIEnumTest::deviceType()
{
    QFETCH(QByteArray, key);
    QFETCH(int, value);
    const QMetaEnum me = QMetaEnum::fromType<APIEnum::DeviceTYPE>();
    QCOMPARE(me.keyToValue(key.constData()), value);
    QCOMPARE(me.valueToKey(value), key.constData());
    QCOMPARE(me.key(value), key.constData()); // keys in declaration order, valued 0 and 1
}

void APIEnumTest::unknownValue()
{
    const QMetaEnum me = QMetaEnum::fromType<APIEnum::DeviceTYPE>();
    QVERIFY(!me.valueToKey(2));
    bool ok = true;
    QCOMPARE(me.keyToValue("E_DeviceTYPE_Other", &ok), -1);
    QVERIFY(!ok);
}

void APIEnumTest::castByName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("APIEnum") << QByteArray("APIEnum") << true;
    QTest::newRow("QObject") << QByteArray("QObject") << true;
    QTest::newRow("unrelated") << QByteArray("QTimer") << false;
    QTest::newRow("null") << QByteArray() << false;
}

void APIEnumTest::castByName()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, succeeds);
    APIEnum object;
    void *cast = object.qt_metacast(name.isNull() ? nullptr : name.constData());
    QCOMPARE(cast, succeeds ? static_cast<void *>(&object) : nullptr);
}

QTEST_GUILESS_MAIN(APIEnumTest)
#include "apienumtest.moc"
