#ifndef TESTS_ABSURDCAPACITY_H
#define TESTS_ABSURDCAPACITY_H

#include <model/capacity/capacitytable.h>

#include <QtTest/QtTest>

#include <climits>
#include <cstring>
#include <memory>
#include <new>

// A capacity member of Model, with its name.
#define CAPACITY(Model, member) std::pair<const char *, int Model::*>(#member, &Model::member)

// A code that no model knows, so initParam() builds to the capacities the members hold.
constexpr int UnknownDeviceCode = 0x123456;

// Rows of capacities that no device has: each member that sizes part of the model's tree, by its
// offset in the model, just past the shared limit and at INT_MAX.
template<typename Model>
void addAbsurdCapacityRows(std::initializer_list<std::pair<const char *, int Model::*>> members)
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    const auto model = std::make_unique<Model>();
    const char *base = reinterpret_cast<const char *>(model.get());
    for (const auto &[name, member] : members) {
        const auto offset = int(reinterpret_cast<const char *>(&(model.get()->*member)) - base);
        for (int value : {DeviceCapacities::capacityLimit() + 1, INT_MAX})
            QTest::addRow("%s = %d", name, value) << offset << value;
    }
}

// initParam() refuses such a capacity with std::bad_alloc before it changes anything: every byte
// of the model, the device code among them, stays as it was.
template<typename Model>
void checkAbsurdCapacityRow()
{
    QFETCH(int, offset);
    QFETCH(int, value);
    Model model;
    std::memcpy(reinterpret_cast<char *>(&model) + offset, &value, sizeof value);
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
