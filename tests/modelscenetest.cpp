#include "absurdcapacity.h"
#include "processorcodes.h"

#include <model/scene/modelscene.h>

#include <QtTest/QtTest>

static_assert(alignof(_SceneOutput_Record) == 4, "only the model is packed, not its records");

namespace {

// Source, bank, bank name length, layer, output, container, input board: read alike from this
// model and the processor model, which holds the same values in the members of the same names.
const auto capsOf = [](auto &m) {
    return QList<int>{m.getMaxSourceCount(),    m.getMaxBankCount(),   m.getMaxBankNameLength(),
                      m.getMaxLayerCount(),     m.getMaxOutputCount(), m.getMaxContainerCount(),
                      m.getMaxInputBoardCount()};
};

} // namespace

class ModelSceneTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capacities() { QCOMPARE(capacityMismatches<ModelScene>(capsOf), QString()); }

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
    static QVector<CapacityMember<ModelScene>> treeCapacities()
    {
        return {{"m_maxLayerCount", &ModelScene::m_maxLayerCount},
                {"m_maxBankCount", &ModelScene::m_maxBankCount},
                {"m_maxOutputCount", &ModelScene::m_maxOutputCount},
                {"m_maxContainerCount", &ModelScene::m_maxContainerCount},
                {"m_maxSourceCount", &ModelScene::m_maxSourceCount}};
    }
    void absurdCapacities_data() { addAbsurdCapacityRows(treeCapacities()); }
    void absurdCapacities() { checkAbsurdCapacityRow(treeCapacities()); }
};

QTEST_GUILESS_MAIN(ModelSceneTest)
#include "modelscenetest.moc"
