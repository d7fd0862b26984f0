#include <model/scene/modelscene.h>

#include <QtTest/QtTest>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <type_traits>

static_assert(!std::is_copy_constructible_v<ModelScene> && !std::is_copy_assignable_v<ModelScene>,
              "two copies would release the same heap vectors");

namespace {

struct CapacityRow
{
    int source, layer, output, container, inputBoard;
    std::initializer_list<int> codes;
};

// Written out here rather than read from the library, so that a wrong entry on either side shows.
// Every known code also has 16 banks and bank names of 16 characters.
// clang-format off
constexpr CapacityRow s_capacities[] = {
    // Source  Layer  Output  Container  InBoard  device codes
    {      16,    16,     16,        16,       4, {0x220000}},
    {       8,     8,      8,         8,       2, {0x230100, 0x230101, 0x230102,
                                                   0x230106, 0x230107}},
    {      16,    16,     16,         1,       4, {0x240000}},
    {       8,     8,      8,         1,       2, {0x240100}},
    {      32,    32,     32,         1,       8, {0x240200}},
    {      16,    32,      8,         8,       4, {0x250000, 0x250100, 0x250200}},
    {      32,   384,     32,         4,       8, {0x250300}},
    {      64,   768,     64,         4,      16, {0x250301}},
    {      36,    40,     20,         6,       9, {0x250310, 0x250400}},
    {      12,    16,      8,         6,       3, {0x250311, 0x250401}},
    {      72,    80,     40,         6,      18, {0x250312, 0x250402}},
    {     152,   160,     80,         6,      38, {0x250313, 0x250403}},
    {      36,    80,     20,         5,       9, {0x260000, 0x260001, 0x270000, 0x270001}},
    {      20,    32,      8,         2,       5, {0x260100, 0x260101, 0x270100, 0x270101}},
    {       4,     4,      3,         1,       1, {0x280100}},
    {       6,     4,      3,         1,       1, {0x2C0100, 0x2C0101, 0x2C0102,
                                                   0x2C0105, 0x2C0106, 0x2C0107}},
    {       5,     2,      1,         1,       1, {0x2C0103, 0x2C0104}},
    {       1,     1,      1,         1,       1, {0x2C0200}},
    {      80,    80,     80,        40,       1, {0x2D0000, 0x2D0001}},
    {      16,    16,      8,         8,       4, {0x320000, 0x320001, 0x320002,
                                                   0x320003, 0x320004}},
    {      16,    16,     16,         2,       4, {0x628200}},
    {       8,     4,      8,         2,       2, {0x629000}},
    {       8,     8,      2,         1,       3, {0x629066}},
    {       1,     4,      4,         1,       1, {0x629100}},
    {      32,    64,     32,        32,       8, {0x700000}},
    {      53,   160,     40,        40,      13, {0x800000}},
    {      96,   288,    144,         4,      24, {0x900000}},
    {      76,   160,     40,         4,      19, {0x900001}},
    {      26,    96,     24,        24,       6, {0xA00000}},
};

// Unknown codes (negatives, neighbours of known codes, the processor-only variants of 0x2C0200),
// each tried after a known code whose capacities it must leave in place.
constexpr struct { int code, previous; } s_unknown[] = {
    {-1, 0x320000}, {INT_MIN, 0x900000}, {-0x250301, 0x250301}, {0, 0x2C0200}, {INT_MAX, 0x2D0000},
    {0x2C0201, 0x900000}, {0x2C0202, 0x250300}, {0x230103, 0x900000}, {0x230104, 0x2C0200},
    {0x230105, 0x320000}, {0x250001, 0x250301}, {0x250302, 0x900000}, {0x250314, 0x2C0103},
    {0x250404, 0x800000}, {0x260002, 0x900000}, {0x260102, 0x629066}, {0x280000, 0x900000},
    {0x2C0108, 0x700000}, {0x2C0203, 0x2C0200}, {0x2D0002, 0x900000}, {0x320005, 0x240200},
};
// clang-format on

constexpr int DefaultCode = 0x320000;
constexpr int Banks = 16;

const CapacityRow &rowOf(int code)
{
    const auto *row = std::find_if(
        std::begin(s_capacities), std::end(s_capacities),
        [code](const CapacityRow &r) { return std::count(r.codes.begin(), r.codes.end(), code); });
    Q_ASSERT(row != std::end(s_capacities));
    return *row;
}

template<typename Values>
QString join(const Values &values)
{
    QStringList fields;
    for (int v : values)
        fields << QString::number(v);
    return fields.join(QLatin1Char(' '));
}

QString join(std::initializer_list<int> values)
{
    return join<std::initializer_list<int>>(values);
}

QString capacities(const ModelScene &m)
{
    return join({m.getMaxSourceCount(), m.getMaxBankCount(), m.getMaxBankNameLength(),
                 m.getMaxLayerCount(), m.getMaxOutputCount(), m.getMaxContainerCount(),
                 m.getMaxInputBoardCount()});
}

QString capacities(const CapacityRow &r)
{
    return join({r.source, Banks, 16, r.layer, r.output, r.container, r.inputBoard});
}

void setCapacities(ModelScene &m, int source, int bank, int layer, int output, int container)
{
    m.m_maxSourceCount = source;
    m.m_maxBankCount = bank;
    m.m_maxLayerCount = layer;
    m.m_maxOutputCount = output;
    m.m_maxContainerCount = container;
}

// The sizes of the tree: current layers, each bank's "layers/output flags", each bank's outputs,
// containers, sources.
QString shape(const ModelScene &m)
{
    QStringList parts{QString::number(m.m_pLayerVec->size())};
    for (const _SceneBank_Record &bank : *m.m_pBankVec)
        parts
            << QStringLiteral("%1/%2").arg(bank.pLayerVec->size()).arg(bank.pOutputFlagVec->size());
    for (const auto &outputs : *m.m_pBankOutputVec)
        parts << QString::number(outputs.size());
    parts << QString::number(m.m_containerList.size()) << QString::number(m.m_sourceList.size());
    return parts.join(QLatin1Char(' '));
}

QString shape(int layers, int banks, int outputs, int containers, int sources)
{
    QStringList parts{QString::number(layers)};
    for (int b = 0; b < banks; ++b)
        parts << QStringLiteral("%1/%2").arg(layers).arg(outputs);
    for (int b = 0; b < banks; ++b)
        parts << QString::number(outputs);
    parts << QString::number(containers) << QString::number(sources);
    return parts.join(QLatin1Char(' '));
}

QString shape(const CapacityRow &r)
{
    return shape(r.layer, Banks, r.output, r.container, r.source);
}

QString describe(const _SceneLayer_Record &l)
{
    return join({l.areaX,      l.areaY,       l.areaWidth, l.areaHeight, l.area2X, l.area2Y,
                 l.area2Width, l.area2Height, l.value1,    l.value2,     l.value3, l.value4,
                 l.layerIndex, l.value5,      l.value6,    l.value7,     l.value8, l.flag1,
                 l.flag2,      l.flag3,       l.value9,    l.value10,    l.value11})
        + QStringLiteral(" '%1'").arg(l.text);
}

// A record made of int fields only, field by field.
template<typename Record>
QString describe(const Record &r)
{
    static_assert(sizeof(Record) % sizeof(int) == 0 && alignof(Record) == alignof(int));
    int v[sizeof(Record) / sizeof(int)];
    std::memcpy(v, &r, sizeof v);
    return join(v);
}

} // namespace

class ModelSceneTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capacities_data();
    void capacities();
    void defaults_data();
    void defaults();
    void clearParams();
    void negativeCapacities_data();
    void negativeCapacities();
    void layout_data();
    void layout();
};

void ModelSceneTest::capacities_data()
{
    QTest::addColumn<int>("previous"); // 0: every capacity starts out invalid instead
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("rowCode"); // the code whose capacities apply afterwards
    for (const CapacityRow &row : s_capacities)
        for (int code : row.codes)
            QTest::addRow("0x%X", code) << 0 << code << code;
    for (const auto &u : s_unknown)
        QTest::addRow("0x%X after 0x%X", u.code, u.previous) << u.previous << u.code << u.previous;
}

void ModelSceneTest::capacities()
{
    QFETCH(int, previous);
    QFETCH(int, code);
    QFETCH(int, rowCode);
    ModelScene model;
    if (previous) {
        model.initParam(previous);
    } else {
        setCapacities(model, -7, -7, -7, -7, -7);
        model.m_maxBankNameLength = -7;
        model.m_maxInputBoardCount = -7;
    }
    model.initMaxParams(code);
    QCOMPARE(::capacities(model), ::capacities(rowOf(rowCode)));
    // Twice, so that a tree that grows with every call shows.
    model.initParam(code);
    model.initParam(code);
    QCOMPARE(int(model.m_deviceCode), code);
    QCOMPARE(::capacities(model), ::capacities(rowOf(rowCode)));
    QCOMPARE(shape(model), shape(rowOf(rowCode)));
}

