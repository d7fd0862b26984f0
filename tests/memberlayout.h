#ifndef TESTS_MEMBERLAYOUT_H
#define TESTS_MEMBERLAYOUT_H

#include <QtTest/QtTest>

#include <algorithm>

// Layout checks. A table lists every member in declaration order with its width in bytes. In a
// class of natural alignment each member is expected at the end of the one before, rounded up to
// its width (the natural alignment of the scalars and Qt handles these classes hold), and the class
// ends rounded up to its widest member; in a packed class every member follows the one before
// directly and the class ends with its last member.

// The width of a Qt handle (QString, QByteArray, QList): one pointer.
constexpr int Handle = int(sizeof(void *));

template<typename T>
struct LayoutMember
{
    const char *name;
    int width;         // as the binary interface gives it
    int declaredWidth; // sizeof the member as declared
    const char *(*address)(const T &);
    QVariant (*value)(const T &) = nullptr; // set by LAYOUT_FIELD
};

#define LAYOUT_MEMBER(Class, member, width)                                                        \
    LayoutMember<Class>                                                                            \
    {                                                                                              \
#member, width, int(sizeof(Class::member)),                                                \
            [](const Class &c) { return reinterpret_cast<const char *>(&c.member); }               \
    }

// The same for the class that an alias named Layout stands for where the table is written.
#define LAYOUT(member, width) LAYOUT_MEMBER(Layout, member, width)

// A member whose value fieldValues() reads as well, so that one table serves both the layout and
// the defaults of a record. Not for packed classes, whose members cannot bind to a reference.
#define LAYOUT_FIELD(Class, member, width)                                                         \
    LayoutMember<Class>                                                                            \
    {                                                                                              \
#member, width, int(sizeof(Class::member)),                                                \
            [](const Class &c) { return reinterpret_cast<const char *>(&c.member); },              \
            [](const Class &c) { return QVariant::fromValue(c.member); }       \
    }

// The values of object's members in table order; a table of LAYOUT_FIELD rows.
template<typename T, std::size_t N>
QVariantList fieldValues(const LayoutMember<T> (&members)[N], const T &object)
{
    QVariantList values;
    for (const LayoutMember<T> &m : members)
        values << m.value(object);
    return values;
}

inline void addLayoutColumns()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("expectedOffset");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("expectedWidth");
}

enum class Packing { Natural, Packed };

// One row per member and one for sizeof, named "<prefix>::<member>". firstOffset leaves room for
// a vtable pointer.
template<typename T, std::size_t N>
void addLayoutRows(const char *prefix, const LayoutMember<T> (&members)[N], int firstOffset = 0,
                   Packing packing = Packing::Natural)
{
    static const T object; // some models are large
    const char *base = reinterpret_cast<const char *>(&object);
    const auto alignUp = [packing](int offset, int alignment) {
        if (packing == Packing::Packed)
            return offset;
        return (offset + alignment - 1) / alignment * alignment;
    };
    int offset = firstOffset;
    int alignment = firstOffset > 0 ? Handle : 1;
    for (const LayoutMember<T> &m : members) {
        offset = alignUp(offset, m.width);
        QTest::newRow(QByteArray(prefix).append("::").append(m.name).constData())
            << int(m.address(object) - base) << offset << m.declaredWidth << m.width;
        offset += m.width;
        alignment = std::max(alignment, m.width);
    }
    QTest::newRow(QByteArray(prefix).append("::sizeof").constData())
        << int(sizeof(T)) << alignUp(offset, alignment) << 0 << 0;
}

// The columns and the rows of one class, for a test that checks a single class.
template<typename T, std::size_t N>
void addLayoutTable(const char *prefix, const LayoutMember<T> (&members)[N], int firstOffset = 0,
                    Packing packing = Packing::Natural)
{
    addLayoutColumns();
    addLayoutRows(prefix, members, firstOffset, packing);
}

inline void checkLayoutRow()
{
    QFETCH(int, offset);
    QFETCH(int, expectedOffset);
    QFETCH(int, width);
    QFETCH(int, expectedWidth);
    QCOMPARE(offset, expectedOffset);
    QCOMPARE(width, expectedWidth);
}

#endif // TESTS_MEMBERLAYOUT_H
