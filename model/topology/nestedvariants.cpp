#include "nestedvariants.h"

#include <QtCore/QDataStream>
#include <QtCore/QMetaType>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <algorithm>

namespace TopologyIni {
namespace {

    // Finding the values means splitting lines and unescaping values exactly as the settings store
    // does, which the functions below do.

    enum : unsigned char { IniSpace = 1, IniSpecial = 2 };

    unsigned char iniTraits(char c)
    {
        switch (c) {
        case '\t':
        case ' ':
            return IniSpace;
        case '\n':
        case '\r':
            return IniSpace | IniSpecial;
        case '"':
        case ';':
        case '=':
        case '\\':
            return IniSpecial;
        default:
            return 0;
        }
    }

    struct IniLine
    {
        int start = 0;
        int length = 0;
        int equals = -1; // position of the '=' that ends the key, -1 for none
    };

    // Reads the line that starts at pos, as the store splits lines: quotes and escaped line breaks
    // continue a line, a ';' at the start of a line makes it a comment. Returns false at the end.
    bool nextIniLine(const QByteArray &data, int &pos, IniLine &line)
    {
        const int size = data.size();
        bool inQuotes = false;
        line.equals = -1;
        line.start = pos;
        while (line.start < size && (iniTraits(data.at(line.start)) & IniSpace))
            ++line.start;

        int i = line.start;
        bool done = false;
        while (i < size && !done) {
            while (i < size && !(iniTraits(data.at(i)) & IniSpecial))
                ++i;
            if (i == size)
                break;
            const char c = data.at(i++);
            if (c == '=') {
                if (!inQuotes && line.equals == -1)
                    line.equals = i - 1;
            } else if (c == '\n' || c == '\r') {
                if (i == line.start + 1) {
                    ++line.start;
                } else if (!inQuotes) {
                    --i;
                    done = true;
                }
            } else if (c == '\\') {
                if (i < size) {
                    const char escaped = data.at(i++);
                    if (i < size) {
                        const char next = data.at(i);
                        if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                            ++i;
                    }
                }
            } else if (c == '"') {
                inQuotes = !inQuotes;
            } else { // ';'
                if (i == line.start + 1) {
                    while (i < size && data.at(i) != '\n' && data.at(i) != '\r')
                        ++i;
                    line.start = i;
                } else if (!inQuotes) {
                    --i;
                    done = true;
                }
            }
        }
        pos = i;
        line.length = i - line.start;
        return line.length > 0;
    }

    int hexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    char simpleEscape(char c)
    {
        switch (c) {
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'v':
            return '\v';
        case '"':
        case '?':
        case '\'':
        case '\\':
            return c;
        default:
            return 0;
        }
    }

    void chopTrailingBlanks(QString &text, int limit)
    {
        int n = text.size();
        while (n > limit
               && (text.at(n - 1) == QLatin1Char(' ') || text.at(n - 1) == QLatin1Char('\t')))
            --n;
        text.truncate(n);
    }

