#include "modelic.h"

#include <model/capacity/treebuilding.h>

#include <QtCore/QtGlobal>

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace {

constexpr int DefaultICCode = 0x2D0001;

struct CapacityRow
{
    std::initializer_list<int> codes; // device codes that share every value of the row
    int group;
    int signalGroup;
    int inPort;
    int outPort;
    int user;
};

// clang-format off
constexpr CapacityRow s_capacities[] = {
    // device codes          Group SignalGroup InPort OutPort User
    {{0x2D0000, 0x2D0001},      80,         80,    80,     80,  40},
};
// clang-format on

// Appends capacity default records. The capacities are public, so a client may have written a
// negative one: that builds an empty list rather than a failed allocation.
template<typename T>
void appendDefaults(QList<T> &list, int capacity)
{
    TreeBuilding::appendCopies(list, TreeBuilding::count(capacity), T{});
}

} // namespace

ModelIC::ModelIC()
{
    initParam(DefaultICCode);
}

ModelIC::~ModelIC() = default;

void ModelIC::initMaxParams(int deviceCode)
{
    const CapacityRow *row = TreeBuilding::findRow(s_capacities, deviceCode);
    if (!row) {
        // The text names the group capacity, yet only the user capacity drops to 0: the other
        // lists keep the sizes of the last known code, and resetUserInfo() accepts no index.
        // Category "default" without file, line or function; a default-constructed logger would
        // hand the message handler a null category.
        QMessageLogger(nullptr, 0, nullptr).warning("---ModelIC m_maxGroupCount = 0");
        m_maxUserCount = 0;
        return;
    }
    m_maxGroupCount = row->group;
    m_maxSignalGroupCount = row->signalGroup;
    m_maxInPortCount = row->inPort;
    m_maxOutPortCount = row->outPort;
    m_maxUserCount = row->user;
}

void ModelIC::initParam(int deviceCode)
{
    // A known code brings its own capacities; any other keeps what the members hold, but for the
    // users, who drop to none. This table's capacities are far below the shared limit.
    if (!TreeBuilding::findRow(s_capacities, deviceCode))
        TreeBuilding::refuseAbsurdCapacities(
            {m_maxGroupCount, m_maxSignalGroupCount, m_maxInPortCount, m_maxOutPortCount});
    m_deviceCode = deviceCode;
    clearParams();
    initMaxParams(deviceCode);
    m_initConstant = 3000;

    appendDefaults(m_groupList, m_maxGroupCount);
    appendDefaults(m_signalGroupList, m_maxSignalGroupCount);
    appendDefaults(m_inPortList, m_maxInPortCount);
    appendDefaults(m_outPortList, m_maxOutPortCount);
    // Every index below the user capacity passes resetUserInfo()'s check, so each user starts as
    // the default user: the default-constructed record.
    appendDefaults(m_userList, m_maxUserCount);
}

void ModelIC::clearParams()
{
    m_groupList.clear();
    m_signalGroupList.clear();
    m_inPortList.clear();
    m_outPortList.clear();
    m_userList.clear();
}

void ModelIC::resetUserInfo(int index, _UserList_Destktop &user)
{
    if (index < 0 || index >= m_maxUserCount)
        return;
    user = _UserList_Destktop();
}

int ModelIC::getMaxGroupCount()
{
    return m_maxGroupCount;
}
int ModelIC::getMaxSignalGroupCount()
{
    return m_maxSignalGroupCount;
}
int ModelIC::getMaxInPortCount()
{
    return m_maxInPortCount;
}
int ModelIC::getMaxOutPortCount()
{
    return m_maxOutPortCount;
}
int ModelIC::getMaxUserCount()
{
    return m_maxUserCount;
}
