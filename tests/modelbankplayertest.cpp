#include <model/bankplayer/modelbankplayer.h>

#include <QtTest/QtTest>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <initializer_list>

namespace {

struct OutputRow
{
    int outputs;
    std::initializer_list<int> codes;
};

// Written out here rather than read from the library, so that a wrong entry on either side shows.
// Every known code also has 16 banks.
// clang-format off
constexpr OutputRow s_outputs[] = {
    // outputs  device codes
    {  1, {0x2C0103, 0x2C0104, 0x2C0200}},
    {  2, {0x629066}},
    {  3, {0x280100, 0x2C0100, 0x2C0101, 0x2C0102, 0x2C0105, 0x2C0106, 0x2C0107}},
    {  4, {0x629100}},
    {  8, {0x230100, 0x230101, 0x230102, 0x230106, 0x230107, 0x240100, 0x250000, 0x250100,
           0x250200, 0x250311, 0x250401, 0x260100, 0x260101, 0x270100, 0x270101, 0x320000,
           0x320001, 0x320002, 0x320003, 0x320004, 0x629000}},
    { 16, {0x220000, 0x240000, 0x628200}},
    { 20, {0x250310, 0x250400, 0x260000, 0x260001, 0x270000, 0x270001}},
    { 24, {0xA00000}},
    { 32, {0x240200, 0x250300, 0x700000}},
    { 40, {0x250312, 0x250402, 0x800000, 0x900001}},
    { 64, {0x250301}},
    { 80, {0x250313, 0x250403, 0x2D0000, 0x2D0001}},
    {144, {0x900000}},
};

// Unknown codes, each tried after a known code whose capacities it must leave in place.
constexpr struct { int code; int previous; } s_unknown[] = {
    {-1, 0x320000}, {INT_MIN, 0x900000}, {0, 0x2C0200}, {0x2C0201, 0x900000}, {0x2C0202, 0x629066},
    {0x230103, 0x250301}, {0x250302, 0x900000}, {0x2D0002, 0x2D0000}, {0x320005, 0xA00000},
};
// clang-format on

constexpr int DefaultCode = 0x320000;
constexpr int Banks = 16;
constexpr int Items = 255;

int outputsOf(int code)
{
    const auto *row
        = std::find_if(std::begin(s_outputs), std::end(s_outputs), [code](const OutputRow &r) {
              return std::count(r.codes.begin(), r.codes.end(), code);
          });
    Q_ASSERT(row != std::end(s_outputs));
    return row->outputs;
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

// The ten per-bank arrays, one line each.
QString bankArrays(const ModelBankPlayer &m)
{
    return QStringList{join(m.m_bankValues1), join(m.m_bankIndex1),  join(m.m_bankValues2),
                       join(m.m_bankValues3), join(m.m_bankValues4), join(m.m_bankValues5),
                       join(m.m_bankIndex2),  join(m.m_bankValues6), join(m.m_bankValues7),
                       join(m.m_bankValues8)}
        .join(QLatin1Char('\n'));
}

// The arrays after presetting the first `preset` banks over entries that all held `old`.
QString bankArrays(int preset, int old)
{
    QVector<int> values(Banks, old), indices(Banks, old);
    for (int b = 0; b < preset; ++b) {
        values[b] = 0;
        indices[b] = b;
    }
    const QString v = join(values), i = join(indices);
    return QStringList{v, i, v, v, v, v, i, v, v, v}.join(QLatin1Char('\n'));
}

void fillBankArrays(ModelBankPlayer &m, int value)
{
    for (auto *array :
         {m.m_bankValues1, m.m_bankIndex1, m.m_bankValues2, m.m_bankValues3, m.m_bankValues4,
          m.m_bankValues5, m.m_bankIndex2, m.m_bankValues6, m.m_bankValues7, m.m_bankValues8})
        std::fill_n(array, Banks, value);
}

QString describe(const _BankPlayerItem_Record &item)
{
    return QString::number(item.value1) + QLatin1Char('|')
        + QStringList{item.text1, item.text2, item.text3, item.text4, item.text5}.join(
            QLatin1Char('|'));
}

} // namespace

class ModelBankPlayerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capacities_data();
    void capacities();
    void presets();
    void clearParams();
    void bankCount_data();
    void bankCount();
    void layout_data();
    void layout();
};

