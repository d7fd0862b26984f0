#include "topologyini.h"

#include <QtCore/QDataStream>
#include <QtCore/QHash>
#include <QtCore/QIODevice>
#include <QtCore/QJsonObject>
#include <QtCore/QMap>
#include <QtCore/QSet>
#include <QtCore/QVariant>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QtCore/QStringDecoder>
#endif

#include <algorithm>
#include <iterator>
#include <new>
#include <vector>

namespace {

constexpr bool Qt5 = QT_VERSION < QT_VERSION_CHECK(6, 0, 0);

// Binary values (arrays, objects, null) are the variant's data stream in this version; a date and
// time ("@DateTime(...)") is a variant's stream in this flavour's own version.
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_4_0;
constexpr QDataStream::Version DateTimeVersion = QDataStream::Qt_DefaultCompiledVersion;

bool isHexDigit(ushort c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Appends text as an INI value. Control characters are escaped; a hex digit right after a
// numeric escape gets one too, so that "\x1" "a" does not read back as "\x1a". In a binary value
// (bytes) everything from 0x7f up is escaped as well; in text it is UTF-8.
void appendEscaped(QByteArray &out, const QString &text, bool bytes)
{
    static const char named[] = "0......abtnvfr";
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char(';'))
        || text.contains(QLatin1Char('=')) || text.startsWith(QLatin1Char(' '))
        || text.endsWith(QLatin1Char(' '));
    if (quoted)
        out += '"';
    bool numeric = false;
    ushort held = 0;
    for (const QChar ch : text) {
        const ushort c = ch.unicode();
        const bool wasNumeric = numeric;
        numeric = false;
        if (c == '\\' || c == '"') {
            out.append('\\').append(char(c));
        } else if (c < 14 && named[c] != '.') {
            out.append('\\').append(named[c]);
            numeric = c == 0;
        } else if (c < 0x20 || (bytes && c >= 0x7f) || (wasNumeric && isHexDigit(c))) {
            out += "\\x" + QByteArray::number(c, 16);
            numeric = true;
        } else if (Qt5 && QChar::isSurrogate(c)) {
            // Qt 5 drops every half of a pair, and a hex digit after it is not escaped.
        } else if (QChar::isLowSurrogate(c) && QChar::isHighSurrogate(held)) {
            out += (QString(QChar(held)) + QChar(c)).toUtf8();
            held = 0;
        } else {
            // Qt 6 encodes what it does not escape as one stream: a surrogate waits for the next
            // such character, which completes its pair or makes it U+FFFD; if none comes, it is
            // lost.
            if (held)
                out += "\xef\xbf\xbd";
            held = QChar::isSurrogate(c) ? c : 0;
            if (!held)
                out += c < 0x80 ? QByteArray(1, char(c)) : QString(QChar(c)).toUtf8();
        }
    }
    if (quoted)
        out += '"';
}

// One value that stands alone or in a list: text, a number, a boolean, or in binary form.
void appendScalar(QByteArray &out, const QVariant &value)
{
    const int type = value.userType();
    if (type == QMetaType::QString || type == QMetaType::Double || type == QMetaType::LongLong
        || type == QMetaType::Bool) {
        const QString text = value.toString();
        if (text.contains(QChar(0)))
            appendEscaped(out, QLatin1String("@String(") + text + QLatin1Char(')'), false);
        else
            appendEscaped(out, text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text,
                          false);
        return;
    }
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream.setVersion(StreamVersion);
    stream << value;
    appendEscaped(out,
                  QLatin1String("@Variant(") + QString::fromLatin1(data.constData(), data.size())
                      + QLatin1Char(')'),
                  true);
}

// A list of two or more elements is written as their values separated by ", "; a list of one
// would read back as that element, so it takes the binary form.
void appendValue(QByteArray &out, const QVariant &value)
{
    if (value.userType() != QMetaType::QVariantList) {
        appendScalar(out, value);
        return;
    }
    const QVariantList list = value.toList();
    if (list.isEmpty()) {
        out += "@Invalid()";
    } else if (list.size() == 1) {
        appendScalar(out, value);
    } else {
        for (int i = 0; i < list.size(); ++i) {
            if (i > 0)
                out += ", ";
            appendScalar(out, list.at(i));
        }
    }
}

// Whether value holds more than levels arrays and objects, one inside the other. The check stops
// at that depth, so no value costs more stack than that.
bool nestsDeeper(const QJsonValue &value, int levels)
{
    if (!value.isArray() && !value.isObject())
        return false;
    if (levels == 0)
        return true;
    const auto deeper = [&](const QJsonValue &v) { return nestsDeeper(v, levels - 1); };
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        return std::any_of(array.begin(), array.end(), deeper);
    }
    const QJsonObject object = value.toObject();
    return std::any_of(object.begin(), object.end(), deeper);
}

