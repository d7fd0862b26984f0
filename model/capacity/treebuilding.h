#ifndef MODEL_CAPACITY_TREEBUILDING_H
#define MODEL_CAPACITY_TREEBUILDING_H

#include "capacitytable.h"

#include <QtCore/QList>
#include <QtCore/QtGlobal>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <new>

// Helpers the device models share when they build their trees. Internal to the library.
namespace TreeBuilding {

// Refuses to build a tree for capacities that no device has: throws std::bad_alloc, as the
// containers would after a long time and many gigabytes, when one of the capacities that size
// the tree is above DeviceCapacities::capacityLimit(). Only a client writing a capacity member
// directly gets there; initParam() calls this before it changes anything.
inline void refuseAbsurdCapacities(std::initializer_list<int> capacities)
{
    const int limit = DeviceCapacities::capacityLimit();
    if (std::any_of(capacities.begin(), capacities.end(), [=](int c) { return c > limit; }))
        throw std::bad_alloc();
}

// A capacity as an element count: a negative value, which a client may have written, builds no
// entries.
inline int count(int capacity)
{
    return qMax(0, capacity);
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

#endif // MODEL_CAPACITY_TREEBUILDING_H
