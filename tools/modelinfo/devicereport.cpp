#include "devicereport.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/ic/modelic.h>
#include <model/processor/capacitytable.h>
#include <model/processor/modelcalyth.h>
#include <model/scene/modelscene.h>

#include <QtCore/QJsonArray>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

// The IC model warns about every code it does not know; an inspector asking "do you know this
// code?" must not print that warning as if something had gone wrong.
class SilenceLog
{
public:
    SilenceLog()
        : m_previous(
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}))
    { }
    ~SilenceLog() { qInstallMessageHandler(m_previous); }
    Q_DISABLE_COPY_MOVE(SilenceLog)

private:
    QtMessageHandler m_previous;
};

// A model knows a code when its capacity table writes the probe capacity. The probe starts at a
// value no table row holds, so an unknown code leaves it as it is.
template<typename Model, typename Capacity>
bool knows(Capacity Model::*probe, int code)
{
    const SilenceLog silence;
    const auto model = std::make_unique<Model>();
    (*model).*probe = -1;
    model->initMaxParams(code);
    return (*model).*probe != -1;
}

QJsonObject entriesToJson(const Entries &entries)
{
    QJsonObject object;
    for (const auto &entry : entries)
        object.insert(entry.first, entry.second);
    return object;
}

// The report of a model built for code.
template<typename Model>
ModelReport builtReport(int code)
{
    const auto model = std::make_unique<Model>();
    {
        const SilenceLog silence;
        model->initParam(code);
    }
    return modelReport(*model);
}

} // namespace

