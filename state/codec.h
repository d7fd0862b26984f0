#ifndef STATE_CODEC_H
#define STATE_CODEC_H

// How each member type of the models becomes a JSON value and back. Internal to the companion
// library (and its tests): not installed.
//
// Every codec has four static functions:
//   QJsonValue save(const T &value)
//   bool check(const QJsonValue &json, LoadError &error)
//   void load(const QJsonValue &json, T &out)
//   const Shape *shape()
// check() looks at the JSON alone: it builds nothing and allocates nothing that grows with the
// document, so a document of twenty million entries is refused at its first bad entry as cheaply
// as one of twenty. load() takes only what check() has passed, and so cannot fail: it sets out
// completely, and may reserve what the document's sizes ask for. The path of a problem is built on
// the way back up, so the successful path pays nothing for it.

#include <QtCore/QJsonArray>
#include <QtCore/QJsonObject>
#include <QtCore/QJsonValue>
#include <QtCore/QLatin1String>
#include <QtCore/QList>
#include <QtCore/QMap>
#include <QtCore/QSet>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVector>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace StateCodec {

// The shape of a document, for what works on JSON alone (the ordered writer, compare): the members
// of an object in declaration order and the shape of an array's elements. Null for a leaf.
struct Shape
{
    using Members = QVector<QPair<QString, const Shape *>>;
    Shape(Members members, const Shape *element)
        : members(std::move(members))
        , element(element)
    {
        for (const auto &m : this->members)
            m_names.append(m.first);
        std::sort(m_names.begin(), m_names.end());
    }
    // Whether key is one of the members, in logarithmic time: an object may hold any number of
    // keys its shape does not know.
    bool knows(const QString &key) const
    {
        return std::binary_search(m_names.cbegin(), m_names.cend(), key);
    }

    const Members members;
    const Shape *const element;

private:
    QVector<QString> m_names;
};

struct LoadError
{
    QString path;
    QString message;
};

// What a JSON value is, for messages: "found a string".
QString describe(const QJsonValue &json);

// A key as one step of a path. A name of letters, digits and most punctuation stands as it is
// (`m_value1`); a key that is empty, or holds a '.', '[', ']', '"', '\\' or a control character,
// is written `["key"]` with the escapes of a JSON string, so that every path reads back to its
// keys.
QString pathKey(const QString &key);
// path extended by the member key: `a.key`, `a["x.y"]`, or the key alone at the top.
QString memberPath(const QString &path, const QString &key);

inline bool fail(LoadError &error, const QString &expected, const QJsonValue &found)
{
    error.path.clear();
    error.message = QStringLiteral("expected %1, found %2").arg(expected, describe(found));
    return false;
}

// Prefixes the path of a failure inside member name, or inside element index.
inline bool inMember(LoadError &error, const QString &name)
{
    const QString key = pathKey(name);
    if (error.path.isEmpty())
        error.path = key;
    else if (error.path.startsWith(QLatin1Char('[')))
        error.path.prepend(key);
    else
        error.path.prepend(key + QLatin1Char('.'));
    return false;
}

inline bool inElement(LoadError &error, qsizetype index)
{
    const QString segment = QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
    if (error.path.isEmpty() || error.path.startsWith(QLatin1Char('[')))
        error.path.prepend(segment);
    else
        error.path.prepend(segment + QLatin1Char('.'));
    return false;
}

// Owned pointers inside records: the scene's bank records own two vectors each (memberlists.h
// says so for them). Releasing a value releases what it owns; most types own nothing.
template<typename T>
struct Release
{
    static constexpr bool owns = false;
    static void contents(T &) { }
};

template<typename Sequence>
struct SequenceRelease
{
    using T = typename Sequence::value_type;
    static constexpr bool owns = Release<T>::owns;
    static void contents(Sequence &value)
    {
        if constexpr (owns) {
            for (T &element : value)
                Release<T>::contents(element);
        }
    }
};

template<typename T>
struct Release<QList<T>> : SequenceRelease<QList<T>>
{ };
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
template<typename T>
struct Release<QVector<T>> : SequenceRelease<QVector<T>>
{ };
#endif

template<typename T>
void releaseOwned(T &value)
{
    Release<T>::contents(value);
}

template<typename T, typename Enable = void>
struct Codec;

// A member described by pointer to member, with the codec that writes it.
template<typename C, typename T, typename K>
struct Field
{
    using Class = C;
    using Type = T;
    using Kind = K;
    QLatin1String name;
    T C::*member;
};

// The member lists: one specialisation per record and class, in memberlists.h.
template<typename T>
struct Members;

template<typename T, typename = void>
struct HasMembers : std::false_type
{ };
template<typename T>
struct HasMembers<T, std::void_t<typename Members<T>::C>> : std::true_type
{ };