bool isPlainKeyCharacter(ushort c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
        || c == '.' || c == '_';
}

// Keys keep letters, digits, '-', '.' and '_'; '/' separates sub-keys and is written as '\';
// everything else is percent-encoded, beyond Latin-1 as "%U" and four hex digits.
void appendKey(QByteArray &out, const QString &key)
{
    for (QChar ch : key) {
        const ushort c = ch.unicode();
        if (isPlainKeyCharacter(c))
            out += char(c);
        else if (c == '/')
            out += '\\';
        else if (c < 0x100)
            out += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        else
            out += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
    }
}

// Sub-keys of a path: repeated, leading and trailing slashes do not count ("/a//b/" is "a/b").
QString normalized(const QString &key)
{
    return key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

// Calls f with number and the numbers below count whose decimal names start with its name, in
// the order of their names, the order in which the store writes sections: 0, 1, 10, 100, 11, ...
// 2, 20, ... Walking from 0 to 9 needs no sorting and goes at most ten calls deep.
template<typename F>
void visitNames(qint64 number, int count, F &f)
{
    if (number >= count)
        return;
    f(int(number));
    for (int digit = number > 0 ? 0 : 10; digit < 10; ++digit)
        visitNames(number * 10 + digit, count, f);
}

// ---- Reading ----

// "\r\n" and "\n\r" are one line break after an escaping backslash.
bool isLineBreakPair(char first, char second)
{
    return (first == '\r' && second == '\n') || (first == '\n' && second == '\r');
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A value's UTF-8 as the settings store decodes it: Qt 5 piece by piece, Qt 6 as one stream, in
// which a sequence cut by an escape or a quote goes on after it, and one cut off at the end
// shows nothing (the decoder waits for more).
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
struct Utf8
{
    QString operator()(const char *b, const char *e) { return QString::fromUtf8(b, int(e - b)); }
};
#else
struct Utf8
{
    QStringDecoder decoder{QStringDecoder::Utf8};
    QString operator()(const char *b, const char *e) { return decoder(QByteArrayView(b, e - b)); }
};
#endif

// A key as the file spells it, or a section's header as the path that it puts before its keys
// ("7/"): percent escapes, '\' for '/'. Qt 5 takes the bytes of a name as Latin-1, Qt 6 as UTF-8.
// Both trim ASCII white space around a section's name; around a key Qt 5 trims only blanks.
QString decodeName(const char *begin, const char *end, bool section)
{
    const auto trimmed
        = [&](char c) { return isBlank(c) || ((section || !Qt5) && c >= '\n' && c <= '\r'); };
    while (begin < end && trimmed(*begin))
        ++begin;
    while (end > begin && trimmed(end[-1]))
        --end;
    // "[General]", as spelt in any case, holds the top-level keys; "[%General]" is the section
    // "General".
    const qsizetype size = end - begin;
    if (section && (size == 7 || (size == 8 && *begin == '%')) && !qstrnicmp(end - 7, "general", 7))
        return size == 8 ? QString::fromLatin1(end - 7, 7) + QLatin1Char('/') : QString();
    const QLatin1String after(section ? "/" : "");
    if (std::all_of(begin, end, [](char c) { return isPlainKeyCharacter(uchar(c)); }))
        return QString::fromLatin1(begin, int(size)) + after;
    const QString raw = Qt5 ? QString::fromLatin1(begin, int(end - begin))
                            : QString::fromUtf8(begin, int(end - begin));
    QString name;
    name.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        // "%U" and four digits, or '%' and two; the digits are read as a number is, so "%D " is
        // "%0D", and Qt 5 takes a sign, Qt 6 only '+'.
        bool ok = false;
        for (const int digits : {4, 2}) {
            const int first = i + 1 + digits / 4;
            if (!ok && c == QLatin1Char('%') && first + digits <= raw.size()
                && (digits == 2 || raw.at(i + 1) == QLatin1Char('U'))) {
                // Qt 5 reads them as a C string does, up to a NUL.
                const QString hex = raw.mid(first, digits);
                const auto code
                    = ushort(Qt5 ? uint(hex.toLatin1().toInt(&ok, 16)) : hex.toUInt(&ok, 16));
                if (ok) {
                    name += QChar(code);
                    i = first + digits - 1;
                }
            }
        }
        if (!ok)
            name += c == QLatin1Char('\\') ? QLatin1Char('/') : c;
    }
    return name + after;
}

// The plain types whose binary form reads as text. Others (lists, maps and whatever nests) read
// as "" whatever they hold, so they are never decoded, no nesting costs stack, and no unknown
// type is ever looked up.
constexpr int PlainTypes[]
    = {QMetaType::Bool,        QMetaType::Int,        QMetaType::UInt,  QMetaType::LongLong,
       QMetaType::ULongLong,   QMetaType::Double,     QMetaType::QChar, QMetaType::QString,
       QMetaType::QStringList, QMetaType::QByteArray, QMetaType::QDate, QMetaType::QTime,
       QMetaType::QDateTime,   QMetaType::QUrl,       QMetaType::QUuid, QMetaType::Long,
       QMetaType::Short,       QMetaType::Char,       QMetaType::ULong, QMetaType::UShort,
       QMetaType::UChar,       QMetaType::Float,      QMetaType::SChar, QMetaType::QJsonValue,
       QMetaType::QCborValue};

// The stream names a type by its number, or, for a type newer than the stream format, by this
// number followed by the type's name.
constexpr quint32 TypeByName = 127;

// The numbers by which a stream of this version names the plain types.
QVector<quint32> plainTypeNumbers(int version)
{
    QVector<quint32> result;
    for (int type : PlainTypes) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(version);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        out << QVariant(type, nullptr);
#else
        out << QVariant(QMetaType(type));
#endif
        QDataStream in(bytes);
        quint32 number = TypeByName;
        in >> number;
        result.append(number);
    }
    return result;
}

