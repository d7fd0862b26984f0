#include "model_quorparam.h"

#include <QtCore/QDebug>
#include <QtCore/QString>

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <type_traits>

int Model_QuorParam::gOledLength = 30;

namespace {

using TextField = decltype(_OledKey_Param::firstString);
using KeyPage = std::remove_extent_t<decltype(Model_QuorParam::m_presetKeys)>;

constexpr int TextFieldSize = int(std::extent_v<TextField>);
constexpr int PageCount = int(std::extent_v<decltype(Model_QuorParam::m_presetKeys)>);
constexpr int KeysPerPage = int(std::extent_v<KeyPage>);
constexpr int LayerPageCount = int(std::extent_v<decltype(Model_QuorParam::m_layerKeys)>);

constexpr quint8 TextShowMode = 1;
constexpr quint8 IconShowMode = 2;
constexpr quint8 GridShowMode = 5;
constexpr quint8 TextIcon = 10;
constexpr quint8 TestIcon = 37;
constexpr quint8 LabelBright = 6;

constexpr int AlphaKey = 58;        // common set 0: the alpha key
constexpr int ShortcutIconKey = 67; // common set 0: first of the keys that carry shortcut icons
constexpr int ShortcutIconKeyCount = 12;

// Icons of the shortcut keys by key index; the last page has icons of its own.
struct ShortcutIcon
{
    int index;
    quint8 icon;
    quint8 lastPageIcon;
};

// clang-format off
constexpr ShortcutIcon s_shortcutIcons[] = {
    // index  pages 0 to 3  page 4
    {  0,     21,           48 },
    {  1,     22,           49 },
    {  2,     23,           55 },
    {  3,     24,           51 },
    {  4,     25,           56 },
    {  5,     26,           52 },
    {  6,     27,           53 },
    {  7,     28,           57 },
    {  8,     29,           58 },
    {  9,     38,           60 },
    { 10,     30,           50 },
    { 11,     31,           61 },
    { 12,     35,           54 },
    { 13,     33,           59 },
    { 14,     39,           62 },
    { 15,     40,           36 },
};
// clang-format on

constexpr bool shortcutIconsAreByIndex()
{
    for (int i = 0; i < int(std::size(s_shortcutIcons)); ++i) {
        if (s_shortcutIcons[i].index != i)
            return false;
    }
    return int(std::size(s_shortcutIcons)) == KeysPerPage;
}
static_assert(shortcutIconsAreByIndex(), "one shortcut icon row per key index, in order");

// The five paged tables, in the order the test patterns and the dump walk them. The test format
// takes the running number and is cut to testWidth bytes; the dump format takes page, index,
// bright, color, mode, oLedShowMode and icon; keyGroup is the printAllData() selector of the table.
struct PagedTable
{
    const char *testFormat;
    int testWidth;
    const char *dumpFormat;
    int keyGroup;
};

// clang-format off
constexpr PagedTable s_pagedTables[] = {
    // test format  W  dump format                                                       keyGroup
    {"P   %1",      6, "PKey-[%1] -- [%2] -- [%3] -- [%4] -- [%5] -- [%6] -- [%7] ",     1},
    {"S   %1",      6, "SKey-[%1] -- [%2] -- [%3] -- [%4] -- [%5] -- [%6] -- [%7] ",     2},
    {"L   %1",      6, "LKey-[%1] -- [%2] -- [%3] -- [%4] -- [%5] -- [%6] -- [%7]  ",    3},
    {"O  %1",       5, "OKey-[%1] -- [%2] -- [%3] -- [%4] -- [%5] -- [%6] -- [%7]  ",    5},
    {"I   %1",      6, "IKey-[%1] -- [%2] -- [%3] -- [%4] -- [%5] -- [%6] -- [%7] ",     6},
};
// clang-format on

// Same order as s_pagedTables.
std::array<KeyPage *, std::size(s_pagedTables)> pagedTables(Model_QuorParam &model)
{
    return {model.m_presetKeys, model.m_shortcutKeys, model.m_layerKeys, model.m_outputKeys,
            model.m_inputKeys};
}

constexpr const char *CommonTestFormat = "C %1";
constexpr int CommonTestWidth = 4;
constexpr const char *PageKeyTestFormat = "U %1";
constexpr int PageKeyTestWidth = 4;
constexpr const char *CommonDumpFormat = "[%1] -- [%2] -- [%3] -- [%4] -- [%5] -- [%6] -- [%7] ";

// The page keys: key 0 of common sets 1 to 5. testNumber is the number of the first test line;
// the second shows it plus 10.
struct PageKey
{
    int set;
    const char *label;
    int testNumber;
};

// clang-format off
constexpr PageKey s_pageKeys[] = {
    // set  label  test number
    {  1,   "PST", 1 },
    {  2,   "SCT", 2 },
    {  3,   "LAY", 4 },
    {  4,   "IN",  5 },
    {  5,   "OUT", 3 },
};

// Keys of common set 0 that show icons instead of their text by default.
struct IconKey
{
    int key;
    quint8 icon;
};

constexpr IconKey s_iconKeys[] = {
    // key  icon
    {  59,  12 },
    {  60,  14 },
    {  61,  12 },
};

// Keys of common set 0 with test numbers of their own, in the page keys' format.
struct FixedTestKey
{
    int key;
    int firstNumber;
    int secondNumber;
};

constexpr FixedTestKey s_fixedTestKeys[] = {
    // key  first  second
    {  58,  7,     17 },
    {  59,  7,     17 },
    {  60,  8,     18 },
    {  61,  9,     19 },
    {  66,  16,    16 },
};
// clang-format on

// Clears the first gOledLength bytes of field, then writes at most width bytes of text at its
// start; a text shorter than width is followed by a zero byte even where the cleared part ends
// before it. Both counts are held to the field, so no value a client gives gOledLength can write
// outside the key. With gOledLength 30: ("C 5", 4) leaves "C 5" and 28 zero bytes, ("C 599", 4)
// leaves "C 59", ("1X1", 2) leaves "1X".
void writeText(TextField &field, std::string_view text, int width)
{
    std::fill_n(field, qBound(0, Model_QuorParam::gOledLength, TextFieldSize), quint8(0));
    const int limit = qBound(0, width, TextFieldSize);
    const int count = qMin(int(text.size()), limit);
    std::copy_n(text.data(), count, field);
    if (count < limit)
        field[count] = 0;
}

void writeText(TextField &field, std::string_view text)
{
    writeText(field, text, int(text.size()));
}

void clearText(TextField &field)
{
    writeText(field, std::string_view(), 0);
}

// An ASCII format with its placeholders %1 to %9 replaced by decimal numbers, built on the stack.
// The test patterns format 2,020 texts a call and the dump up to 422 lines; QString::arg() would
// build a new string for every number of every one of them. "O  %1" with 80 gives "O  80".
class FormattedText
{
public:
    static constexpr int Capacity = 160;

