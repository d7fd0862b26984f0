#include <model/keyboard/model_quorparam.h>

#include "memberlayout.h"

#include <climits>
#include <cstring>
#include <memory>

// Shortcut icons by key index, on pages 0 to 3 and on page 4.
// clang-format off
static const int s_icons[2][16] = {
    {21, 22, 23, 24, 25, 26, 27, 28, 29, 38, 30, 31, 35, 33, 39, 40},
    {48, 49, 55, 51, 56, 52, 53, 57, 58, 60, 50, 61, 54, 59, 62, 36},
};

// Blocks of keys and the look of each key of a block, as describe() gives it, with
//   %i  the shortcut icon of the key's position,
//   %n  the running number 16 * page + index + 1, and %m that plus 16,
//   %c  the storage index 100 * set + index, cut to two digits,
//   %p  and %u the page key's label and test number, by set; %f the test number of keys 58 to 61.
// Step 0 gives the labels of a new object, step 1 what initOLEDTest() writes over them. A later
// row overrides an earlier one; a key that no row covers keeps the record defaults.
struct Block
{
    int step;
    char table; // P S L O I as in the dump, C the common keys
    int firstPage, lastPage, firstKey, lastKey;
    const char *look;
};

static const Block s_blocks[] = {
    // step table     pages  keys    look
    {0,    'P',       0, 0,  0, 15,  "0 0 6 1 10 3/4/0 [PST][TONE][]"},
    {0,    'S',       0, 0,  0, 15,  "0 0 6 2 %i 0/0/0 [SCT][TONE][]"},
    {0,    'L',       0, 9,  0, 15,  "0 0 6 1 10 3/4/0 [LAY][TONE][]"},
    {0,    'O',       0, 2,  0, 15,  "0 0 6 1 10 3/4/0 [OUT][TONE][]"},
    {0,    'I',       0, 3,  0, 15,  "0 0 6 1 10 4/4/0 [IN][TONE][]"},
    {0,    'C',       0, 5,  0, 99,  "0 0 6 1 10 3/4/0 [COM][TONE][]"},
    {0,    'C',       1, 5,  0, 0,   "0 0 6 1 10 4/4/0 [PG 1][%p][]"},
    {0,    'C',       0, 0,  58, 58, "0 0 6 1 10 4/2/0 [ALPH][50][]"},
    {0,    'C',       0, 0,  59, 61, "0 0 6 2 12 3/4/0 [COM][TONE][]"},
    {0,    'C',       0, 0,  60, 60, "0 0 6 2 14 3/4/0 [COM][TONE][]"},
    {1,    'P',       0, 4,  0, 15,  "0 0 6 1 10 6/6/0 [P   %n][P   %m][]"},
    {1,    'S',       0, 4,  0, 15,  "0 0 6 1 10 6/6/0 [S   %n][S   %m][]"},
    {1,    'L',       0, 4,  0, 15,  "0 0 6 1 10 6/6/0 [L   %n][L   %m][]"},
    {1,    'O',       0, 4,  0, 15,  "0 0 6 1 10 5/5/0 [O  %n][O  %m][]"},
    {1,    'I',       0, 4,  0, 15,  "0 0 6 1 10 6/6/0 [I   %n][I   %m][]"},
    {1,    'C',       0, 5,  0, 99,  "0 0 6 1 10 4/4/0 [C %c][C %c][]"},
    {1,    'C',       1, 5,  0, 0,   "0 0 6 1 10 4/4/0 [U %u][U 1%u][]"},
    {1,    'C',       0, 0,  58, 61, "0 0 6 1 10 4/4/0 [U %f][U 1%f][]"},
    {1,    'C',       0, 0,  66, 66, "0 0 6 1 10 4/4/0 [U 16][U 16][]"},
};
// clang-format on