bool readsAsText(const QByteArray &data, int version)
{
    static const QVector<quint32> numbers[]
        = {plainTypeNumbers(StreamVersion), plainTypeNumbers(DateTimeVersion)};
    QDataStream in(data);
    in.setVersion(version);
    quint32 number = 0;
    in >> number;
    // A stream names a type by the number its writer gives it; an older one is read by the
    // type's own number as well.
    int type = int(number);
    if (number == TypeByName) {
        QByteArray name;
        in >> name;
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        type = QMetaType::type(name.constData());
#else
        // Qt 6 knows the types of its GUI and Widgets modules by name where they are not loaded,
        // and warns when such a name is looked up. None of them is plain.
        static const QByteArray elsewhere
            = " QFont QPixmap QBrush QColor QPalette QIcon QImage QPolygon QRegion QBitmap QCursor "
              "QKeySequence QPen QTextLength QTextFormat QTransform QMatrix4x4 QVector2D QVector3D "
              "QVector4D QQuaternion QPolygonF QColorSpace QSizePolicy ";
        if (!elsewhere.contains(' ' + QMetaObject::normalizedType(name.constData()) + ' '))
            type = QMetaType::fromName(name.constData()).id();
#endif
    } else if (const int index = int(numbers[version == StreamVersion ? 0 : 1].indexOf(number));
               index >= 0) {
        type = PlainTypes[index];
    }
    // A JSON or CBOR value reads as text unless it is an array, an object or a tag, which read
    // as "" and may nest: those are never decoded. The value follows a null flag (in all but the
    // oldest versions), CBOR's bytes their 32-bit length.
    const qint64 at = in.device()->pos() + (version >= QDataStream::Qt_4_2 ? 1 : 0)
        + (type == QMetaType::QCborValue ? 4 : 0);
    const uchar kind = at < data.size() ? uchar(data.at(int(at))) : 0;
    const bool nests = type == QMetaType::QJsonValue
        ? kind == 4 || kind == 5
        : type == QMetaType::QCborValue && kind >= 0x80 && kind < 0xe0;
    return in.status() == QDataStream::Ok && !nests
        && std::find(std::begin(PlainTypes), std::end(PlainTypes), type) != std::end(PlainTypes);
}

QString variantText(const QByteArray &data, int version)
{
    QVariant value;
    try {
        if (!readsAsText(data, version))
            return QString();
        QDataStream stream(data);
        stream.setVersion(version);
        stream >> value;
    } catch (const std::bad_alloc &) {
        return QString();
    }
    return value.toString();
}