    FormattedText(const char *format, std::initializer_list<int> numbers)
    {
        for (const char *c = format; *c; ++c) {
            const int placeholder = placeholderAt(c);
            if (placeholder >= 0 && placeholder < int(numbers.size())) {
                appendNumber(numbers.begin()[placeholder]);
                ++c;
            } else {
                append(*c);
            }
        }
    }

    // The longest text that format can give: every placeholder taken by an int of 11 characters.
    static constexpr int longestText(const char *format)
    {
        int size = 0;
        for (const char *c = format; *c; ++c) {
            if (placeholderAt(c) >= 0) {
                size += 11;
                ++c;
            } else {
                ++size;
            }
        }
        return size;
    }

    std::string_view view() const { return std::string_view(m_text, std::size_t(m_size)); }
    QString toString() const { return QString::fromLatin1(m_text, m_size); }

private:
    // 0 for "%1" at c, up to 8 for "%9"; -1 for anything else.
    static constexpr int placeholderAt(const char *c)
    {
        return c[0] == '%' && c[1] >= '1' && c[1] <= '9' ? c[1] - '1' : -1;
    }

    void append(char c)
    {
        if (m_size < Capacity)
            m_text[m_size++] = c;
    }

    void appendNumber(int number)
    {
        char digits[16];
        const auto result = std::to_chars(std::begin(digits), std::end(digits), number);
        for (const char *d = digits; d != result.ptr; ++d)
            append(*d);
    }

