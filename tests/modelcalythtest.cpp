#include "absurdcapacity.h"
#include "memberlayout.h"

#include <model/processor/modelcalyth.h>

#include <QtTest/QtTest>

#include <climits>
#include <cstring>
#include <initializer_list>

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

// The device table as the product sheets give it, kept apart from the library's own copy so that a
// slip in either shows up here. A preview board count of -1 marks a row that leaves it as it was.
struct KnownRow
{
    std::initializer_list<int> codes;
    QVector<int> caps;
};

// clang-format off
const KnownRow knownRows[] = {
    // codes                                                     PreOut Grp Link Grp  Out  Src  Layer In Out InP OutP Cont OneMon Pvw
    {{0x220000},                                                 {16,  8,   8,  4,  16,  16,  16,  4,  4,  4,  4, 16,  1, -1}},
    {{0x230100, 0x230101, 0x230102, 0x230106, 0x230107},         { 8,  4,   4,  4,   8,   8,   8,  2,  2,  4,  4,  8,  1, -1}},
    {{0x240000},                                                 {16,  8,   8,  4,  16,  16,  16,  4,  4,  4,  4,  1,  1, -1}},
    {{0x240100},                                                 { 8,  4,   4,  4,   8,   8,   8,  2,  2,  4,  4,  1,  1, -1}},
    {{0x240200},                                                 {32, 16,  16,  8,  32,  32,  32,  8,  8,  4,  4,  1,  1, -1}},
    {{0x250000, 0x250100, 0x250200},                             { 8,  4,   4,  2,   8,  16,  32,  4,  2,  4,  4,  8,  4,  1}},
    {{0x250300},                                                 { 8,  4,   4,  2,  32,  32, 384,  8,  8,  4,  4,  4, 48,  1}},
    {{0x250301},                                                 {16,  8,   8,  4,  64,  64, 768, 16, 16,  4,  4,  4, 48,  1}},
    {{0x250310, 0x250400},                                       {20, 20,  20, 20,  20,  36,  40,  9,  5,  4,  4,  6,  8,  1}},
    {{0x250311, 0x250401},                                       { 8,  8,   8,  8,   8,  12,  16,  3,  2,  4,  4,  6,  8,  1}},
    {{0x250312, 0x250402},                                       {40, 40,  40, 40,  40,  72,  80, 18, 10,  4,  4,  6,  8,  1}},
    {{0x250313, 0x250403},                                       {80, 80,  80, 80,  80, 152, 160, 38, 20,  4,  4,  6,  8,  1}},
    {{0x260000, 0x260001, 0x270000, 0x270001},                   {10,  5,   5,  5,  20,  36,  80,  9,  5,  4,  4,  5, 16,  1}},
    {{0x260100, 0x260101, 0x270100, 0x270101},                   { 4,  2,   2,  2,   8,  20,  32,  5,  2,  4,  4,  2, 16,  1}},
    {{0x280100},                                                 { 1,  1,   1,  1,   3,   4,   4,  1,  1,  4,  3,  1,  4, -1}},
    {{0x2C0100, 0x2C0101, 0x2C0102, 0x2C0105, 0x2C0106, 0x2C0107}, { 1,  1,   1,  1,   3,   6,   4,  1,  1,  6,  3,  1,  4, -1}},
    {{0x2C0103, 0x2C0104},                                       { 1,  1,   1,  1,   1,   5,   2,  1,  1,  5,  1,  1,  4, -1}},
    {{0x2C0200, 0x2C0201, 0x2C0202},                             { 1,  1,   1,  1,   1,   1,   1,  1,  1,  1,  1,  1,  1, -1}},
    {{0x2D0000, 0x2D0001},                                       { 8,  4,   4,  2,  80,  80,  80,  1,  1, 80, 80, 40,  4, -1}},
    {{0x320000, 0x320001, 0x320002, 0x320003, 0x320004},         { 8,  4,   4,  2,   8,  16,  16,  4,  2,  4,  4,  8,  2,  2}},
    {{0x628200},                                                 {16,  8,   4,  2,  16,  16,  16,  4,  4,  4,  4,  2,  4, -1}},
    {{0x629000},                                                 { 8,  4,   4,  2,   8,   8,   4,  2,  2,  4,  4,  2,  4, -1}},
    {{0x629066},                                                 { 8,  4,   4,  2,   2,   8,   8,  3,  1,  4,  4,  1,  4, -1}},
    {{0x629100},                                                 { 2,  1,   1,  1,   4,   1,   4,  1,  1,  1,  4,  1,  1, -1}},
    {{0x700000},                                                 {32, 16,  16,  8,  32,  32,  64,  8,  8,  4,  4, 32,  2, -1}},
    {{0x800000},                                                 {40, 20,  20, 10,  40,  53, 160, 13, 10,  4,  4, 40,  4, -1}},
    {{0x900000},                                                 {144, 36, 144, 36, 144, 96, 288, 24, 36,  4,  4,  4,  4,  1}},
    {{0x900001},                                                 {40, 40,  40, 40,  40,  76, 160, 19, 10,  4,  4,  4,  8,  1}},
    {{0xA00000},                                                 {24, 12,  12,  6,  24,  26,  96,  6,  6,  4,  4, 24,  4, -1}},
};
// clang-format on

