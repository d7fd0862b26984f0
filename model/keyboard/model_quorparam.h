#ifndef MODEL_KEYBOARD_MODEL_QUORPARAM_H
#define MODEL_KEYBOARD_MODEL_QUORPARAM_H

#include <model/model_export.h>

#include <QtCore/QMap>
#include <QtCore/QtGlobal>

// One OLED key of a control keyboard, as the client sends it to the keyboard. Bytes only, so the
// record has no gaps (101 bytes); the field order is the order the client reads them in.
struct _OledKey_Param
{
    quint8 color = 0;
    quint8 mode = 0;
    quint8 bright = 7;
    quint8 oLedShowMode = 1; // 1 text labels, 2 icons, 5 grid labels of the shortcut keys
    quint8 icon = 0;
    // Length bytes as the keyboard expects them; set by each operation, never computed from the
    // text ("IN" goes out with length 4).
    quint8 firstStringLen = 0;
    quint8 secondStringLen = 0;
    quint8 thirdStringLen = 0;
    // 8-bit text lines, zero-padded. The model writes at most the first gOledLength bytes of each,
    // so with the default of 30 every text is followed by at least one zero byte.
    quint8 firstString[31] = {};
    quint8 secondString[31] = {};
    quint8 thirdString[31] = {};
};

// The OLED keys of one control keyboard, in six key tables indexed by page (or set) and key.
//
// Binary layout: the client reads members at fixed offsets, so the members below keep their order
// and types. The class has its natural layout (not packed); the key tables are bytes only. Every
// member is held by value; the object owns nothing else.
//
// Construction writes the default labels. The client reads and writes the records directly and
// calls the operations below on demand. Members m_word1 to m_word2 and m_map belong to the client:
// no operation touches them after construction.
class MODEL_EXPORT Model_QuorParam
{
public:
    // Record defaults everywhere, then the default labels of initKeyBoradData().
    Model_QuorParam();
    ~Model_QuorParam();
    Model_QuorParam(const Model_QuorParam &) = default;
    Model_QuorParam &operator=(const Model_QuorParam &) = default;

    // Writes the default labels of preset page 0, shortcut page 0, output pages 0 to 2, every layer
    // page, input pages 0 to 3 and every common key, including the page keys and the fixed keys of
    // common set 0. Records outside those keep what they hold.
    void initKeyBoradData();

    // Restores the default look of m_shortcutKeys[page][index]: "SCT" over "TONE" with the icon of
    // its position. A page outside 0 to 4 or an index outside 0 to 15 changes nothing.
    void resetShortcutOled(int page, int index);
    // false: restores all 80 shortcut keys. true: shows the grid position ("1X1" to "4X4") on all
    // 80 and puts the shortcut icons on keys 67 to 78 of common set 0.
    void initShortcuts(bool gridLabels);

    // Test patterns: every key shows its table letter and a running number.
    void initOLEDTest();
    // Test patterns: every key shows test icon 37; texts are kept.
    void initOLEDIconTest();
    // Writes the header and one line per key to the debug log: pageCount pages (held to 1 to 5)
    // of the tables keyGroup selects (0 all, 1 preset, 2 shortcut, 3 layer, 5 output, 6 input,
    // anything else none), then the first 16 common keys and the five page keys.
    void printAllData(int pageCount, int keyGroup);

    // Number of bytes every operation clears at the start of a text field before it writes a
    // label, and the most bytes of a grid label it writes. The client may change it; the model
    // holds it to the 31 bytes of a text field.
    static int gOledLength;

    quint32 m_word1 = 0;
    int m_interval = 3000;
    int m_value1 = -1;
    quint8 m_flag1 = 0;
    int m_value2 = 0;
    quint32 m_word2 = 0;
    _OledKey_Param m_presetKeys[5][16];
    _OledKey_Param m_shortcutKeys[5][16];
    _OledKey_Param m_layerKeys[10][16];
    _OledKey_Param m_outputKeys[5][16];
    _OledKey_Param m_inputKeys[5][16];
    // Six sets of 100. Key 0 of sets 1 to 5 is a page key; keys 58 to 61 and 67 to 78 of set 0
    // have fixed roles.
    _OledKey_Param m_commonKeys[6][100];
    QMap<int, int> m_map;
};

#endif // MODEL_KEYBOARD_MODEL_QUORPARAM_H
