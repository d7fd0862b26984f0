#ifndef MODEL_CAPACITY_CAPACITYTABLE_H
#define MODEL_CAPACITY_CAPACITYTABLE_H

#include <initializer_list>

// The capacities of every device code of the processor family. The scene and bank player
// models serve the same devices and read their capacities from this table too, so a value is
// written down exactly once. Internal to the library: not installed, not exported.
namespace DeviceCapacities {

// A column that a row leaves out: the model keeps the value it had before.
constexpr int Unset = -1;

// Written by every known code, whatever its row.
constexpr int BankCount = 16;
constexpr int BankNameLength = 16;
constexpr int PageCount = 16;
constexpr int ContainerNameLength = 32;

struct Row
{
    std::initializer_list<int> codes; // device codes that share every value of the row
    int preOutput;
    int preOutputGroup;
    int linkOutput;
    int linkOutputGroup;
    int output;
    int source;
    int layer;
    int inputBoard;
    int outputBoard;
    int inputBoardPort;
    int outputBoardPort;
    int container;
    int oneMonitorLayer;
    int pvwBoard; // Unset where the device has no preview board of its own
};

// The row of a code the processor model knows, or nullptr.
const Row *processorRow(int deviceCode);

// The row of a code the scene and bank player models know, or nullptr. They know every
// processor code but the two scene-less variants of the 0x2C0200 row.
const Row *sceneRow(int deviceCode);

// The largest capacity a client may write into a device model before initParam(): far above
// every capacity of any device (64 times the largest of this table, 768 layers), so that only a
// client's mistake goes past it. The tree of a larger capacity is refused before it is built.
int capacityLimit();

// Every row, in table order, for tools that list the known codes.
const Row *begin();
const Row *end();

} // namespace DeviceCapacities

#endif // MODEL_CAPACITY_CAPACITYTABLE_H
