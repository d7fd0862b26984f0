#include "memberlayout.h"

#include <model/processor/modelcalyth.h>

#include <QtTest/QtTest>

#include <climits>
#include <cstring>
#include <initializer_list>
#include <memory>

namespace {

// The fourteen per-code capacities in getter order; pvw -1 marks a row that leaves the preview
// board count as it was.
struct Caps
{
    int preOut, preOutGrp, linkOut, linkOutGrp, output, source, layer;
    int inBoard, outBoard, inPort, outPort, container, oneMonLayer, pvw;
};

Caps capsOf(const ModelCalyth &m)
{
    return {
        m.getMaxPreOutputCount(),       m.getMaxPreOutputGroup(),       m.getMaxLinkOutputCount(),
        m.getMaxLinkOutputGroup(),      m.getMaxOutputCount(),          m.getMaxSourceCount(),
        m.getMaxLayerCount(),           m.getMaxInputBoardCount(),      m.getMaxOutPutBoardCount(),
        m.getMaxInputBoardPortCount(),  m.getMaxOutputBoardPortCount(), m.getMaxContainerCount(),
        m.getMaxOneMonitorLayerCount(), m.getMaxPvwBoardCount()};
}

bool operator==(const Caps &a, const Caps &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

char *toString(const Caps &c)
{
    return qstrdup(QByteArray::number(c.preOut) + ' ' + QByteArray::number(c.output) + ' '
                   + QByteArray::number(c.source) + ' ' + QByteArray::number(c.layer) + ' '
                   + QByteArray::number(c.container) + " pvw " + QByteArray::number(c.pvw));
}

// The device table as the product sheets give it, kept apart from the library's own copy so that a
// slip in either shows up here.
struct KnownRow
{
    std::initializer_list<int> codes;
    Caps caps;
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

} // namespace

Q_DECLARE_METATYPE(Caps)

class ModelCalythTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void knownCodes_data();
    void knownCodes();
    void unknownCodes_data();
    void unknownCodes();
    void treeSizes_data();
    void treeSizes();
    void defaults();
    void initParamDiscardsClientWrites();
    void clearParamsEmptiesOnlyValueContainers();
    void initParamReplacesOwnedVectors();
    void zeroAndNegativeCapacities();
    void layout_data();
    void layout();
};

void ModelCalythTest::knownCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Caps>("caps");
    int codes = 0;
    for (const KnownRow &row : knownRows) {
        for (int code : row.codes) {
            QTest::newRow(hex(code)) << code << row.caps;
            ++codes;
        }
    }
    QCOMPARE(codes, 58);
}

void ModelCalythTest::knownCodes()
{
    QFETCH(int, code);
    QFETCH(Caps, caps);

    // A row without a preview board count keeps what the previous code wrote: 2 after
    // construction (0x320000), 1 after 0x900000.
    for (const int previous : {0x320000, 0x900000}) {
        ModelCalyth model;
        model.initMaxParams(previous);
        model.initMaxParams(code);
        Caps expected = caps;
        if (expected.pvw == -1)
            expected.pvw = previous == 0x900000 ? 1 : 2;
        QCOMPARE(capsOf(model), expected);
        QCOMPARE(model.getMaxBankCount(), 16);
        QCOMPARE(model.getMaxBankNameLength(), 16);
        QCOMPARE(model.getMaxPageCount(), 16);
        QCOMPARE(model.getMaxContainerName(), 32);
    }
}

void ModelCalythTest::unknownCodes_data()
{
    QTest::addColumn<int>("code");
    for (int code : s_unknownCodes)
        QTest::newRow(code < 0 ? QByteArray::number(code) : hex(code)) << code;
}

void ModelCalythTest::unknownCodes()
{
    QFETCH(int, code);
    ModelCalyth model;
    model.initParam(0x900000);
    const Caps before = capsOf(model);

    model.initMaxParams(code);
    QCOMPARE(capsOf(model), before);

    // The tree is rebuilt to the last known capacities; the code itself is still recorded.
    model.initParam(code);
    QCOMPARE(v(model.m_deviceCode), code);
    QCOMPARE(capsOf(model), before);
    QCOMPARE(model.m_pOutputVecA->size(), 144);
    QCOMPARE(model.m_outputRecGList.size(), 145);
    QCOMPARE(model.m_sourceWindowList.size(), 96);
    QCOMPARE(model.m_pLayerVec->size(), 288);
    QCOMPARE(model.getMaxBankCount(), 16);
}

