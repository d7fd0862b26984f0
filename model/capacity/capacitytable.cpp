#include "capacitytable.h"

#include "treebuilding.h"

#include <algorithm>
#include <iterator>

namespace DeviceCapacities {
namespace {

    constexpr int _ = Unset;

    // clang-format off
constexpr Row s_rows[] = {
    // device codes                                                    PreOut PreOutGrp LinkOut LinkOutGrp Output Source Layer InBoard OutBoard InPort OutPort Container OneMonLayer PvwBoard
    {{0x220000},                                                           16,   8,   8,  4,  16,  16,  16,  4,  4,  4,  4, 16,  1, _},
    {{0x230100, 0x230101, 0x230102, 0x230106, 0x230107},                    8,   4,   4,  4,   8,   8,   8,  2,  2,  4,  4,  8,  1, _},
    {{0x240000},                                                           16,   8,   8,  4,  16,  16,  16,  4,  4,  4,  4,  1,  1, _},
    {{0x240100},                                                            8,   4,   4,  4,   8,   8,   8,  2,  2,  4,  4,  1,  1, _},
    {{0x240200},                                                           32,  16,  16,  8,  32,  32,  32,  8,  8,  4,  4,  1,  1, _},
    {{0x250000, 0x250100, 0x250200},                                        8,   4,   4,  2,   8,  16,  32,  4,  2,  4,  4,  8,  4, 1},
    {{0x250300},                                                            8,   4,   4,  2,  32,  32, 384,  8,  8,  4,  4,  4, 48, 1},
    {{0x250301},                                                           16,   8,   8,  4,  64,  64, 768, 16, 16,  4,  4,  4, 48, 1},
    {{0x250310, 0x250400},                                                 20,  20,  20, 20,  20,  36,  40,  9,  5,  4,  4,  6,  8, 1},
    {{0x250311, 0x250401},                                                  8,   8,   8,  8,   8,  12,  16,  3,  2,  4,  4,  6,  8, 1},
    {{0x250312, 0x250402},                                                 40,  40,  40, 40,  40,  72,  80, 18, 10,  4,  4,  6,  8, 1},
    {{0x250313, 0x250403},                                                 80,  80,  80, 80,  80, 152, 160, 38, 20,  4,  4,  6,  8, 1},
    {{0x260000, 0x260001, 0x270000, 0x270001},                             10,   5,   5,  5,  20,  36,  80,  9,  5,  4,  4,  5, 16, 1},
    {{0x260100, 0x260101, 0x270100, 0x270101},                              4,   2,   2,  2,   8,  20,  32,  5,  2,  4,  4,  2, 16, 1},
    {{0x280100},                                                            1,   1,   1,  1,   3,   4,   4,  1,  1,  4,  3,  1,  4, _},
    {{0x2C0100, 0x2C0101, 0x2C0102, 0x2C0105, 0x2C0106, 0x2C0107},          1,   1,   1,  1,   3,   6,   4,  1,  1,  6,  3,  1,  4, _},
    {{0x2C0103, 0x2C0104},                                                  1,   1,   1,  1,   1,   5,   2,  1,  1,  5,  1,  1,  4, _},
    {{0x2C0200, 0x2C0201, 0x2C0202},                                        1,   1,   1,  1,   1,   1,   1,  1,  1,  1,  1,  1,  1, _},
    {{0x2D0000, 0x2D0001},                                                  8,   4,   4,  2,  80,  80,  80,  1,  1, 80, 80, 40,  4, _},
    {{0x320000, 0x320001, 0x320002, 0x320003, 0x320004},                    8,   4,   4,  2,   8,  16,  16,  4,  2,  4,  4,  8,  2, 2},
    {{0x628200},                                                           16,   8,   4,  2,  16,  16,  16,  4,  4,  4,  4,  2,  4, _},
    {{0x629000},                                                            8,   4,   4,  2,   8,   8,   4,  2,  2,  4,  4,  2,  4, _},
    {{0x629066},                                                            8,   4,   4,  2,   2,   8,   8,  3,  1,  4,  4,  1,  4, _},
    {{0x629100},                                                            2,   1,   1,  1,   4,   1,   4,  1,  1,  1,  4,  1,  1, _},
    {{0x700000},                                                           32,  16,  16,  8,  32,  32,  64,  8,  8,  4,  4, 32,  2, _},
    {{0x800000},                                                           40,  20,  20, 10,  40,  53, 160, 13, 10,  4,  4, 40,  4, _},
    {{0x900000},                                                          144,  36, 144, 36, 144,  96, 288, 24, 36,  4,  4,  4,  4, 1},
    {{0x900001},                                                           40,  40,  40, 40,  40,  76, 160, 19, 10,  4,  4,  4,  8, 1},
    {{0xA00000},                                                           24,  12,  12,  6,  24,  26,  96,  6,  6,  4,  4, 24,  4, _},
};

// Processor variants of the 0x2C0200 row that have no scene or bank player mode.
constexpr int s_processorOnlyCodes[] = {0x2C0201, 0x2C0202};
    // clang-format on

    constexpr int largestCapacity()
    {
        int largest = 0;
        for (const Row &row : s_rows) {
            for (int value :
                 {row.preOutput, row.preOutputGroup, row.linkOutput, row.linkOutputGroup,
                  row.output, row.source, row.layer, row.inputBoard, row.outputBoard,
                  row.inputBoardPort, row.outputBoardPort, row.container, row.oneMonitorLayer,
                  row.pvwBoard, BankCount, BankNameLength, PageCount, ContainerNameLength})
                largest = std::max(largest, value);
        }
        return largest;
    }

    constexpr int CapacityHeadroom = 64;
    constexpr int s_capacityLimit = CapacityHeadroom * largestCapacity();

} // namespace

int capacityLimit()
{
    return s_capacityLimit;
}

const Row *processorRow(int deviceCode)
{
    return TreeBuilding::findRow(s_rows, deviceCode);
}

const Row *sceneRow(int deviceCode)
{
    if (std::find(std::begin(s_processorOnlyCodes), std::end(s_processorOnlyCodes), deviceCode)
        != std::end(s_processorOnlyCodes))
        return nullptr;
    return processorRow(deviceCode);
}

const Row *begin()
{
    return std::begin(s_rows);
}

const Row *end()
{
    return std::end(s_rows);
}

} // namespace DeviceCapacities