void ModelSceneTest::defaults_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("rebuilt"); // over a tree and members the client wrote to
    QTest::newRow("constructed") << DefaultCode << false;
    QTest::newRow("rebuilt") << DefaultCode << true;
    QTest::newRow("smallest") << 0x2C0200 << true;
    QTest::newRow("most layers") << 0x250301 << true;
    QTest::newRow("most outputs") << 0x900000 << true;
}

void ModelSceneTest::defaults()
{
    QFETCH(int, code);
    QFETCH(bool, rebuilt);
    ModelScene model;
    if (rebuilt) {
        model.m_initConstant = model.m_value1 = model.m_value2 = model.m_value3 = 7;
        model.m_flag1 = model.m_flag2 = model.m_flag3 = model.m_data[0] = model.m_data[31] = 7;
        (*model.m_pLayerVec)[0].text = QStringLiteral("client");
        (*(*model.m_pBankVec)[0].pLayerVec)[0].areaX = 7;
        (*model.m_pBankVec)[0].value4 = 7;
        (*(*model.m_pBankVec)[0].pOutputFlagVec)[0] = 0;
        (*model.m_pBankOutputVec)[0][0].value30 = 7;
        model.m_containerList[0].value1 = 7;
        model.m_sourceList[0].value12 = 7;
        model.initParam(code);
    }
    QCOMPARE(join({model.m_initConstant, model.m_value1, model.m_value2, model.m_flag1,
                   model.m_flag2, model.m_value3, model.m_flag3}),
             QStringLiteral("3000 0 1 0 0 0 0"));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(model.m_data), 32), QByteArray(32, '\0'));

    const QString currentLayer
        = QStringLiteral("0 0 0 0 0 0 0 0 0 0 0 0 0 255 0 0 0 0 0 0 0 -1 0 ''");
    const QString bankLayer
        = QStringLiteral("0 0 1920 1080 0 0 1920 1080 0 0 0 0 %1 255 0 0 0 0 0 0 0 -1 0 ''");
    for (const _SceneLayer_Record &layer : qAsConst(*model.m_pLayerVec))
        QCOMPARE(describe(layer), currentLayer);
    for (const _SceneBank_Record &bank : qAsConst(*model.m_pBankVec)) {
        QCOMPARE(join({bank.value1, bank.value2, bank.value3, bank.value4, bank.flag1, bank.flag2}),
                 QStringLiteral("0 0 0 0 0 0"));
        for (int j = 0; j < bank.pLayerVec->size(); ++j)
            QCOMPARE(describe(bank.pLayerVec->at(j)), bankLayer.arg(j));
        QCOMPARE(bank.pOutputFlagVec->count(1), bank.pOutputFlagVec->size());
    }
    const QString output = QStringLiteral("0 ").repeated(29) + QStringLiteral("255");
    for (const auto &outputs : qAsConst(*model.m_pBankOutputVec))
        for (const _SceneOutput_Record &record : outputs)
            QCOMPARE(describe(record), output);
    for (const _SceneContainer_Record &container : model.m_containerList)
        QCOMPARE(describe(container), QStringLiteral("0 0 0 0 0"));
    for (const _Int12_Record &source : model.m_sourceList)
        QCOMPARE(describe(source), QStringLiteral("0 0 0 0 0 0 0 0 0 0 0 0"));
}