// The name a class saved as a document of its own writes for itself (memberlists.h).
template<typename T>
inline constexpr QLatin1String documentClassName = QLatin1String();

// Integers: a JSON number without fraction, within the member's range.
template<typename T>
struct Codec<T, std::enable_if_t<std::is_integral_v<T>>>
{
    static QJsonValue save(T value) { return QJsonValue(qint64(value)); }
    static bool check(const QJsonValue &json, LoadError &error)
    {
        const double d = json.toDouble(0.5);
        if (!json.isDouble() || d != std::trunc(d) || d < double(std::numeric_limits<T>::min())
            || d > double(std::numeric_limits<T>::max()))
            return fail(error, expected(), json);
        return true;
    }
    static void load(const QJsonValue &json, T &out) { out = T(json.toDouble()); }
    static const Shape *shape() { return nullptr; }
    static QString expected()
    {
        return QStringLiteral("an integer from %1 to %2")
            .arg(qint64(std::numeric_limits<T>::min()))
            .arg(qint64(std::numeric_limits<T>::max()));
    }
};

// Doubles: a JSON number, exact; the four values JSON numbers cannot hold are strings.
template<>
struct Codec<double>
{
    static QJsonValue save(double value);
    static bool check(const QJsonValue &json, LoadError &error);
    static void load(const QJsonValue &json, double &out);
    static const Shape *shape() { return nullptr; }
};

template<>
struct Codec<QString>
{
    static QJsonValue save(const QString &value) { return value; }
    static bool check(const QJsonValue &json, LoadError &error)
    {
        return json.isString() || fail(error, QStringLiteral("a string"), json);
    }
    static void load(const QJsonValue &json, QString &out) { out = json.toString(); }
    static const Shape *shape() { return nullptr; }
};

// Byte buffers: a string with one character per byte, U+0000 to U+00FF, every byte including
// those after the first zero.
QJsonValue saveBytes(const char *data, qsizetype size);
// Checks json for such a string of size bytes (any size if size is -1).
bool checkBytes(const QJsonValue &json, qsizetype size, LoadError &error);

template<>
struct Codec<QByteArray>
{
    static QJsonValue save(const QByteArray &value)
    {
        return saveBytes(value.constData(), value.size());
    }
    static bool check(const QJsonValue &json, LoadError &error)
    {
        return checkBytes(json, -1, error);
    }
    static void load(const QJsonValue &json, QByteArray &out) { out = json.toString().toLatin1(); }
    static const Shape *shape() { return nullptr; }
};

// A fixed byte buffer inside a record (char name[40], quint8 firstString[31]).
template<typename T>
struct ByteText;

template<typename B, std::size_t N>
struct ByteText<B[N]>
{
    static_assert(sizeof(B) == 1);
    static QJsonValue save(const B (&value)[N])
    {
        return saveBytes(reinterpret_cast<const char *>(value), qsizetype(N));
    }
    static bool check(const QJsonValue &json, LoadError &error)
    {
        return checkBytes(json, qsizetype(N), error);
    }
    static void load(const QJsonValue &json, B (&out)[N])
    {
        const QString text = json.toString();
        for (std::size_t i = 0; i < N; ++i)
            out[i] = B(text.at(qsizetype(i)).unicode());
    }
    static const Shape *shape() { return nullptr; }
};

// Fixed arrays: a JSON array of exactly N elements.
template<typename T, std::size_t N>
struct Codec<T[N]>
{
    static QJsonValue save(const T (&value)[N])
    {
        QJsonArray array;
        for (const T &element : value)
            array.append(Codec<T>::save(element));
        return array;
    }
    static bool check(const QJsonValue &json, LoadError &error)
    {
        if (!json.isArray())
            return fail(error, QStringLiteral("an array of %1").arg(N), json);
        const QJsonArray array = json.toArray();
        if (array.size() != qsizetype(N)) {
            error.path.clear();
            error.message = QStringLiteral("expected an array of %1, found %2 elements")
                                .arg(N)
                                .arg(array.size());
            return false;
        }
        for (std::size_t i = 0; i < N; ++i) {
            if (!Codec<T>::check(array.at(qsizetype(i)), error))
                return inElement(error, qsizetype(i));
        }
        return true;
    }
    static void load(const QJsonValue &json, T (&out)[N])
    {
        const QJsonArray array = json.toArray();
        for (std::size_t i = 0; i < N; ++i)
            Codec<T>::load(array.at(qsizetype(i)), out[i]);
    }
    static const Shape *shape()
    {
        static const Shape s{{}, Codec<T>::shape()};
        return &s;
    }
};

