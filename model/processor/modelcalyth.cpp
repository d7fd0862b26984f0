#include "modelcalyth.h"

#include <model/capacity/capacitytable.h>
#include <model/capacity/treebuilding.h>

#include <QtCore/QtGlobal>

#include <algorithm>
#include <limits>

namespace {

using TreeBuilding::appendCopies;
using TreeBuilding::count;

constexpr int DefaultCalythCode = 0x320000;
constexpr int TextSlotsPerSource = 8;

// An owned container is swapped whole: the fresh one takes the slot, the old one is released.
template<typename T>
void replaceOwned(T *&slot, T *fresh)
{
    delete slot;
    slot = fresh;
}

} // namespace

ModelCalyth::ModelCalyth()
{
    initParam(DefaultCalythCode);
}

ModelCalyth::~ModelCalyth()
{
    delete m_pOutputVecA;
    delete m_pOutputVecB;
    delete m_pOutputVecC;
    delete m_pOutputVecD;
    delete m_pOutputFlagVec;
    delete m_pOutputVecE;
    delete m_pOutputVecF;
    delete m_pOutputRecHVec;
    delete m_pLayerVec;
    delete m_pOutputRecIVec;
    delete m_pOutputRecJVec;
}

void ModelCalyth::initParam(int deviceCode)
{
    // A known code brings its own capacities; any other keeps what the members hold.
    if (!DeviceCapacities::processorRow(deviceCode))
        TreeBuilding::refuseAbsurdCapacities(
            {m_maxOutputCount, m_maxSourceCount, m_maxInputBoardCount, m_maxOutPutBoardCount,
             m_maxInputBoardPortCount, m_maxContainerCount, m_maxLayerCount});
    m_deviceCode = deviceCode;
    clearParams();
    initMaxParams(deviceCode);
    m_initConstant = 3000;

    const int outputs = count(m_maxOutputCount);
    const int sources = count(m_maxSourceCount);
    const int inputBoards = count(m_maxInputBoardCount);
    const int outputBoards = count(m_maxOutPutBoardCount);
    const int portsPerBoard = count(m_maxInputBoardPortCount);
    const int containers = count(m_maxContainerCount);
    const int layers = count(m_maxLayerCount);

    replaceOwned(m_pOutputVecA, new QVector<int>(outputs, 0));
    replaceOwned(m_pOutputVecB, new QVector<int>(outputs, 0));
    replaceOwned(m_pOutputVecC, new QVector<int>(outputs, 0));
    replaceOwned(m_pOutputVecD, new QVector<int>(outputs, 0));
    replaceOwned(m_pOutputFlagVec, new QVector<quint8>(outputs, 0));
    replaceOwned(m_pOutputVecE, new QVector<int>(outputs, 0));
    replaceOwned(m_pOutputVecF, new QVector<int>(outputs, 128));

    for (auto &v : m_intBlock3)
        v = 0;
    for (auto &v : m_intBlock4)
        v = 0;
    for (auto &v : m_intBlock5)
        v = 0;
    m_value1 = 1;
    m_byte6 = 0;
    for (int i = 0; i < 4; ++i) {
        m_intBlock6[i] = 0;
        m_intBlock7[i] = 0;
        m_intBlock8[i] = 0;
    }
    m_byte1 = 0;
    m_value2 = 2;
    m_value3 = 0;
    m_value4 = 0;

    // First pass over the sources.
    QStringList sourceTexts;
    appendCopies(sourceTexts, TextSlotsPerSource, QString());
    appendCopies(m_sourceFlagListA, sources, quint8(0));
    appendCopies(m_sourceFlagListB, sources, quint8(0));
    appendCopies(m_sourceFlagListC, sources, quint8(0));
    appendCopies(m_sourceFlagListD, sources, quint8(0));
    appendCopies(m_sourceValueListA, sources, 0);
    appendCopies(m_sourceTextList, sources, sourceTexts);
    appendCopies(m_sourceValueListB, sources, 0);
    appendCopies(m_sourceValueListC, sources, 1);

    appendCopies(m_outputFlagList, outputs, quint8(0));
    appendCopies(m_outputRecAList, outputs, _OutputA_Record{});

    appendCopies(m_outputBoardFlagListA, outputBoards, quint8(0));

    for (auto &v : m_intBlock9)
        v = 0;
    m_text2.clear();
    m_byte2 = 0;

    appendCopies(m_outputBoardTextListA, outputBoards, QString());
    appendCopies(m_outputBoardFlagListB, outputBoards, quint8(0));
    appendCopies(m_outputBoardTextListB, outputBoards, QString());
    appendCopies(m_outputBoardFlagListC, outputBoards, quint8(0));

    m_text3.clear();
    m_text4.clear();
    m_byte3 = 0;
    m_byte4 = 0;
    m_byte5 = 0;
    m_value9 = 128;
    m_value5 = 0;
    m_text5.clear();
    for (int i = 0; i < 8; ++i) {
        m_intBlock10[i] = 0;
        m_intBlock1[i] = 0;
        m_intBlock2[i] = 255;
    }
    m_value6 = 0;

    // Second and third passes over the sources: every source window starts as two full-HD
    // rectangles at the origin.
    _SourceWindow_Record window{};
    window.width1 = 1920;
    window.height1 = 1080;
    window.width2 = 1920;
    window.height2 = 1080;
    window.value28 = -1;
    window.value29 = -1;
    window.value30 = -1;
    appendCopies(m_sourceWindowList, sources, window);
    appendCopies(m_sourceRecBList, sources, _SourceB_Record{});
    appendCopies(m_sourceRecCList, sources, _SourceC_Record{});

    // Input boards and their ports. Every board starts with the same port table.
    _InputPort_Record ports;
    appendCopies(ports.portValues1, portsPerBoard, 0);
    appendCopies(ports.portValues2, portsPerBoard, 10);
    appendCopies(ports.portValues3, portsPerBoard, 0);
    appendCopies(ports.portValues4, portsPerBoard, 0);
    appendCopies(ports.portValues5, portsPerBoard, 0);
    appendCopies(ports.portValues6, portsPerBoard, 0);
    appendCopies(m_inputPortList, inputBoards, ports);
    appendCopies(m_inputBoardInfoList, inputBoards, _InputBoard_Record{});

    m_doubleValue = 0.0;
    m_intBlock11[2] = 0;
    m_intBlock11[3] = 0;
    replaceOwned(m_pOutputRecHVec, new QVector<_OutputH_Record>(outputs));

    for (auto &v : m_intBlock12)
        v = 0;
    for (auto &v : m_intBlock13)
        v = 0;

    _OutputB_Record recordB{};
    recordB.value1 = 255;
    appendCopies(m_outputRecBList, outputs, recordB);
    appendCopies(m_outputRecCList, outputs, _OutputC_Record{});
    m_value15 = 7680;
    m_value14 = 3840;
    m_value12 = 2;
    m_value13 = 4;
    appendCopies(m_outputRecDList, outputs, _OutputD_Record{});

    // Containers: the name buffer is cleared only as far as the device's name length reaches.
    _Container_Record container{};
    appendCopies(container.outputValues, outputs, -1);
    const int clearedNameBytes = qBound(0, m_maxContainerName, int(sizeof container.name));
    m_containerList.reserve(containers);
    for (int i = 0; i < containers; ++i) {
        m_containerList.append(container);
        // Bytes past the cleared part keep what the zeroed record gave them.
        std::fill_n(m_containerList.last().name, clearedNameBytes, '\0');
    }
    replaceOwned(m_pLayerVec, new QVector<_Layer_Record>(layers));

    for (auto &v : m_intBlock15)
        v = 0;
    appendCopies(m_outputRecEList, outputs, _OutputE_Record{});
    for (auto &v : m_intBlock14)
        v = 0;
    appendCopies(m_outputRecFList, outputs, _OutputF_Record{});

    for (auto &v : m_intBlock16)
        v = 0;
    // Indices 0 to the output count inclusive; a negative count gives none.
    appendCopies(m_outputRecGList, m_maxOutputCount < 0 ? 0 : outputs + 1, _OutputG_Record{});

    m_value7 = 1;
    m_value8 = 0;
    m_resolutionWidth = 1920;
    m_resolutionHeight = 1080;
    m_text6.clear();

    appendCopies(m_outputBoardGroupListA, outputBoards, QStringList());
    appendCopies(m_outputBoardGroupListB, outputBoards, QStringList());

    for (auto &v : m_shortBlock)
        v = 0;
    for (auto &v : m_byteBlock)
        v = 0;
    m_byte7 = 0;
    m_value10 = 0;
    m_byte8 = 0;
    m_value11 = 30;

    appendCopies(m_inputBoardNameList, inputBoards, QString());
    appendCopies(m_outputBoardNameList, outputBoards, QString());

    m_text1.clear();
    for (auto &text : m_textBlock1)
        text.clear();
    for (auto &text : m_textBlock2)
        text.clear();

    m_byte9 = 0;
    m_intBlock11[0] = 0;
    m_intBlock11[1] = 0;

    replaceOwned(m_pOutputRecIVec, new QVector<_OutputI_Record>(outputs));
    replaceOwned(m_pOutputRecJVec, new QVector<_OutputJ_Record>(4 * outputs));
    appendCopies(m_outputQuadNameList, 4 * outputs, QString());
    appendCopies(m_outputNamePairList, outputs, _OutputName_Record{});

    appendCopies(m_inputBoardRecList, inputBoards, _Int12_Record{});
}

