#include <model/keyboard/model_quorparam.h>

#include <QtTest/QtTest>

#include <climits>
#include <cstring>
#include <memory>

enum Table { Preset, Shortcut, Layer, Output, Input, Common };

static const int s_shortcutIcons[]
    = {21, 22, 23, 24, 25, 26, 27, 28, 29, 38, 30, 31, 35, 33, 39, 40};
static const int s_lastPageIcons[]
    = {48, 49, 55, 51, 56, 52, 53, 57, 58, 60, 50, 61, 54, 59, 62, 36};

static _OledKey_Param &keyOf(Model_QuorParam &m, int table, int page, int index)
{
    switch (table) {
    case Preset:
        return m.m_presetKeys[page][index];
    case Shortcut:
        return m.m_shortcutKeys[page][index];
    case Layer:
        return m.m_layerKeys[page][index];
    case Output:
        return m.m_outputKeys[page][index];
    case Input:
        return m.m_inputKeys[page][index];
    default:
        return m.m_commonKeys[page][index];
    }
}

// A whole text field: zero bytes inside the text as '.', trailing zero bytes dropped.
static QByteArray text(const quint8 (&field)[31])
{
    QByteArray bytes(reinterpret_cast<const char *>(field), sizeof field);
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    return bytes.replace('\0', '.');
}

// "color mode bright oLedShowMode icon lengths [first][second][third]"
static QString describe(const _OledKey_Param &k)
{
    return QString::asprintf("%d %d %d %d %d %d/%d/%d [%s][%s][%s]", k.color, k.mode, k.bright,
                             k.oLedShowMode, k.icon, k.firstStringLen, k.secondStringLen,
                             k.thirdStringLen, text(k.firstString).constData(),
                             text(k.secondString).constData(), text(k.thirdString).constData());
}

// A field that was all 'x' after clearing `cleared` bytes and writing `label` at its start.
static QByteArray overwritten(const QByteArray &label, int cleared)
{
    QByteArray field = label + QByteArray(qMax(0, cleared - label.size()), '.')
        + QByteArray(31 - qMax(cleared, label.size()), 'x');
    while (field.endsWith('.'))
        field.chop(1);
    return field;
}

static void fillTexts(_OledKey_Param &key, char byte)
{
    std::memset(key.firstString, byte, 31);
    std::memset(key.secondString, byte, 31);
    std::memset(key.thirdString, byte, 31);
}

// A key with the text look: bright 6, show mode 1, icon 10, third line empty.
static QString label(const char *first, int firstLength, const char *second = "TONE",
                     int secondLength = 4)
{
    return QString::asprintf("0 0 6 1 10 %d/%d/0 [%s][%s][]", firstLength, secondLength, first,
                             second);
}

static const QString s_recordDefault = QStringLiteral("0 0 7 1 0 0/0/0 [][][]");

static QStringList *s_messages = nullptr;

// The messages of one dump. A message that is not a debug message from a default-constructed
// logger (no file, line, function or category) is marked.
static QStringList dump(Model_QuorParam &model, int pageCount, int keyGroup)
{
    QStringList messages;
    s_messages = &messages;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &c, const QString &text) {
            const bool plain
                = type == QtDebugMsg && !c.file && !c.line && !c.function && !c.category;
            s_messages->append(plain ? text : "UNEXPECTED TYPE OR CONTEXT " + text);
        });
    model.printAllData(pageCount, keyGroup);
    qInstallMessageHandler(previous);
    return messages;
}

class Model_QuorParamTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=true")); }
    void cleanup() { Model_QuorParam::gOledLength = 30; }
    void layout_data();
    void layout();
    void defaults_data();
    void defaults();
    void rewriteDefaults();
    void shortcuts_data();
    void shortcuts();
    void testPattern_data();
    void testPattern();
    void iconTest();
    void dumpMessages_data();
    void dumpMessages();
    void dumpText();
    void oledLengthHeldToField_data();
    void oledLengthHeldToField();
    void shortcutOutOfRange();
};