void ModelBankPlayerTest::capacities_data()
{
    QTest::addColumn<int>("previous"); // 0: both capacities start out invalid instead
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("rowCode"); // the code whose capacities apply afterwards
    for (const OutputRow &row : s_outputs)
        for (int code : row.codes)
            QTest::addRow("0x%X", code) << 0 << code << code;
    for (const auto &u : s_unknown)
        QTest::addRow("0x%X after 0x%X", u.code, u.previous) << u.previous << u.code << u.previous;
}

void ModelBankPlayerTest::capacities()
{
    QFETCH(int, previous);
    QFETCH(int, code);
    QFETCH(int, rowCode);
    ModelBankPlayer model;
    if (previous) {
        model.initParam(previous);
    } else {
        model.m_maxBankCount = -7;
        model.m_maxOutputCount = -7;
    }
    // Twice: each call starts again from empty byte vectors.
    model.initParam(code);
    model.initParam(code);
    QCOMPARE(int(model.m_deviceCode), code);
    QCOMPARE(model.getMaxBankCount(), Banks);
    QCOMPARE(model.getMaxOutputCount(), outputsOf(rowCode));
    QCOMPARE(model.m_bankBytes1, QVector<quint8>(9 * Banks, 0));
    QCOMPARE(model.m_bankBytes2, QVector<quint8>(8 * Banks, 0));
    QCOMPARE(bankArrays(model), bankArrays(Banks, 0));
}

void ModelBankPlayerTest::presets()
{
    ModelBankPlayer model;
    const QString emptyItem = QStringLiteral("0|||||");
    for (const _BankPlayerItem_Record &item : model.m_items2)
        QCOMPARE(describe(item), emptyItem);
    QCOMPARE(join(model.m_spareBytes), QStringLiteral("0 0 0 0 0 0 0 0"));

    model.m_initConstant = model.m_value1 = model.m_value2 = model.m_value3 = model.m_value4 = 7;
    model.m_value5 = model.m_value6 = model.m_value7 = model.m_value8 = model.m_value9 = 7;
    model.m_value10 = model.m_flag1 = model.m_flag2 = model.m_spareBytes[7] = 7;
    model.m_bankBytes1[0] = 7;
    fillBankArrays(model, 7);
    const _BankPlayerItem_Record written{7,
                                         QStringLiteral("a"),
                                         QStringLiteral("b"),
                                         QStringLiteral("c"),
                                         QStringLiteral("d"),
                                         QStringLiteral("e")};
    model.m_items1[0] = model.m_items1[Items - 1] = written;
    model.m_items2[0] = model.m_items2[Items - 1] = written;

    model.initParam(DefaultCode);
    QCOMPARE(join({model.m_initConstant, model.m_value1, model.m_value2, model.m_value3,
                   model.m_value4, model.m_value5, model.m_value6, model.m_value7, model.m_value8,
                   model.m_value9, model.m_value10, model.m_flag1, model.m_flag2}),
             QStringLiteral("3000 0 0 0 0 0 0 0 0 0 0 0 0"));
    QCOMPARE(model.m_bankBytes1, QVector<quint8>(9 * Banks, 0));
    QCOMPARE(bankArrays(model), bankArrays(Banks, 0));
    for (const _BankPlayerItem_Record &item : model.m_items1)
        QCOMPARE(describe(item), emptyItem);
    // The client's own members keep what it wrote.
    QCOMPARE(describe(model.m_items2[0]), describe(written));
    QCOMPARE(describe(model.m_items2[Items - 1]), describe(written));
    QCOMPARE(join(model.m_spareBytes), QStringLiteral("0 0 0 0 0 0 0 7"));
}

void ModelBankPlayerTest::clearParams()
{
    ModelBankPlayer model;
    model.initParam(0x900000);
    fillBankArrays(model, 7);
    model.m_items1[3].text1 = QStringLiteral("kept");
    model.clearParams();
    QVERIFY(model.m_bankBytes1.isEmpty());
    QVERIFY(model.m_bankBytes2.isEmpty());
    QCOMPARE(bankArrays(model), bankArrays(0, 7));
    QCOMPARE(model.m_items1[3].text1, QStringLiteral("kept"));
    QCOMPARE(model.getMaxOutputCount(), 144);
}