void ModelSceneTest::clearParams()
{
    ModelScene model;
    model.initParam(0x250300);
    model.m_value1 = 7;
    const auto *layers = model.m_pLayerVec;
    model.clearParams();
    QVERIFY(model.m_pLayerVec == layers);
    QCOMPARE(shape(model), shape(384, Banks, 32, 0, 0));
    QCOMPARE(::capacities(model), ::capacities(rowOf(0x250300)));
    QCOMPARE(int(model.m_value1), 7);
}

void ModelSceneTest::negativeCapacities_data()
{
    QTest::addColumn<QVector<int>>("sourceBankLayerOutputContainer");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all negative") << QVector<int>{-1, -16, -3, INT_MIN, -1} << shape(0, 0, 0, 0, 0);
    QTest::newRow("all zero") << QVector<int>{0, 0, 0, 0, 0} << shape(0, 0, 0, 0, 0);
    QTest::newRow("banks only") << QVector<int>{-1, 3, -5, -1, 2} << shape(0, 3, 0, 2, 0);
    QTest::newRow("no banks") << QVector<int>{5, -1, 4, 2, -2} << shape(4, 0, 2, 0, 5);
}

void ModelSceneTest::negativeCapacities()
{
    QFETCH(QVector<int>, sourceBankLayerOutputContainer);
    QFETCH(QString, expected);
    const QVector<int> &c = sourceBankLayerOutputContainer;
    ModelScene model;
    setCapacities(model, c[0], c[1], c[2], c[3], c[4]);
    model.initParam(-1); // unknown: the capacities written above stay
    QCOMPARE(shape(model), expected);
}

void ModelSceneTest::layout_data()
{
    QTest::addColumn<int>("actual");
    QTest::addColumn<int>("expected");
    struct Member
    {
        const char *name;
        std::size_t offset;
        int width;
    };
    constexpr int I = 4, B = 1, P = sizeof(void *);
    // clang-format off
#define MEMBER(name, width) {#name, offsetof(ModelScene, name), width}
    static constexpr Member members[] = {
        MEMBER(m_deviceCode, I), MEMBER(m_pLayerVec, P), MEMBER(m_pBankVec, P),
        MEMBER(m_pBankOutputVec, P), MEMBER(m_containerList, P), MEMBER(m_sourceList, P),
        MEMBER(m_initConstant, I), MEMBER(m_value1, I), MEMBER(m_value2, I), MEMBER(m_flag1, B),
        MEMBER(m_flag2, B), MEMBER(m_value3, I), MEMBER(m_data, 32 * B), MEMBER(m_flag3, B),
        MEMBER(m_maxSourceCount, I), MEMBER(m_maxBankCount, I), MEMBER(m_maxBankNameLength, I),
        MEMBER(m_maxLayerCount, I), MEMBER(m_maxOutputCount, I), MEMBER(m_maxContainerCount, I),
        MEMBER(m_maxInputBoardCount, I),
    };
#undef MEMBER
    // clang-format on
    int expected = 0;
    for (const Member &m : members) {
        QTest::newRow(m.name) << int(m.offset) << expected;
        expected += m.width;
    }
    QTest::newRow("sizeof") << int(sizeof(ModelScene)) << expected;
    // The records are not packed: their fields stay aligned for the client.
    QTest::newRow("alignof layer") << int(alignof(_SceneLayer_Record)) << P;
    QTest::newRow("alignof bank") << int(alignof(_SceneBank_Record)) << P;
    QTest::newRow("alignof output") << int(alignof(_SceneOutput_Record)) << I;
    QTest::newRow("alignof container") << int(alignof(_SceneContainer_Record)) << I;
}

void ModelSceneTest::layout()
{
    QFETCH(int, actual);
    QFETCH(int, expected);
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(ModelSceneTest)
#include "modelscenetest.moc"