void Model_QuorParamTest::layout_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("expectedOffset");
    QTest::addColumn<int>("expectedSize");

    const _OledKey_Param k;
    const auto model = std::make_unique<Model_QuorParam>();
    const Model_QuorParam &m = *model;
    int end = 0;
    auto row = [&end](const char *name, const void *object, const void *member, int size,
                      int expectedSize, int align) {
        const int offset
            = int(static_cast<const char *>(member) - static_cast<const char *>(object));
        const int expected = (end + align - 1) / align * align;
        QTest::newRow(name) << offset << size << expected << expectedSize;
        end = expected + expectedSize;
    };
#define RECORD(f, size) row("record " #f, &k, &k.f, int(sizeof k.f), size, 1)
#define MEMBER(f, size, align) row(#f, &m, &m.f, int(sizeof m.f), size, align)
    RECORD(color, 1), RECORD(mode, 1), RECORD(bright, 1), RECORD(oLedShowMode, 1), RECORD(icon, 1);
    RECORD(firstStringLen, 1), RECORD(secondStringLen, 1), RECORD(thirdStringLen, 1);
    RECORD(firstString, 31), RECORD(secondString, 31), RECORD(thirdString, 31);
    QTest::newRow("sizeof record") << int(sizeof k) << 0 << 101 << 0;
    end = 0;
    MEMBER(m_word1, 4, 4), MEMBER(m_interval, 4, 4), MEMBER(m_value1, 4, 4), MEMBER(m_flag1, 1, 1);
    MEMBER(m_value2, 4, 4), MEMBER(m_word2, 4, 4), MEMBER(m_presetKeys, 8080, 1);
    MEMBER(m_shortcutKeys, 8080, 1), MEMBER(m_layerKeys, 16160, 1), MEMBER(m_outputKeys, 8080, 1);
    MEMBER(m_inputKeys, 8080, 1), MEMBER(m_commonKeys, 60600, 1), MEMBER(m_map, 8, 8);
    QTest::newRow("sizeof class") << int(sizeof m) << 0 << 109112 << 0;
#undef RECORD
#undef MEMBER
}

void Model_QuorParamTest::layout()
{
    QFETCH(int, offset);
    QFETCH(int, size);
    QFETCH(int, expectedOffset);
    QFETCH(int, expectedSize);
    QCOMPARE(offset, expectedOffset);
    QCOMPARE(size, expectedSize);
}

static void addBlockColumns()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("firstPage");
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<int>("firstKey");
    QTest::addColumn<int>("lastKey");
    QTest::addColumn<QString>("look");
}

// Compares every key of the current row's block; a mismatch names the key.
static void checkBlock(Model_QuorParam &m)
{
    QFETCH(int, table);
    QFETCH(int, firstPage);
    QFETCH(int, lastPage);
    QFETCH(int, firstKey);
    QFETCH(int, lastKey);
    QFETCH(QString, look);
    for (int p = firstPage; p <= lastPage; ++p) {
        for (int k = firstKey; k <= lastKey; ++k) {
            const QString at = QStringLiteral("[%1][%2] ").arg(p).arg(k);
            QCOMPARE(at + describe(keyOf(m, table, p, k)), at + look);
        }
    }
}

