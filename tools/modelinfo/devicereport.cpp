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
        // A restored document may leave a container pointer null: it holds nothing then.
        if (member)
            addSize(entries, name, *member, details);
        else
            entries.append({name, 0});
    } else if constexpr (isSequence<T> || isRecordArray<T>) {
        entries.append({name, int(std::size(member))});
        for (const auto &detail : details) {
            if (detail.first.startsWith(name + QLatin1Char('[')))
                entries.append(detail);
        }
    }
}

// A capacity member (m_max...) under the name of its getter without "getMax". The processor's
// getter of m_maxMonitorLayerCount alone says more than its member.
template<typename T>
void addCapacity(Entries &entries, const QString &name, const T &value)
{
    if constexpr (std::is_same_v<T, int>) {
        const QLatin1String prefix("m_max");
        if (!name.startsWith(prefix))
            return;
        QString getter = name.mid(prefix.size());
        if (getter == QLatin1String("MonitorLayerCount"))
            getter.prepend(QLatin1String("One"));
        entries.append({getter, value});
    }
}

// What a model holds, read from its member list: its capacities and its containers.
template<typename Model, typename Capacity>
ModelReport report(const Model &m, const QString &model, Capacity Model::*probe,
                   const Entries &details = {})
{
    ModelReport r;
    r.model = model;
    r.className = StateCodec::documentClassName<Model>;
    r.code = m.m_deviceCode;
    r.known = knows(probe, m.m_deviceCode);
    StateCodec::Members<Model>::apply([&](const auto &...f) {
        (addCapacity(r.capacities, f.name, m.*(f.member)), ...);
        (addSize(r.containers, f.name, m.*(f.member), details), ...);
    });
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

ModelReport modelReport(const ModelCalyth &m)
{
    return report(
        m, QStringLiteral("processor"), &ModelCalyth::m_maxOutputCount,
        {
            {QStringLiteral("m_inputPortList[0] ports"),
             m.m_inputPortList.isEmpty() ? 0 : m.m_inputPortList.first().portValues1.size()},
            {QStringLiteral("m_containerList[0] outputs"),
             m.m_containerList.isEmpty() ? 0 : m.m_containerList.first().outputValues.size()},
        });
}

ModelReport modelReport(const ModelScene &m)
{
    // Any pointer of a restored document may be null; it counts as no entries.
    const auto size = [](const auto *container) { return container ? int(container->size()) : 0; };
    const _SceneBank_Record *bank
        = m.m_pBankVec && !m.m_pBankVec->isEmpty() ? &m.m_pBankVec->first() : nullptr;
    return report(
        m, QStringLiteral("scene"), &ModelScene::m_maxOutputCount,
        {
            {QStringLiteral("m_pBankVec[0].pLayerVec"), bank ? size(bank->pLayerVec) : 0},
            {QStringLiteral("m_pBankVec[0].pOutputFlagVec"), bank ? size(bank->pOutputFlagVec) : 0},
            {QStringLiteral("m_pBankOutputVec[0]"),
             size(m.m_pBankOutputVec) > 0 ? int(m.m_pBankOutputVec->first().size()) : 0},
        });
}

ModelReport modelReport(const ModelBankPlayer &m)
{
    return report(m, QStringLiteral("bankplayer"), &ModelBankPlayer::m_maxOutputCount);
}

ModelReport modelReport(const ModelIC &m)
{
    return report(m, QStringLiteral("ic"), &ModelIC::m_maxGroupCount);
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