void ModelCalyth::clearParams()
{
    m_spareTextList.clear();
    m_inputBoardNameList.clear();
    m_outputBoardNameList.clear();
    m_sourceFlagListA.clear();
    m_sourceFlagListB.clear();
    m_sourceFlagListC.clear();
    m_sourceFlagListD.clear();
    m_sourceValueListA.clear();
    m_sourceTextList.clear();
    m_sourceValueListB.clear();
    m_sourceValueListC.clear();
    m_sourceWindowList.clear();
    m_sourceRecBList.clear();
    m_sourceRecCList.clear();
    m_outputBoardFlagListA.clear();
    m_outputBoardTextListA.clear();
    m_outputBoardFlagListB.clear();
    m_outputBoardTextListB.clear();
    m_outputBoardFlagListC.clear();
    m_spareValueList.clear();
    m_outputBoardGroupListA.clear();
    m_outputBoardGroupListB.clear();
    m_spareRecordList.clear();
    m_inputBoardRecList.clear();
    m_inputPortList.clear();
    m_inputBoardInfoList.clear();
    m_outputFlagList.clear();
    m_outputRecAList.clear();
    m_outputRecBList.clear();
    m_containerList.clear();
    m_outputRecCList.clear();
    m_outputRecDList.clear();
    m_outputRecEList.clear();
    m_outputRecFList.clear();
    m_outputRecGList.clear();
    m_spareRecordVec.clear();
    m_outputQuadNameList.clear();
    m_outputNamePairList.clear();
}