// What a value stands for as text: itself, unless it starts with '@'.
QString atValue(const QString &text)
{
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    if (text == QLatin1String("@Invalid()"))
        return QString();
    if (!text.endsWith(QLatin1Char(')')))
        return text;
    // A binary form "@Name(argument)".
    const int open = text.indexOf(QLatin1Char('('));
    const QString form = text.left(open + 1);
    QString arg = text.mid(open + 1, text.size() - open - 2);
    if (form == QLatin1String("@ByteArray("))
        return QVariant(arg.toLatin1()).toString();
    if (form == QLatin1String("@String("))
        return arg;
    // A stream reads on into the closing parenthesis when its data says so.
    const bool dateTime = form == QLatin1String("@DateTime(");
    if (dateTime || form == QLatin1String("@Variant("))
        return variantText((arg + QLatin1Char(')')).toLatin1(),
                           dateTime ? DateTimeVersion : StreamVersion);
    // A rectangle, size or point reads as "" when it has as many parts as it should, numbers
    // or not: "@Rect(0 0 10 10)".
    const bool rect = form == QLatin1String("@Rect(");
    const bool pair = form == QLatin1String("@Size(") || form == QLatin1String("@Point(");
    return (rect || pair) && arg.count(QLatin1Char(' ')) == (rect ? 3 : 1) ? QString() : text;
}

// The character of the escape "\c" that names one, or 0.
char namedEscape(char c)
{
    static const char names[] = "a\ab\bf\fn\nr\rt\tv\v\"\"''??\\\\";
    for (int i = 0; names[i]; i += 2) {
        if (names[i] == c)
            return names[i + 1];
    }
    return 0;
}

// The text of a value as the file spells it: quotes, escapes, blanks around it, and a comma
// outside quotes makes a list, which reads as "".
QString valueText(const char *p, const char *end)
{
    const auto special = [](char c) { return c == '"' || c == '\\' || c == ','; };
    if (p == end || (!isBlank(*p) && !isBlank(end[-1]) && std::none_of(p, end, special))) {
        // On Qt 6 a sequence cut off at the end shows nothing, and blanks before it end the text.
        const QString text = Utf8()(p, end);
        if (Qt5 || text.isEmpty() || !isBlank(char(text.back().unicode())))
            return atValue(text);
    }
    // The text is UTF-8 in pieces: from the value's first non-blank, and from each quote and
    // escape on. A byte order mark at the start of a piece is dropped, as decoding UTF-8 does.
    const char *piece = p;
    QString value;
    Utf8 utf8;
    // Blanks at the start, right after a closing quote, and at the end of a value without quotes
    // do not count: "a = x " is "x", but "a = "x" y " is "xy ".
    int kept = 0;
    bool quoted = false;
    bool sawQuote = false;
    bool afterQuote = false;
    bool started = false; // by a character, a quote or an escape, even one of nothing
    bool escaped = false;
    while (p < end) {
        piece = escaped ? p : piece;
        escaped = false;
        const char c = *p;
        started = started || !isBlank(c);
        if (c == '"') {
            quoted = !quoted;
            sawQuote = true;
            afterQuote = !quoted;
            piece = ++p;
            kept = value.size();
        } else if (c == '\\') {
            // Every escape keeps the blanks before it, even one of nothing or of a line break.
            afterQuote = false;
            escaped = true;
            const char e = ++p < end ? *p++ : '\n';
            if (p < end && isLineBreakPair(e, *p))
                ++p;
            if (namedEscape(e)) {
                value += QLatin1Char(namedEscape(e));
            } else if (e == 'x' || (e >= '0' && e <= '7')) {
                // As many digits as follow; the code wraps to 16 bits.
                const int base = e == 'x' ? 16 : 8;
                const char *digits = p;
                ushort code = e == 'x' ? 0 : ushort(e - '0');
                for (; p < end && (base == 16 ? isHexDigit(uchar(*p)) : (*p >= '0' && *p <= '7'));
                     ++p)
                    code = ushort(code * base + QString(QLatin1Char(*p)).toUShort(nullptr, 16));
                if (base == 8 || p != digits)
                    value += QChar(code);
            }
            kept = value.size();
        } else if (c == ',' && !quoted) {
            return QString();
        } else if (isBlank(c) && !quoted && (!started || afterQuote)) {
            piece = ++p;
        } else {
            // A run goes on over blanks, which count at its end only once a quote was seen. Qt 6
            // decodes a comma in quotes on its own: after a cut sequence it is lost in its U+FFFD.
            const char *run = p;
            do
                ++p;
            while (p < end && *p != '"' && *p != '\\' && (*p != ',' || (Qt5 && quoted)));
            QString decoded; // on Qt 6 a run may only open a sequence, and show nothing yet
            for (; Qt5 && run != piece && p - run >= 3 && std::equal(run, run + 3, "\xef\xbb\xbf");
                 run += 3)
                decoded += QChar(0xfeff);
            decoded += utf8(run, p);
            value += decoded;
            int last = int(decoded.size());
            while (!quoted && !sawQuote && last > 0
                   && isBlank(char(decoded.at(last - 1).unicode())))
                --last;
            kept = last > 0 ? int(value.size() - decoded.size()) + last : kept;
            afterQuote = false;
        }
    }
    value.truncate(kept);
    return atValue(value);
}

} // namespace