    // The texts the store unescapes from the value bytes data[from, to): one text, or the elements
    // of a comma-separated list.
    QStringList iniValueTexts(const QByteArray &data, int from, int to)
    {
        QStringList list;
        QString text;
        bool isList = false;
        bool inQuotes = false;
        bool quoted = false;
        int i = from;
        int chopLimit = 0;
        const auto skipBlanks = [&] {
            while (i < to && (data.at(i) == ' ' || data.at(i) == '\t'))
                ++i;
            chopLimit = text.size();
        };

        skipBlanks();
        bool chop = true; // false when the value ends inside an escape
        while (i < to) {
            const char c = data.at(i);
            if (c == '\\') {
                if (++i >= to) {
                    chop = false;
                    break;
                }
                const char escaped = data.at(i++);
                if (const char plain = simpleEscape(escaped)) {
                    text += QLatin1Char(plain);
                } else if ((escaped == 'x' && i < to && hexDigit(data.at(i)) >= 0)
                           || (escaped >= '0' && escaped <= '7')) {
                    const int base = escaped == 'x' ? 16 : 8;
                    uint code = escaped == 'x' ? 0 : uint(escaped - '0');
                    for (; i < to; ++i) {
                        const int digit = hexDigit(data.at(i));
                        if (digit < 0 || digit >= base)
                            break;
                        code = code * uint(base) + uint(digit);
                    }
                    text += QChar(ushort(code & 0xFFFF));
                    if (i >= to) {
                        chop = false;
                        break;
                    }
                } else if (escaped == 'x') {
                    if (i >= to) {
                        chop = false;
                        break;
                    }
                } else if (escaped == '\n' || escaped == '\r') {
                    if (i < to) {
                        const char next = data.at(i);
                        if ((next == '\n' || next == '\r') && next != escaped)
                            ++i;
                    }
                }
                chopLimit = text.size();
            } else if (c == '"') {
                ++i;
                quoted = true;
                inQuotes = !inQuotes;
                if (!inQuotes)
                    skipBlanks();
            } else if (c == ',' && !inQuotes) {
                if (!quoted)
                    chopTrailingBlanks(text, chopLimit);
                isList = true;
                list.append(text);
                text.clear();
                quoted = false;
                ++i;
                skipBlanks();
            } else {
                int j = i + 1;
                while (j < to && data.at(j) != '\\' && data.at(j) != '"' && data.at(j) != ',')
                    ++j;
                text += QString::fromUtf8(data.constData() + i, j - i);
                i = j;
            }
        }
        if (chop && !quoted)
            chopTrailingBlanks(text, chopLimit);
        if (!isList)
            return {text};
        list.append(text);
        return list;
    }

    // Whether the store decodes text, a value's unescaped text or one element of a list, to a
    // variant that may hold other values.
    bool decodesNestedVariant(const QString &text)
    {
        const bool variant = text.startsWith(QLatin1String("@Variant("));
        if ((!variant && !text.startsWith(QLatin1String("@DateTime(")))
            || !text.endsWith(QLatin1Char(')')))
            return false;
        const QByteArray bytes = text.mid(variant ? 9 : 10).toLatin1();
        if (bytes.size() < 4)
            return false; // too short to name a type: decodes to nothing
        QDataStream stream(bytes);
        quint32 type = 0;
        stream >> type;
        // Variants of the oldest stream version number some types differently.
        if (variant) {
            if (type == 127)
                type = QMetaType::User;
            else if (type >= 128 && type != QMetaType::User)
                type -= 97;
        }
        switch (type) {
        case QMetaType::UnknownType:
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::QChar:
        case QMetaType::QString:
        case QMetaType::QByteArray:
        case QMetaType::QDate:
        case QMetaType::QTime:
        case QMetaType::QDateTime:
        case QMetaType::QUrl:
        case QMetaType::QUuid:
            return false;
        default:
            return true;
        }
    }

} // namespace

QByteArray withoutNestedVariants(const QByteArray &data)
{
    QByteArray result;
    int copied = 0;
    int pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    IniLine line;
    while (nextIniLine(data, pos, line)) {
        if (data.at(line.start) == '[' || line.equals < 0)
            continue;
        const int from = line.equals + 1;
        const int to = line.start + line.length;
        // Only an '@', written as it is or as an escape, can start a variant.
        const char *begin = data.constData() + from;
        const char *end = data.constData() + to;
        if (std::find(begin, end, '@') == end && std::find(begin, end, '\\') == end)
            continue;
        const QStringList texts = iniValueTexts(data, from, to);
        if (std::none_of(texts.cbegin(), texts.cend(), decodesNestedVariant))
            continue;
        result += QByteArray::fromRawData(data.constData() + copied, from - copied);
        copied = to;
    }
    if (copied == 0)
        return data;
    result += QByteArray::fromRawData(data.constData() + copied, data.size() - copied);
    return result;
}

} // namespace TopologyIni