ModelReport modelReport(ModelCalyth &model)
{
    ModelCalyth *const m = &model;
    ModelReport r;
    r.model = QStringLiteral("processor");
    r.className = QStringLiteral("ModelCalyth");
    r.code = m->m_deviceCode;
    r.known = knows(&ModelCalyth::m_maxOutputCount, m->m_deviceCode);
    r.capacities = {
        {QStringLiteral("PreOutputCount"), m->getMaxPreOutputCount()},
        {QStringLiteral("PreOutputGroup"), m->getMaxPreOutputGroup()},
        {QStringLiteral("LinkOutputCount"), m->getMaxLinkOutputCount()},
        {QStringLiteral("LinkOutputGroup"), m->getMaxLinkOutputGroup()},
        {QStringLiteral("OutputCount"), m->getMaxOutputCount()},
        {QStringLiteral("SourceCount"), m->getMaxSourceCount()},
        {QStringLiteral("BankCount"), m->getMaxBankCount()},
        {QStringLiteral("BankNameLength"), m->getMaxBankNameLength()},
        {QStringLiteral("LayerCount"), m->getMaxLayerCount()},
        {QStringLiteral("PageCount"), m->getMaxPageCount()},
        {QStringLiteral("InputBoardCount"), m->getMaxInputBoardCount()},
        {QStringLiteral("OutPutBoardCount"), m->getMaxOutPutBoardCount()},
        {QStringLiteral("InputBoardPortCount"), m->getMaxInputBoardPortCount()},
        {QStringLiteral("OutputBoardPortCount"), m->getMaxOutputBoardPortCount()},
        {QStringLiteral("ContainerCount"), m->getMaxContainerCount()},
        {QStringLiteral("ContainerName"), m->getMaxContainerName()},
        {QStringLiteral("OneMonitorLayerCount"), m->getMaxOneMonitorLayerCount()},
        {QStringLiteral("PvwBoardCount"), m->getMaxPvwBoardCount()},
    };
    r.containers = {
        {QStringLiteral("m_pOutputVecA"), m->m_pOutputVecA->size()},
        {QStringLiteral("m_pOutputVecB"), m->m_pOutputVecB->size()},
        {QStringLiteral("m_pOutputVecC"), m->m_pOutputVecC->size()},
        {QStringLiteral("m_pOutputVecD"), m->m_pOutputVecD->size()},
        {QStringLiteral("m_pOutputFlagVec"), m->m_pOutputFlagVec->size()},
        {QStringLiteral("m_pOutputVecE"), m->m_pOutputVecE->size()},
        {QStringLiteral("m_pOutputVecF"), m->m_pOutputVecF->size()},
        {QStringLiteral("m_spareTextList"), m->m_spareTextList.size()},
        {QStringLiteral("m_inputBoardNameList"), m->m_inputBoardNameList.size()},
        {QStringLiteral("m_outputBoardNameList"), m->m_outputBoardNameList.size()},
        {QStringLiteral("m_sourceFlagListA"), m->m_sourceFlagListA.size()},
        {QStringLiteral("m_sourceFlagListB"), m->m_sourceFlagListB.size()},
        {QStringLiteral("m_sourceFlagListC"), m->m_sourceFlagListC.size()},
        {QStringLiteral("m_sourceFlagListD"), m->m_sourceFlagListD.size()},
        {QStringLiteral("m_sourceValueListA"), m->m_sourceValueListA.size()},
        {QStringLiteral("m_sourceTextList"), m->m_sourceTextList.size()},
        {QStringLiteral("m_sourceValueListB"), m->m_sourceValueListB.size()},
        {QStringLiteral("m_sourceValueListC"), m->m_sourceValueListC.size()},
        {QStringLiteral("m_sourceWindowList"), m->m_sourceWindowList.size()},
        {QStringLiteral("m_sourceRecBList"), m->m_sourceRecBList.size()},
        {QStringLiteral("m_sourceRecCList"), m->m_sourceRecCList.size()},
        {QStringLiteral("m_outputBoardFlagListA"), m->m_outputBoardFlagListA.size()},
        {QStringLiteral("m_outputBoardTextListA"), m->m_outputBoardTextListA.size()},
        {QStringLiteral("m_outputBoardFlagListB"), m->m_outputBoardFlagListB.size()},
        {QStringLiteral("m_outputBoardTextListB"), m->m_outputBoardTextListB.size()},
        {QStringLiteral("m_outputBoardFlagListC"), m->m_outputBoardFlagListC.size()},
        {QStringLiteral("m_spareValueList"), m->m_spareValueList.size()},
        {QStringLiteral("m_outputBoardGroupListA"), m->m_outputBoardGroupListA.size()},
        {QStringLiteral("m_outputBoardGroupListB"), m->m_outputBoardGroupListB.size()},
        {QStringLiteral("m_pOutputRecHVec"), m->m_pOutputRecHVec->size()},
        {QStringLiteral("m_spareRecordList"), m->m_spareRecordList.size()},
        {QStringLiteral("m_inputBoardRecList"), m->m_inputBoardRecList.size()},
        {QStringLiteral("m_inputPortList"), m->m_inputPortList.size()},
        {QStringLiteral("m_inputPortList[0] ports"),
         m->m_inputPortList.isEmpty() ? 0 : m->m_inputPortList.first().portValues1.size()},
        {QStringLiteral("m_inputBoardInfoList"), m->m_inputBoardInfoList.size()},
        {QStringLiteral("m_outputFlagList"), m->m_outputFlagList.size()},
        {QStringLiteral("m_outputRecAList"), m->m_outputRecAList.size()},
        {QStringLiteral("m_outputRecBList"), m->m_outputRecBList.size()},
        {QStringLiteral("m_containerList"), m->m_containerList.size()},
        {QStringLiteral("m_containerList[0] outputs"),
         m->m_containerList.isEmpty() ? 0 : m->m_containerList.first().outputValues.size()},
        {QStringLiteral("m_outputRecCList"), m->m_outputRecCList.size()},
        {QStringLiteral("m_outputRecDList"), m->m_outputRecDList.size()},
        {QStringLiteral("m_outputRecEList"), m->m_outputRecEList.size()},
        {QStringLiteral("m_outputRecFList"), m->m_outputRecFList.size()},
        {QStringLiteral("m_outputRecGList"), m->m_outputRecGList.size()},
        {QStringLiteral("m_pLayerVec"), m->m_pLayerVec->size()},
        {QStringLiteral("m_pOutputRecIVec"), m->m_pOutputRecIVec->size()},
        {QStringLiteral("m_pOutputRecJVec"), m->m_pOutputRecJVec->size()},
        {QStringLiteral("m_spareRecordVec"), m->m_spareRecordVec.size()},
        {QStringLiteral("m_outputQuadNameList"), m->m_outputQuadNameList.size()},
        {QStringLiteral("m_outputNamePairList"), m->m_outputNamePairList.size()},
    };
    return r;
}

