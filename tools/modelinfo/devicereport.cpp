#include "devicereport.h"

#include "memberlists.h"

#include <model/capacity/capacitytable.h>

#include <QtCore/QJsonArray>

#include <algorithm>
#include <iterator>
#include <memory>
#include <type_traits>

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

// The members that hold entries worth counting: Qt's lists and vectors (those the documents write
// as arrays of any length) and arrays of records. Values, texts and blocks of values do not.
template<typename T>
constexpr bool isSequence = std::is_base_of_v<StateCodec::SequenceCodec<T>, StateCodec::Codec<T>>;
template<typename T>
constexpr bool isRecordArray
    = std::conjunction_v<std::is_array<T>, StateCodec::HasMembers<std::remove_extent_t<T>>>;

// A container member's entry count, followed by the details that belong to it: those named after
// it with an index ("m_containerList[0] outputs").
template<typename T>
void addSize(Entries &entries, const QString &name, const T &member, const Entries &details)
{
    if constexpr (std::is_pointer_v<T>) {
        addSize(entries, name, *member, details);
    } else if constexpr (isSequence<T> || isRecordArray<T>) {
        entries.append({name, int(std::size(member))});
        for (const auto &detail : details) {
            if (detail.first.startsWith(name + QLatin1Char('[')))
                entries.append(detail);
        }
    }
}

// What a model holds, its containers read from its member list.
template<typename Model, typename Capacity>
ModelReport report(const Model &m, const QString &model, Capacity Model::*probe,
                   const Entries &capacities, const Entries &details = {})
{
    ModelReport r;
    r.model = model;
    r.className = StateCodec::Members<Model>::className;
    r.code = m.m_deviceCode;
    r.known = knows(probe, m.m_deviceCode);
    r.capacities = capacities;
    std::apply(
        [&](const auto &...f) { (addSize(r.containers, f.name, m.*(f.member), details), ...); },
        StateCodec::Members<Model>::list);
    return r;
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

ModelReport modelReport(ModelCalyth &m)
{
    return report(
        m, QStringLiteral("processor"), &ModelCalyth::m_maxOutputCount,
        {
            {QStringLiteral("PreOutputCount"), m.getMaxPreOutputCount()},
            {QStringLiteral("PreOutputGroup"), m.getMaxPreOutputGroup()},
            {QStringLiteral("LinkOutputCount"), m.getMaxLinkOutputCount()},
            {QStringLiteral("LinkOutputGroup"), m.getMaxLinkOutputGroup()},
            {QStringLiteral("OutputCount"), m.getMaxOutputCount()},
            {QStringLiteral("SourceCount"), m.getMaxSourceCount()},
            {QStringLiteral("BankCount"), m.getMaxBankCount()},
            {QStringLiteral("BankNameLength"), m.getMaxBankNameLength()},
            {QStringLiteral("LayerCount"), m.getMaxLayerCount()},
            {QStringLiteral("PageCount"), m.getMaxPageCount()},
            {QStringLiteral("InputBoardCount"), m.getMaxInputBoardCount()},
            {QStringLiteral("OutPutBoardCount"), m.getMaxOutPutBoardCount()},
            {QStringLiteral("InputBoardPortCount"), m.getMaxInputBoardPortCount()},
            {QStringLiteral("OutputBoardPortCount"), m.getMaxOutputBoardPortCount()},
            {QStringLiteral("ContainerCount"), m.getMaxContainerCount()},
            {QStringLiteral("ContainerName"), m.getMaxContainerName()},
            {QStringLiteral("OneMonitorLayerCount"), m.getMaxOneMonitorLayerCount()},
            {QStringLiteral("PvwBoardCount"), m.getMaxPvwBoardCount()},
        },
        {
            {QStringLiteral("m_inputPortList[0] ports"),
             m.m_inputPortList.isEmpty() ? 0 : m.m_inputPortList.first().portValues1.size()},
            {QStringLiteral("m_containerList[0] outputs"),
             m.m_containerList.isEmpty() ? 0 : m.m_containerList.first().outputValues.size()},
        });
}

ModelReport modelReport(ModelScene &m)
{
    const bool anyBank = !m.m_pBankVec->isEmpty();
    return report(m, QStringLiteral("scene"), &ModelScene::m_maxOutputCount,
                  {
                      {QStringLiteral("SourceCount"), m.getMaxSourceCount()},
                      {QStringLiteral("BankCount"), m.getMaxBankCount()},
                      {QStringLiteral("BankNameLength"), m.getMaxBankNameLength()},
                      {QStringLiteral("LayerCount"), m.getMaxLayerCount()},
                      {QStringLiteral("OutputCount"), m.getMaxOutputCount()},
                      {QStringLiteral("ContainerCount"), m.getMaxContainerCount()},
                      {QStringLiteral("InputBoardCount"), m.getMaxInputBoardCount()},
                  },
                  {
                      {QStringLiteral("m_pBankVec[0].pLayerVec"),
                       anyBank ? m.m_pBankVec->first().pLayerVec->size() : 0},
                      {QStringLiteral("m_pBankVec[0].pOutputFlagVec"),
                       anyBank ? m.m_pBankVec->first().pOutputFlagVec->size() : 0},
                      {QStringLiteral("m_pBankOutputVec[0]"),
                       m.m_pBankOutputVec->isEmpty() ? 0 : m.m_pBankOutputVec->first().size()},
                  });
}

ModelReport modelReport(ModelBankPlayer &m)
{
    return report(m, QStringLiteral("bankplayer"), &ModelBankPlayer::m_maxOutputCount,
                  {
                      {QStringLiteral("BankCount"), m.getMaxBankCount()},
                      {QStringLiteral("OutputCount"), m.getMaxOutputCount()},
                  });
}

ModelReport modelReport(ModelIC &m)
{
    return report(m, QStringLiteral("ic"), &ModelIC::m_maxGroupCount,
                  {
                      {QStringLiteral("GroupCount"), m.getMaxGroupCount()},
                      {QStringLiteral("SignalGroupCount"), m.getMaxSignalGroupCount()},
                      {QStringLiteral("InPortCount"), m.getMaxInPortCount()},
                      {QStringLiteral("OutPortCount"), m.getMaxOutPortCount()},
                      {QStringLiteral("UserCount"), m.getMaxUserCount()},
                  });
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
