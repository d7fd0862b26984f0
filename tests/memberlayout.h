#ifndef TESTS_MEMBERLAYOUT_H
#define TESTS_MEMBERLAYOUT_H

#include <QtTest/QtTest>

// Layout checks. A table lists every member in declaration order with its width in bytes, for the
// class that an alias named Layout stands for where the table is written. In a class of natural
// alignment each member is expected at the end of the one before, rounded up to its width (wider
// members are blocks that start on a pointer boundary), and the class ends rounded up to its
// alignment; in a packed class (alignment 1) every member follows the one before directly.

// The widths of the Qt types the classes hold, as the Qt these tests are built with lays them out.
// On Qt 5 each is one pointer to shared data. On Qt 6 a QString, QByteArray or QList (QVector,
// QStringList) holds the data pointer and the size beside it, three pointers' worth, and every
// member after the first such one moves; a QMap stays one pointer.
constexpr int Pointer = int(sizeof(void *));
constexpr int String = int(sizeof(QString));
constexpr int Bytes = int(sizeof(QByteArray));
constexpr int List = int(sizeof(QList<int>));
constexpr int Map = int(sizeof(QMap<int, int>));
static_assert(QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
                  || (String == Pointer && Bytes == Pointer && List == Pointer && Map == Pointer),
              "on Qt 5 the offsets are those of the binary interface: every Qt member one pointer");

template<typename T>
struct LayoutMember
{
    const char *name;
    int width;         // as the binary interface gives it
    int declaredWidth; // sizeof the member as declared
    const char *(*address)(const T &);
};

#define LAYOUT(member, width)                                                                      \
    LayoutMember<Layout>                                                                           \
    {                                                                                              \
#member, width, int(sizeof(Layout::member)),                                               \
            [](const Layout &c) { return reinterpret_cast<const char *>(&c.member); }              \
    }

// One row per member and one for sizeof, named "<prefix>::<member>", each with the offset and the
// declared width found against those the table gives. firstOffset leaves room for a vtable pointer.
template<typename T, std::size_t N>
void addLayoutTable(const char *prefix, const LayoutMember<T> (&members)[N], int firstOffset = 0)
{
    QTest::addColumn<QVector<int>>("found");
    QTest::addColumn<QVector<int>>("expected");
    static const T object; // some models are large
    const char *base = reinterpret_cast<const char *>(&object);
    int offset = firstOffset;
    for (const LayoutMember<T> &m : members) {
        const int alignment = alignof(T) == 1 ? 1 : qMin(m.width, Pointer);
        offset = (offset + alignment - 1) / alignment * alignment;
        QTest::addRow("%s::%s", prefix, m.name)
            << QVector<int>{int(m.address(object) - base), m.declaredWidth}
            << QVector<int>{offset, m.width};
        offset += m.width;
    }
    const int end = int((offset + alignof(T) - 1) / alignof(T) * alignof(T));
    QTest::addRow("%s::sizeof", prefix) << QVector<int>{int(sizeof(T))} << QVector<int>{end};
}

inline void checkLayoutRow()
{
    QFETCH(QVector<int>, found);
    QFETCH(QVector<int>, expected);
    QCOMPARE(found, expected);
}

#endif // TESTS_MEMBERLAYOUT_H
