// The snapshot commands: save, check, diff, restore and patch, on the companion library's JSON
// documents.

#include "commands.h"

#include "devicereport.h"
#include "input.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/ic/modelic.h>
#include <model/keyboard/model_quorparam.h>
#include <model/processor/modelcalyth.h>
#include <model/records/model_api_param.h>
#include <model/records/model_osdparam.h>
#include <model/records/model_protocoldata.h>
#include <model/scene/modelscene.h>
#include <model/state/modelstate.h>
#include <model/topology/model_topology_param.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QTextStream>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

const QLatin1String ClassKey("class");

Output savedOutput(const QJsonObject &document, Layout layout)
{
    Output output;
    output.raw = layout == Layout::Compact
        ? ModelState::toJson(document, ModelState::Compact) + '\n'
        : ModelState::toJson(document);
    return output;
}

template<typename T>
QJsonObject savedDefault()
{
    // The larger objects do not belong on the stack.
    return ModelState::save(*std::make_unique<T>());
}

// The record classes by the names save takes.
struct RecordClass
{
    const char *name;
    QJsonObject (*save)();
};

const RecordClass s_records[] = {
    {"api", &savedDefault<model_API_param>},
    {"protocol", &savedDefault<model_Protocoldata>},
    {"osd", &savedDefault<model_OsdParam>},
    {"topology", &savedDefault<model_topology_param>},
};

const RecordClass *recordClass(const QString &name)
{
    const auto found
        = std::find_if(std::begin(s_records), std::end(s_records),
                       [&name](const RecordClass &r) { return name == QLatin1String(r.name); });
    return found == std::end(s_records) ? nullptr : found;
}

// The document of a file: JSON, an object, and a document restore() would take. A refusal by
// check() also sets problem, if given.
QJsonObject readDocument(const QString &path, ModelStateError *problem = nullptr)
{
    QByteArray text;
    const QJsonValue value = readJsonFile(path, &text);
    if (!value.isObject())
        throw CommandError(
            QStringLiteral("%1 holds %2, not an object").arg(fileName(path), kindOf(value)));
    ModelStateError error;
    if (!ModelState::check(value.toObject(), &error)) {
        error.message = withNumberAsWritten(error.message, text, error.path);
        if (problem)
            *problem = error;
        throw CommandError(QStringLiteral("%1: %2").arg(fileName(path), error.toString()));
    }
    return value.toObject();
}

// A value on one line: numbers and strings as JSON writes them, arrays and objects compact.
QString oneLine(const QJsonValue &value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

// clang-format off
// kind of difference              its name in diff --json
const QPair<ModelStateDifference::Kind, QLatin1String> s_changes[] = {
    {ModelStateDifference::Changed, QLatin1String("changed")},
    {ModelStateDifference::Added,   QLatin1String("added")},
    {ModelStateDifference::Removed, QLatin1String("removed")},
};
// clang-format on

QLatin1String changeName(ModelStateDifference::Kind kind)
{
    for (const auto &change : s_changes) {
        if (change.first == kind)
            return change.second;
    }
    return QLatin1String("changed");
}

// The differences that diff --json printed, as compare() gave them.
QVector<ModelStateDifference> readDifferences(const QString &path, const QString &className)
{
    const QString name = fileName(path);
    const QJsonValue value = readJsonFile(path);
    const QJsonValue list = value[QLatin1String("differences")];
    if (!value.isObject() || !list.isArray())
        throw CommandError(
            QStringLiteral("%1 does not hold the differences of 'diff --json'").arg(name));
    const double more = value[QLatin1String("more")].toDouble();
    if (more > 0)
        throw CommandError(QStringLiteral("%1 lists only part of the differences: %2 more were "
                                          "left out (see --max-differences)")
                               .arg(name)
                               .arg(more, 0, 'f', 0));
    const QJsonValue compared = value[QLatin1String("class")];
    if (compared.isString() && compared.toString() != className)
        throw CommandError(QStringLiteral("%1 compares %2 documents, not %3")
                               .arg(name, escaped(compared.toString()), className));

    QVector<ModelStateDifference> differences;
    const QJsonArray entries = list.toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonValue entry = entries.at(int(i));
        const QString change = entry[QLatin1String("change")].toString();
        const auto kind = std::find_if(std::begin(s_changes), std::end(s_changes),
                                       [&change](const auto &c) { return change == c.second; });
        ModelStateDifference d{ModelStateDifference::Changed,
                               entry[QLatin1String("path")].toString(),
                               entry[QLatin1String("before")], entry[QLatin1String("after")]};
        d.kind = kind == std::end(s_changes) ? d.kind : kind->first;
        const bool fits = kind != std::end(s_changes) && entry[QLatin1String("path")].isString()
            && d.before.isUndefined() == (d.kind == ModelStateDifference::Added)
            && d.after.isUndefined() == (d.kind == ModelStateDifference::Removed);
        if (!fits)
            throw CommandError(QStringLiteral("%1: differences[%2] is not a difference of 'diff "
                                              "--json' (path, change and its values)")
                                   .arg(name)
                                   .arg(i));
        differences.append(d);
    }
    return differences;
}