// Lists and vectors: a JSON array of any length. Storage is reserved only once check() has seen
// every element.
template<typename Sequence>
struct SequenceCodec
{
    using T = typename Sequence::value_type;
    static QJsonValue save(const Sequence &value)
    {
        QJsonArray array;
        for (const T &element : value)
            array.append(Codec<T>::save(element));
        return array;
    }
    static bool check(const QJsonValue &json, LoadError &error)
    {
        if (!json.isArray())
            return fail(error, QStringLiteral("an array"), json);
        const QJsonArray array = json.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (!Codec<T>::check(array.at(i), error))
                return inElement(error, i);
        }
        return true;
    }
    static void load(const QJsonValue &json, Sequence &out)
    {
        const QJsonArray array = json.toArray();
        Sequence result;
        result.reserve(array.size());
        for (const QJsonValue entry : array) {
            T element{};
            Codec<T>::load(entry, element);
            result.append(std::move(element));
        }
        out = std::move(result);
    }
    static const Shape *shape()
    {
        static const Shape s{{}, Codec<T>::shape()};
        return &s;
    }
};

template<typename T>
struct Codec<QList<T>> : SequenceCodec<QList<T>>
{ };
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
// In Qt 6 these are QList itself.
template<typename T>
struct Codec<QVector<T>> : SequenceCodec<QVector<T>>
{ };
template<>
struct Codec<QStringList> : SequenceCodec<QStringList>
{ };
#endif

// The owned vectors behind a model's pointers: null, or the vector's array. Loading replaces the
// pointer with a new vector and releases the old one with what it owns.
template<typename T>
struct Codec<T *>
{
    static QJsonValue save(const T *value)
    {
        return value ? Codec<T>::save(*value) : QJsonValue(QJsonValue::Null);
    }
    static bool check(const QJsonValue &json, LoadError &error)
    {
        return json.isNull() || Codec<T>::check(json, error);
    }
    static void load(const QJsonValue &json, T *&out)
    {
        std::unique_ptr<T> fresh;
        if (!json.isNull()) {
            fresh = std::make_unique<T>();
            Codec<T>::load(json, *fresh);
        }
        release(out);
        out = fresh.release();
    }
    static void release(T *value)
    {
        if (value) {
            releaseOwned(*value);
            delete value;
        }
    }
    static const Shape *shape() { return Codec<T>::shape(); }
};

// The client's own map: an array of {"key": k, "value": v} in key order; a key given twice is an
// error, since one of the two would be lost.
template<typename K, typename V>
struct Codec<QMap<K, V>>
{
    static QJsonValue save(const QMap<K, V> &value)
    {
        QJsonArray array;
        for (auto it = value.cbegin(); it != value.cend(); ++it)
            array.append(QJsonObject{{QLatin1String("key"), Codec<K>::save(it.key())},
                                     {QLatin1String("value"), Codec<V>::save(it.value())}});
        return array;
    }
    // The keys seen so far are the one thing check() keeps: one key per entry, never more than
    // the document holds.
    static bool check(const QJsonValue &json, LoadError &error)
    {
        if (!json.isArray())
            return fail(error, QStringLiteral("an array"), json);
        const QJsonArray array = json.toArray();
        QSet<K> keys;
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QJsonValue entry = array.at(i);
            if (!entry.isObject()) {
                fail(error, QStringLiteral("an object"), entry);
                return inElement(error, i);
            }
            const QJsonObject object = entry.toObject();
            if (!checkEntry<K>(object, QLatin1String("key"), error)
                || !checkEntry<V>(object, QLatin1String("value"), error))
                return inElement(error, i);
            if (object.size() != 2) {
                error.message = QStringLiteral("unknown member");
                error.path = pathKey(unknownKey(object));
                return inElement(error, i);
            }
            K key{};
            Codec<K>::load(object.value(QLatin1String("key")), key);
            if (keys.contains(key)) {
                error.path = QStringLiteral("key");
                error.message = QStringLiteral("key %1 given twice").arg(key);
                return inElement(error, i);
            }
            keys.insert(key);
        }
        return true;
    }
    static void load(const QJsonValue &json, QMap<K, V> &out)
    {
        QMap<K, V> result;
        for (const QJsonValue entry : json.toArray()) {
            K key{};
            V mapped{};
            Codec<K>::load(entry[QLatin1String("key")], key);
            Codec<V>::load(entry[QLatin1String("value")], mapped);
            result.insert(key, mapped);
        }
        out = std::move(result);
    }
    static const Shape *shape()
    {
        static const Shape entry{{{QStringLiteral("key"), Codec<K>::shape()},
                                  {QStringLiteral("value"), Codec<V>::shape()}},
                                 nullptr};
        static const Shape s{{}, &entry};
        return &s;
    }

private:
    template<typename T>
    static bool checkEntry(const QJsonObject &object, QLatin1String name, LoadError &error)
    {
        const auto it = object.constFind(name);
        if (it == object.constEnd()) {
            error.path.clear();
            error.message = QStringLiteral("missing");
            return inMember(error, name);
        }
        return Codec<T>::check(it.value(), error) || inMember(error, name);
    }
    static QString unknownKey(const QJsonObject &object)
    {
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            QString key = it.key();
            if (key != QLatin1String("key") && key != QLatin1String("value"))
                return key;
        }
        return {};
    }
};

