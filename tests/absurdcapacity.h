#ifndef TESTS_ABSURDCAPACITY_H
#define TESTS_ABSURDCAPACITY_H

#include <model/capacity/capacitytable.h>

#include <QtTest/QtTest>

#include <climits>
#include <new>

// A capacity member of Model, with its name.
template<typename Model>
using CapacityMember = std::pair<const char *, int Model::*>;

// A code that no model knows, so initParam() builds to the capacities the members hold.
constexpr int UnknownDeviceCode = 0x123456;

// Rows of capacities that no device has, for a model's `capacity` column: each member that sizes
// part of its tree, just past the shared limit and at INT_MAX.
template<typename Model>
void addAbsurdCapacityRows(const QVector<CapacityMember<Model>> &members)
{
    QTest::addColumn<int>("member");
    QTest::addColumn<int>("value");
    int index = 0;
    for (const auto &member : members) {
        for (int value : {DeviceCapacities::capacityLimit() + 1, INT_MAX})
            QTest::addRow("%s = %d", member.first, value) << index << value;
        ++index;
    }
}

// initParam() refuses such a capacity with std::bad_alloc before it changes anything: every byte
// of the model, the device code among them, stays as it was.
template<typename Model>
void checkAbsurdCapacityRow(const QVector<CapacityMember<Model>> &members)
{
    QFETCH(int, member);
    QFETCH(int, value);
    Model model;
    model.*(members.at(member).second) = value;
    const QByteArray before(reinterpret_cast<const char *>(&model), sizeof model);
    // A plain try block: Qt 6 deprecates the exception macro of Qt 5, whose successor Qt 5 lacks.
    bool refused = false;
    try {
        model.initParam(UnknownDeviceCode);
    } catch (const std::bad_alloc &) {
        refused = true;
    }
    QVERIFY2(refused, "initParam() did not refuse the capacity with std::bad_alloc");
    QVERIFY(QByteArray(reinterpret_cast<const char *>(&model), sizeof model) == before);
}

#endif // TESTS_ABSURDCAPACITY_H
