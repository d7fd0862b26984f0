#include "measure.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/ic/modelic.h>
#include <model/capacity/capacitytable.h>
#include <model/processor/modelcalyth.h>
#include <model/scene/modelscene.h>

#include <QtCore/QString>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Construction and initParam() of the four device models for their default code, their smallest
// code and the three largest trees, each beside the floor of its payload.

namespace {

using Bytes = std::int64_t;

// The payload of a tree: the bytes of every element it holds, counted from the capacities in
// force. An element that is itself a container counts with its own elements (a source's eight
// texts count as the list plus eight strings); text and list data shared by every entry count as
// the elements that hold them, since empty strings carry no characters.

Bytes payloadBytes(ModelCalyth &m)
{
    const Bytes outputs = m.getMaxOutputCount();
    const Bytes sources = m.getMaxSourceCount();
    const Bytes layers = m.getMaxLayerCount();
    const Bytes inputBoards = m.getMaxInputBoardCount();
    const Bytes outputBoards = m.getMaxOutPutBoardCount();
    const Bytes ports = m.getMaxInputBoardPortCount();
    const Bytes containers = m.getMaxContainerCount();

    const Bytes perOutput = 6 * sizeof(int) + sizeof(quint8) + sizeof(_OutputH_Record)
        + sizeof(_OutputI_Record) + 4 * sizeof(_OutputJ_Record) + sizeof(quint8)
        + sizeof(_OutputA_Record) + sizeof(_OutputB_Record) + sizeof(_OutputC_Record)
        + sizeof(_OutputD_Record) + sizeof(_OutputE_Record) + sizeof(_OutputF_Record)
        + 4 * sizeof(QString) + sizeof(_OutputName_Record);
    const Bytes perSource = 4 * sizeof(quint8) + 3 * sizeof(int) + sizeof(QStringList)
        + 8 * sizeof(QString) + sizeof(_SourceWindow_Record) + sizeof(_SourceB_Record)
        + sizeof(_SourceC_Record);
    const Bytes perOutputBoard = 3 * sizeof(quint8) + 3 * sizeof(QString) + 2 * sizeof(QStringList);
    const Bytes perInputBoard = sizeof(_InputPort_Record) + 6 * ports * Bytes(sizeof(int))
        + sizeof(_InputBoard_Record) + sizeof(QString) + sizeof(_Int12_Record);
    const Bytes perContainer = sizeof(_Container_Record) + outputs * Bytes(sizeof(int));

    return outputs * perOutput + (outputs + 1) * Bytes(sizeof(_OutputG_Record))
        + sources * perSource + layers * Bytes(sizeof(_Layer_Record))
        + outputBoards * perOutputBoard + inputBoards * perInputBoard + containers * perContainer;
}

Bytes payloadBytes(ModelScene &m)
{
    const Bytes layers = m.getMaxLayerCount();
    const Bytes banks = m.getMaxBankCount();
    const Bytes outputs = m.getMaxOutputCount();
    const Bytes perBank = sizeof(_SceneBank_Record) + layers * Bytes(sizeof(_SceneLayer_Record))
        + outputs * Bytes(sizeof(quint8)) + sizeof(QVector<_SceneOutput_Record>)
        + outputs * Bytes(sizeof(_SceneOutput_Record));
    return layers * Bytes(sizeof(_SceneLayer_Record)) + banks * perBank
        + m.getMaxContainerCount() * Bytes(sizeof(_SceneContainer_Record))
        + m.getMaxSourceCount() * Bytes(sizeof(_Int12_Record));
}

// The per-bank bytes, and the item table that initParam() rewrites inside the object.
Bytes payloadBytes(ModelBankPlayer &m)
{
    return (9 + 8) * Bytes(m.getMaxBankCount())
        + ModelBankPlayer::ItemCount * Bytes(sizeof(_BankPlayerItem_Record));
}

Bytes payloadBytes(ModelIC &m)
{
    return m.getMaxGroupCount() * Bytes(sizeof(_ICGroup_Record))
        + m.getMaxSignalGroupCount() * Bytes(sizeof(_ICSignalGroup_Record))
        + (m.getMaxInPortCount() + m.getMaxOutPortCount()) * Bytes(sizeof(_ICPort_Record))
        + m.getMaxUserCount() * Bytes(sizeof(_UserList_Destktop));
}

// The codes whose trees are the largest: most layers, most outputs, most ports per board.
constexpr int LargeCodes[] = {0x250301, 0x900000, 0x2D0000};

struct Family
{
    const char *name;
    int defaultCode;
    std::vector<int> knownCodes;
};

std::vector<int> tableCodes(const DeviceCapacities::Row *(*rowOf)(int))
{
    std::vector<int> codes;
    for (auto row = DeviceCapacities::begin(); row != DeviceCapacities::end(); ++row) {
        for (int code : row->codes) {
            if (rowOf(code))
                codes.push_back(code);
        }
    }
    return codes;
}

std::string hex(int code)
{
    return "0x" + QString::number(code, 16).toUpper().toStdString();
}

template<typename Model>
void construct(benchmark::State &state)
{
    const auto build = [] {
        Model model;
        benchmark::DoNotOptimize(&model);
        benchmark::ClobberMemory();
    };
    measure::countAllocations(state, build);
    measure::timedLoop(state, build);
    Model probe;
    state.counters["payload_B"] = double(payloadBytes(probe));
}

template<typename Model>
void initParam(benchmark::State &state, int code)
{
    Model model;
    model.initParam(code);
    const auto rebuild = [&model, code] {
        model.initParam(code);
        benchmark::ClobberMemory();
    };
    measure::countAllocations(state, rebuild);
    const double nanoseconds = measure::timedLoop(state, rebuild);
    measure::reportFloor(state, nanoseconds, payloadBytes(model));
}

// The known code with the smallest payload; the default code, or else the first in table order,
// on a tie.
template<typename Model>
int smallestCode(int defaultCode, const std::vector<int> &codes)
{
    Model model;
    model.initParam(defaultCode);
    int smallest = defaultCode;
    Bytes least = payloadBytes(model);
    for (int code : codes) {
        model.initParam(code);
        const Bytes bytes = payloadBytes(model);
        if (bytes < least) {
            least = bytes;
            smallest = code;
        }
    }
    return smallest;
}

struct Measured
{
    int code;
    std::string roles;
};

// A code measured in several roles is measured once, with every role in its label.
void addRole(std::vector<Measured> &measured, int code, const char *role)
{
    const auto it = std::find_if(measured.begin(), measured.end(),
                                 [code](const Measured &m) { return m.code == code; });
    if (it == measured.end())
        measured.push_back({code, role});
    else
        it->roles += std::string(", ") + role;
}

template<typename Model>
void registerFamily(const Family &family)
{
    benchmark::RegisterBenchmark((std::string(family.name) + "/construct").c_str(),
                                 construct<Model>);

    std::vector<Measured> measured;
    addRole(measured, family.defaultCode, "default");
    addRole(measured, smallestCode<Model>(family.defaultCode, family.knownCodes), "smallest");
    for (int code : LargeCodes) {
        if (std::find(family.knownCodes.begin(), family.knownCodes.end(), code)
            != family.knownCodes.end())
            addRole(measured, code, "large");
    }

    for (const Measured &m : measured) {
        const std::string name = std::string(family.name) + "/initParam/" + hex(m.code);
        const int code = m.code;
        const std::string roles = m.roles;
        benchmark::RegisterBenchmark(name.c_str(), [code, roles](benchmark::State &state) {
            state.SetLabel(roles);
            initParam<Model>(state, code);
        });
    }
}

} // namespace

void registerDeviceModelBenchmarks()
{
    const std::vector<int> processorCodes = tableCodes(DeviceCapacities::processorRow);
    const std::vector<int> sceneCodes = tableCodes(DeviceCapacities::sceneRow);
    // The IC family's own table is internal to its model and knows these two.
    const std::vector<int> icCodes = {0x2D0000, 0x2D0001};

    registerFamily<ModelCalyth>({"ModelCalyth", 0x320000, processorCodes});
    registerFamily<ModelScene>({"ModelScene", 0x320000, sceneCodes});
    registerFamily<ModelBankPlayer>({"ModelBankPlayer", 0x320000, sceneCodes});
    registerFamily<ModelIC>({"ModelIC", 0x2D0001, icCodes});
}
