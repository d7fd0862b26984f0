#include "documenttype.h"

#include "memberlists.h"

#include <iterator>

namespace StateCodec {

const DocumentType *DocumentType::member(const QString &memberName, int row) const
{
    if (row >= 0 && row < members.size() && members.at(row).first == memberName)
        return members.at(row).second;
    for (const auto &m : members) {
        if (m.first == memberName)
            return m.second;
    }
    return nullptr;
}

namespace {

    template<typename T>
    struct IsSequence : std::false_type
    { };
    template<typename T>
    struct IsSequence<QList<T>> : std::true_type
    { };
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    template<typename T>
    struct IsSequence<QVector<T>> : std::true_type
    { };
    template<>
    struct IsSequence<QStringList> : std::true_type
    { };
#endif

    template<typename T>
    struct IsMap : std::false_type
    { };
    template<typename K, typename V>
    struct IsMap<QMap<K, V>> : std::true_type
    { };

    // A leaf is checked by the same codec check that restore() runs before it loads anything.
    template<typename K, typename T>
    bool checkLeaf(const QJsonValue &json, LoadError &error)
    {
        return K::check(json, error);
    }

    template<typename K, typename T>
    DocumentType leaf(const QString &name, DocumentType::Leaf kind, int size = -1)
    {
        DocumentType type;
        type.name = name;
        type.leaf = kind;
        type.size = size;
        type.check = &checkLeaf<K, T>;
        return type;
    }

    // The type that codec K reads and writes, one static object per codec.
    template<typename K>
    struct TypeOf;

    template<typename T>
    QVector<QPair<QString, const DocumentType *>> memberTypes()
    {
        QVector<QPair<QString, const DocumentType *>> types;
        Members<T>::apply([&](const auto &...f) {
            (types.append({f.name, TypeOf<typename std::decay_t<decltype(f)>::Kind>::get()}), ...);
        });
        return types;
    }

    template<typename B, std::size_t N>
    struct TypeOf<ByteText<B[N]>>
    {
        static const DocumentType *get()
        {
            static const DocumentType type = leaf<ByteText<B[N]>, B[N]>(
                QStringLiteral("bytes[%1]").arg(N), DocumentType::Leaf::Bytes, int(N));
            return &type;
        }
    };

    template<typename T, typename E>
    struct TypeOf<Codec<T, E>>
    {
        static const DocumentType *get()
        {
            static const DocumentType type = make();
            return &type;
        }

        static DocumentType make()
        {
            using Leaf = DocumentType::Leaf;
            if constexpr (HasMembers<T>::value) {
                DocumentType type;
                type.name = QStringLiteral("record");
                type.members = memberTypes<T>();
                return type;
            } else if constexpr (std::is_array_v<T>) {
                DocumentType type;
                type.name = QStringLiteral("array of %1").arg(std::extent_v<T>);
                type.element = TypeOf<Codec<std::remove_extent_t<T>>>::get();
                return type;
            } else if constexpr (std::is_pointer_v<T>) {
                // An owned vector: its array, or null.
                DocumentType type = TypeOf<Codec<std::remove_pointer_t<T>>>::make();
                type.name += QLatin1String(" or null");
                return type;
            } else if constexpr (IsSequence<T>::value) {
                DocumentType type;
                type.element = TypeOf<Codec<typename T::value_type>>::get();
                type.name = QLatin1String("list of ") + type.element->name;
                return type;
            } else if constexpr (IsMap<T>::value) {
                static const DocumentType entry = [] {
                    DocumentType e;
                    e.name = QStringLiteral("entry");
                    e.members = {
                        {QStringLiteral("key"), TypeOf<Codec<typename T::key_type>>::get()},
                        {QStringLiteral("value"), TypeOf<Codec<typename T::mapped_type>>::get()}};
                    return e;
                }();
                DocumentType type;
                type.name = QStringLiteral("map");
                type.element = &entry;
                type.uniqueKeys = true;
                return type;
            } else if constexpr (std::is_same_v<T, bool>) {
                return leaf<Codec<T>, T>(QStringLiteral("bool"), Leaf::Integer);
            } else if constexpr (std::is_integral_v<T>) {
                return leaf<Codec<T>, T>(
                    QStringLiteral("%1int%2")
                        .arg(std::is_signed_v<T> ? QString() : QStringLiteral("u"))
                        .arg(sizeof(T) * 8),
                    Leaf::Integer);
            } else if constexpr (std::is_same_v<T, double>) {
                return leaf<Codec<T>, T>(QStringLiteral("double"), Leaf::Floating);
            } else if constexpr (std::is_same_v<T, QString>) {
                return leaf<Codec<T>, T>(QStringLiteral("string"), Leaf::Text);
            } else {
                static_assert(std::is_same_v<T, QByteArray>, "a member type without a codec");
                return leaf<Codec<T>, T>(QStringLiteral("bytes"), Leaf::Bytes);
            }
        }
    };

    // The document's own entries are read, never edited: a document of another class or format
    // is another document.
    DocumentType ownEntry(const QString &name)
    {
        DocumentType type;
        type.name = name;
        type.leaf = name == QLatin1String("string") ? DocumentType::Leaf::Text
                                                    : DocumentType::Leaf::Integer;
        return type;
    }

    template<typename T>
    const DocumentType *classType()
    {
        static const DocumentType type = [] {
            static const DocumentType className = ownEntry(QStringLiteral("string"));
            static const DocumentType format = ownEntry(QStringLiteral("int32"));
            DocumentType d;
            d.name = documentClassName<T>;
            d.members = memberTypes<T>();
            d.members.prepend({QStringLiteral("format"), &format});
            d.members.prepend({QStringLiteral("class"), &className});
            return d;
        }();
        return &type;
    }

} // namespace

const DocumentType *documentType(const QString &className)
{
    using Entry = const DocumentType *(*)();
#define CLASS_TYPE(T) &classType<T>,
    static constexpr Entry classes[] = {STATE_DOCUMENT_CLASSES(CLASS_TYPE)};
#undef CLASS_TYPE
    const auto it = std::find_if(std::begin(classes), std::end(classes),
                                 [&](Entry e) { return e()->name == className; });
    return it != std::end(classes) ? (*it)() : nullptr;
}

} // namespace StateCodec