ModelReport modelReport(ModelScene &model)
{
    ModelScene *const m = &model;
    ModelReport r;
    r.model = QStringLiteral("scene");
    r.className = QStringLiteral("ModelScene");
    r.code = m->m_deviceCode;
    r.known = knows(&ModelScene::m_maxOutputCount, m->m_deviceCode);
    r.capacities = {
        {QStringLiteral("SourceCount"), m->getMaxSourceCount()},
        {QStringLiteral("BankCount"), m->getMaxBankCount()},
        {QStringLiteral("BankNameLength"), m->getMaxBankNameLength()},
        {QStringLiteral("LayerCount"), m->getMaxLayerCount()},
        {QStringLiteral("OutputCount"), m->getMaxOutputCount()},
        {QStringLiteral("ContainerCount"), m->getMaxContainerCount()},
        {QStringLiteral("InputBoardCount"), m->getMaxInputBoardCount()},
    };
    const bool anyBank = !m->m_pBankVec->isEmpty();
    r.containers = {
        {QStringLiteral("m_pLayerVec"), m->m_pLayerVec->size()},
        {QStringLiteral("m_pBankVec"), m->m_pBankVec->size()},
        {QStringLiteral("m_pBankVec[0].pLayerVec"),
         anyBank ? m->m_pBankVec->first().pLayerVec->size() : 0},
        {QStringLiteral("m_pBankVec[0].pOutputFlagVec"),
         anyBank ? m->m_pBankVec->first().pOutputFlagVec->size() : 0},
        {QStringLiteral("m_pBankOutputVec"), m->m_pBankOutputVec->size()},
        {QStringLiteral("m_pBankOutputVec[0]"),
         m->m_pBankOutputVec->isEmpty() ? 0 : m->m_pBankOutputVec->first().size()},
        {QStringLiteral("m_containerList"), m->m_containerList.size()},
        {QStringLiteral("m_sourceList"), m->m_sourceList.size()},
    };
    return r;
}

ModelReport modelReport(ModelBankPlayer &model)
{
    ModelBankPlayer *const m = &model;
    ModelReport r;
    r.model = QStringLiteral("bankplayer");
    r.className = QStringLiteral("ModelBankPlayer");
    r.code = m->m_deviceCode;
    r.known = knows(&ModelBankPlayer::m_maxOutputCount, m->m_deviceCode);
    r.capacities = {
        {QStringLiteral("BankCount"), m->getMaxBankCount()},
        {QStringLiteral("OutputCount"), m->getMaxOutputCount()},
    };
    r.containers = {
        {QStringLiteral("m_bankBytes1"), m->m_bankBytes1.size()},
        {QStringLiteral("m_bankBytes2"), m->m_bankBytes2.size()},
        {QStringLiteral("m_items1"), int(std::size(m->m_items1))},
        {QStringLiteral("m_items2"), int(std::size(m->m_items2))},
    };
    return r;
}

ModelReport modelReport(ModelIC &m)
{
    ModelReport r;
    r.model = QStringLiteral("ic");
    r.className = QStringLiteral("ModelIC");
    r.code = m.m_deviceCode;
    r.known = knows(&ModelIC::m_maxGroupCount, m.m_deviceCode);
    r.capacities = {
        {QStringLiteral("GroupCount"), m.getMaxGroupCount()},
        {QStringLiteral("SignalGroupCount"), m.getMaxSignalGroupCount()},
        {QStringLiteral("InPortCount"), m.getMaxInPortCount()},
        {QStringLiteral("OutPortCount"), m.getMaxOutPortCount()},
        {QStringLiteral("UserCount"), m.getMaxUserCount()},
    };
    r.containers = {
        {QStringLiteral("m_groupList"), m.m_groupList.size()},
        {QStringLiteral("m_signalGroupList"), m.m_signalGroupList.size()},
        {QStringLiteral("m_inPortList"), m.m_inPortList.size()},
        {QStringLiteral("m_outPortList"), m.m_outPortList.size()},
        {QStringLiteral("m_userList"), m.m_userList.size()},
    };
    return r;
}

QString hexCode(int code)
{
    return QLatin1String("0x")
        + QString::number(uint(code), 16).toUpper().rightJustified(6, QLatin1Char('0'));
}

QVector<ModelReport> deviceReports(int code)
{
    return {builtReport<ModelCalyth>(code), builtReport<ModelScene>(code),
            builtReport<ModelBankPlayer>(code), builtReport<ModelIC>(code)};
}

QJsonObject toJson(const ModelReport &report, bool withContainers)
{
    QJsonObject object{{QStringLiteral("model"), report.model},
                       {QStringLiteral("class"), report.className},
                       {QStringLiteral("known"), report.known},
                       {QStringLiteral("capacities"), entriesToJson(report.capacities)}};
    if (withContainers)
        object.insert(QStringLiteral("containers"), entriesToJson(report.containers));
    return object;
}

QVector<int> knownDeviceCodes()
{
    QVector<int> codes;
    for (auto row = DeviceCapacities::begin(); row != DeviceCapacities::end(); ++row)
        codes += QVector<int>(row->codes.begin(), row->codes.end());
    std::sort(codes.begin(), codes.end());
    return codes;
}