    char m_text[Capacity];
    int m_size = 0;
};

constexpr bool formatsFit()
{
    for (const PagedTable &table : s_pagedTables) {
        if (FormattedText::longestText(table.dumpFormat) > FormattedText::Capacity
            || FormattedText::longestText(table.testFormat) > FormattedText::Capacity)
            return false;
    }
    for (const char *format : {CommonDumpFormat, CommonTestFormat, PageKeyTestFormat}) {
        if (FormattedText::longestText(format) > FormattedText::Capacity)
            return false;
    }
    return true;
}
static_assert(formatsFit(), "every dump line and test text fits a FormattedText");

void writeTestText(TextField &field, const char *format, int number, int width)
{
    writeText(field, FormattedText(format, {number}).view(), width);
}

void setLook(_OledKey_Param &key, quint8 showMode, quint8 icon)
{
    key.color = 0;
    key.mode = 0;
    key.bright = LabelBright;
    key.oLedShowMode = showMode;
    key.icon = icon;
}

void setLengths(_OledKey_Param &key, quint8 first, quint8 second, quint8 third)
{
    key.firstStringLen = first;
    key.secondStringLen = second;
    key.thirdStringLen = third;
}

// The default look of most keys: label over "TONE".
void writeStandardLabel(_OledKey_Param &key, std::string_view label, quint8 firstLength)
{
    setLook(key, TextShowMode, TextIcon);
    writeText(key.firstString, label);
    writeText(key.secondString, "TONE");
    clearText(key.thirdString);
    setLengths(key, firstLength, 4, 0);
}

void writeStandardLabels(KeyPage *pages, int pageCount, std::string_view label, quint8 firstLength)
{
    for (int page = 0; page < pageCount; ++page) {
        for (_OledKey_Param &key : pages[page])
            writeStandardLabel(key, label, firstLength);
    }
}

void writeTestPattern(_OledKey_Param &key, const char *format, int first, int second, int width)
{
    setLook(key, TextShowMode, TextIcon);
    writeTestText(key.firstString, format, first, width);
    writeTestText(key.secondString, format, second, width);
    clearText(key.thirdString);
    setLengths(key, quint8(width), quint8(width), 0);
}

QString keyLine(const char *format, int page, int index, const _OledKey_Param &key)
{
    return FormattedText(format,
                         {page, index, key.bright, key.color, key.mode, key.oLedShowMode, key.icon})
        .toString();
}

// The dump goes to the debug log as qDebug() sends it in a build without message context:
// category "default", no file, line or function. A default-constructed logger would hand the
// message handler a null category.
QDebug debugLog()
{
    return QMessageLogger(nullptr, 0, nullptr).debug();
}

// One dump message. showField gives what the line shows of each text field: its first byte, or,
// for the common keys, its address.
template<typename ShowField>
void dumpKey(const char *format, int page, int index, const _OledKey_Param &key,
             ShowField showField)
{
    QDebug line = debugLog();
    line << keyLine(format, page, index, key);
    line << "-- [" << showField(key.firstString) << "][" << int(key.firstStringLen) << "] ";
    line << "-- [" << showField(key.secondString) << "][" << int(key.secondStringLen) << "] ";
    line << "-- [" << showField(key.thirdString) << "][" << int(key.thirdStringLen) << "] ";
}

int firstByte(const TextField &field)
{
    return field[0];
}

const void *address(const TextField &field)
{
    return field;
}

} // namespace

Model_QuorParam::Model_QuorParam()
{
    initKeyBoradData();
}

Model_QuorParam::~Model_QuorParam() = default;

void Model_QuorParam::initKeyBoradData()
{
    writeStandardLabels(m_presetKeys, 1, "PST", 3);
    for (int index = 0; index < KeysPerPage; ++index)
        resetShortcutOled(0, index);
    writeStandardLabels(m_outputKeys, 3, "OUT", 3);
    writeStandardLabels(m_layerKeys, LayerPageCount, "LAY", 3);
    // 4, not 2: a length byte is a value of its own, not the length of the label.
    writeStandardLabels(m_inputKeys, 4, "IN", 4);
    for (auto &set : m_commonKeys) {
        for (_OledKey_Param &key : set)
            writeStandardLabel(key, "COM", 3);
    }

    for (const PageKey &row : s_pageKeys) {
        _OledKey_Param &key = m_commonKeys[row.set][0];
        writeText(key.firstString, "PG 1");
        writeText(key.secondString, row.label);
        clearText(key.thirdString);
        setLengths(key, 4, 4, 0);
    }

    _OledKey_Param &alpha = m_commonKeys[0][AlphaKey];
    alpha.oLedShowMode = TextShowMode;
    alpha.icon = TextIcon;
    writeText(alpha.firstString, "ALPH");
    writeText(alpha.secondString, "50");
    clearText(alpha.thirdString);
    setLengths(alpha, 4, 2, 0);

    for (const IconKey &row : s_iconKeys) {
        m_commonKeys[0][row.key].oLedShowMode = IconShowMode;
        m_commonKeys[0][row.key].icon = row.icon;
    }
}

void Model_QuorParam::resetShortcutOled(int page, int index)
{
    if (page < 0 || page >= PageCount || index < 0 || index >= KeysPerPage)
        return;
    _OledKey_Param &key = m_shortcutKeys[page][index];
    const ShortcutIcon &icons = s_shortcutIcons[index];
    // The length bytes keep their values (0 on a new object).
    setLook(key, IconShowMode, page == PageCount - 1 ? icons.lastPageIcon : icons.icon);
    writeText(key.firstString, "SCT");
    writeText(key.secondString, "TONE");
    clearText(key.thirdString);
}

