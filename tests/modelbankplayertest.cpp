#include "absurdcapacity.h"
#include "processorcodes.h"

#include <model/bankplayer/modelbankplayer.h>

#include <QtTest/QtTest>

class ModelBankPlayerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capacities() { QCOMPARE(capacityMismatches<ModelBankPlayer>(), QString()); }

    void presets_data()
    {
        // A code passed to initParam twice and the capacities it leaves. An unknown code keeps the
        // bank count the client wrote, and the per-bank arrays take no more of it than 16 entries.
        QTest::addColumn<int>("code");
        QTest::addColumn<QList<int>>("caps");
        QTest::newRow("largest") << 0x900000 << QList<int>{16, 144};
        QTest::newRow("more banks than entries") << -1 << QList<int>{1000, 8};
        QTest::newRow("negative") << -1 << QList<int>{-5, 8};
    }

    void presets()
    {
        QFETCH(int, code);
        QFETCH(QList<int>, caps);
        ModelBankPlayer model;
        // Client writes: only those to m_spareBytes and m_items2 survive a rebuild.
        const QString client = QStringLiteral("client");
        model.m_maxBankCount = caps[0];
        model.m_flag2 = model.m_value10 = model.m_spareBytes[7] = 7;
        model.m_items1[254].text5 = model.m_items2[254].text5 = client;
        for (int b = 0; b < ModelBankPlayer::BankSlotCount; ++b)
            model.m_bankIndex2[b] = model.m_bankValues8[b] = 7;
        model.initParam(code);
        model.initParam(code); // must not grow the byte vectors
        QCOMPARE(QVariantList({model.m_deviceCode, model.getMaxBankCount(),
                               model.getMaxOutputCount(), model.m_initConstant, model.m_flag2,
                               model.m_value10, model.m_spareBytes[7], model.m_items1[254].text5,
                               model.m_items2[254].text5}),
                 QVariantList({code, caps[0], caps[1], 3000, 0, 0, 7, QString(), client}));
        QCOMPARE(model.m_bankBytes1, QVector<quint8>(9 * qMax(0, caps[0]), 0));
        QCOMPARE(model.m_bankBytes2, QVector<quint8>(8 * qMax(0, caps[0]), 0));

        // clearParams() empties the byte vectors and nothing else.
        model.clearParams();
        QVERIFY(model.m_bankBytes1.isEmpty() && model.m_bankBytes2.isEmpty());
        for (int b = 0; b < ModelBankPlayer::BankSlotCount; ++b)
            QCOMPARE(
                QList<int>({model.m_bankIndex1[b], model.m_bankIndex2[b], model.m_bankValues8[b]}),
                b < caps[0] ? QList<int>({b, b, 0}) : QList<int>({b, 7, 7}));
    }

    // The capacities that size the tree.
    static QVector<CapacityMember<ModelBankPlayer>> treeCapacities()
    {
        return {{"m_maxBankCount", &ModelBankPlayer::m_maxBankCount}};
    }
    void absurdCapacities_data() { addAbsurdCapacityRows(treeCapacities()); }
    void absurdCapacities() { checkAbsurdCapacityRow(treeCapacities()); }
};

QTEST_GUILESS_MAIN(ModelBankPlayerTest)
#include "modelbankplayertest.moc"
