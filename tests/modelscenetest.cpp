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
    std::initializer_list<int> codes;
    int source, layer, output, container, inputBoard;
};

// Written out here rather than read from the library, so that a wrong entry on either side shows.
// Every known code also has 16 banks and bank names of 16 characters.
// clang-format off
constexpr CapacityRow s_capacities[] = {
    // device codes                                              Source Layer Output Container InputBoard
    {{0x220000},                                                     16,   16,  16, 16,  4},
    {{0x230100, 0x230101, 0x230102, 0x230106, 0x230107},              8,    8,   8,  8,  2},
    {{0x240000},                                                     16,   16,  16,  1,  4},
    {{0x240100},                                                      8,    8,   8,  1,  2},
    {{0x240200},                                                     32,   32,  32,  1,  8},
    {{0x250000, 0x250100, 0x250200},                                 16,   32,   8,  8,  4},
    {{0x250300},                                                     32,  384,  32,  4,  8},
    {{0x250301},                                                     64,  768,  64,  4, 16},
    {{0x250310, 0x250400},                                           36,   40,  20,  6,  9},
    {{0x250311, 0x250401},                                           12,   16,   8,  6,  3},
    {{0x250312, 0x250402},                                           72,   80,  40,  6, 18},
    {{0x250313, 0x250403},                                          152,  160,  80,  6, 38},
    {{0x260000, 0x260001, 0x270000, 0x270001},                       36,   80,  20,  5,  9},
    {{0x260100, 0x260101, 0x270100, 0x270101},                       20,   32,   8,  2,  5},
    {{0x280100},                                                      4,    4,   3,  1,  1},
    {{0x2C0100, 0x2C0101, 0x2C0102, 0x2C0105, 0x2C0106, 0x2C0107},    6,    4,   3,  1,  1},
    {{0x2C0103, 0x2C0104},                                            5,    2,   1,  1,  1},
    {{0x2C0200},                                                      1,    1,   1,  1,  1},
    {{0x2D0000, 0x2D0001},                                           80,   80,  80, 40,  1},
    {{0x320000, 0x320001, 0x320002, 0x320003, 0x320004},             16,   16,   8,  8,  4},
    {{0x628200},                                                     16,   16,  16,  2,  4},
    {{0x629000},                                                      8,    4,   8,  2,  2},
    {{0x629066},                                                      8,    8,   2,  1,  3},
    {{0x629100},                                                      1,    4,   4,  1,  1},
    {{0x700000},                                                     32,   64,  32, 32,  8},
    {{0x800000},                                                     53,  160,  40, 40, 13},
    {{0x900000},                                                     96,  288, 144,  4, 24},
    {{0x900001},                                                     76,  160,  40,  4, 19},
    {{0xA00000},                                                     26,   96,  24, 24,  6},
};

// Unknown codes: negatives, neighbours of known codes and the processor-only variants of 0x2C0200,
// each tried after a known code whose capacities it must leave in place.
constexpr struct { int code; int previous; } s_unknown[] = {
    {-1, 0x320000}, {INT_MIN, 0x900000}, {-0x250301, 0x250301}, {0, 0x2C0200}, {INT_MAX, 0x2D0000},
    {0x2C0201, 0x900000}, {0x2C0202, 0x250300},
    {0x230103, 0x900000}, {0x230104, 0x2C0200}, {0x230105, 0x320000}, {0x250001, 0x250301},
    {0x250302, 0x900000}, {0x250314, 0x2C0103}, {0x250404, 0x800000}, {0x260002, 0x900000},
    {0x260102, 0x629066}, {0x280000, 0x900000}, {0x2C0108, 0x700000}, {0x2C0203, 0x2C0200},
    {0x2D0002, 0x900000}, {0x320005, 0x240200},
};
// clang-format on

constexpr int DefaultCode = 0x320000;
constexpr int Banks = 16;
constexpr int BankNameLength = 16;