// The view of a restored object: a device model's report, the keyboard's keys, or a record's
// document.
template<typename T>
Output restoredView(const QJsonObject &document, const QString &file)
{
    const auto object = std::make_unique<T>();
    // check() has passed the document: restoring cannot fail.
    ModelState::restore(*object, document);
    const QString className = document.value(ClassKey).toString();
    Output output;
    QTextStream out(&output.text);
    out << className << " from " << fileName(file);
    output.json = {{QStringLiteral("file"), file}, {QStringLiteral("class"), className}};
    if constexpr (std::is_same_v<T, Model_QuorParam>) {
        out << " (keys: first/second line; - is empty)\n";
        out.flush();
        const Output view = keyboardView(*object);
        output.text += view.text;
        for (auto it = view.json.begin(); it != view.json.end(); ++it)
            output.json.insert(it.key(), it.value());
    } else if constexpr (
        std::is_same_v<
            T,
            ModelCalyth> || std::is_same_v<T, ModelScene> || std::is_same_v<T, ModelBankPlayer> || std::is_same_v<T, ModelIC>) {
        const ModelReport report = modelReport(*object);
        out << ": device code " << hexCode(report.code) << " (" << report.code << "), "
            << (report.known ? "known to" : "unknown to") << " the " << report.model
            << " model\n  capacities:\n";
        for (const auto &entry : report.capacities)
            out << "    " << entry.first.leftJustified(32) << ' ' << entry.second << '\n';
        out << "  containers:\n";
        for (const auto &entry : report.containers)
            out << "    " << entry.first.leftJustified(32) << ' ' << entry.second << '\n';
        output.json.insert(QStringLiteral("report"), toJson(report, true));
    } else {
        out << ":\n";
        out.flush();
        const QJsonObject saved = ModelState::save(*object);
        output.text += QString::fromUtf8(ModelState::toJson(saved));
        output.json.insert(QStringLiteral("document"), saved);
    }
    return output;
}

// clang-format off
// class                            restores a document into a fresh object and shows it
const QPair<QLatin1String, Output (*)(const QJsonObject &, const QString &)> s_views[] = {
    {QLatin1String("ModelCalyth"),          &restoredView<ModelCalyth>},
    {QLatin1String("ModelScene"),           &restoredView<ModelScene>},
    {QLatin1String("ModelBankPlayer"),      &restoredView<ModelBankPlayer>},
    {QLatin1String("ModelIC"),              &restoredView<ModelIC>},
    {QLatin1String("Model_QuorParam"),      &restoredView<Model_QuorParam>},
    {QLatin1String("model_topology_param"), &restoredView<model_topology_param>},
    {QLatin1String("model_API_param"),      &restoredView<model_API_param>},
    {QLatin1String("model_Protocoldata"),   &restoredView<model_Protocoldata>},
    {QLatin1String("model_OsdParam"),       &restoredView<model_OsdParam>},
};
// clang-format on

} // namespace

Output saveModelCommand(int code, const QString &model, Layout layout)
{
    const auto saved = [code](auto model) {
        model->initParam(code);
        return ModelState::save(*model);
    };
    if (model == QLatin1String("processor"))
        return savedOutput(saved(std::make_unique<ModelCalyth>()), layout);
    if (model == QLatin1String("scene"))
        return savedOutput(saved(std::make_unique<ModelScene>()), layout);
    if (model == QLatin1String("bankplayer"))
        return savedOutput(saved(std::make_unique<ModelBankPlayer>()), layout);
    if (model == QLatin1String("ic"))
        return savedOutput(saved(std::make_unique<ModelIC>()), layout);
    throw CommandError(
        QStringLiteral("unknown model '%1': choose processor, scene, bankplayer or ic")
            .arg(escaped(model)));
}

Output saveKeyboardCommand(KeyboardOperation operation, Layout layout)
{
    const auto keyboard = std::make_unique<Model_QuorParam>();
    switch (operation) {
    case KeyboardOperation::Defaults:
        break;
    case KeyboardOperation::Test:
        keyboard->initOLEDTest();
        break;
    case KeyboardOperation::Icons:
        keyboard->initOLEDIconTest();
        break;
    case KeyboardOperation::Grid:
        keyboard->initShortcuts(true);
        break;
    }
    return savedOutput(ModelState::save(*keyboard), layout);
}

