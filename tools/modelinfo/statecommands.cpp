// The snapshot commands: save, check and diff, on the companion library's JSON documents.

#include "commands.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/ic/modelic.h>
#include <model/keyboard/model_quorparam.h>
#include <model/processor/modelcalyth.h>
#include <model/scene/modelscene.h>
#include <model/state/modelstate.h>

#include <QtCore/QFile>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QTextStream>

#include <memory>

namespace {

template<typename Model>
QJsonObject savedModel(int code)
{
    // The larger models do not belong on the stack.
    const auto model = std::make_unique<Model>();
    model->initParam(code);
    return ModelState::save(*model);
}

Output savedOutput(const QJsonObject &document)
{
    Output output;
    output.raw = ModelState::toJson(document);
    return output;
}

// The document of a file: valid JSON, an object, and a document restore() would take.
QJsonObject readDocument(const QString &path)
{
    const QJsonDocument document = readJsonFile(path);
    if (!document.isObject())
        throw CommandError(QStringLiteral("%1 does not hold a JSON object").arg(path));
    ModelStateError problem;
    if (!ModelState::check(document.object(), &problem))
        throw CommandError(QStringLiteral("%1: %2").arg(path, problem.toString()));
    return document.object();
}

// A value on one line: numbers and strings as JSON writes them, arrays and objects compact.
QString oneLine(const QJsonValue &value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

} // namespace

Output saveModelCommand(int code, const QString &model)
{
    if (model == QLatin1String("processor"))
        return savedOutput(savedModel<ModelCalyth>(code));
    if (model == QLatin1String("scene"))
        return savedOutput(savedModel<ModelScene>(code));
    if (model == QLatin1String("bankplayer"))
        return savedOutput(savedModel<ModelBankPlayer>(code));
    if (model == QLatin1String("ic"))
        return savedOutput(savedModel<ModelIC>(code));
    throw CommandError(
        QStringLiteral("unknown model '%1': choose processor, scene, bankplayer or ic").arg(model));
}

Output saveKeyboardCommand(KeyboardOperation operation)
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
    return savedOutput(ModelState::save(*keyboard));
}

Output checkCommand(const QString &file)
{
    const QJsonObject document = readDocument(file);
    const QString className = document.value(QLatin1String("class")).toString();
    const int format = document.value(QLatin1String("format")).toInt();
    Output output;
    output.text
        = QStringLiteral("%1: a valid %2 document, format %3\n").arg(file, className).arg(format);
    output.json = {{QStringLiteral("file"), file},
                   {QStringLiteral("class"), className},
                   {QStringLiteral("format"), format},
                   {QStringLiteral("valid"), true}};
    return output;
}

Output diffCommand(const QString &before, const QString &after)
{
    const QJsonObject a = readDocument(before);
    const QJsonObject b = readDocument(after);
    const QString className = a.value(QLatin1String("class")).toString();
    if (b.value(QLatin1String("class")).toString() != className)
        throw CommandError(
            QStringLiteral("%1 holds a %2, %3 a %4: compare documents of one class")
                .arg(before, className, after, b.value(QLatin1String("class")).toString()));

    Output output;
    QTextStream out(&output.text);
    QJsonArray differences;
    for (const ModelStateDifference &d : ModelState::compare(a, b)) {
        QJsonObject entry{{QStringLiteral("path"), d.path}};
        switch (d.kind) {
        case ModelStateDifference::Changed:
            out << d.path << ": " << oneLine(d.before) << " -> " << oneLine(d.after) << '\n';
            entry.insert(QStringLiteral("change"), QStringLiteral("changed"));
            entry.insert(QStringLiteral("before"), d.before);
            entry.insert(QStringLiteral("after"), d.after);
            break;
        case ModelStateDifference::Added:
            out << d.path << ": added " << oneLine(d.after) << '\n';
            entry.insert(QStringLiteral("change"), QStringLiteral("added"));
            entry.insert(QStringLiteral("after"), d.after);
            break;
        case ModelStateDifference::Removed:
            out << d.path << ": removed " << oneLine(d.before) << '\n';
            entry.insert(QStringLiteral("change"), QStringLiteral("removed"));
            entry.insert(QStringLiteral("before"), d.before);
            break;
        }
        differences.append(entry);
    }
    if (differences.isEmpty())
        out << "no differences\n";
    output.json = {{QStringLiteral("before"), before},
                   {QStringLiteral("after"), after},
                   {QStringLiteral("class"), className},
                   {QStringLiteral("differences"), differences}};
    return output;
}