const CapacityRow &rowOf(int code)
{
    const auto *row = std::find_if(
        std::begin(s_capacities), std::end(s_capacities), [code](const CapacityRow &r) {
            return std::find(r.codes.begin(), r.codes.end(), code) != r.codes.end();
        });
    Q_ASSERT(row != std::end(s_capacities));
    return *row;
}

QString hex(int code)
{
    const qint64 magnitude = qAbs(qint64(code));
    return QLatin1String(code < 0 ? "-0x" : "0x")
        + QStringLiteral("%1").arg(magnitude, 6, 16, QLatin1Char('0')).toUpper();
}

QString capacities(int source, int bank, int nameLength, int layer, int output, int container,
                   int inputBoard)
{
    return QStringLiteral("sources %1, banks %2, bank name %3, layers %4, outputs %5, "
                          "containers %6, input boards %7")
        .arg(source)
        .arg(bank)
        .arg(nameLength)
        .arg(layer)
        .arg(output)
        .arg(container)
        .arg(inputBoard);
}

QString capacities(const ModelScene &m)
{
    return capacities(m.getMaxSourceCount(), m.getMaxBankCount(), m.getMaxBankNameLength(),
                      m.getMaxLayerCount(), m.getMaxOutputCount(), m.getMaxContainerCount(),
                      m.getMaxInputBoardCount());
}

QString capacities(const CapacityRow &r)
{
    return capacities(r.source, Banks, BankNameLength, r.layer, r.output, r.container,
                      r.inputBoard);
}

// Every container size of the tree; each bank shows as "its layers/its output flags/its outputs".
QString shape(const ModelScene &m)
{
    QStringList banks;
    for (int b = 0; b < m.m_pBankVec->size(); ++b) {
        const _SceneBank_Record &bank = m.m_pBankVec->at(b);
        const int outputs = b < m.m_pBankOutputVec->size() ? m.m_pBankOutputVec->at(b).size() : -1;
        banks << QStringLiteral("%1/%2/%3")
                     .arg(bank.pLayerVec->size())
                     .arg(bank.pOutputFlagVec->size())
                     .arg(outputs);
    }
    return QStringLiteral("layers %1, banks [%2] of %3, containers %4, sources %5")
        .arg(m.m_pLayerVec->size())
        .arg(banks.join(QLatin1Char(' ')))
        .arg(m.m_pBankOutputVec->size())
        .arg(m.m_containerList.size())
        .arg(m.m_sourceList.size());
}

QString shape(int layers, int banks, int outputs, int containers, int sources)
{
    QStringList bankList;
    for (int b = 0; b < banks; ++b)
        bankList << QStringLiteral("%1/%2/%2").arg(layers).arg(outputs);
    return QStringLiteral("layers %1, banks [%2] of %3, containers %4, sources %5")
        .arg(layers)
        .arg(bankList.join(QLatin1Char(' ')))
        .arg(banks)
        .arg(containers)
        .arg(sources);
}

QString shape(const CapacityRow &r)
{
    return shape(r.layer, Banks, r.output, r.container, r.source);
}

QString join(std::initializer_list<int> values)
{
    QStringList fields;
    for (int v : values)
        fields << QString::number(v);
    return fields.join(QLatin1Char(' '));
}

QString describe(const _SceneLayer_Record &l)
{
    return join({l.areaX,      l.areaY,       l.areaWidth, l.areaHeight, l.area2X, l.area2Y,
                 l.area2Width, l.area2Height, l.value1,    l.value2,     l.value3, l.value4,
                 l.layerIndex, l.value5,      l.value6,    l.value7,     l.value8, l.flag1,
                 l.flag2,      l.flag3,       l.value9,    l.value10,    l.value11})
        + QStringLiteral(" '%1'").arg(l.text);
}

QString describe(const _SceneBank_Record &b)
{
    return join({b.value1, b.value2, b.value3, b.value4, b.flag1, b.flag2});
}