static _OledKey_Param &keyOf(Model_QuorParam &m, char table, int page, int index)
{
    _OledKey_Param(*const tables[])[16]
        = {m.m_presetKeys, m.m_shortcutKeys, m.m_layerKeys, m.m_outputKeys, m.m_inputKeys};
    return table == 'C' ? m.m_commonKeys[page][index]
                        : tables[QByteArray("PSLOI").indexOf(table)][page][index];
}

// Zero bytes are shown as '.', except those that end a text field.
static QString tidy(const QString &text)
{
    return QString(text).replace(QRegularExpression(QStringLiteral("\\.+]")), QStringLiteral("]"));
}

// "color mode bright oLedShowMode icon lengths [first][second][third]", the text fields whole.
static QString describe(const _OledKey_Param &k)
{
    QString line
        = QString::asprintf("%d %d %d %d %d %d/%d/%d ", k.color, k.mode, k.bright, k.oLedShowMode,
                            k.icon, k.firstStringLen, k.secondStringLen, k.thirdStringLen);
    for (const quint8 *field : {k.firstString, k.secondString, k.thirdString})
        line
            += '[' + QByteArray(reinterpret_cast<const char *>(field), 31).replace('\0', '.') + ']';
    return tidy(line);
}

// One dump message as documented: the format of the table (0 for the common keys), then each
// text field's first byte (for the common keys, its address) and its length byte.
static QString dumpLine(char table, int page, int index, const _OledKey_Param &k)
{
    const auto shown = [table](const quint8 *field) {
        return table ? QByteArray::number(*field) : "0x" + QByteArray::number(quintptr(field), 16);
    };
    return QString::asprintf(
        "\"%s[%d] -- [%d] -- [%d] -- [%d] -- [%d] -- [%d] -- [%d]%s\" -- [ %s ][ %d ] "
        " -- [ %s ][ %d ]  -- [ %s ][ %d ] ",
        table ? QByteArray(1, table).append("Key-").constData() : "", page, index, k.bright,
        k.color, k.mode, k.oLedShowMode, k.icon, table == 'L' || table == 'O' ? "  " : " ",
        shown(k.firstString).constData(), k.firstStringLen, shown(k.secondString).constData(),
        k.secondStringLen, shown(k.thirdString).constData(), k.thirdStringLen);
}

static QStringList s_messages;

// A message that is not a debug message from a default-constructed logger (no file, line,
// function or category) is marked.
static void collect(QtMsgType type, const QMessageLogContext &c, const QString &text)
{
    const bool plain = type == QtDebugMsg && !c.file && !c.line && !c.function && !c.category;
    s_messages.append(plain ? text : "UNEXPECTED TYPE OR CONTEXT " + text);
}

class Model_QuorParamTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=true")); }
    void cleanup() { Model_QuorParam::gOledLength = 30; }
    void layout_data();
    void layout() { checkLayoutRow(); }
    void keys_data();
    void keys();
};

// Natural layout, written out: the only padding is the three bytes after m_flag1; the key tables
// are byte records.
void Model_QuorParamTest::layout_data()
{
    addLayoutColumns();
    using K = _OledKey_Param;
    using M = Model_QuorParam;
    // clang-format off
    const LayoutMember<K> key[] = {
        LAYOUT_MEMBER(K, color, 1), LAYOUT_MEMBER(K, mode, 1), LAYOUT_MEMBER(K, bright, 1),
        LAYOUT_MEMBER(K, oLedShowMode, 1), LAYOUT_MEMBER(K, icon, 1),
        LAYOUT_MEMBER(K, firstStringLen, 1), LAYOUT_MEMBER(K, secondStringLen, 1),
        LAYOUT_MEMBER(K, thirdStringLen, 1), LAYOUT_MEMBER(K, firstString, 31),
        LAYOUT_MEMBER(K, secondString, 31), LAYOUT_MEMBER(K, thirdString, 31),
    };
    const LayoutMember<M> model[] = {
        LAYOUT_MEMBER(M, m_word1, 4), LAYOUT_MEMBER(M, m_interval, 4),
        LAYOUT_MEMBER(M, m_value1, 4), LAYOUT_MEMBER(M, m_flag1, 1),
        {"(padding)", 3, 3, [](const M &m) { return reinterpret_cast<const char *>(&m.m_flag1) + 1; }},
        LAYOUT_MEMBER(M, m_value2, 4), LAYOUT_MEMBER(M, m_word2, 4),
        LAYOUT_MEMBER(M, m_presetKeys, 8080), LAYOUT_MEMBER(M, m_shortcutKeys, 8080),
        LAYOUT_MEMBER(M, m_layerKeys, 16160), LAYOUT_MEMBER(M, m_outputKeys, 8080),
        LAYOUT_MEMBER(M, m_inputKeys, 8080), LAYOUT_MEMBER(M, m_commonKeys, 60600),
        LAYOUT_MEMBER(M, m_map, Handle),
    };
    // clang-format on
    addLayoutRows("_OledKey_Param", key, 0, Packing::Packed);
    addLayoutRows("Model_QuorParam", model, 0, Packing::Packed);
}

