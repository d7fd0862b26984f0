// The topology writer fed arbitrary JSON, then the file read back. Whatever the array holds, the
// file has no more sections than the array has elements and every value comes back as a string;
// an array of plain objects (keys of letters, digits and '_', printable ASCII text values) comes
// back unchanged.

#include "bytereader.h"

#include <model/topology/model_topology_param.h>

#include <QtCore/QByteArray>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QTemporaryDir>

#include <sanitizer/lsan_interface.h>

#include <algorithm>

namespace {

// Qt 5.15's JSON parser leaks the earlier value of a repeated key when that value is an array or
// an object: QJsonDocument::fromJson() of {"a":{},"a":1} loses the {}. Only this harness parses
// JSON text, so the parse runs with leak detection off, and rebuilt() then copies the result into
// values of its own: everything the topology store is given stays watched.
QJsonDocument parse(const QByteArray &text)
{
    __lsan::ScopedDisabler parserLeaksAreQts;
    return QJsonDocument::fromJson(text);
}

QJsonValue rebuilt(const QJsonValue &value)
{
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue &element : value.toArray())
            array.append(rebuilt(element));
        return array;
    }
    if (value.isObject()) {
        QJsonObject object;
        const QJsonObject source = value.toObject();
        for (auto it = source.constBegin(); it != source.constEnd(); ++it)
            object.insert(it.key(), rebuilt(it.value()));
        return object;
    }
    if (value.isString()) {
        const QString text = value.toString();
        return QString(text.constData(), text.size());
    }
    return value;
}

bool isPlainKey(const QString &key)
{
    return !key.isEmpty() && std::all_of(key.cbegin(), key.cend(), [](QChar c) {
        return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    });
}

bool isPlainText(const QJsonValue &value)
{
    if (!value.isString())
        return false;
    const QString text = value.toString();
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

// Every element a non-empty object of plain keys and plain text values.
bool isPlain(const QJsonArray &modules)
{
    return std::all_of(modules.begin(), modules.end(), [](const QJsonValue &module) {
        const QJsonObject object = module.toObject();
        if (!module.isObject() || object.isEmpty())
            return false;
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            if (!isPlainKey(it.key()) || !isPlainText(it.value()))
                return false;
        }
        return true;
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QJsonArray modules;
    {
        const QJsonDocument document
            = parse(QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size)));
        if (document.isNull())
            return 0;
        modules = document.isArray() ? rebuilt(document.array()).toArray()
                                     : QJsonArray{rebuilt(document.object())};
    }

    // One path for every input, so that each write replaces the file of the one before.
    static const QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("topology.ini"));
    static model_topology_param store; // the file operations are members; any object serves
    store.setTPLYModuleData(path, modules);
    const QJsonArray readBack = store.getTPLYModuleData(path);

    FUZZ_CHECK(readBack.size() <= modules.size());
    for (const QJsonValue &module : readBack) {
        FUZZ_CHECK(module.isObject());
        const QJsonObject object = module.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            FUZZ_CHECK(it.value().isString());
    }
    if (isPlain(modules))
        FUZZ_CHECK(readBack == modules);
    return 0;
}
