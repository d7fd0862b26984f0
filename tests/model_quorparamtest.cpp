#include <model/keyboard/model_quorparam.h>

#include "logcapture.h"

#include <QtTest/QtTest>

#include <climits>
#include <cstring>
#include <memory>

// clang-format off
// Shortcut icons by key index, on pages 0 to 3 and on page 4.
static const int s_icons[2][16] = {
    {21, 22, 23, 24, 25, 26, 27, 28, 29, 38, 30, 31, 35, 33, 39, 40},
    {48, 49, 55, 51, 56, 52, 53, 57, 58, 60, 50, 61, 54, 59, 62, 36}};
// clang-format on

static _OledKey_Param &keyOf(Model_QuorParam &m, char table, int page, int index)
{
    _OledKey_Param(*const tables[])[16]
        = {m.m_presetKeys, m.m_shortcutKeys, m.m_layerKeys, m.m_outputKeys, m.m_inputKeys};
    return table == 'C' ? m.m_commonKeys[page][index]
                        : tables[QByteArray("PSLOI").indexOf(table)][page][index];
}

// "color mode bright oLedShowMode icon lengths [first][second][third]", the text fields whole.
static QString describe(const _OledKey_Param &k)
{
    QString line
        = QString::asprintf("%d %d %d %d %d %d/%d/%d ", k.color, k.mode, k.bright, k.oLedShowMode,
                            k.icon, k.firstStringLen, k.secondStringLen, k.thirdStringLen);
    for (const quint8 *f : {k.firstString, k.secondString, k.thirdString})
        line += '[' + QByteArray(reinterpret_cast<const char *>(f), 31).replace('\0', '.') + ']';
    // Zero bytes are shown as '.', except those that end a text field.
    return line.replace(QRegularExpression(QStringLiteral("\\.+]")), QStringLiteral("]"));
}

