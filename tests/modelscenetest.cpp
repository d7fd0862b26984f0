#include "absurdcapacity.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/processor/modelcalyth.h>
#include <model/scene/modelscene.h>

#include <QtTest/QtTest>

#include <climits>

static_assert(alignof(_SceneOutput_Record) == 4, "only the model is packed, not its records");

namespace {

// The scene and bank player models serve the processor's devices: they know every code the
// processor model knows but the two processor-only variants 0x2C0201 and 0x2C0202, and hold the
// processor's values in their capacities of the same names. This test takes the codes and values
// from the processor model, whose own test checks them against the product sheets.

// Device codes read 0xFFMMVV: family, model, variant. Every code the processor knows, and the near
// misses of each, lie in the box of families 0x20 to 0xAF, models 0x00 to 0x0F and 0x80 to 0x9F,
// variants 0x00 to 0x1F and 0x60 to 0x6F (a walk over all 2^24 codes takes half a minute). Zero
// and negative codes come last.
QVector<int> candidateCodes()
{
    QVector<int> codes;
    for (int family = 0x20; family <= 0xAF; ++family)
        for (int model = 0; model <= 0x9F; model = model == 0x0F ? 0x80 : model + 1)
            for (int variant = 0; variant <= 0x6F; variant = variant == 0x1F ? 0x60 : variant + 1)
                codes.append(family << 16 | model << 8 | variant);
    return codes << 0 << -1 << -0x320000 << INT_MIN;
}

// Runs every candidate code through initMaxParams() of a Model and of the processor model and
// returns, in hex, the codes on which capsOf (the same getters, read from either model) disagrees:
// a code the Model must know must give the processor's values, any other code must leave the
// Model's capacities as they were (those of the code before, with bank and output count marked
// -1). Empty when all agree; a box holding other than the 56 codes the Model knows shows as well.
template<typename Model, typename CapsOf>
QString capacityMismatches(CapsOf capsOf)
{
    ModelCalyth processor;
    Model model;
    QStringList wrong;
    int known = 0;
    for (int code : candidateCodes()) {
        // A known code overwrites every capacity, an unknown one none: not even the marked ones.
        model.m_maxBankCount = model.m_maxOutputCount = processor.m_maxOutputCount = -1;
        const auto before = capsOf(model);
        model.initMaxParams(code);
        processor.initMaxParams(code);
        const bool knows = processor.m_maxOutputCount != -1 && code != 0x2C0201 && code != 0x2C0202;
        known += knows;
        if (capsOf(model) != (knows ? capsOf(processor) : before))
            wrong << QString::number(code, 16);
    }
    if (known != 56)
        wrong << QStringLiteral("(%1 known codes in the box)").arg(known);
    return wrong.join(QLatin1Char(' '));
}

// Source, bank, bank name length, layer, output, container, input board: read alike from the
// scene model and the processor model, which holds the same values in the members of the same
// names. The bank player has the bank and output counts.
const auto capsOf = [](auto &m) {
    return QList<int>{m.getMaxSourceCount(),    m.getMaxBankCount(),   m.getMaxBankNameLength(),
                      m.getMaxLayerCount(),     m.getMaxOutputCount(), m.getMaxContainerCount(),
                      m.getMaxInputBoardCount()};
};
const auto bankAndOutputCount = [](auto &m) {
    return QList<int>{m.getMaxBankCount(), m.getMaxOutputCount()};
};

} // namespace

class ModelSceneTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capacities()
    {
        QCOMPARE(capacityMismatches<ModelScene>(capsOf), QString());
        QCOMPARE(capacityMismatches<ModelBankPlayer>(bankAndOutputCount), QString());
    }

    // The scene.
    void trees_data()
    {
        // The capacities a code leaves. The negative ones, which no device has, the client writes
        // before an unknown code; the bank count stays the constructor's.
        QTest::addColumn<int>("code");
        QTest::addColumn<QList<int>>("caps");
        QTest::newRow("default") << 0x320000 << QList<int>{16, 16, 16, 16, 8, 8, 4};
        QTest::newRow("smallest") << 0x2C0200 << QList<int>{1, 16, 16, 1, 1, 1, 1};
        QTest::newRow("largest") << 0x900000 << QList<int>{96, 16, 16, 288, 144, 4, 24};
        QTest::newRow("negative") << -1 << QList<int>{-1, 16, 16, -1, -1, -1, 4};
    }

    // The record contents are pinned by the fingerprints of the scene's documents in
    // modelstatetest; here the sizes, after client writes.
    void trees()
    {
        QFETCH(int, code);
        QFETCH(QList<int>, caps);
        ModelScene model;
        QCOMPARE(int(model.m_deviceCode), 0x320000);
        // Client writes: capacities that a known code overwrites and an unknown one keeps, and
        // values that a rebuild must not carry over.
        model.m_maxSourceCount = model.m_maxLayerCount = model.m_maxOutputCount
            = model.m_maxContainerCount = caps[0];
        model.m_value1 = model.m_flag3 = model.m_data[31] = 7;
        model.initParam(code);
        model.initParam(code); // must not grow anything
        QCOMPARE(capsOf(model), caps);
        const int banks = qMax(0, caps[1]), layers = qMax(0, caps[3]), outputs = qMax(0, caps[4]);
        // Every bank is built alike; the last one shows a loop that stops short.
        const _SceneBank_Record &bank = model.m_pBankVec->last();
        QCOMPARE(QList<qsizetype>({model.m_deviceCode, model.m_initConstant, model.m_value1,
                                   model.m_value2, model.m_flag3, model.m_data[31],
                                   model.m_containerList.size(), model.m_sourceList.size(),
                                   model.m_pBankVec->size(), model.m_pBankOutputVec->size(),
                                   bank.pLayerVec->size(), model.m_pBankOutputVec->last().size()}),
                 QList<qsizetype>({code, 3000, 0, 1, 0, 0, qMax(0, caps[5]), qMax(0, caps[0]),
                                   banks, banks, layers, outputs}));
        QCOMPARE(*bank.pOutputFlagVec, QVector<quint8>(outputs, 1));

        // Only the lists held by value go; the heap vectors stay until the next rebuild.
        model.clearParams();
        QCOMPARE(model.m_containerList.size() + model.m_sourceList.size(), 0);
        QCOMPARE(model.m_pLayerVec->size(), layers);
    }

    // The capacities that size the tree.
    void absurdCapacities_data()
    {
        addAbsurdCapacityRows<ModelScene>(
            {CAPACITY(ModelScene, m_maxLayerCount), CAPACITY(ModelScene, m_maxBankCount),
             CAPACITY(ModelScene, m_maxOutputCount), CAPACITY(ModelScene, m_maxContainerCount),
             CAPACITY(ModelScene, m_maxSourceCount)});
    }
    void absurdCapacities() { checkAbsurdCapacityRow<ModelScene>(); }

    // The bank player.
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
        model.m_flag2 = model.m_value8 = model.m_value10 = model.m_spareBytes[7] = 7;
        model.m_items1[254].text5 = model.m_items2[254].text5 = client;
        for (int b = 0; b < ModelBankPlayer::BankSlotCount; ++b)
            model.m_bankIndex2[b] = model.m_bankValues8[b] = 7;
        model.initParam(code);
        model.initParam(code); // must not grow the byte vectors
        QCOMPARE(QVariantList({model.m_deviceCode, model.getMaxBankCount(),
                               model.getMaxOutputCount(), model.m_initConstant, model.m_flag2,
                               model.m_value8, model.m_value10, model.m_spareBytes[7],
                               model.m_items1[254].text5, model.m_items2[254].text5}),
                 QVariantList({code, caps[0], caps[1], 3000, 0, 0, 0, 7, QString(), client}));
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
    void bankPlayerAbsurdCapacities_data()
    {
        addAbsurdCapacityRows<ModelBankPlayer>({CAPACITY(ModelBankPlayer, m_maxBankCount)});
    }
    void bankPlayerAbsurdCapacities() { checkAbsurdCapacityRow<ModelBankPlayer>(); }
};

QTEST_GUILESS_MAIN(ModelSceneTest)
#include "modelscenetest.moc"
