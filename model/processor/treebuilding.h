#ifndef MODEL_PROCESSOR_TREEBUILDING_H
#define MODEL_PROCESSOR_TREEBUILDING_H

#include <QtCore/QList>
#include <QtCore/QtGlobal>

#include <algorithm>
#include <cstddef>
#include <limits>

// Helpers the device models share when they build their trees. Internal to the library.
namespace TreeBuilding {

// A capacity as an element count. Only a client writing a capacity member directly can take it
// out of the tables' range: a negative value builds no entries, and a value beyond what a Qt
// container can hold is cut down so that "4 per output" and "one more than outputs" cannot
// overflow (the allocation then fails the documented way).
inline int count(int capacity)
{
    return qBound(0, capacity, std::numeric_limits<int>::max() / 8);
}

// Appends n copies of value, sized once. Entries that hold Qt containers share their data until
// the client writes one, so a large tree costs one allocation per distinct default, not one per
// entry.
template<typename T>
void appendCopies(QList<T> &list, int n, const T &value)
{
    list.reserve(list.size() + n);
    for (int i = 0; i < n; ++i)
        list.append(value);
}

// The row of a capacity table whose `codes` list holds deviceCode, or nullptr for a code the
// table does not know.
template<typename Row, std::size_t N>
const Row *findRow(const Row (&rows)[N], int deviceCode)
{
    const Row *row = std::find_if(rows, rows + N, [deviceCode](const Row &r) {
        return std::find(r.codes.begin(), r.codes.end(), deviceCode) != r.codes.end();
    });
    return row == rows + N ? nullptr : row;
}

} // namespace TreeBuilding

#endif // MODEL_PROCESSOR_TREEBUILDING_H