void ModelCalythTest::treeSizes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("outputs");
    QTest::addColumn<int>("sources");
    QTest::addColumn<int>("inBoards");
    QTest::addColumn<int>("ports");
    QTest::addColumn<int>("outBoards");
    QTest::addColumn<int>("containers");
    QTest::addColumn<int>("layers");

    QTest::newRow("default 0x320000") << 0x320000 << 8 << 16 << 4 << 4 << 2 << 8 << 16;
    QTest::newRow("smallest 0x2C0200") << 0x2C0200 << 1 << 1 << 1 << 1 << 1 << 1 << 1;
    QTest::newRow("most outputs 0x900000") << 0x900000 << 144 << 96 << 24 << 4 << 36 << 4 << 288;
    QTest::newRow("most sources 0x250313") << 0x250313 << 80 << 152 << 38 << 4 << 20 << 6 << 160;
    QTest::newRow("most layers 0x250301") << 0x250301 << 64 << 64 << 16 << 4 << 16 << 4 << 768;
    QTest::newRow("most ports 0x2D0000") << 0x2D0000 << 80 << 80 << 1 << 80 << 1 << 40 << 80;
    QTest::newRow("more containers than outputs 0x220000")
        << 0x220000 << 16 << 16 << 4 << 4 << 4 << 16 << 16;
}

void ModelCalythTest::treeSizes()
{
    QFETCH(int, code);
    QFETCH(int, outputs);
    QFETCH(int, sources);
    QFETCH(int, inBoards);
    QFETCH(int, ports);
    QFETCH(int, outBoards);
    QFETCH(int, containers);
    QFETCH(int, layers);

    ModelCalyth model;
    model.initParam(code);
    QCOMPARE(v(model.m_deviceCode), code);

    for (const auto *vec : {model.m_pOutputVecA, model.m_pOutputVecB, model.m_pOutputVecC,
                            model.m_pOutputVecD, model.m_pOutputVecE, model.m_pOutputVecF})
        QCOMPARE(vec->size(), outputs);
    QCOMPARE(model.m_pOutputFlagVec->size(), outputs);
    QCOMPARE(model.m_pOutputRecHVec->size(), outputs);
    QCOMPARE(model.m_pOutputRecIVec->size(), outputs);
    QCOMPARE(model.m_pOutputRecJVec->size(), 4 * outputs);
    QCOMPARE(model.m_outputFlagList.size(), outputs);
    QCOMPARE(model.m_outputRecAList.size(), outputs);
    QCOMPARE(model.m_outputRecBList.size(), outputs);
    QCOMPARE(model.m_outputRecCList.size(), outputs);
    QCOMPARE(model.m_outputRecDList.size(), outputs);
    QCOMPARE(model.m_outputRecEList.size(), outputs);
    QCOMPARE(model.m_outputRecFList.size(), outputs);
    QCOMPARE(model.m_outputRecGList.size(), outputs + 1);
    QCOMPARE(model.m_outputQuadNameList.size(), 4 * outputs);
    QCOMPARE(model.m_outputNamePairList.size(), outputs);

    for (int size : {model.m_sourceFlagListA.size(), model.m_sourceFlagListB.size(),
                     model.m_sourceFlagListC.size(), model.m_sourceFlagListD.size(),
                     model.m_sourceValueListA.size(), model.m_sourceTextList.size(),
                     model.m_sourceValueListB.size(), model.m_sourceValueListC.size(),
                     model.m_sourceWindowList.size(), model.m_sourceRecBList.size(),
                     model.m_sourceRecCList.size()})
        QCOMPARE(size, sources);
    for (const QStringList &texts : qAsConst(model.m_sourceTextList))
        QCOMPARE(texts, QStringList(QVector<QString>(8).toList()));

    for (int size : {model.m_inputBoardNameList.size(), model.m_inputBoardRecList.size(),
                     model.m_inputPortList.size(), model.m_inputBoardInfoList.size()})
        QCOMPARE(size, inBoards);
    for (const _InputPort_Record &board : qAsConst(model.m_inputPortList)) {
        for (const QList<int> *field : {&board.portValues1, &board.portValues3, &board.portValues4,
                                        &board.portValues5, &board.portValues6})
            QCOMPARE(*field, QVector<int>(ports, 0).toList());
        QCOMPARE(board.portValues2, QVector<int>(ports, 10).toList());
    }

    for (int size : {model.m_outputBoardNameList.size(), model.m_outputBoardFlagListA.size(),
                     model.m_outputBoardTextListA.size(), model.m_outputBoardFlagListB.size(),
                     model.m_outputBoardTextListB.size(), model.m_outputBoardFlagListC.size(),
                     model.m_outputBoardGroupListA.size(), model.m_outputBoardGroupListB.size()})
        QCOMPARE(size, outBoards);
    for (const QStringList &group : qAsConst(model.m_outputBoardGroupListA))
        QVERIFY(group.isEmpty());

    QCOMPARE(model.m_containerList.size(), containers);
    for (const _Container_Record &container : qAsConst(model.m_containerList))
        QCOMPARE(container.outputValues, QVector<int>(outputs, -1).toList());
    QCOMPARE(model.m_pLayerVec->size(), layers);

    QVERIFY(model.m_spareTextList.isEmpty());
    QVERIFY(model.m_spareValueList.isEmpty());
    QVERIFY(model.m_spareRecordList.isEmpty());
    QVERIFY(model.m_spareRecordVec.isEmpty());
}

