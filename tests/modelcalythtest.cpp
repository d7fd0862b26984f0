#include "absurdcapacity.h"

#include <model/processor/modelcalyth.h>

#include <QtCore/QCryptographicHash>
#include <QtTest/QtTest>

#include <climits>
#include <cstring>

namespace {

// The fourteen per-code capacities in getter order.
QVector<int> capsOf(ModelCalyth &m)
{
    return {
        m.getMaxPreOutputCount(),       m.getMaxPreOutputGroup(),       m.getMaxLinkOutputCount(),
        m.getMaxLinkOutputGroup(),      m.getMaxOutputCount(),          m.getMaxSourceCount(),
        m.getMaxLayerCount(),           m.getMaxInputBoardCount(),      m.getMaxOutPutBoardCount(),
        m.getMaxInputBoardPortCount(),  m.getMaxOutputBoardPortCount(), m.getMaxContainerCount(),
        m.getMaxOneMonitorLayerCount(), m.getMaxPvwBoardCount()};
}

// Zero, the extremes, a negative known code and the next codes after known ones.
const int s_unknownCodes[] = {0, -1, INT_MIN, INT_MAX, -0x320000, 0x250302, 0x2D0002, 0x320005};

// Packed members cannot bind to QCOMPARE's references; this takes them by value.
template<typename T>
T v(T value)
{
    return value;
}

} // namespace

class ModelCalythTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every code of the capacity table gets its row, a preview board count left unset keeping what
    // the code before wrote (2 after construction, 1 after 0x900000). The table itself is product
    // data that no rule derives: its fingerprint makes an edit of it a deliberate one, made here
    // too (the failure shows the new fingerprint).
    void knownCodes()
    {
        QByteArray table;
        for (auto row = DeviceCapacities::begin(); row != DeviceCapacities::end(); ++row) {
            for (const int code : row->codes) {
                for (const int previous : {0x320000, 0x900000}) {
                    ModelCalyth model;
                    model.initMaxParams(previous);
                    model.initMaxParams(code);
                    const int pvw = row->pvwBoard != DeviceCapacities::Unset ? row->pvwBoard
                        : previous == 0x900000                               ? 1
                                                                             : 2;
                    const QVector<int> caps{row->preOutput,       row->preOutputGroup,
                                            row->linkOutput,      row->linkOutputGroup,
                                            row->output,          row->source,
                                            row->layer,           row->inputBoard,
                                            row->outputBoard,     row->inputBoardPort,
                                            row->outputBoardPort, row->container,
                                            row->oneMonitorLayer, pvw};
                    QCOMPARE(capsOf(model), caps);
                    QCOMPARE(model.getMaxBankCount() + model.getMaxBankNameLength(), 32);
                    QCOMPARE(model.getMaxPageCount() + model.getMaxContainerName(), 48);
                    table.append(reinterpret_cast<const char *>(&code), sizeof code);
                    table.append(reinterpret_cast<const char *>(caps.data()),
                                 int(caps.size() * sizeof(int)));
                }
            }
        }
        QCOMPARE(QCryptographicHash::hash(table, QCryptographicHash::Sha1).toHex().left(16),
                 QByteArray("54873b9b42b162e1"));
    }

    void unknownCodes()
    {
        for (int code : s_unknownCodes) {
            ModelCalyth model;
            model.initParam(0x900000);
            const QVector<int> before = capsOf(model);
            model.initMaxParams(code);
            QCOMPARE(capsOf(model), before);
            // Rebuilt to the last known capacities; the code itself is still recorded.
            model.initParam(code);
            QCOMPARE(v(model.m_deviceCode), code);
            QCOMPARE(capsOf(model), before);
            QCOMPARE(model.m_outputRecGList.size(), 145);
        }
    }

    void treeSizes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QVector<int>>("counts"); // outputs, sources, in boards, ports, out boards,
                                                  // containers, layers
        QTest::newRow("default") << 0x320000 << QVector<int>{8, 16, 4, 4, 2, 8, 16};
        QTest::newRow("smallest") << 0x2C0200 << QVector<int>{1, 1, 1, 1, 1, 1, 1};
        QTest::newRow("most outputs") << 0x900000 << QVector<int>{144, 96, 24, 4, 36, 4, 288};
        QTest::newRow("most sources") << 0x250313 << QVector<int>{80, 152, 38, 4, 20, 6, 160};
        QTest::newRow("most layers") << 0x250301 << QVector<int>{64, 64, 16, 4, 16, 4, 768};
        QTest::newRow("most ports") << 0x2D0000 << QVector<int>{80, 80, 1, 80, 1, 40, 80};
    }

    void treeSizes()
    {
        QFETCH(int, code);
        QFETCH(QVector<int>, counts);
        const int o = counts[0], s = counts[1], ib = counts[2], p = counts[3], ob = counts[4];
        ModelCalyth m;
        m.initParam(code);
        // Every container of the tree against the capacity that sizes it.
        const QPair<int, int> sizes[] = {
            {m.m_pOutputVecA->size(), o},           {m.m_pOutputVecB->size(), o},
            {m.m_pOutputVecC->size(), o},           {m.m_pOutputVecD->size(), o},
            {m.m_pOutputFlagVec->size(), o},        {m.m_pOutputVecE->size(), o},
            {m.m_pOutputVecF->size(), o},           {m.m_pOutputRecHVec->size(), o},
            {m.m_pOutputRecIVec->size(), o},        {m.m_pOutputRecJVec->size(), 4 * o},
            {m.m_outputFlagList.size(), o},         {m.m_outputRecAList.size(), o},
            {m.m_outputRecBList.size(), o},         {m.m_outputRecCList.size(), o},
            {m.m_outputRecDList.size(), o},         {m.m_outputRecEList.size(), o},
            {m.m_outputRecFList.size(), o},         {m.m_outputRecGList.size(), o + 1},
            {m.m_outputQuadNameList.size(), 4 * o}, {m.m_outputNamePairList.size(), o},
            {m.m_sourceFlagListA.size(), s},        {m.m_sourceFlagListB.size(), s},
            {m.m_sourceFlagListC.size(), s},        {m.m_sourceFlagListD.size(), s},
            {m.m_sourceValueListA.size(), s},       {m.m_sourceTextList.size(), s},
            {m.m_sourceValueListB.size(), s},       {m.m_sourceValueListC.size(), s},
            {m.m_sourceWindowList.size(), s},       {m.m_sourceRecBList.size(), s},
            {m.m_sourceRecCList.size(), s},         {m.m_inputBoardNameList.size(), ib},
            {m.m_inputBoardRecList.size(), ib},     {m.m_inputPortList.size(), ib},
            {m.m_inputBoardInfoList.size(), ib},    {m.m_outputBoardNameList.size(), ob},
            {m.m_outputBoardFlagListA.size(), ob},  {m.m_outputBoardTextListA.size(), ob},
            {m.m_outputBoardFlagListB.size(), ob},  {m.m_outputBoardTextListB.size(), ob},
            {m.m_outputBoardFlagListC.size(), ob},  {m.m_outputBoardGroupListA.size(), ob},
            {m.m_outputBoardGroupListB.size(), ob}, {m.m_containerList.size(), counts[5]},
            {m.m_pLayerVec->size(), counts[6]},     {m.m_spareTextList.size(), 0},
            {m.m_spareValueList.size(), 0},         {m.m_spareRecordList.size(), 0},
            {m.m_spareRecordVec.size(), 0},
        };
        for (const auto &size : sizes)
            QCOMPARE(size.first, size.second);
        // The nested lists: eight text slots per source, one port entry per port, one -1 per
        // output.
        QCOMPARE(m.m_sourceTextList.last(), QStringList(QVector<QString>(8).toList()));
        QCOMPARE(m.m_inputPortList.last().portValues6, QVector<int>(p, 0).toList());
        QCOMPARE(m.m_inputPortList.last().portValues2, QVector<int>(p, 10).toList());
        QCOMPARE(m.m_containerList.last().outputValues, QVector<int>(o, -1).toList());
        QVERIFY(m.m_outputBoardGroupListB.last().isEmpty());
    }

    void defaultsAfterClientWrites()
    {
        // Whatever the client wrote, initParam() brings back the defaults; only the spare bytes
        // are the client's own and survive.
        ModelCalyth model;
        model.m_value9 = 5;
        model.m_intBlock2[7] = 0;
        model.m_intBlock11[0] = model.m_intBlock11[1] = 9;
        model.m_doubleValue = 2.5;
        model.m_textBlock2[4] = QStringLiteral("client");
        model.m_spareBytes[0] = 0x5A;
        model.m_spareTextList.append(QStringLiteral("client"));
        (*model.m_pOutputVecF)[0] = 1;
        model.m_sourceWindowList[3].width1 = 640;
        model.m_containerList[0].name[31] = 'x';
        model.m_inputPortList[0].portValues2[0] = 0;
        model.initParam(0x320000);

        const QVector<int> values
            = {model.m_deviceCode,       model.m_initConstant, model.m_value1,
               model.m_value2,           model.m_value7,       model.m_value9,
               model.m_value11,          model.m_value12,      model.m_value13,
               model.m_value14,          model.m_value15,      model.m_resolutionWidth,
               model.m_resolutionHeight, model.m_intBlock2[0], model.m_intBlock2[7],
               model.m_intBlock11[0],    model.m_intBlock11[1]};
        QCOMPARE(values,
                 (QVector<int>{0x320000, 3000, 1, 2, 1, 128, 30, 2, 4, 3840, 7680, 1920, 1080, 255,
                               255, 0, 0}));
        QCOMPARE(v(model.m_doubleValue), 0.0);
        QCOMPARE(model.m_textBlock2[4], QString());
        QCOMPARE(v(model.m_spareBytes[0]), quint8(0x5A));
        QVERIFY(model.m_spareTextList.isEmpty());
        QCOMPARE(*model.m_pOutputVecF, QVector<int>(8, 128));
        QCOMPARE(model.m_sourceValueListC, QVector<int>(16, 1).toList());
        QCOMPARE(model.m_outputRecBList.last().value1, 255);
        QCOMPARE(model.m_inputPortList[0].portValues2[0], 10);
        const int window[30] = {0, 0, 1920, 1080, 0, 0, 1920, 1080, 0, 0, 0, 0, 0,  0,  0,
                                0, 0, 0,    0,    0, 0, 0,    0,    0, 0, 0, 0, -1, -1, -1};
        for (const _SourceWindow_Record &record : qAsConst(model.m_sourceWindowList))
            QCOMPARE(std::memcmp(&record, window, sizeof window), 0);
        const _Container_Record &container = model.m_containerList.first();
        QCOMPARE(QByteArray(container.name, sizeof container.name), QByteArray(40, '\0'));
    }

    void clearParamsEmptiesOnlyValueContainers()
    {
        ModelCalyth model;
        model.m_text3 = QStringLiteral("kept");
        model.m_spareRecordVec.append(_Int9_Record{});
        const QVector<_Layer_Record> *layers = model.m_pLayerVec;
        model.clearParams();

        QCOMPARE(model.m_pLayerVec, layers);
        QCOMPARE(model.m_pLayerVec->size() + model.m_pOutputVecA->size(), 16 + 8);
        QCOMPARE(model.m_text3, QStringLiteral("kept"));
        QCOMPARE(model.getMaxOutputCount(), 8);
        for (bool empty : {model.m_inputBoardNameList.isEmpty(), model.m_sourceTextList.isEmpty(),
                           model.m_sourceRecCList.isEmpty(), model.m_outputBoardFlagListC.isEmpty(),
                           model.m_outputBoardGroupListB.isEmpty(), model.m_inputPortList.isEmpty(),
                           model.m_containerList.isEmpty(), model.m_outputRecGList.isEmpty(),
                           model.m_spareRecordVec.isEmpty(), model.m_outputNamePairList.isEmpty()})
            QVERIFY(empty);
    }

    void zeroAndNegativeCapacities()
    {
        // No device has zero outputs, but a client may write the capacities; an unknown code then
        // builds to whatever they hold. One more G record than outputs still means one record.
        for (int capacity : {0, -5}) {
            ModelCalyth model;
            model.m_maxOutputCount = capacity;
            model.m_maxInputBoardPortCount = capacity;
            model.initParam(0x230103);
            QCOMPARE(model.m_pOutputRecJVec->size() + model.m_outputQuadNameList.size(), 0);
            QCOMPARE(model.m_outputRecGList.size(), capacity == 0 ? 1 : 0);
            QVERIFY(model.m_inputPortList.first().portValues2.isEmpty());
            QVERIFY(model.m_containerList.first().outputValues.isEmpty());
            QCOMPARE(v(model.m_value15), 7680); // set between the output lists all the same
        }
    }

    // The capacities that size the tree.
    static QVector<CapacityMember<ModelCalyth>> treeCapacities()
    {
        return {{"m_maxOutputCount", &ModelCalyth::m_maxOutputCount},
                {"m_maxSourceCount", &ModelCalyth::m_maxSourceCount},
                {"m_maxInputBoardCount", &ModelCalyth::m_maxInputBoardCount},
                {"m_maxOutPutBoardCount", &ModelCalyth::m_maxOutPutBoardCount},
                {"m_maxInputBoardPortCount", &ModelCalyth::m_maxInputBoardPortCount},
                {"m_maxContainerCount", &ModelCalyth::m_maxContainerCount},
                {"m_maxLayerCount", &ModelCalyth::m_maxLayerCount}};
    }
    void absurdCapacities_data() { addAbsurdCapacityRows(treeCapacities()); }
    void absurdCapacities() { checkAbsurdCapacityRow(treeCapacities()); }
};

QTEST_GUILESS_MAIN(ModelCalythTest)
#include "modelcalythtest.moc"