namespace TopologyIni {

QByteArray text(const QJsonArray &modules)
{
    QByteArray out;
    const auto section = [&](int i) {
        // Of keys that come to the same, the later one wins. The store refuses the empty key; a
        // key made only of slashes names the entry with nothing before its '='.
        const QJsonObject module = modules.at(i).toObject();
        QMap<QString, QJsonValue> entries;
        for (auto it = module.constBegin(); it != module.constEnd(); ++it) {
            const QString key = it.key();
            if (!key.isEmpty())
                entries.insert(key.contains(QLatin1Char('/')) ? normalized(key) : key, it.value());
        }
        if (entries.isEmpty())
            return;
        if (!out.isEmpty())
            out += '\n';
        out += '[' + QByteArray::number(i) + "]\n";
        for (auto entry = entries.constBegin(); entry != entries.constEnd(); ++entry) {
            appendKey(out, entry.key());
            out += '=';
            // Converting and writing a value recurses once per level; a member deeper than the
            // limit is stored as empty text, which is what any array or object reads back as.
            if (!nestsDeeper(entry.value(), TopologyIni::MaxNesting))
                appendValue(out, entry.value().toVariant());
            out += '\n';
        }
    };
    for (int first = 0; first < 10; ++first)
        visitNames(first, modules.size(), section);
    return out;
}

QJsonArray modules(const QByteArray &text)
{
    // Every entry in the file's order, by the section it stands in ("7/", or "" before the first
    // section and in "General") and its key: its full name is the two joined ("7/name").
    struct Entry
    {
        int section, key;     // the key's text is keys[key]
        qsizetype value, end; // where the value's text starts and ends in the file
    };
    std::vector<Entry> entries;
    // Every entry has its '='; a count of lines would count each section's header and the blank
    // line before it too, places that would stay unused.
    entries.reserve(std::size_t(text.count('=')));
    QStringList sections{QString()};
    // Modules tend to repeat the keys of the one before, in the same order: the key at the same
    // place in the section before is taken when the bytes are the same.
    std::vector<std::pair<QByteArray, int>> recentKeys;
    QStringList keys;
    std::size_t keyIndex = 0;
    const auto keyOf = [&](const char *begin, const char *end) {
        const QByteArray raw = QByteArray::fromRawData(begin, int(end - begin));
        if (keyIndex == recentKeys.size())
            recentKeys.emplace_back(QByteArray(), -1);
        auto &recent = recentKeys[keyIndex++];
        if (recent.second < 0 || recent.first != raw) {
            recent = {QByteArray(begin, int(end - begin)), int(keys.size())};
            keys.append(decodeName(begin, end, false));
        }
        return recent.second;
    };
    const char *const base = text.constData(), *const end = base + text.size();
    const char *p = text.startsWith("\xef\xbb\xbf") ? base + 3 : base;
    const auto lineEnd = [&](const char *from) {
        return std::find_if(from, end, [](char c) { return c == '\n' || c == '\r'; });
    };
    while (p < end) {
        if (*p == '\n' || *p == '\r' || isBlank(*p)) {
            ++p;
            continue;
        }
        if (*p == ';') {
            p = lineEnd(p);
            continue;
        }
        // A logical line, a section's as an entry's: a quoted part and an escaped line break go
        // on to the next line; a ';' outside quotes starts a comment to the end of the line.
        const char *equals = nullptr;
        const char *q = p;
        bool quoted = false;
        for (; q < end; ++q) {
            if (*q == '\\') {
                if (q + 2 < end && isLineBreakPair(q[1], q[2]))
                    ++q;
                ++q;
            } else if (*q == '"') {
                quoted = !quoted;
            } else if (!quoted && (*q == '\n' || *q == '\r' || *q == ';')) {
                break;
            } else if (*q == '=' && !equals && !quoted) {
                equals = q;
            }
        }
        q = std::min(q, end);
        if (*p == '[') {
            sections.append(decodeName(p + 1, std::find(p, q, ']'), true));
            keyIndex = 0;
        } else if (equals) {
            entries.push_back(
                {int(sections.size()) - 1, keyOf(p, equals), equals + 1 - base, q - base});
        }
        p = q < end && *q == ';' ? lineEnd(q) : q;
    }

    // The sections of the modules are the first names of the entries' paths, however many;
    // module i is the section named by i in decimal, and an entry of a deeper path comes as a
    // path below it. Most entries stand in a section named by a module's number.
    const auto firstName = [](const QString &path) {
        return QStringView(path).left(path.indexOf(QLatin1Char('/')));
    };
    // The number a name stands for when it is that number's decimal text ("7", not "07"), or -1.
    const auto decimal = [](QStringView name) {
        int number = name.isEmpty() || name.size() > 9 ? -1 : 0;
        for (int i = 0; i < name.size() && number >= 0; ++i) {
            const ushort c = name.at(i).unicode();
            number = c >= '0' && c <= '9' && (i > 0 || c != '0' || name.size() == 1)
                ? number * 10 + (c - '0')
                : -1;
        }
        return number;
    };
    QSet<int> numbered;
    QSet<QString> named;
    const auto addGroup = [&](QStringView name) {
        const int number = decimal(name);
        if (number >= 0)
            numbered.insert(number);
        else
            named.insert(name.toString());
    };
    int lastSection = -1;
    for (const Entry &entry : entries) {
        const QString &section = sections.at(entry.section);
        if (!section.isEmpty() && entry.section != lastSection)
            addGroup(firstName(section));
        else if (section.isEmpty() && keys.at(entry.key).contains(QLatin1Char('/')))
            addGroup(firstName(keys.at(entry.key)));
        lastSection = entry.section;
    }
    QVector<QJsonObject> objects(numbered.size() + named.size());
    const auto moduleOf = [&](QStringView name) {
        const int number = decimal(name);
        return number < objects.size() ? number : -1;
    };
    QVector<int> sectionModules(sections.size(), -1);
    for (int i = 1; i < sections.size(); ++i)
        sectionModules[i] = sections.at(i).isEmpty() ? -1 : moduleOf(firstName(sections.at(i)));

    // A name is looked up by its path, so "7/a//b" names the entry "7/a/b" (the last of that
    // name), and the nameless entry "7/" reads as "". Only such names need the table of all.
    const auto isPath = [](const QString &name) {
        return !name.isEmpty() && !name.startsWith(QLatin1Char('/'))
            && !name.endsWith(QLatin1Char('/')) && !name.contains(QLatin1String("//"));
    };
    const auto textOf = [&](const Entry &e) { return valueText(base + e.value, base + e.end); };
    QHash<QString, const Entry *> byName;
    const auto valueOf = [&](const Entry &entry, const QString &name) {
        if (isPath(name))
            return textOf(entry);
        if (byName.isEmpty()) {
            for (const Entry &e : entries)
                byName.insert(sections.at(e.section) + keys.at(e.key), &e);
        }
        // A name of slashes alone below a section ("7//") finds the section's nameless entry.
        const QString path = normalized(name);
        const Entry *found = path.contains(QLatin1Char('/'))
            ? byName.value(path)
            : byName.value(path + QLatin1Char('/'));
        return found ? textOf(*found) : QString();
    };
    for (const Entry &entry : entries) {
        const QString &section = sections.at(entry.section), &key = keys.at(entry.key);
        const bool top = section.isEmpty();
        if (top && !key.contains(QLatin1Char('/')))
            continue;
        const int module = top ? moduleOf(firstName(key)) : sectionModules.at(entry.section);
        if (module < 0)
            continue;
        // The common case: key "name" in section "7/".
        if (section.size() > 1 && section.indexOf(QLatin1Char('/')) == section.size() - 1
            && isPath(key)) {
            objects[module].insert(key, textOf(entry));
            continue;
        }
        const QString name = section + key;
        const QString member = name.mid(name.indexOf(QLatin1Char('/')) + 1);
        objects[module].insert(member, member.isEmpty() ? QString() : valueOf(entry, name));
    }
    QJsonArray result;
    for (const QJsonObject &object : objects)
        result.append(object);
    return result;
}

} // namespace TopologyIni