void ModelCalyth::initMaxParams(int deviceCode)
{
    const DeviceCapacities::Row *row = DeviceCapacities::processorRow(deviceCode);
    if (!row)
        return;
    m_maxPreOutputCount = row->preOutput;
    m_maxPreOutputGroup = row->preOutputGroup;
    m_maxLinkOutputCount = row->linkOutput;
    m_maxLinkOutputGroup = row->linkOutputGroup;
    m_maxOutputCount = row->output;
    m_maxSourceCount = row->source;
    m_maxBankCount = DeviceCapacities::BankCount;
    m_maxBankNameLength = DeviceCapacities::BankNameLength;
    m_maxLayerCount = row->layer;
    m_maxPageCount = DeviceCapacities::PageCount;
    m_maxInputBoardCount = row->inputBoard;
    m_maxOutPutBoardCount = row->outputBoard;
    m_maxInputBoardPortCount = row->inputBoardPort;
    m_maxOutputBoardPortCount = row->outputBoardPort;
    m_maxContainerCount = row->container;
    m_maxContainerName = DeviceCapacities::ContainerNameLength;
    m_maxMonitorLayerCount = row->oneMonitorLayer;
    if (row->pvwBoard != DeviceCapacities::Unset)
        m_maxPvwBoardCount = row->pvwBoard;
}

int ModelCalyth::getMaxPreOutputCount()
{
    return m_maxPreOutputCount;
}
int ModelCalyth::getMaxPreOutputGroup()
{
    return m_maxPreOutputGroup;
}
int ModelCalyth::getMaxLinkOutputCount()
{
    return m_maxLinkOutputCount;
}
int ModelCalyth::getMaxLinkOutputGroup()
{
    return m_maxLinkOutputGroup;
}
int ModelCalyth::getMaxOutputCount()
{
    return m_maxOutputCount;
}
int ModelCalyth::getMaxSourceCount()
{
    return m_maxSourceCount;
}
int ModelCalyth::getMaxBankCount()
{
    return m_maxBankCount;
}
int ModelCalyth::getMaxBankNameLength()
{
    return m_maxBankNameLength;
}
int ModelCalyth::getMaxLayerCount()
{
    return m_maxLayerCount;
}
int ModelCalyth::getMaxPageCount()
{
    return m_maxPageCount;
}
int ModelCalyth::getMaxInputBoardCount()
{
    return m_maxInputBoardCount;
}
int ModelCalyth::getMaxOutPutBoardCount()
{
    return m_maxOutPutBoardCount;
}
int ModelCalyth::getMaxInputBoardPortCount()
{
    return m_maxInputBoardPortCount;
}
int ModelCalyth::getMaxOutputBoardPortCount()
{
    return m_maxOutputBoardPortCount;
}
int ModelCalyth::getMaxContainerCount()
{
    return m_maxContainerCount;
}
int ModelCalyth::getMaxContainerName()
{
    return m_maxContainerName;
}
int ModelCalyth::getMaxOneMonitorLayerCount()
{
    return m_maxMonitorLayerCount;
}
int ModelCalyth::getMaxPvwBoardCount()
{
    return m_maxPvwBoardCount;
}