void ModelCalythTest::defaults()
{
    const ModelCalyth model;
    QCOMPARE(v(model.m_deviceCode), 0x320000);
    QCOMPARE(v(model.m_initConstant), 3000);

    // Plain members that start other than zero.
    QCOMPARE(v(model.m_value1), 1);
    QCOMPARE(v(model.m_value2), 2);
    QCOMPARE(v(model.m_value7), 1);
    QCOMPARE(v(model.m_value9), 128);
    QCOMPARE(v(model.m_value11), 30);
    QCOMPARE(v(model.m_value12), 2);
    QCOMPARE(v(model.m_value13), 4);
    QCOMPARE(v(model.m_value14), 3840);
    QCOMPARE(v(model.m_value15), 7680);
    QCOMPARE(v(model.m_resolutionWidth), 1920);
    QCOMPARE(v(model.m_resolutionHeight), 1080);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(v(model.m_intBlock1[i]), 0);
        QCOMPARE(v(model.m_intBlock2[i]), 255);
        QCOMPARE(v(model.m_intBlock10[i]), 0);
    }

    for (int value : *model.m_pOutputVecF)
        QCOMPARE(value, 128);
    for (int value : *model.m_pOutputVecA)
        QCOMPARE(value, 0);
    for (int value : qAsConst(model.m_sourceValueListC))
        QCOMPARE(value, 1);
    for (const _OutputB_Record &record : qAsConst(model.m_outputRecBList)) {
        QCOMPARE(record.value1, 255);
        QCOMPARE(record.value9, 0);
    }

    const int windowDefaults[30] = {0, 0, 1920, 1080, 0, 0, 1920, 1080, 0, 0, 0, 0, 0,  0,  0,
                                    0, 0, 0,    0,    0, 0, 0,    0,    0, 0, 0, 0, -1, -1, -1};
    for (const _SourceWindow_Record &window : qAsConst(model.m_sourceWindowList))
        QCOMPARE(std::memcmp(&window, windowDefaults, sizeof windowDefaults), 0);

    const _Container_Record &container = model.m_containerList.first();
    QCOMPARE(container.value1, 0);
    QCOMPARE(container.value14, 0);
    QCOMPARE(QByteArray(container.name, sizeof container.name), QByteArray(40, '\0'));

    const _OutputH_Record &h = model.m_pOutputRecHVec->first();
    QCOMPARE(h.value3, 0.0);
    QCOMPARE(model.m_outputNamePairList.first().name1, QString());
    QCOMPARE(model.m_outputQuadNameList.first(), QString());
}