void Model_QuorParamTest::keys_data()
{
    QTest::addColumn<int>("oledLength");
    QTest::addColumn<int>("steps");         // 1: initOLEDTest(), 2: then initOLEDIconTest()
    QTest::addColumn<QVector<int>>("dump"); // pageCount, keyGroup, pages shown
    QTest::addColumn<QByteArray>("tables"); // shown on each page
    // gOledLength 0 clears nothing: a text shorter than the one before must still end in a zero
    // byte. Outside 0 to 31 the nearest end holds, and nothing is written outside a text field.
    // clang-format off
    QTest::newRow("30, new object; 1 page, presets") << 30 << 0 << QVector<int>{1, 1, 1} << QByteArray("P");
    QTest::newRow("30, icons; 9 pages, all") << 30 << 2 << QVector<int>{9, 0, 5} << QByteArray("PSLOI");
    QTest::newRow("0; 0 pages, shortcuts") << 0 << 1 << QVector<int>{0, 2, 1} << QByteArray("S");
    QTest::newRow("2; 3 pages, layers") << 2 << 1 << QVector<int>{3, 3, 3} << QByteArray("L");
    QTest::newRow("INT_MIN; INT_MIN pages, outputs") << INT_MIN << 1 << QVector<int>{INT_MIN, 5, 1} << QByteArray("O");
    QTest::newRow("INT_MAX; 5 pages, inputs") << INT_MAX << 1 << QVector<int>{5, 6, 5} << QByteArray("I");
    QTest::newRow("32, new object; selector 4") << 32 << 0 << QVector<int>{5, 4, 5} << QByteArray();
    // clang-format on
}