void Model_QuorParam::initShortcuts(bool gridLabels)
{
    if (!gridLabels) {
        for (int page = 0; page < PageCount; ++page) {
            for (int index = 0; index < KeysPerPage; ++index)
                resetShortcutOled(page, index);
        }
        return;
    }

    for (auto &page : m_shortcutKeys) {
        for (int index = 0; index < KeysPerPage; ++index) {
            _OledKey_Param &key = page[index];
            // Row and column of the 4 x 4 grid, one digit each: index 6 is "2X3".
            const char label[] = {char('1' + index / 4), 'X', char('1' + index % 4)};
            key.oLedShowMode = GridShowMode;
            clearText(key.firstString);
            writeText(key.secondString, std::string_view(label, sizeof label),
                      Model_QuorParam::gOledLength);
            clearText(key.thirdString);
        }
    }
    for (int i = 0; i < ShortcutIconKeyCount; ++i) {
        _OledKey_Param &key = m_commonKeys[0][ShortcutIconKey + i];
        key.oLedShowMode = IconShowMode;
        key.icon = s_shortcutIcons[i].icon;
    }
}

void Model_QuorParam::initOLEDTest()
{
    const auto tables = pagedTables(*this);
    for (int page = 0; page < PageCount; ++page) {
        for (int index = 0; index < KeysPerPage; ++index) {
            const int number = KeysPerPage * page + index + 1;
            for (std::size_t t = 0; t < tables.size(); ++t) {
                const PagedTable &table = s_pagedTables[t];
                writeTestPattern(tables[t][page][index], table.testFormat, number,
                                 number + KeysPerPage, table.testWidth);
            }
        }
    }

    // Common keys count on across the sets in storage order: set 1, key 23 shows 123.
    int number = 0;
    for (auto &set : m_commonKeys) {
        for (_OledKey_Param &key : set) {
            writeTestPattern(key, CommonTestFormat, number, number, CommonTestWidth);
            ++number;
        }
    }

    for (const PageKey &row : s_pageKeys) {
        _OledKey_Param &key = m_commonKeys[row.set][0];
        writeTestText(key.firstString, PageKeyTestFormat, row.testNumber, PageKeyTestWidth);
        writeTestText(key.secondString, PageKeyTestFormat, row.testNumber + 10, PageKeyTestWidth);
        clearText(key.thirdString);
        setLengths(key, PageKeyTestWidth, PageKeyTestWidth, 0);
    }

    for (const FixedTestKey &row : s_fixedTestKeys) {
        _OledKey_Param &key = m_commonKeys[0][row.key];
        writeTestText(key.firstString, PageKeyTestFormat, row.firstNumber, PageKeyTestWidth);
        writeTestText(key.secondString, PageKeyTestFormat, row.secondNumber, PageKeyTestWidth);
        clearText(key.thirdString);
    }
}

void Model_QuorParam::initOLEDIconTest()
{
    for (KeyPage *table : pagedTables(*this)) {
        for (int page = 0; page < PageCount; ++page) {
            for (_OledKey_Param &key : table[page])
                setLook(key, IconShowMode, TestIcon);
        }
    }
    for (auto &set : m_commonKeys) {
        for (_OledKey_Param &key : set)
            setLook(key, IconShowMode, TestIcon);
    }
}

void Model_QuorParam::printAllData(int pageCount, int keyGroup)
{
    const int pages = pageCount <= 0 ? 1 : qMin(pageCount, PageCount);

    debugLog() << QStringLiteral(
        "page     index       bright         color     mode      oLedShowMode        icon        "
        "firstString[len]      secondString[len]     thirdString[len]");

    const auto tables = pagedTables(*this);
    for (int page = 0; page < pages; ++page) {
        for (int index = 0; index < KeysPerPage; ++index) {
            for (std::size_t t = 0; t < tables.size(); ++t) {
                const PagedTable &table = s_pagedTables[t];
                if (keyGroup == 0 || keyGroup == table.keyGroup)
                    dumpKey(table.dumpFormat, page, index, tables[t][page][index], firstByte);
            }
        }
    }

    // Whatever the arguments: the first common keys and the page keys, with the addresses of
    // their text fields in place of the first bytes.
    for (int index = 0; index < KeysPerPage; ++index)
        dumpKey(CommonDumpFormat, 0, index, m_commonKeys[0][index], address);
    for (const PageKey &row : s_pageKeys)
        dumpKey(CommonDumpFormat, 0, row.set, m_commonKeys[row.set][0], address);
}
