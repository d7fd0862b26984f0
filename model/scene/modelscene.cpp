#include "modelscene.h"

#include <model/capacity/capacitytable.h>
#include <model/capacity/treebuilding.h>

#include <QtCore/QtGlobal>

namespace {

constexpr int DefaultSceneCode = 0x320000;

using TreeBuilding::appendCopies;
using TreeBuilding::count;

// Releases every owned vector and leaves null pointers behind, so that a tree whose rebuild
// failed half-way is still released exactly once.
void releaseOwned(ModelScene &model)
{
    if (model.m_pBankVec) {
        for (const _SceneBank_Record &bank : qAsConst(*model.m_pBankVec)) {
            delete bank.pLayerVec;
            delete bank.pOutputFlagVec;
        }
    }
    delete model.m_pLayerVec;
    model.m_pLayerVec = nullptr;
    delete model.m_pBankVec;
    model.m_pBankVec = nullptr;
    delete model.m_pBankOutputVec;
    model.m_pBankOutputVec = nullptr;
}

} // namespace

ModelScene::ModelScene()
{
    initParam(DefaultSceneCode);
}

ModelScene::~ModelScene()
{
    releaseOwned(*this);
}

void ModelScene::initParam(int deviceCode)
{
    // A known code brings its own capacities; any other keeps what the members hold.
    if (!DeviceCapacities::sceneRow(deviceCode))
        TreeBuilding::refuseAbsurdCapacities({m_maxLayerCount, m_maxBankCount, m_maxOutputCount,
                                              m_maxContainerCount, m_maxSourceCount});
    m_deviceCode = deviceCode;
    clearParams();
    initMaxParams(m_deviceCode);

    m_initConstant = 3000;
    m_value3 = 0;
    m_value1 = 0;
    m_value2 = 1;
    for (auto &byte : m_data)
        byte = 0;
    m_flag3 = 0;
    m_flag1 = 0;
    m_flag2 = 0;

    releaseOwned(*this);

    const int layers = count(m_maxLayerCount);
    const int banks = count(m_maxBankCount);
    const int outputs = count(m_maxOutputCount);

    _SceneLayer_Record currentLayer{};
    currentLayer.value5 = 255;
    currentLayer.value10 = -1;
    m_pLayerVec = new QVector<_SceneLayer_Record>(layers, currentLayer);

    // Every bank starts with the same layers and the same output flags. The banks' vectors share
    // one copy of each until the client writes to one of them.
    _SceneLayer_Record bankLayer = currentLayer;
    bankLayer.areaWidth = 1920;
    bankLayer.areaHeight = 1080;
    bankLayer.area2Width = 1920;
    bankLayer.area2Height = 1080;
    QVector<_SceneLayer_Record> bankLayers(layers, bankLayer);
    _SceneLayer_Record *layer = bankLayers.data();
    for (int j = 0; j < layers; ++j)
        layer[j].layerIndex = j;
    const QVector<quint8> outputFlags(outputs, 1);

    // A zeroed bank already carries its defaults: four zero integers and two zero flags.
    m_pBankVec = new QVector<_SceneBank_Record>(banks, _SceneBank_Record{});
    for (_SceneBank_Record &bank : *m_pBankVec)
        bank.pLayerVec = new QVector<_SceneLayer_Record>(bankLayers);
    for (_SceneBank_Record &bank : *m_pBankVec)
        bank.pOutputFlagVec = new QVector<quint8>(outputFlags);

    _SceneOutput_Record output{};
    output.value30 = 255;
    m_pBankOutputVec = new QVector<QVector<_SceneOutput_Record>>(
        banks, QVector<_SceneOutput_Record>(outputs, output));

    appendCopies(m_containerList, count(m_maxContainerCount), _SceneContainer_Record{});
    appendCopies(m_sourceList, count(m_maxSourceCount), _Int12_Record{});
}

void ModelScene::clearParams()
{
    m_containerList.clear();
    m_sourceList.clear();
}

void ModelScene::initMaxParams(int deviceCode)
{
    const DeviceCapacities::Row *row = DeviceCapacities::sceneRow(deviceCode);
    if (!row)
        return;
    m_maxSourceCount = row->source;
    m_maxBankCount = DeviceCapacities::BankCount;
    m_maxBankNameLength = DeviceCapacities::BankNameLength;
    m_maxLayerCount = row->layer;
    m_maxOutputCount = row->output;
    m_maxContainerCount = row->container;
    m_maxInputBoardCount = row->inputBoard;
}

int ModelScene::getMaxSourceCount()
{
    return m_maxSourceCount;
}
int ModelScene::getMaxBankCount()
{
    return m_maxBankCount;
}
int ModelScene::getMaxBankNameLength()
{
    return m_maxBankNameLength;
}
int ModelScene::getMaxLayerCount()
{
    return m_maxLayerCount;
}
int ModelScene::getMaxOutputCount()
{
    return m_maxOutputCount;
}
int ModelScene::getMaxContainerCount()
{
    return m_maxContainerCount;
}
int ModelScene::getMaxInputBoardCount()
{
    return m_maxInputBoardCount;
}