void ModelCalythTest::initParamDiscardsClientWrites()
{
    ModelCalyth model;
    model.initParam(0x250300);

    model.m_initConstant = 1;
    model.m_value9 = 5;
    model.m_intBlock2[7] = 0;
    model.m_intBlock11[0] = 9;
    model.m_intBlock11[3] = 9;
    model.m_shortBlock[6] = 9;
    model.m_doubleValue = 2.5;
    model.m_textBlock2[4] = QStringLiteral("client");
    model.m_spareBytes[0] = 0x5A;
    (*model.m_pOutputVecF)[0] = 1;
    model.m_sourceWindowList[3].width1 = 640;
    model.m_containerList[0].name[31] = 'x';
    model.m_containerList[0].outputValues[0] = 7;
    model.m_inputPortList[0].portValues2[0] = 0;
    model.m_sourceTextList[0][0] = QStringLiteral("client");
    model.m_spareTextList.append(QStringLiteral("client"));

    model.initParam(0x250300);

    QCOMPARE(v(model.m_initConstant), 3000);
    QCOMPARE(v(model.m_value9), 128);
    QCOMPARE(v(model.m_intBlock2[7]), 255);
    QCOMPARE(v(model.m_intBlock11[0]), 0);
    QCOMPARE(v(model.m_intBlock11[3]), 0);
    QCOMPARE(v(model.m_shortBlock[6]), qint16(0));
    QCOMPARE(v(model.m_doubleValue), 0.0);
    QCOMPARE(model.m_textBlock2[4], QString());
    QCOMPARE((*model.m_pOutputVecF)[0], 128);
    QCOMPARE(model.m_sourceWindowList[3].width1, 1920);
    QCOMPARE(model.m_containerList[0].name[31], '\0');
    QCOMPARE(model.m_containerList[0].outputValues[0], -1);
    QCOMPARE(model.m_inputPortList[0].portValues2[0], 10);
    QCOMPARE(model.m_sourceTextList[0][0], QString());
    QVERIFY(model.m_spareTextList.isEmpty());
    // The client's spare bytes are the one thing a rebuild carries over.
    QCOMPARE(v(model.m_spareBytes[0]), quint8(0x5A));
}

void ModelCalythTest::clearParamsEmptiesOnlyValueContainers()
{
    ModelCalyth model;
    model.m_text3 = QStringLiteral("kept");
    model.m_spareRecordVec.append(_Int9_Record{});
    const QVector<int> *vecA = model.m_pOutputVecA;
    const QVector<_Layer_Record> *layers = model.m_pLayerVec;

    model.clearParams();

    QCOMPARE(model.m_pOutputVecA, vecA);
    QCOMPARE(model.m_pOutputVecA->size(), 8);
    QCOMPARE(model.m_pLayerVec, layers);
    QCOMPARE(model.m_pLayerVec->size(), 16);
    QCOMPARE(model.m_pOutputRecJVec->size(), 32);
    QCOMPARE(model.m_text3, QStringLiteral("kept"));
    QCOMPARE(v(model.m_value14), 3840);
    QCOMPARE(v(model.m_deviceCode), 0x320000);
    QCOMPARE(model.getMaxOutputCount(), 8);

    for (bool empty :
         {model.m_inputBoardNameList.isEmpty(),    model.m_outputBoardNameList.isEmpty(),
          model.m_sourceFlagListA.isEmpty(),       model.m_sourceFlagListD.isEmpty(),
          model.m_sourceTextList.isEmpty(),        model.m_sourceValueListC.isEmpty(),
          model.m_sourceWindowList.isEmpty(),      model.m_sourceRecBList.isEmpty(),
          model.m_sourceRecCList.isEmpty(),        model.m_outputBoardFlagListA.isEmpty(),
          model.m_outputBoardTextListB.isEmpty(),  model.m_outputBoardFlagListC.isEmpty(),
          model.m_outputBoardGroupListA.isEmpty(), model.m_outputBoardGroupListB.isEmpty(),
          model.m_inputBoardRecList.isEmpty(),     model.m_inputPortList.isEmpty(),
          model.m_inputBoardInfoList.isEmpty(),    model.m_outputFlagList.isEmpty(),
          model.m_outputRecAList.isEmpty(),        model.m_outputRecBList.isEmpty(),
          model.m_containerList.isEmpty(),         model.m_outputRecCList.isEmpty(),
          model.m_outputRecGList.isEmpty(),        model.m_spareRecordVec.isEmpty(),
          model.m_outputQuadNameList.isEmpty(),    model.m_outputNamePairList.isEmpty()})
        QVERIFY(empty);

    model.initParam(0x320000);
    QCOMPARE(model.m_sourceWindowList.size(), 16);
    QCOMPARE(model.m_sourceWindowList.first().height2, 1080);
}