// A record made of int fields only, field by field.
template<typename Record>
QString describe(const Record &r)
{
    static_assert(sizeof(Record) % sizeof(int) == 0 && alignof(Record) == alignof(int));
    int v[sizeof(Record) / sizeof(int)];
    std::memcpy(v, &r, sizeof v);
    QStringList fields;
    for (int x : v)
        fields << QString::number(x);
    return fields.join(QLatin1Char(' '));
}

} // namespace

class ModelSceneTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void knownCodes_data();
    void knownCodes();
    void unknownCodes_data();
    void unknownCodes();
    void defaults_data();
    void defaults();
    void presets();
    void clearParams();
    void repeatedInitParam();
    void negativeCapacities_data();
    void negativeCapacities();
    void layout_data();
    void layout();
};

void ModelSceneTest::knownCodes_data()
{
    QTest::addColumn<int>("code");
    for (const CapacityRow &row : s_capacities)
        for (int code : row.codes)
            QTest::newRow(qPrintable(hex(code))) << code;
}

void ModelSceneTest::knownCodes()
{
    QFETCH(int, code);
    ModelScene model;
    // A capacity that the code fails to write keeps this and shows up.
    model.m_maxSourceCount = -7;
    model.m_maxBankCount = -7;
    model.m_maxBankNameLength = -7;
    model.m_maxLayerCount = -7;
    model.m_maxOutputCount = -7;
    model.m_maxContainerCount = -7;
    model.m_maxInputBoardCount = -7;
    model.initParam(code);
    QCOMPARE(int(model.m_deviceCode), code);
    QCOMPARE(capacities(model), capacities(rowOf(code)));
    QCOMPARE(shape(model), shape(rowOf(code)));
}

void ModelSceneTest::unknownCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("previous");
    for (const auto &row : s_unknown)
        QTest::addRow("%s after %s", qPrintable(hex(row.code)), qPrintable(hex(row.previous)))
            << row.code << row.previous;
}

void ModelSceneTest::unknownCodes()
{
    QFETCH(int, code);
    QFETCH(int, previous);
    ModelScene model;
    model.initParam(previous);
    model.initMaxParams(code);
    QCOMPARE(capacities(model), capacities(rowOf(previous)));
    model.initParam(code);
    QCOMPARE(int(model.m_deviceCode), code);
    QCOMPARE(capacities(model), capacities(rowOf(previous)));
    QCOMPARE(shape(model), shape(rowOf(previous)));
}

void ModelSceneTest::defaults_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("smallest") << 0x2C0200;
    QTest::newRow("constructed") << DefaultCode;
    QTest::newRow("most layers") << 0x250301;
    QTest::newRow("most outputs") << 0x900000;
}

void ModelSceneTest::defaults()
{
    QFETCH(int, code);
    ModelScene model;
    if (code != DefaultCode)
        model.initParam(code);

    const QString currentLayer
        = QStringLiteral("0 0 0 0 0 0 0 0 0 0 0 0 0 255 0 0 0 0 0 0 0 -1 0 ''");
    const QString bankLayer
        = QStringLiteral("0 0 1920 1080 0 0 1920 1080 0 0 0 0 %1 255 0 0 0 0 0 0 0 -1 0 ''");
    const QString output = QStringLiteral("0 ").repeated(29) + QStringLiteral("255");

    for (const _SceneLayer_Record &layer : qAsConst(*model.m_pLayerVec))
        QCOMPARE(describe(layer), currentLayer);
    for (const _SceneBank_Record &bank : qAsConst(*model.m_pBankVec)) {
        QCOMPARE(describe(bank), QStringLiteral("0 0 0 0 0 0"));
        for (int j = 0; j < bank.pLayerVec->size(); ++j)
            QCOMPARE(describe(bank.pLayerVec->at(j)), bankLayer.arg(j));
        QCOMPARE(bank.pOutputFlagVec->count(1), bank.pOutputFlagVec->size());
    }
    for (const auto &outputs : qAsConst(*model.m_pBankOutputVec))
        for (const _SceneOutput_Record &record : outputs)
            QCOMPARE(describe(record), output);
    for (const _SceneContainer_Record &container : model.m_containerList)
        QCOMPARE(describe(container), QStringLiteral("0 0 0 0 0"));
    for (const _Int12_Record &source : model.m_sourceList)
        QCOMPARE(describe(source), QStringLiteral("0 0 0 0 0 0 0 0 0 0 0 0"));
}