// At one gOledLength: every key of every table after construction and the test steps, the dump
// of them, then the shortcut operations.
void Model_QuorParamTest::keys()
{
    QFETCH(int, oledLength);
    QFETCH(int, steps);
    QFETCH(QVector<int>, dump);
    QFETCH(QByteArray, tables);
    Model_QuorParam::gOledLength = oledLength;
    auto m = std::make_unique<Model_QuorParam>();
    QCOMPARE((QVector<int>{m->m_interval, m->m_value1, m->m_flag1, m->m_value2}),
             (QVector<int>{3000, -1, 0, 0}));
    QVERIFY(m->m_map.isEmpty());
    if (steps >= 1)
        m->initOLEDTest();
    if (steps >= 2)
        m->initOLEDIconTest();
    for (char table : QByteArray("PSLOIC")) {
        for (int p = 0; p < (table == 'L' ? 10 : table == 'C' ? 6 : 5); ++p) {
            for (int k = 0; k < (table == 'C' ? 100 : 16); ++k) {
                QString look = QStringLiteral("0 0 7 1 0 0/0/0 [][][]");
                for (const Block &b : s_blocks) {
                    if (b.step <= steps && b.table == table && p >= b.firstPage && p <= b.lastPage
                        && k >= b.firstKey && k <= b.lastKey)
                        look = QLatin1String(b.look);
                }
                // The icon test keeps the texts and skips layer pages 5 to 9.
                if (steps >= 2 && (table != 'L' || p < 5))
                    look = "0 0 6 2 37 " + look.section(' ', 5);
                const int n = 16 * p + k + 1;
                look.replace("%i", QString::number(s_icons[p == 4][k % 16]))
                    .replace("%n", QString::number(n))
                    .replace("%m", QString::number(n + 16))
                    .replace("%c", QString::number(100 * p + k).left(2))
                    .replace("%p", QStringLiteral("- PST SCT LAY IN OUT").section(' ', p, p))
                    .replace("%u", QStringLiteral("- 1 2 4 5 3").section(' ', p, p))
                    .replace("%f", QStringLiteral("7 7 8 9").section(' ', k - 58, k - 58));
                const QString at = QStringLiteral("%1 [%2][%3] ").arg(table).arg(p).arg(k);
                QCOMPARE(at + describe(keyOf(*m, table, p, k)), at + look);
            }
        }
    }

    // The dump of the same keys.
    m->m_presetKeys[0][1].firstString[0] = 200; // shown as a number from 0 to 255
    QStringList expected{
        "\"page     index       bright         color     mode      oLedShowMode        icon      "
        "  firstString[len]      secondString[len]     thirdString[len]\""};
    for (int i = 0; i < 16 * dump[2]; ++i) {
        for (char t : tables)
            expected << dumpLine(t, i / 16, i % 16, keyOf(*m, t, i / 16, i % 16));
    }
    for (int k = 0; k < 16; ++k)
        expected << dumpLine(0, 0, k, m->m_commonKeys[0][k]);
    for (int set = 1; set <= 5; ++set)
        expected << dumpLine(0, 0, set, m->m_commonKeys[set][0]);
    s_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    m->printAllData(dump[0], dump[1]);
    qInstallMessageHandler(previous);
    QCOMPARE(s_messages, expected);

    // Grid labels, then the default look again, over shortcut keys full of 'x' (120): each text
    // field is cleared for gOledLength bytes, held to 0 to 31, and keeps the rest.
    std::memset(&m->m_shortcutKeys, 'x', sizeof m->m_shortcutKeys);
    const int cleared = qBound(0, oledLength, 31);
    const auto field = [cleared](const QByteArray &text) {
        return text + QByteArray(cleared - text.size(), '.')
            + QByteArray(31 - qMax(cleared, int(text.size())), 'x');
    };
    for (bool grid : {true, false}) {
        m->initShortcuts(grid);
        for (int i = 0; i < 80; ++i) {
            const QByteArray label
                = QByteArray::number(i % 16 / 4 + 1) + 'X' + QByteArray::number(i % 4 + 1);
            const QByteArray head = grid
                ? "120 120 120 5 120"
                : "0 0 6 2 " + QByteArray::number(s_icons[i >= 64][i % 16]);
            QCOMPARE(describe(m->m_shortcutKeys[i / 16][i % 16]),
                     tidy(head + " 120/120/120 [" + field(grid ? "" : "SCT") + "]["
                          + field(grid ? label.left(cleared) : "TONE") + "][" + field("") + ']'));
        }
    }
    for (int i = 0; i < 12; ++i)
        QCOMPARE(describe(m->m_commonKeys[0][67 + i]).section(' ', 3, 4),
                 QStringLiteral("2 %1").arg(s_icons[0][i]));

    // A shortcut outside the table is the caller's error, and changes nothing.
    const QByteArray before(reinterpret_cast<const char *>(m.get()), sizeof *m);
    for (auto [page, index] : {std::pair(-1, 0), {5, 0}, {0, -1}, {0, 16}, {INT_MIN, INT_MAX}})
        m->resetShortcutOled(page, index);
    QVERIFY(QByteArray(reinterpret_cast<const char *>(m.get()), sizeof *m) == before);
}

QTEST_GUILESS_MAIN(Model_QuorParamTest)
#include "model_quorparamtest.moc"