void ModelCalythTest::initParamReplacesOwnedVectors()
{
    // Run under the sanitizers this also proves that every replaced and every last vector is
    // released exactly once, including through a pointer to the class.
    std::unique_ptr<ModelCalyth> model(new ModelCalyth);
    for (int code : {0x250301, 0x900000, 0x2C0200, 0x230103, 0x320000})
        model->initParam(code);
    QCOMPARE(model->m_pOutputRecJVec->size(), 32);
    model.reset();
}

void ModelCalythTest::zeroAndNegativeCapacities()
{
    // No device has zero outputs, but a client may write the capacities; an unknown code then
    // builds to whatever they hold. One more G record than outputs still means one record.
    for (int capacity : {0, -5}) {
        ModelCalyth model;
        model.m_maxOutputCount = capacity;
        model.m_maxSourceCount = capacity;
        model.m_maxInputBoardPortCount = capacity;
        model.m_maxContainerName = capacity;
        model.initParam(0x230103);
        QCOMPARE(model.m_pOutputVecA->size(), 0);
        QCOMPARE(model.m_pOutputRecJVec->size(), 0);
        QCOMPARE(model.m_outputRecBList.size(), 0);
        QCOMPARE(model.m_outputQuadNameList.size(), 0);
        QCOMPARE(model.m_outputRecGList.size(), capacity == 0 ? 1 : 0);
        QCOMPARE(model.m_sourceWindowList.size(), 0);
        QCOMPARE(model.m_inputPortList.size(), 4);
        QVERIFY(model.m_inputPortList.first().portValues2.isEmpty());
        QCOMPARE(model.m_containerList.size(), 8);
        QVERIFY(model.m_containerList.first().outputValues.isEmpty());
        // The values that sit between the output lists are set all the same.
        QCOMPARE(v(model.m_value15), 7680);
        QCOMPARE(v(model.m_value13), 4);
    }
}

// Every member in declaration order with its width in bytes; the class is packed, after the
// vtable pointer.
#define MEMBER(name, width) LAYOUT_MEMBER(ModelCalyth, name, width)