void ModelSceneTest::presets()
{
    ModelScene model;
    model.m_initConstant = 7;
    model.m_value1 = 7;
    model.m_value2 = 7;
    model.m_value3 = 7;
    model.m_flag1 = 7;
    model.m_flag2 = 7;
    model.m_flag3 = 7;
    model.m_data[0] = 7;
    model.m_data[31] = 7;
    (*model.m_pLayerVec)[0].text = QStringLiteral("client");
    (*(*model.m_pBankVec)[0].pLayerVec)[0].areaX = 7;
    (*(*model.m_pBankVec)[0].pOutputFlagVec)[0] = 0;
    (*model.m_pBankOutputVec)[0][0].value30 = 7;
    model.m_containerList[0].value1 = 7;
    model.m_sourceList[0].value1 = 7;

    model.initParam(DefaultCode);
    const QString scalars
        = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
              .arg(model.m_initConstant)
              .arg(model.m_value1)
              .arg(model.m_value2)
              .arg(int(model.m_flag1))
              .arg(int(model.m_flag2))
              .arg(model.m_value3)
              .arg(int(model.m_flag3))
              .arg(QString::fromLatin1(
                  QByteArray::fromRawData(reinterpret_cast<const char *>(model.m_data),
                                          sizeof model.m_data)
                      .toHex()));
    QCOMPARE(scalars, QStringLiteral("3000 0 1 0 0 0 0 ") + QStringLiteral("00").repeated(32));
    QCOMPARE(model.m_pLayerVec->at(0).text, QString());
    QCOMPARE(model.m_pBankVec->at(0).pLayerVec->at(0).areaX, 0);
    QCOMPARE(model.m_pBankVec->at(0).pOutputFlagVec->at(0), quint8(1));
    QCOMPARE(model.m_pBankOutputVec->at(0).at(0).value30, 255);
    QCOMPARE(model.m_containerList.at(0).value1, 0);
    QCOMPARE(model.m_sourceList.at(0).value1, 0);
}

void ModelSceneTest::clearParams()
{
    ModelScene model;
    model.initParam(0x250300);
    model.m_value1 = 7;
    const auto *layers = model.m_pLayerVec;
    const auto *banks = model.m_pBankVec;
    const auto *bankOutputs = model.m_pBankOutputVec;

    model.clearParams();
    QVERIFY(model.m_pLayerVec == layers);
    QVERIFY(model.m_pBankVec == banks);
    QVERIFY(model.m_pBankOutputVec == bankOutputs);
    QCOMPARE(shape(model), shape(384, Banks, 32, 0, 0));
    QCOMPARE(capacities(model), capacities(rowOf(0x250300)));
    QCOMPARE(int(model.m_value1), 7);
    QCOMPARE(int(model.m_deviceCode), 0x250300);
}

void ModelSceneTest::repeatedInitParam()
{
    // Each call releases the tree it replaces; the leak checker of the sanitizer build sees the
    // rest.
    ModelScene model;
    for (int code : {0x250301, 0x250301, 0x2C0200, 0x900000, 0x900000})
        model.initParam(code);
    QCOMPARE(shape(model), shape(rowOf(0x900000)));
}