void Model_QuorParamTest::defaults_data()
{
    addBlockColumns();
    QTest::newRow("preset page 0") << int(Preset) << 0 << 0 << 0 << 15 << label("PST", 3);
    QTest::newRow("preset pages 1-4") << int(Preset) << 1 << 4 << 0 << 15 << s_recordDefault;
    for (int k = 0; k < 16; ++k) {
        QTest::addRow("shortcut page 0 key %d", k)
            << int(Shortcut) << 0 << 0 << k << k
            << QString::asprintf("0 0 6 2 %d 0/0/0 [SCT][TONE][]", s_shortcutIcons[k]);
    }
    QTest::newRow("shortcut pages 1-4") << int(Shortcut) << 1 << 4 << 0 << 15 << s_recordDefault;
    QTest::newRow("layer pages 0-9") << int(Layer) << 0 << 9 << 0 << 15 << label("LAY", 3);
    QTest::newRow("output pages 0-2") << int(Output) << 0 << 2 << 0 << 15 << label("OUT", 3);
    QTest::newRow("output pages 3-4") << int(Output) << 3 << 4 << 0 << 15 << s_recordDefault;
    QTest::newRow("input pages 0-3") << int(Input) << 0 << 3 << 0 << 15 << label("IN", 4);
    QTest::newRow("input page 4") << int(Input) << 4 << 4 << 0 << 15 << s_recordDefault;
    QTest::newRow("common set 0 keys 0-57") << int(Common) << 0 << 0 << 0 << 57 << label("COM", 3);
    QTest::newRow("alpha key") << int(Common) << 0 << 0 << 58 << 58 << label("ALPH", 4, "50", 2);
    for (auto [key, icon] : {std::pair(59, 12), std::pair(60, 14), std::pair(61, 12)}) {
        QTest::addRow("icon key %d", key)
            << int(Common) << 0 << 0 << key << key
            << QString::asprintf("0 0 6 2 %d 3/4/0 [COM][TONE][]", icon);
    }
    QTest::newRow("common set 0 keys 62-99")
        << int(Common) << 0 << 0 << 62 << 99 << label("COM", 3);
    const char *pageLabels[] = {"PST", "SCT", "LAY", "IN", "OUT"};
    for (int set = 1; set <= 5; ++set) {
        QTest::addRow("page key %d", set)
            << int(Common) << set << set << 0 << 0 << label("PG 1", 4, pageLabels[set - 1]);
    }
    QTest::newRow("common sets 1-5 keys 1-99")
        << int(Common) << 1 << 5 << 1 << 99 << label("COM", 3);
}

void Model_QuorParamTest::defaults()
{
    auto m = std::make_unique<Model_QuorParam>();
    QCOMPARE(m->m_interval, 3000);
    QCOMPARE(m->m_value1, -1);
    QCOMPARE(int(m->m_flag1), 0);
    QCOMPARE(m->m_value2, 0);
    QVERIFY(m->m_map.isEmpty());
    QCOMPARE(m->m_word1, 0u);
    QCOMPARE(m->m_word2, 0u);
    checkBlock(*m);
}

void Model_QuorParamTest::rewriteDefaults()
{
    auto m = std::make_unique<Model_QuorParam>();
    Model_QuorParam::gOledLength = 31;
    _OledKey_Param *keys[]
        = {&m->m_presetKeys[0][5], &m->m_presetKeys[2][5],  &m->m_shortcutKeys[0][5],
           &m->m_commonKeys[3][0], &m->m_commonKeys[0][58], &m->m_commonKeys[0][60]};
    for (_OledKey_Param *key : keys)
        fillTexts(*key, 'x');
    m->initKeyBoradData();
    QCOMPARE(describe(*keys[0]), label("PST", 3));
    QCOMPARE(describe(*keys[1]),
             QStringLiteral("0 0 7 1 0 0/0/0 [%1][%1][%1]").arg(QString(31, 'x')));
    QCOMPARE(describe(*keys[2]), QStringLiteral("0 0 6 2 26 0/0/0 [SCT][TONE][]"));
    QCOMPARE(describe(*keys[3]), label("PG 1", 4, "LAY"));
    QCOMPARE(describe(*keys[4]), label("ALPH", 4, "50", 2));
    QCOMPARE(describe(*keys[5]), QStringLiteral("0 0 6 2 14 3/4/0 [COM][TONE][]"));
}

void Model_QuorParamTest::shortcuts_data()
{
    QTest::addColumn<int>("oledLength");
    for (int length : {30, 3, 2, 0, 31})
        QTest::addRow("gOledLength %d", length) << length;
}