// clang-format off
const LayoutMember<ModelCalyth> calythMembers[] = {
    MEMBER(m_deviceCode, 4), MEMBER(m_initConstant, 4),
    MEMBER(m_pOutputVecA, 8), MEMBER(m_pOutputVecB, 8), MEMBER(m_pOutputVecC, 8), MEMBER(m_pOutputVecD, 8),
    MEMBER(m_pOutputFlagVec, 8), MEMBER(m_pOutputVecE, 8), MEMBER(m_pOutputVecF, 8),
    MEMBER(m_intBlock1, 32), MEMBER(m_intBlock2, 32), MEMBER(m_intBlock3, 12), MEMBER(m_spareTextList, 8),
    MEMBER(m_intBlock4, 20), MEMBER(m_value1, 4), MEMBER(m_intBlock5, 12), MEMBER(m_intBlock6, 16),
    MEMBER(m_intBlock7, 16), MEMBER(m_intBlock8, 16), MEMBER(m_text1, 8), MEMBER(m_inputBoardNameList, 8),
    MEMBER(m_outputBoardNameList, 8), MEMBER(m_textBlock1, 40), MEMBER(m_byte1, 1), MEMBER(m_value2, 4),
    MEMBER(m_value3, 4), MEMBER(m_value4, 4),
    MEMBER(m_sourceFlagListA, 8), MEMBER(m_sourceFlagListB, 8), MEMBER(m_sourceFlagListC, 8),
    MEMBER(m_sourceFlagListD, 8), MEMBER(m_sourceValueListA, 8), MEMBER(m_sourceTextList, 8),
    MEMBER(m_sourceValueListB, 8), MEMBER(m_sourceValueListC, 8), MEMBER(m_sourceWindowList, 8),
    MEMBER(m_sourceRecBList, 8), MEMBER(m_sourceRecCList, 8),
    MEMBER(m_outputBoardFlagListA, 8), MEMBER(m_intBlock9, 20), MEMBER(m_text2, 8), MEMBER(m_byte2, 1),
    MEMBER(m_outputBoardTextListA, 8), MEMBER(m_outputBoardFlagListB, 8), MEMBER(m_outputBoardTextListB, 8),
    MEMBER(m_outputBoardFlagListC, 8), MEMBER(m_text3, 8), MEMBER(m_byte3, 1), MEMBER(m_text4, 8),
    MEMBER(m_byte4, 1), MEMBER(m_byte5, 1), MEMBER(m_value5, 4), MEMBER(m_intBlock10, 32), MEMBER(m_text5, 8),
    MEMBER(m_spareValueList, 8), MEMBER(m_value6, 4), MEMBER(m_value7, 4), MEMBER(m_value8, 4),
    MEMBER(m_resolutionWidth, 4), MEMBER(m_resolutionHeight, 4), MEMBER(m_text6, 8), MEMBER(m_value9, 4),
    MEMBER(m_byte6, 1), MEMBER(m_textBlock2, 40), MEMBER(m_outputBoardGroupListA, 8),
    MEMBER(m_outputBoardGroupListB, 8), MEMBER(m_byte7, 1), MEMBER(m_value10, 4), MEMBER(m_byte8, 1),
    MEMBER(m_value11, 4), MEMBER(m_byte9, 1), MEMBER(m_intBlock11, 16), MEMBER(m_doubleValue, 8),
    MEMBER(m_spareBytes, 8), MEMBER(m_pOutputRecHVec, 8), MEMBER(m_intBlock12, 20),
    MEMBER(m_spareRecordList, 8), MEMBER(m_inputBoardRecList, 8), MEMBER(m_inputPortList, 8),
    MEMBER(m_inputBoardInfoList, 8), MEMBER(m_intBlock13, 44), MEMBER(m_outputFlagList, 8),
    MEMBER(m_outputRecAList, 8), MEMBER(m_outputRecBList, 8), MEMBER(m_containerList, 8),
    MEMBER(m_outputRecCList, 8), MEMBER(m_outputRecDList, 8), MEMBER(m_outputRecEList, 8),
    MEMBER(m_outputRecFList, 8), MEMBER(m_outputRecGList, 8), MEMBER(m_intBlock14, 20),
    MEMBER(m_intBlock15, 76), MEMBER(m_value12, 4), MEMBER(m_value13, 4), MEMBER(m_value14, 4),
    MEMBER(m_value15, 4), MEMBER(m_pLayerVec, 8), MEMBER(m_intBlock16, 24), MEMBER(m_shortBlock, 14),
    MEMBER(m_byteBlock, 4), MEMBER(m_pOutputRecIVec, 8), MEMBER(m_pOutputRecJVec, 8),
    MEMBER(m_spareRecordVec, 8), MEMBER(m_outputQuadNameList, 8), MEMBER(m_outputNamePairList, 8),
    MEMBER(m_maxPreOutputCount, 4), MEMBER(m_maxPreOutputGroup, 4), MEMBER(m_maxLinkOutputCount, 4),
    MEMBER(m_maxLinkOutputGroup, 4), MEMBER(m_maxOutputCount, 4), MEMBER(m_maxSourceCount, 4),
    MEMBER(m_maxBankCount, 4), MEMBER(m_maxBankNameLength, 4), MEMBER(m_maxLayerCount, 4),
    MEMBER(m_maxPageCount, 4), MEMBER(m_maxInputBoardCount, 4), MEMBER(m_maxOutPutBoardCount, 4),
    MEMBER(m_maxInputBoardPortCount, 4), MEMBER(m_maxOutputBoardPortCount, 4),
    MEMBER(m_maxContainerCount, 4), MEMBER(m_maxContainerName, 4), MEMBER(m_maxMonitorLayerCount, 4),
    MEMBER(m_maxPvwBoardCount, 4),
};
// clang-format on

void ModelCalythTest::layout_data()
{
    addLayoutColumns();
    addLayoutRows("ModelCalyth", calythMembers, Handle, Packing::Packed);
}

void ModelCalythTest::layout()
{
    checkLayoutRow();
}

QTEST_GUILESS_MAIN(ModelCalythTest)
#include "modelcalythtest.moc"