void ModelSceneTest::negativeCapacities_data()
{
    QTest::addColumn<int>("layers");
    QTest::addColumn<int>("banks");
    QTest::addColumn<int>("outputs");
    QTest::addColumn<int>("containers");
    QTest::addColumn<int>("sources");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all negative") << -1 << -16 << -3 << INT_MIN << -1 << shape(0, 0, 0, 0, 0);
    QTest::newRow("all zero") << 0 << 0 << 0 << 0 << 0 << shape(0, 0, 0, 0, 0);
    QTest::newRow("banks without layers or outputs")
        << -5 << 3 << -1 << 2 << 1 << shape(0, 3, 0, 2, 1);
    QTest::newRow("layers and outputs without banks")
        << 4 << -1 << 2 << -2 << 5 << shape(4, 0, 2, 0, 5);
}

void ModelSceneTest::negativeCapacities()
{
    QFETCH(int, layers);
    QFETCH(int, banks);
    QFETCH(int, outputs);
    QFETCH(int, containers);
    QFETCH(int, sources);
    QFETCH(QString, expected);
    ModelScene model;
    model.m_maxLayerCount = layers;
    model.m_maxBankCount = banks;
    model.m_maxOutputCount = outputs;
    model.m_maxContainerCount = containers;
    model.m_maxSourceCount = sources;
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
    constexpr int Int = 4, Byte = 1, Pointer = sizeof(void *), List = sizeof(void *);
    // clang-format off
    static constexpr Member members[] = {
        // member               offset in the class                        width
        {"m_deviceCode",         offsetof(ModelScene, m_deviceCode),         Int},
        {"m_pLayerVec",          offsetof(ModelScene, m_pLayerVec),          Pointer},
        {"m_pBankVec",           offsetof(ModelScene, m_pBankVec),           Pointer},
        {"m_pBankOutputVec",     offsetof(ModelScene, m_pBankOutputVec),     Pointer},
        {"m_containerList",      offsetof(ModelScene, m_containerList),      List},
        {"m_sourceList",         offsetof(ModelScene, m_sourceList),         List},
        {"m_initConstant",       offsetof(ModelScene, m_initConstant),       Int},
        {"m_value1",             offsetof(ModelScene, m_value1),             Int},
        {"m_value2",             offsetof(ModelScene, m_value2),             Int},
        {"m_flag1",              offsetof(ModelScene, m_flag1),              Byte},
        {"m_flag2",              offsetof(ModelScene, m_flag2),              Byte},
        {"m_value3",             offsetof(ModelScene, m_value3),             Int},
        {"m_data",               offsetof(ModelScene, m_data),               32 * Byte},
        {"m_flag3",              offsetof(ModelScene, m_flag3),              Byte},
        {"m_maxSourceCount",     offsetof(ModelScene, m_maxSourceCount),     Int},
        {"m_maxBankCount",       offsetof(ModelScene, m_maxBankCount),       Int},
        {"m_maxBankNameLength",  offsetof(ModelScene, m_maxBankNameLength),  Int},
        {"m_maxLayerCount",      offsetof(ModelScene, m_maxLayerCount),      Int},
        {"m_maxOutputCount",     offsetof(ModelScene, m_maxOutputCount),     Int},
        {"m_maxContainerCount",  offsetof(ModelScene, m_maxContainerCount),  Int},
        {"m_maxInputBoardCount", offsetof(ModelScene, m_maxInputBoardCount), Int},
    };
    // clang-format on
    int expected = 0;
    for (const Member &m : members) {
        QTest::newRow(m.name) << int(m.offset) << expected;
        expected += m.width;
    }
    QTest::newRow("sizeof") << int(sizeof(ModelScene)) << expected;
    // The records are not packed: their fields stay aligned for the client.
    QTest::newRow("alignof layer") << int(alignof(_SceneLayer_Record)) << Pointer;
    QTest::newRow("alignof bank") << int(alignof(_SceneBank_Record)) << Pointer;
    QTest::newRow("alignof output") << int(alignof(_SceneOutput_Record)) << Int;
    QTest::newRow("alignof container") << int(alignof(_SceneContainer_Record)) << Int;
}

void ModelSceneTest::layout()
{
    QFETCH(int, actual);
    QFETCH(int, expected);
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(ModelSceneTest)
#include "modelscenetest.moc"