void Model_QuorParamTest::shortcuts()
{
    QFETCH(int, oledLength);
    auto m = std::make_unique<Model_QuorParam>();
    for (auto &page : m->m_shortcutKeys) {
        for (_OledKey_Param &key : page) {
            key = {1, 2, 3, 1, 4, 9, 9, 9};
            fillTexts(key, 'x');
        }
    }
    Model_QuorParam::gOledLength = oledLength;
    const QByteArray none = overwritten("", oledLength);
    // Grid labels first, then back to the default look over them.
    for (bool grid : {true, false}) {
        m->initShortcuts(grid);
        for (int p = 0; p < 5; ++p) {
            for (int k = 0; k < 16; ++k) {
                const QByteArray position
                    = QByteArray::number(k / 4 + 1) + 'X' + QByteArray::number(k % 4 + 1);
                const QByteArray first = grid ? none : overwritten("SCT", oledLength);
                const QByteArray second = grid ? overwritten(position.left(oledLength), oledLength)
                                               : overwritten("TONE", oledLength);
                const int icon = p == 4 ? s_lastPageIcons[k] : s_shortcutIcons[k];
                const QString head
                    = grid ? QStringLiteral("1 2 3 5 4") : QStringLiteral("0 0 6 2 %1").arg(icon);
                const QString at = QStringLiteral("[%1][%2] ").arg(p).arg(k);
                QCOMPARE(at + describe(m->m_shortcutKeys[p][k]),
                         at + head
                             + QString::asprintf(" 9/9/9 [%s][%s][%s]", first.constData(),
                                                 second.constData(), none.constData()));
            }
        }
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(describe(m->m_commonKeys[0][67 + i]),
                     QString::asprintf("0 0 6 2 %d 3/4/0 [COM][TONE][]", s_shortcutIcons[i]));
        }
    }
}

void Model_QuorParamTest::testPattern_data()
{
    addBlockColumns();
    QTest::addColumn<int>("oledLength");
    // gOledLength 0 clears nothing: a shorter text must still end in a zero byte.
    for (int length : {30, 0}) {
        const auto row
            = [length](const char *name, int table, int page, int key, const QString &look) {
                  QTest::addRow("%s, gOledLength %d", name, length)
                      << table << page << page << key << key << look << length;
              };
        row("P 0/0", Preset, 0, 0, label("P   1", 6, "P   17", 6));
        row("S 1/0", Shortcut, 1, 0, label("S   17", 6, "S   33", 6));
        row("L 4/15", Layer, 4, 15, label("L   80", 6, "L   96", 6));
        row("O 4/15", Output, 4, 15, label("O  80", 5, "O  96", 5));
        row("I 0/9", Input, 0, 9, label("I   10", 6, "I   26", 6));
        row("C 0/0", Common, 0, 0, label("C 0", 4, "C 0", 4));
        row("C 0/5", Common, 0, 5, label("C 5", 4, "C 5", 4));
        row("C 1/23", Common, 1, 23, label("C 12", 4, "C 12", 4));
        row("C 5/99", Common, 5, 99, label("C 59", 4, "C 59", 4));
        row("page key 3", Common, 3, 0, label("U 4", 4, "U 14", 4));
        row("page key 5", Common, 5, 0, label("U 3", 4, "U 13", 4));
        row("fixed 58", Common, 0, 58, label("U 7", 4, "U 17", 4));
        row("fixed 60", Common, 0, 60, label("U 8", 4, "U 18", 4));
        row("fixed 66", Common, 0, 66, label("U 16", 4, "U 16", 4));
        QTest::addRow("layer pages 5-9 untouched, gOledLength %d", length)
            << int(Layer) << 5 << 9 << 0 << 15 << label("LAY", 3) << length;
    }
}

void Model_QuorParamTest::testPattern()
{
    QFETCH(int, oledLength);
    auto m = std::make_unique<Model_QuorParam>();
    Model_QuorParam::gOledLength = oledLength;
    m->initOLEDTest();
    checkBlock(*m);
}

// The key records as bytes, from the first preset key to the last common key.
static QByteArray keyBytes(const Model_QuorParam &m)
{
    const char *begin = reinterpret_cast<const char *>(&m.m_presetKeys);
    return QByteArray(begin, int(reinterpret_cast<const char *>(&m.m_commonKeys + 1) - begin));
}

static QByteArray headerBytes(const Model_QuorParam &m)
{
    const QByteArray keys = keyBytes(m);
    QByteArray headers;
    for (int i = 0; i < keys.size(); i += int(sizeof(_OledKey_Param)))
        headers += keys.mid(i, 8);
    return headers;
}