bool isRecordName(const QString &name)
{
    return recordClass(name) != nullptr;
}

Output saveRecordCommand(const QString &name, Layout layout)
{
    return savedOutput(recordClass(name)->save(), layout);
}

Output checkCommand(const QString &file)
{
    Output output;
    ModelStateError problem;
    try {
        const QJsonObject document = readDocument(file, &problem);
        const QString className = document.value(ClassKey).toString();
        const int format = document.value(QLatin1String("format")).toInt();
        output.text = QStringLiteral("%1: a valid %2 document, format %3\n")
                          .arg(fileName(file), className)
                          .arg(format);
        output.json = {{QStringLiteral("file"), file},
                       {QStringLiteral("class"), className},
                       {QStringLiteral("format"), format},
                       {QStringLiteral("valid"), true}};
    } catch (const CommandError &error) {
        // Scripts get the verdict on standard output as well.
        output.error = error.message();
        output.exitCode = ErrorExit;
        output.json = {{QStringLiteral("file"), file},
                       {QStringLiteral("valid"), false},
                       {QStringLiteral("path"), problem.path},
                       {QStringLiteral("message"),
                        problem.message.isEmpty() ? error.message() : problem.message}};
    }
    return output;
}

Output diffCommand(const QString &before, const QString &after, qsizetype limit)
{
    if (before == QLatin1String("-") && after == QLatin1String("-"))
        throw CommandError(QStringLiteral("standard input can be only one of the two files"));
    const QJsonObject a = readDocument(before);
    const QJsonObject b = readDocument(after);
    const QString className = a.value(ClassKey).toString();
    if (b.value(ClassKey).toString() != className)
        throw CommandError(
            QStringLiteral("%1 holds a %2, %3 a %4: compare documents of one class")
                .arg(fileName(before), className, fileName(after), b.value(ClassKey).toString()));

    Output output;
    QTextStream out(&output.text);
    QJsonArray differences;
    qsizetype total = 0;
    for (const ModelStateDifference &d : ModelState::compare(a, b, limit, &total)) {
        QJsonObject entry{{QStringLiteral("path"), d.path},
                          {QStringLiteral("change"), changeName(d.kind)}};
        QString line = d.path + QLatin1String(": ");
        if (!d.before.isUndefined())
            entry.insert(QStringLiteral("before"), d.before);
        if (!d.after.isUndefined())
            entry.insert(QStringLiteral("after"), d.after);
        switch (d.kind) {
        case ModelStateDifference::Changed:
            line += oneLine(d.before) + QLatin1String(" -> ") + oneLine(d.after);
            break;
        case ModelStateDifference::Added:
            line += QLatin1String("added ") + oneLine(d.after);
            break;
        case ModelStateDifference::Removed:
            line += QLatin1String("removed ") + oneLine(d.before);
            break;
        }
        out << escaped(line) << '\n';
        differences.append(entry);
    }
    const qsizetype more = total - differences.size();
    if (total == 0)
        out << "no differences\n";
    else if (more > 0)
        out << "... and " << more << " more differences (" << total << " in all; see "
            << "--max-differences)\n";
    output.json = {{QStringLiteral("before"), before},
                   {QStringLiteral("after"), after},
                   {QStringLiteral("class"), className},
                   {QStringLiteral("differences"), differences},
                   {QStringLiteral("more"), more}};
    output.exitCode = total == 0 ? SuccessExit : DifferentExit;
    return output;
}

Output restoreCommand(const QString &file)
{
    const QJsonObject document = readDocument(file);
    const QString className = document.value(ClassKey).toString();
    for (const auto &view : s_views) {
        if (className == view.first)
            return view.second(document, file);
    }
    // check() knows no class that has no view.
    throw CommandError(QStringLiteral("no view of class %1").arg(escaped(className)));
}

Output patchCommand(const QString &base, const QString &diff, Layout layout)
{
    if (base == QLatin1String("-") && diff == QLatin1String("-"))
        throw CommandError(QStringLiteral("standard input can be only one of the two files"));
    QJsonObject document = readDocument(base);
    const QVector<ModelStateDifference> differences
        = readDifferences(diff, document.value(ClassKey).toString());
    ModelStateError error;
    if (!ModelState::apply(document, differences, &error))
        throw CommandError(QStringLiteral("%1 does not fit %2: %3")
                               .arg(fileName(diff), fileName(base), error.toString()));
    if (!ModelState::check(document, &error))
        throw CommandError(QStringLiteral("%1 patched by %2 is not a valid document: %3")
                               .arg(fileName(base), fileName(diff), error.toString()));
    return savedOutput(document, layout);
}