// A field as the record codecs walk it: its name, where it lies inside its object, and its
// codec's functions on untyped storage. One table per class, built once from its member list, so
// that every record shares one loop for each operation instead of a copy per class and member.
struct FieldOps
{
    QJsonValue (*save)(const void *member);
    bool (*check)(const QJsonValue &json, LoadError &error);
    void (*load)(const QJsonValue &json, void *member);
    void (*swap)(void *a, void *b);
    const Shape *(*shape)();
};

template<typename K, typename T>
struct ErasedCodec
{
    static QJsonValue save(const void *member) { return K::save(*static_cast<const T *>(member)); }
    static void load(const QJsonValue &json, void *member)
    {
        K::load(json, *static_cast<T *>(member));
    }
    static void swap(void *a, void *b)
    {
        using std::swap;
        swap(*static_cast<T *>(a), *static_cast<T *>(b));
    }
    static constexpr FieldOps ops{&save, &K::check, &load, &swap, &K::shape};
};

struct FieldSlot
{
    QLatin1String name;
    std::ptrdiff_t offset;
    const FieldOps *ops;
};
using FieldTable = std::vector<FieldSlot>;

// The offset of a data member. The Itanium C++ ABI, which GCC and Clang follow on every platform
// the library builds for, represents a pointer to data member as exactly that offset;
// memberliststest holds every listed member to it.
template<typename C, typename T>
std::ptrdiff_t memberOffset(T C::*member)
{
    static_assert(sizeof(member) == sizeof(std::ptrdiff_t));
    std::ptrdiff_t offset;
    std::memcpy(&offset, &member, sizeof offset);
    return offset;
}

// The table of class C, in list order.
template<typename C>
const FieldTable &fieldTable()
{
    static const FieldTable table = Members<C>::apply([](const auto &...f) {
        return FieldTable{{f.name, memberOffset(f.member),
                           &ErasedCodec<typename std::decay_t<decltype(f)>::Kind,
                                        typename std::decay_t<decltype(f)>::Type>::ops}...};
    });
    return table;
}

// The name of the first key of object that is none of the fields nor extra, or an empty string.
QString firstUnknownKey(const QJsonObject &object, const FieldTable &fields,
                        std::initializer_list<QLatin1String> extra = {});
// Checks every field in object, in table order; false at the first problem, with its path.
bool checkFields(const QJsonObject &object, const FieldTable &fields, LoadError &error);
// Loads every field into the object at out from an object that checkFields() passed.
void loadFields(const QJsonObject &object, const FieldTable &fields, void *out);
void saveFields(QJsonObject &object, const FieldTable &fields, const void *value);
void swapFields(const FieldTable &fields, void *a, void *b);
Shape::Members fieldShapes(const FieldTable &fields);

// Records: a JSON object with every field under its name, and nothing else.
template<typename R>
struct Codec<R, std::enable_if_t<HasMembers<R>::value>>
{
    static QJsonValue save(const R &value)
    {
        QJsonObject object;
        saveFields(object, fieldTable<R>(), &value);
        return object;
    }
    static bool check(const QJsonValue &json, LoadError &error)
    {
        if (!json.isObject())
            return fail(error, QStringLiteral("an object"), json);
        const QJsonObject object = json.toObject();
        const FieldTable &fields = fieldTable<R>();
        if (!checkFields(object, fields, error))
            return false;
        if (object.size() != qsizetype(fields.size())) {
            error.path = pathKey(firstUnknownKey(object, fields));
            error.message = QStringLiteral("unknown member");
            return false;
        }
        return true;
    }
    static void load(const QJsonValue &json, R &out)
    {
        loadFields(json.toObject(), fieldTable<R>(), &out);
    }
    static const Shape *shape()
    {
        static const Shape s{fieldShapes(fieldTable<R>()), nullptr};
        return &s;
    }
};

// A name from a string literal, without strlen (which is no constant expression for clang).
template<std::size_t N>
constexpr QLatin1String latin1(const char (&text)[N])
{
    return QLatin1String(text, int(N - 1));
}

template<typename C, typename T, std::size_t N>
constexpr Field<C, T, Codec<T>> field(const char (&name)[N], T C::*member)
{
    return {QLatin1String(name, int(N - 1)), member};
}

template<typename C, typename T, std::size_t N>
constexpr Field<C, T, ByteText<T>> byteText(const char (&name)[N], T C::*member)
{
    return {QLatin1String(name, int(N - 1)), member};
}

} // namespace StateCodec

#endif // STATE_CODEC_H
