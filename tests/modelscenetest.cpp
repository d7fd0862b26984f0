#include "absurdcapacity.h"
#include "processorcodes.h"

#include <model/scene/modelscene.h>

#include <QtTest/QtTest>

#include <cstring>

static_assert(alignof(_SceneOutput_Record) == 4, "only the model is packed, not its records");

namespace {

// Source, bank, bank name length, layer, output, container, input board: read alike from this
// model and the processor model, which holds the same values in the members of the same names.
const auto capsOf = [](auto &m) {
    return QList<int>{m.getMaxSourceCount(),    m.getMaxBankCount(),   m.getMaxBankNameLength(),
                      m.getMaxLayerCount(),     m.getMaxOutputCount(), m.getMaxContainerCount(),
                      m.getMaxInputBoardCount()};
};

// A record's fields in declaration order; a layer's text as its length.
QList<int> fields(const _SceneLayer_Record &l)
{
    return {l.areaX,      l.areaY,       l.areaWidth, l.areaHeight, l.area2X,  l.area2Y,
            l.area2Width, l.area2Height, l.value1,    l.value2,     l.value3,  l.value4,
            l.layerIndex, l.value5,      l.value6,    l.value7,     l.value8,  l.flag1,
            l.flag2,      l.flag3,       l.value9,    l.value10,    l.value11, int(l.text.size())};
}
template<typename IntRecord> // an output, a container, a source
QList<int> fields(const IntRecord &r)
{
    QVector<int> v(sizeof r / sizeof(int));
    std::memcpy(v.data(), &r, sizeof r);
    return v.toList();
}

// The size of a list whose records all read as expected, else -1. Field indexField, if given,
// holds each record's position.
template<typename List>
int sizeIfAll(const List &list, QList<int> expected, int indexField = -1)
{
    for (int i = 0; i < list.size(); ++i) {
        if (indexField >= 0)
            expected[indexField] = i;
        if (fields(list.at(i)) != expected)
            return -1;
    }
    return list.size();
}

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
        QCOMPARE(QList<int>({model.m_deviceCode, model.m_initConstant, model.m_value1,
                             model.m_value2, model.m_flag3, model.m_data[31]}),
                 QList<int>({code, 3000, 0, 1, 0, 0}));
        QCOMPARE(sizeIfAll(model.m_containerList, QVector<int>(5, 0).toList()), qMax(0, caps[5]));
        QCOMPARE(sizeIfAll(model.m_sourceList, QVector<int>(12, 0).toList()), qMax(0, caps[0]));

        // Only the lists held by value go; the heap vectors stay until the next rebuild.
        model.clearParams();
        QCOMPARE(model.m_containerList.size() + model.m_sourceList.size(), 0);
        const int banks = qMax(0, caps[1]), layers = qMax(0, caps[3]), outputs = qMax(0, caps[4]);
        QList<int> layer{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0};
        QCOMPARE(sizeIfAll(*model.m_pLayerVec, layer), layers);
        layer[2] = layer[6] = 1920;
        layer[3] = layer[7] = 1080;
        QCOMPARE(model.m_pBankVec->size(), banks);
        QCOMPARE(model.m_pBankOutputVec->size(), banks);
        // Every bank is built alike; the last one shows a loop that stops short.
        QCOMPARE(sizeIfAll(*model.m_pBankVec->last().pLayerVec, layer, 12), layers);
        QCOMPARE(*model.m_pBankVec->last().pOutputFlagVec, QVector<quint8>(outputs, 1));
        const QList<int> output = QVector<int>(29, 0).toList() << 255;
        QCOMPARE(sizeIfAll(model.m_pBankOutputVec->last(), output), outputs);
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