void ModelBankPlayerTest::bankCount_data()
{
    QTest::addColumn<int>("bankCount");
    QTest::addColumn<int>("presetBanks");
    QTest::newRow("negative") << -5 << 0;
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("fewer than the arrays hold") << 3 << 3;
    QTest::newRow("more than the arrays hold") << 17 << Banks;
    QTest::newRow("far more") << 1000 << Banks;
}

void ModelBankPlayerTest::bankCount()
{
    // A bank count written by the client sizes the byte vectors but never reaches past the arrays.
    QFETCH(int, bankCount);
    QFETCH(int, presetBanks);
    ModelBankPlayer model;
    fillBankArrays(model, 7);
    model.m_maxBankCount = bankCount;
    model.initParam(-1); // unknown: the bank count written above stays
    QCOMPARE(model.getMaxBankCount(), bankCount);
    QCOMPARE(model.m_bankBytes1.size(), 9 * qMax(0, bankCount));
    QCOMPARE(model.m_bankBytes2.size(), 8 * qMax(0, bankCount));
    QCOMPARE(bankArrays(model), bankArrays(presetBanks, 7));
}

void ModelBankPlayerTest::layout_data()
{
    QTest::addColumn<int>("actual");
    QTest::addColumn<int>("expected");

    struct Member
    {
        const char *name;
        std::size_t offset;
        int width;
    };
    constexpr int I = 4, B = 1, V = sizeof(void *), Array = 16 * I;
    constexpr int Table = 255 * int(sizeof(_BankPlayerItem_Record));
    // clang-format off
#define MEMBER(name, width) {#name, offsetof(ModelBankPlayer, name), width}
    static constexpr Member members[] = {
        MEMBER(m_deviceCode, I), MEMBER(m_initConstant, I), MEMBER(m_value1, I),
        MEMBER(m_value2, I), MEMBER(m_value3, I), MEMBER(m_value4, I), MEMBER(m_value5, I),
        MEMBER(m_value6, I), MEMBER(m_value7, I), MEMBER(m_flag1, B), MEMBER(m_value8, I),
        MEMBER(m_bankBytes1, V), MEMBER(m_bankValues1, Array), MEMBER(m_bankIndex1, Array),
        MEMBER(m_bankValues2, Array), MEMBER(m_bankValues3, Array), MEMBER(m_bankValues4, Array),
        MEMBER(m_flag2, B), MEMBER(m_bankValues5, Array), MEMBER(m_bankIndex2, Array),
        MEMBER(m_bankValues6, Array), MEMBER(m_bankValues7, Array), MEMBER(m_bankValues8, Array),
        MEMBER(m_bankBytes2, V), MEMBER(m_value9, I), MEMBER(m_value10, I),
        MEMBER(m_items1, Table), MEMBER(m_spareBytes, 8 * B), MEMBER(m_items2, Table),
        MEMBER(m_maxBankCount, I), MEMBER(m_maxOutputCount, I),
    };
#undef MEMBER
    // clang-format on
    int expected = 0;
    for (const Member &m : members) {
        QTest::newRow(m.name) << int(m.offset) << expected;
        expected += m.width;
    }
    QTest::newRow("sizeof") << int(sizeof(ModelBankPlayer)) << expected;
    // The item record is not packed: an int, a gap, then five aligned strings.
    QTest::newRow("item value1") << int(offsetof(_BankPlayerItem_Record, value1)) << 0;
    QTest::newRow("item text1") << int(offsetof(_BankPlayerItem_Record, text1))
                                << int(alignof(QString));
    QTest::newRow("sizeof item") << int(sizeof(_BankPlayerItem_Record))
                                 << int(alignof(QString) + 5 * sizeof(QString));
}

void ModelBankPlayerTest::layout()
{
    QFETCH(int, actual);
    QFETCH(int, expected);
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(ModelBankPlayerTest)
#include "modelbankplayertest.moc"