void Model_QuorParamTest::iconTest()
{
    auto m = std::make_unique<Model_QuorParam>();
    m->initOLEDTest();
    const QByteArray before = keyBytes(*m);
    m->initOLEDIconTest();
    const QByteArray after = keyBytes(*m);
    constexpr int size = int(sizeof(_OledKey_Param));
    for (int r = 0; r < before.size() / size; ++r) {
        QByteArray expected = before.mid(r * size, size);
        if (r < 240 || r >= 320) // all but layer pages 5 to 9: color, mode, bright, show mode, icon
            expected.replace(0, 5, QByteArray("\0\0\x06\x02\x25", 5));
        QCOMPARE(after.mid(r * size, size), expected);
    }
}

void Model_QuorParamTest::dumpMessages_data()
{
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<int>("keyGroup");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("tables");
    QTest::newRow("1 page, preset") << 1 << 1 << 1 << "P";
    QTest::newRow("0 pages, shortcut") << 0 << 2 << 1 << "S";
    QTest::newRow("-3 pages, shortcut") << -3 << 2 << 1 << "S";
    QTest::newRow("3 pages, layer") << 3 << 3 << 3 << "L";
    QTest::newRow("INT_MIN pages, output") << INT_MIN << 5 << 1 << "O";
    QTest::newRow("5 pages, input") << 5 << 6 << 5 << "I";
    QTest::newRow("9 pages, all") << 9 << 0 << 5 << "PSLOI";
    QTest::newRow("INT_MAX pages, all") << INT_MAX << 0 << 5 << "PSLOI";
    QTest::newRow("selector 4") << 5 << 4 << 5 << "";
    QTest::newRow("selector -1") << 5 << -1 << 5 << "";
}