const int s_unknownCodes[] = {0,        -1,       INT_MIN,  INT_MAX,  -0x320000, 0x230103, 0x230104,
                              0x230105, 0x250001, 0x250302, 0x250314, 0x250404,  0x260002, 0x260102,
                              0x280000, 0x2C0108, 0x2C0203, 0x2D0002, 0x320005};

QByteArray hex(int code)
{
    return "0x" + QByteArray::number(uint(code), 16).toUpper();
}

// Packed members cannot bind to QCOMPARE's references; this takes them by value.
template<typename T>
T v(T value)
{
    return value;
}

// Every member in declaration order with its width in bytes; the class is packed, after the
// vtable pointer.
using Layout = ModelCalyth;

// clang-format off
const LayoutMember<Layout> calythMembers[] = {
    LAYOUT(m_deviceCode, 4), LAYOUT(m_initConstant, 4),
    LAYOUT(m_pOutputVecA, 8), LAYOUT(m_pOutputVecB, 8), LAYOUT(m_pOutputVecC, 8), LAYOUT(m_pOutputVecD, 8),
    LAYOUT(m_pOutputFlagVec, 8), LAYOUT(m_pOutputVecE, 8), LAYOUT(m_pOutputVecF, 8),
    LAYOUT(m_intBlock1, 32), LAYOUT(m_intBlock2, 32), LAYOUT(m_intBlock3, 12), LAYOUT(m_spareTextList, 8),
    LAYOUT(m_intBlock4, 20), LAYOUT(m_value1, 4), LAYOUT(m_intBlock5, 12), LAYOUT(m_intBlock6, 16),
    LAYOUT(m_intBlock7, 16), LAYOUT(m_intBlock8, 16), LAYOUT(m_text1, 8), LAYOUT(m_inputBoardNameList, 8),
    LAYOUT(m_outputBoardNameList, 8), LAYOUT(m_textBlock1, 40), LAYOUT(m_byte1, 1), LAYOUT(m_value2, 4),
    LAYOUT(m_value3, 4), LAYOUT(m_value4, 4),
    LAYOUT(m_sourceFlagListA, 8), LAYOUT(m_sourceFlagListB, 8), LAYOUT(m_sourceFlagListC, 8),
    LAYOUT(m_sourceFlagListD, 8), LAYOUT(m_sourceValueListA, 8), LAYOUT(m_sourceTextList, 8),
    LAYOUT(m_sourceValueListB, 8), LAYOUT(m_sourceValueListC, 8), LAYOUT(m_sourceWindowList, 8),
    LAYOUT(m_sourceRecBList, 8), LAYOUT(m_sourceRecCList, 8),
    LAYOUT(m_outputBoardFlagListA, 8), LAYOUT(m_intBlock9, 20), LAYOUT(m_text2, 8), LAYOUT(m_byte2, 1),
    LAYOUT(m_outputBoardTextListA, 8), LAYOUT(m_outputBoardFlagListB, 8), LAYOUT(m_outputBoardTextListB, 8),
    LAYOUT(m_outputBoardFlagListC, 8), LAYOUT(m_text3, 8), LAYOUT(m_byte3, 1), LAYOUT(m_text4, 8),
    LAYOUT(m_byte4, 1), LAYOUT(m_byte5, 1), LAYOUT(m_value5, 4), LAYOUT(m_intBlock10, 32), LAYOUT(m_text5, 8),
    LAYOUT(m_spareValueList, 8), LAYOUT(m_value6, 4), LAYOUT(m_value7, 4), LAYOUT(m_value8, 4),
    LAYOUT(m_resolutionWidth, 4), LAYOUT(m_resolutionHeight, 4), LAYOUT(m_text6, 8), LAYOUT(m_value9, 4),
    LAYOUT(m_byte6, 1), LAYOUT(m_textBlock2, 40), LAYOUT(m_outputBoardGroupListA, 8),
    LAYOUT(m_outputBoardGroupListB, 8), LAYOUT(m_byte7, 1), LAYOUT(m_value10, 4), LAYOUT(m_byte8, 1),
    LAYOUT(m_value11, 4), LAYOUT(m_byte9, 1), LAYOUT(m_intBlock11, 16), LAYOUT(m_doubleValue, 8),
    LAYOUT(m_spareBytes, 8), LAYOUT(m_pOutputRecHVec, 8), LAYOUT(m_intBlock12, 20),
    LAYOUT(m_spareRecordList, 8), LAYOUT(m_inputBoardRecList, 8), LAYOUT(m_inputPortList, 8),
    LAYOUT(m_inputBoardInfoList, 8), LAYOUT(m_intBlock13, 44), LAYOUT(m_outputFlagList, 8),
    LAYOUT(m_outputRecAList, 8), LAYOUT(m_outputRecBList, 8), LAYOUT(m_containerList, 8),
    LAYOUT(m_outputRecCList, 8), LAYOUT(m_outputRecDList, 8), LAYOUT(m_outputRecEList, 8),
    LAYOUT(m_outputRecFList, 8), LAYOUT(m_outputRecGList, 8), LAYOUT(m_intBlock14, 20),
    LAYOUT(m_intBlock15, 76), LAYOUT(m_value12, 4), LAYOUT(m_value13, 4), LAYOUT(m_value14, 4),
    LAYOUT(m_value15, 4), LAYOUT(m_pLayerVec, 8), LAYOUT(m_intBlock16, 24), LAYOUT(m_shortBlock, 14),
    LAYOUT(m_byteBlock, 4), LAYOUT(m_pOutputRecIVec, 8), LAYOUT(m_pOutputRecJVec, 8),
    LAYOUT(m_spareRecordVec, 8), LAYOUT(m_outputQuadNameList, 8), LAYOUT(m_outputNamePairList, 8),
    LAYOUT(m_maxPreOutputCount, 4), LAYOUT(m_maxPreOutputGroup, 4), LAYOUT(m_maxLinkOutputCount, 4),
    LAYOUT(m_maxLinkOutputGroup, 4), LAYOUT(m_maxOutputCount, 4), LAYOUT(m_maxSourceCount, 4),
    LAYOUT(m_maxBankCount, 4), LAYOUT(m_maxBankNameLength, 4), LAYOUT(m_maxLayerCount, 4),
    LAYOUT(m_maxPageCount, 4), LAYOUT(m_maxInputBoardCount, 4), LAYOUT(m_maxOutPutBoardCount, 4),
    LAYOUT(m_maxInputBoardPortCount, 4), LAYOUT(m_maxOutputBoardPortCount, 4),
    LAYOUT(m_maxContainerCount, 4), LAYOUT(m_maxContainerName, 4), LAYOUT(m_maxMonitorLayerCount, 4),
    LAYOUT(m_maxPvwBoardCount, 4),
};
// clang-format on

} // namespace

class ModelCalythTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void knownCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QVector<int>>("caps");
        for (const KnownRow &row : knownRows) {
            for (int code : row.codes)
                QTest::newRow(hex(code)) << code << row.caps;
        }
    }

    void knownCodes()
    {
        QFETCH(int, code);
        QFETCH(QVector<int>, caps);
        // A row without a preview board count keeps what the previous code wrote: 2 after
        // construction (0x320000), 1 after 0x900000.
        for (const int previous : {0x320000, 0x900000}) {
            ModelCalyth model;
            model.initMaxParams(previous);
            model.initMaxParams(code);
            QVector<int> expected = caps;
            if (expected.last() == -1)
                expected.last() = previous == 0x900000 ? 1 : 2;
            QCOMPARE(capsOf(model), expected);
            QCOMPARE(model.getMaxBankCount() + model.getMaxBankNameLength(), 32);
            QCOMPARE(model.getMaxPageCount() + model.getMaxContainerName(), 48);
        }
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
               model.m_resolutionHeight, model.m_intBlock2[0], model.m_intBlock2[7]};
        QCOMPARE(values,
                 (QVector<int>{0x320000, 3000, 1, 2, 1, 128, 30, 2, 4, 3840, 7680, 1920, 1080, 255,
                               255}));
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

    void layout_data() { addLayoutTable("ModelCalyth", calythMembers, Handle); }

    void layout() { checkLayoutRow(); }
};

QTEST_GUILESS_MAIN(ModelCalythTest)
#include "modelcalythtest.moc"
