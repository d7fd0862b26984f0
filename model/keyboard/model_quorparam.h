#ifndef MODEL_KEYBOARD_MODEL_QUORPARAM_H
#define MODEL_KEYBOARD_MODEL_QUORPARAM_H

#include <model/model_export.h>

#include <QtCore/QMap>
#include <QtCore/QtGlobal>

/// One OLED key of a control keyboard, as the client sends it to the keyboard. Bytes only, so the
/// record has no gaps (101 bytes); the field order is the order the client reads them in. A
/// default-constructed key is blank: brightness 7, display mode 1, no text.
struct _OledKey_Param
{
    quint8 color = 0;        ///< Colour number; the model only ever writes 0.
    quint8 mode = 0;         ///< Key mode; the model only ever writes 0.
    quint8 bright = 7;       ///< Brightness; the model's labels and test patterns use 6.
    quint8 oLedShowMode = 1; ///< 1 text labels, 2 icons, 5 grid labels of the shortcut keys.
    quint8 icon = 0;         ///< Icon number; the text labels use 10.
    /// Length byte of firstString as the keyboard expects it; set by each operation, never
    /// computed from the text ("IN" goes out with length 4).
    quint8 firstStringLen = 0;
    quint8 secondStringLen = 0; ///< Length byte of secondString, set the same way.
    quint8 thirdStringLen = 0;  ///< Length byte of thirdString, set the same way.
    /// First text line: 8-bit text, zero-padded. The model writes at most the first
    /// Model_QuorParam::gOledLength bytes of each line, so with the default of 30 every text is
    /// followed by at least one zero byte.
    quint8 firstString[31] = {};
    quint8 secondString[31] = {}; ///< Second text line, written the same way.
    quint8 thirdString[31] = {};  ///< Third text line, written the same way.
};

/// The OLED keys of one control keyboard, in six key tables indexed by page (or set) and key.
///
/// The client creates one object per keyboard, reads and writes the key records directly (all
/// indices from 0: `m_presetKeys[page][key]`, `m_commonKeys[set][key]`) and sends them to the
/// keyboard itself. The operations write default labels, shortcut looks and test patterns into the
/// records, and printAllData() dumps them for diagnosis.
///
/// Binary layout: the client reads members at fixed offsets, so the members below keep their order
/// and types. The class has its natural layout (not packed); the key tables are bytes only. Every
/// member is held by value; the object owns nothing else, and a copy is independent.
///
/// Construction writes the default labels; the operations below run only when the client calls
/// them. Members m_word1 to m_word2 and m_map belong to the client: no operation touches them
/// after construction.
class MODEL_EXPORT Model_QuorParam
{
public:
    /// Gives every key the record defaults, then writes the default labels of initKeyBoradData().
    Model_QuorParam();
    /// Releases m_map; the key tables are part of the object.
    ~Model_QuorParam();
    Model_QuorParam(const Model_QuorParam &) = default;            ///< Member-wise copy.
    Model_QuorParam &operator=(const Model_QuorParam &) = default; ///< Member-wise copy.

    /// Writes the default labels of preset page 0, shortcut page 0, output pages 0 to 2, every
    /// layer page, input pages 0 to 3 and every common key, including the page keys and the fixed
    /// keys of common set 0. Records outside those keep what they hold, so calling it again
    /// restores the defaults of exactly these keys. Most labels show their table's name ("PST",
    /// "LAY", "OUT", "IN", "COM") over "TONE".
    void initKeyBoradData();

    /// Restores the default look of m_shortcutKeys[page][index]: "SCT" over "TONE" in display mode
    /// 2 with the icon of its position. The length bytes keep their values. A page outside 0 to 4
    /// or an index outside 0 to 15 changes nothing.
    void resetShortcutOled(int page, int index);
    /// Gives all 80 shortcut keys their default look (gridLabels false) or their grid labels
    /// (true). A grid label is the key's position in a 4 x 4 grid, "1X1" to "4X4", in the second
    /// line, shown in display mode 5; the key keeps its icon. With grid labels, keys 67 to 78 of
    /// common set 0 get the shortcut icons.
    void initShortcuts(bool gridLabels);

    /// Writes the text test pattern, for checking a connected keyboard: every key shows its table
    /// letter and a running number in its first two lines (1 over 17 on the first preset key).
    /// Layer pages 5 to 9 are not touched.
    void initOLEDTest();
    /// Writes the icon test pattern: every key shows test icon 37 in display mode 2 and keeps its
    /// texts. Layer pages 5 to 9 are not touched.
    void initOLEDIconTest();
    /// Writes the header and one line per key to the debug log: pageCount pages (held to 1 to 5)
    /// of the tables keyGroup selects (0 all, 1 preset, 2 shortcut, 3 layer, 5 output, 6 input,
    /// anything else none), then the first 16 common keys and the five page keys. The messages go
    /// through Qt's message log at debug level, as qDebug() sends them: category "default",
    /// without file, line or function.
    void printAllData(int pageCount, int keyGroup);

    /// Number of bytes, 30 by default, that every operation clears at the start of a text field
    /// before it writes a label, and the most bytes of a grid label it writes. Process-wide: the
    /// client may change it, but not while an operation runs. The model holds it to the 31 bytes
    /// of a text field.
    static int gOledLength;

    /// A word of the client's, 0 from construction on.
    quint32 m_word1 = 0;
    /// An interval of the client's, 3000 from construction on.
    int m_interval = 3000;
    ///@{
    /// A value of the client's, from construction on at the default of its initialiser.
    int m_value1 = -1;
    quint8 m_flag1 = 0;
    int m_value2 = 0;
    ///@}
    /// A word of the client's, 0 from construction on.
    quint32 m_word2 = 0;
    _OledKey_Param m_presetKeys[5][16];   ///< 5 pages of 16; page 0 labelled "PST".
    _OledKey_Param m_shortcutKeys[5][16]; ///< 5 pages of 16; page 0 labelled "SCT".
    _OledKey_Param m_layerKeys[10][16];   ///< 10 pages of 16, labelled "LAY".
    _OledKey_Param m_outputKeys[5][16];   ///< 5 pages of 16; pages 0 to 2 labelled "OUT".
    _OledKey_Param m_inputKeys[5][16];    ///< 5 pages of 16; pages 0 to 3 labelled "IN".
    /// Six sets of 100, labelled "COM". Key 0 of sets 1 to 5 is a page key; keys 58 to 61 and 67
    /// to 78 of set 0 have fixed roles.
    _OledKey_Param m_commonKeys[6][100];
    QMap<int, int> m_map; ///< The client's own; starts empty.
};

#endif // MODEL_KEYBOARD_MODEL_QUORPARAM_H