class Model_QuorParamTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=true")); }

    // Message counts by page count and selector, on a new object. The documented first preset
    // line, a layer line (two trailing spaces) and the last page key line are checked in full.
    void dump()
    {
        const auto m = std::make_unique<Model_QuorParam>();
        // The texts of the messages; the contexts of all of them are checked at the end.
        QSet<QString> contexts;
        const auto dumped = [&m, &contexts](int pageCount, int keyGroup) {
            const LogCapture log;
            m->printAllData(pageCount, keyGroup);
            for (const QString &context : log.contexts())
                contexts.insert(context);
            return log.texts();
        };
        QVector<int> counts;
        for (auto [pageCount, keyGroup] :
             {std::pair(1, 1), {9, 0}, {3, 3}, {0, 2}, {INT_MIN, 5}, {INT_MAX, 6}, {5, 4}, {5, 7}})
            counts << dumped(pageCount, keyGroup).size();
        QCOMPARE(counts, (QVector<int>{38, 422, 70, 38, 38, 102, 22, 22}));
        // The header and the documented first line of a new object, one message a line.
        QCOMPARE(
            dumped(1, 1).mid(0, 2).join('\n'),
            R"("page     index       bright         color     mode      oLedShowMode        icon        firstString[len]      secondString[len]     thirdString[len]"
"PKey-[0] -- [0] -- [6] -- [0] -- [0] -- [1] -- [10] " -- [ 80 ][ 3 ]  -- [ 84 ][ 4 ]  -- [ 0 ][ 0 ] )");
        const _OledKey_Param &k = m->m_commonKeys[5][0];
        QCOMPARE(
            dumped(1, 1).last(),
            QString::asprintf(
                R"("[0] -- [5] -- [6] -- [0] -- [0] -- [1] -- [10] " -- [ %p ][ 4 ]  -- [ %p ][ 4 ]  -- [ %p ][ 0 ] )",
                k.firstString, k.secondString, k.thirdString));
        QCOMPARE(
            dumped(3, 3).at(1),
            R"("LKey-[0] -- [0] -- [6] -- [0] -- [0] -- [1] -- [10]  " -- [ 76 ][ 3 ]  -- [ 84 ][ 4 ]  -- [ 0 ][ 0 ] )");
        // Every message at debug level in the category "default", without file, line or function.
        QCOMPARE(contexts.values(), QStringList{LogCapture::libraryContext(QtDebugMsg)});
    }

    void keys_data()
    {
        QTest::addColumn<int>("oledLength");
        // 0 clears nothing: a text shorter than the one before must still end in a zero byte.
        // Outside 0 to 31 the nearest end holds, and nothing is written outside a text field.
        for (int oledLength : {30, 0, 2, INT_MIN, INT_MAX, 32})
            QTest::addRow("%d", oledLength) << oledLength;
    }

    // At one gOledLength, on a new object: the test patterns, then the shortcuts.
    void keys()
    {
        QFETCH(int, oledLength);
        const QScopedValueRollback<int> rollback(Model_QuorParam::gOledLength, oledLength);
        auto m = std::make_unique<Model_QuorParam>();
        for (int step : {1, 2}) {
            step == 1 ? m->initOLEDTest() : m->initOLEDIconTest();
            // Representative keys as describe() shows them after initOLEDTest(), whose keys
            // initOLEDIconTest() then turns to icon 37, except on layer pages 5 to 9. The keys of
            // a new object are pinned by the fingerprint of its document in modelstatetest.
            // clang-format off
            for (const auto &[table, page, index, text] : { // table P S L O I, C the common keys
                     std::tuple('P', 0, 0, "0 0 6 1 10 6/6/0 [P   1][P   17][]"),
                     {'L', 5, 0, "0 0 6 1 10 3/4/0 [LAY][TONE][]"},
                     {'O', 4, 15, "0 0 6 1 10 5/5/0 [O  80][O  96][]"},
                     {'C', 1, 23, "0 0 6 1 10 4/4/0 [C 12][C 12][]"},
                     {'C', 3, 0, "0 0 6 1 10 4/4/0 [U 4][U 14][]"},
                     {'C', 0, 58, "0 0 6 1 10 4/4/0 [U 7][U 17][]"}}) {
                // clang-format on
                QString look = text;
                if (step == 2 && (table != 'L' || page < 5))
                    look = "0 0 6 2 37 " + look.section(' ', 5);
                QCOMPARE(describe(keyOf(*m, table, page, index)), look);
            }
        }

        // Grid labels, then the default look again, over shortcut keys full of 'x' (120): each
        // text field is cleared for gOledLength bytes, held to 0 to 31, and keeps the rest.
        std::memset(&m->m_shortcutKeys, 'x', sizeof m->m_shortcutKeys);
        const int cleared = qBound(0, oledLength, 31);
        // A field's bytes: text, zero bytes ('.') to the cleared length, then the 'x' bytes it
        // kept.
        const auto field = [cleared](const QByteArray &text) {
            const int x = 31 - qMax(cleared, int(text.size()));
            return x ? text + QByteArray(cleared - text.size(), '.') + QByteArray(x, 'x') : text;
        };
        for (bool grid : {true, false}) {
            m->initShortcuts(grid);
            for (int i = 0; i < 80; ++i) {
                const char label[] = {char('1' + i % 16 / 4), 'X', char('1' + i % 4), 0};
                const QString head = grid ? QStringLiteral("120 120 120 5 120")
                                          : "0 0 6 2 " + QString::number(s_icons[i >= 64][i % 16]);
                QCOMPARE(describe(m->m_shortcutKeys[i / 16][i % 16]),
                         (head + " 120/120/120 [" + field(grid ? "" : "SCT") + "]["
                          + field(grid ? QByteArray(label).left(cleared) : "TONE") + "]["
                          + field("") + ']'));
            }
        }
        for (int i = 0; i < 12; ++i)
            QCOMPARE(int(m->m_commonKeys[0][67 + i].icon), s_icons[0][i]);

        // A shortcut outside the table is the caller's error, and changes nothing.
        const QByteArray before(reinterpret_cast<const char *>(m.get()), sizeof *m);
        for (auto [page, index] : {std::pair(-1, 0), {5, 0}, {0, -1}, {0, 16}, {INT_MIN, INT_MAX}})
            m->resetShortcutOled(page, index);
        QVERIFY(QByteArray(reinterpret_cast<const char *>(m.get()), sizeof *m) == before);
    }
};

QTEST_GUILESS_MAIN(Model_QuorParamTest)
#include "model_quorparamtest.moc"
