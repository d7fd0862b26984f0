#include "modelbankplayer.h"

#include <model/capacity/capacitytable.h>
#include <model/capacity/treebuilding.h>

#include <QtCore/QtGlobal>

#include <limits>

namespace {

constexpr int DefaultBankPlayerCode = 0x320000;
constexpr int BytesPerBank1 = 9;
constexpr int BytesPerBank2 = 8;

static_assert(DeviceCapacities::BankCount <= ModelBankPlayer::BankSlotCount,
              "every bank of a known device needs its entry in the per-bank arrays");

// The size of a per-bank byte vector. A client may have written any bank count: a negative one
// gives an empty vector, and a product past int's range is clamped so that it fails as an
// allocation instead of overflowing.
int byteCount(int bankCount, int bytesPerBank)
{
    const qint64 bytes = qint64(qMax(0, bankCount)) * bytesPerBank;
    return int(qMin<qint64>(bytes, std::numeric_limits<int>::max()));
}

} // namespace

ModelBankPlayer::ModelBankPlayer()
{
    initParam(DefaultBankPlayerCode);
}

ModelBankPlayer::~ModelBankPlayer() = default;

void ModelBankPlayer::initParam(int deviceCode)
{
    // A known code brings its own bank count; any other keeps what the member holds.
    if (!DeviceCapacities::sceneRow(deviceCode))
        TreeBuilding::refuseAbsurdCapacities({m_maxBankCount});
    m_deviceCode = deviceCode;
    clearParams();
    initMaxParams(deviceCode);

    m_initConstant = 3000;
    m_value1 = 0;
    m_value2 = 0;
    m_value3 = 0;
    m_value4 = 0;
    m_value5 = 0;
    m_value6 = 0;
    m_value7 = 0;
    m_value8 = 0;
    m_flag1 = 0;
    m_flag2 = 0;

    // Emptied above without giving up their storage, so a repeated initParam() reuses it.
    m_bankBytes1.fill(0, byteCount(m_maxBankCount, BytesPerBank1));
    m_bankBytes2.fill(0, byteCount(m_maxBankCount, BytesPerBank2));

    // The arrays have room for every bank of a known device; a bank count written by the client
    // reaches no further than they do. BankSlotCount goes in as a value: bound to qBound()'s
    // reference it would need a definition, which the library would then export.
    const int banks = qBound(0, int(m_maxBankCount), int(BankSlotCount));
    for (int b = 0; b < banks; ++b) {
        m_bankValues1[b] = 0;
        m_bankIndex1[b] = b;
        m_bankValues2[b] = 0;
        m_bankValues3[b] = 0;
        m_bankValues4[b] = 0;
        m_bankValues5[b] = 0;
        m_bankIndex2[b] = b;
        m_bankValues6[b] = 0;
        m_bankValues7[b] = 0;
        m_bankValues8[b] = 0;
    }

    m_value9 = 0;
    m_value10 = 0;

    for (_BankPlayerItem_Record &item : m_items1)
        item = _BankPlayerItem_Record{};
}

void ModelBankPlayer::clearParams()
{
    m_bankBytes1.resize(0);
    m_bankBytes2.resize(0);
}

void ModelBankPlayer::initMaxParams(int deviceCode)
{
    const DeviceCapacities::Row *row = DeviceCapacities::sceneRow(deviceCode);
    if (!row)
        return;
    m_maxBankCount = DeviceCapacities::BankCount;
    m_maxOutputCount = row->output;
}

int ModelBankPlayer::getMaxBankCount()
{
    return m_maxBankCount;
}
int ModelBankPlayer::getMaxOutputCount()
{
    return m_maxOutputCount;
}