void Model_QuorParamTest::dumpMessages()
{
    QFETCH(int, pageCount);
    QFETCH(int, keyGroup);
    QFETCH(int, pages);
    QFETCH(QString, tables);
    auto m = std::make_unique<Model_QuorParam>();
    QStringList expected{QStringLiteral("\"page ")};
    for (int p = 0; p < pages; ++p) {
        for (int k = 0; k < 16; ++k) {
            for (QChar table : tables)
                expected << QStringLiteral("\"%1Key-[%2] -- [%3] ").arg(table).arg(p).arg(k);
        }
    }
    for (int k = 0; k < 16 + 5; ++k)
        expected << QStringLiteral("\"[0] -- [%1] ").arg(k < 16 ? k : k - 15);

    const QStringList messages = dump(*m, pageCount, keyGroup);
    QCOMPARE(messages.size(), expected.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY2(messages[i].startsWith(expected[i]), qPrintable(messages[i]));
}

void Model_QuorParamTest::dumpText()
{
    auto m = std::make_unique<Model_QuorParam>();
    m->m_presetKeys[0][1].firstString[0] = 200;
    const auto address = [](const void *p) { return "0x" + QString::number(quintptr(p), 16); };
    const auto addresses = [&address](const QString &format, const _OledKey_Param &k) {
        return format.arg(address(k.firstString), address(k.secondString), address(k.thirdString));
    };
    const std::pair<int, QString> lines[] = {
        {0,
         "\"page     index       bright         color     mode      oLedShowMode        icon      "
         "  firstString[len]      secondString[len]     thirdString[len]\""},
        {1,
         "\"PKey-[0] -- [0] -- [6] -- [0] -- [0] -- [1] -- [10] \" -- [ 80 ][ 3 ]  -- [ 84 ][ 4 ] "
         " -- [ 0 ][ 0 ] "},
        {3,
         "\"LKey-[0] -- [0] -- [6] -- [0] -- [0] -- [1] -- [10]  \" -- [ 76 ][ 3 ]  -- [ 84 ][ 4 ] "
         " -- [ 0 ][ 0 ] "},
        {6,
         "\"PKey-[0] -- [1] -- [6] -- [0] -- [0] -- [1] -- [10] \" -- [ 200 ][ 3 ]  -- [ 84 ][ 4 ] "
         " -- [ 0 ][ 0 ] "},
        {81,
         addresses(
             "\"[0] -- [0] -- [6] -- [0] -- [0] -- [1] -- [10] \" -- [ %1 ][ 3 ]  -- [ %2 ][ 4 ] "
             " -- [ %3 ][ 0 ] ",
             m->m_commonKeys[0][0])},
        {99,
         addresses(
             "\"[0] -- [3] -- [6] -- [0] -- [0] -- [1] -- [10] \" -- [ %1 ][ 4 ]  -- [ %2 ][ 4 ] "
             " -- [ %3 ][ 0 ] ",
             m->m_commonKeys[3][0])},
    };
    const QStringList messages = dump(*m, 1, 0);
    QCOMPARE(messages.size(), 102);
    for (const auto &[index, line] : lines)
        QCOMPARE(messages[index], line);
}

void Model_QuorParamTest::oledLengthHeldToField_data()
{
    QTest::addColumn<int>("oledLength");
    QTest::addColumn<int>("sameAs");
    for (int length : {-5, INT_MIN, 0})
        QTest::addRow("%d", length) << length << 0;
    for (int length : {31, 32, 1000, INT_MAX})
        QTest::addRow("%d", length) << length << 31;
}

void Model_QuorParamTest::oledLengthHeldToField()
{
    QFETCH(int, oledLength);
    QFETCH(int, sameAs);
    // The model under test, one at the length it must behave like, one at the default length
    // whose key headers no text operation may change.
    const int lengths[] = {oledLength, sameAs, 30};
    std::unique_ptr<Model_QuorParam> models[3];
    using Step = void (*)(Model_QuorParam &);
    const Step steps[] = {
        [](Model_QuorParam &) {},
        [](Model_QuorParam &m) { m.initShortcuts(true); },
        [](Model_QuorParam &m) { m.initShortcuts(false); },
        [](Model_QuorParam &m) { m.initOLEDTest(); },
        [](Model_QuorParam &m) { m.initOLEDIconTest(); },
        [](Model_QuorParam &m) { m.initKeyBoradData(); },
    };
    for (int i = 0; i < 3; ++i) {
        Model_QuorParam::gOledLength = lengths[i];
        models[i] = std::make_unique<Model_QuorParam>();
    }
    models[0]->m_word2 = 0xdeadbeef;
    models[0]->m_map.insert(1, 2);
    for (Step step : steps) {
        for (int i = 0; i < 3; ++i) {
            Model_QuorParam::gOledLength = lengths[i];
            step(*models[i]);
        }
        QVERIFY(keyBytes(*models[0]) == keyBytes(*models[1]));
        QVERIFY(headerBytes(*models[0]) == headerBytes(*models[2]));
        if (oledLength < 31) {
            // Nothing writes the last byte of a text field, so every text ends in a zero byte.
            const QByteArray keys = keyBytes(*models[0]);
            for (int key = 0; key < keys.size(); key += int(sizeof(_OledKey_Param))) {
                for (int field = 0; field < 3; ++field)
                    QCOMPARE(keys.at(key + 8 + 31 * field + 30), '\0');
            }
        }
    }
    QCOMPARE(models[0]->m_word2, 0xdeadbeefu);
    QCOMPARE(models[0]->m_map, (QMap<int, int>{{1, 2}}));
}

void Model_QuorParamTest::shortcutOutOfRange()
{
    auto m = std::make_unique<Model_QuorParam>();
    const QByteArray before(reinterpret_cast<const char *>(m.get()), sizeof *m);
    const std::pair<int, int> outside[] = {{-1, 0}, {5, 0},       {0, -1},      {0, 16},
                                           {4, 16}, {INT_MIN, 0}, {0, INT_MAX}, {INT_MAX, INT_MAX}};
    for (const auto &[page, index] : outside) {
        m->resetShortcutOled(page, index);
        QVERIFY2(QByteArray(reinterpret_cast<const char *>(m.get()), sizeof *m) == before,
                 qPrintable(QStringLiteral("page %1, index %2").arg(page).arg(index)));
    }
}

QTEST_GUILESS_MAIN(Model_QuorParamTest)
#include "model_quorparamtest.moc"
