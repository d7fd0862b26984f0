// The topology store against the settings store it replaces, on the same input. An input that
// starts with 'j' is a JSON array: both write it, and the two files must be the same bytes. Any
// other input, after its first byte, is a file: the store must read it as the settings store
// does (QSettings in INI format, UTF-8), sections taken by number. The store must log nothing.

#include "../tests/settingsreference.h"
#include "bytereader.h"

#include <model/topology/model_topology_param.h>

#include <QtCore/QFile>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>

#include <sanitizer/lsan_interface.h>

#include <algorithm>
#include <new>

// A binary value can announce a container of billions of elements, which the settings store then
// tries to reserve: such requests fail with std::bad_alloc as in a normal build. Values that nest
// such containers make it reserve at every level, so a request is capped well below the fuzzer's
// memory limit.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=128";
}

namespace {

bool storeRunning = false;

// The settings store warns about empty keys and unknown types; the topology store must not.
void onMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (storeRunning) {
        std::fprintf(stderr, "the store logged: %s\n", qPrintable(message));
        std::abort();
    }
}

// The settings store keeps what it parsed of a path for the life of the process: every file it
// sees gets a name of its own.
QString freshPath(const QTemporaryDir &directory)
{
    static int count = 0;
    return directory.filePath(QStringLiteral("settings-%1.ini").arg(++count));
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray settingsWrite(const QString &path, const QJsonArray &modules)
{
    SettingsReference::write(path, modules);
    const QByteArray bytes = contents(path);
    QFile::remove(path);
    return bytes;
}

// Qt 5.15's JSON parser leaks the earlier value of a repeated key when that value is an array or
// an object, so the parse runs with leak detection off.
QJsonArray parse(const QByteArray &text)
{
    __lsan::ScopedDisabler parserLeaksAreQts;
    const QJsonDocument document = QJsonDocument::fromJson(text);
    return document.isArray() ? document.array() : QJsonArray{document.object()};
}

// Whether value nests arrays and objects more than levels deep: the store writes those as "".
bool tooDeep(const QJsonValue &value, int levels)
{
    if (!value.isArray() && !value.isObject())
        return false;
    if (levels == 0)
        return true;
    const QVariantList children = value.isArray() ? value.toArray().toVariantList()
                                                  : value.toObject().toVariantMap().values();
    return std::any_of(children.begin(), children.end(), [&](const QVariant &child) {
        return tooDeep(QJsonValue::fromVariant(child), levels - 1);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir directory;
    static model_topology_param store; // the file operations are members; any object serves
    static const QtMessageHandler previous = qInstallMessageHandler(onMessage);
    Q_UNUSED(previous)
    const QString path = directory.filePath(QStringLiteral("topology.ini"));
    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    if (input.isEmpty())
        return 0;

    if (input.startsWith('j')) {
        const QJsonArray modules = parse(input.mid(1));
        if (tooDeep(modules, 34))
            return 0;
        storeRunning = true;
        store.setTPLYModuleData(path, modules);
        storeRunning = false;
        const QByteArray ours = contents(path);
        const QByteArray theirs = settingsWrite(freshPath(directory), modules);
        if (ours != theirs) {
            std::fprintf(stderr, "ours:\n%s\ntheirs:\n%s\n", ours.constData(), theirs.constData());
            std::abort();
        }
        return 0;
    }

    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(input.mid(1)) == input.size() - 1);
    file.close();
    storeRunning = true;
    const QJsonArray ours = store.getTPLYModuleData(path);
    storeRunning = false;

    // Not compared: the geometry forms ("@Rect(...)" and the like) that no topology file holds:
    // which texts the settings store takes for a rectangle is not known beyond the tested rows.
    if (input.contains("@Rect(") || input.contains("@Size(") || input.contains("@Point("))
        return 0;
    const QString copy = freshPath(directory);
    FUZZ_CHECK(QFile::copy(path, copy));
    QJsonArray theirs;
    try {
        theirs = SettingsReference::read(copy);
    } catch (const std::bad_alloc &) {
        QFile::remove(copy);
        return 0;
    }
    QFile::remove(copy);
    if (ours != theirs) {
        std::fprintf(stderr, "ours:   %s\ntheirs: %s\n",
                     QJsonDocument(ours).toJson(QJsonDocument::Compact).constData(),
                     QJsonDocument(theirs).toJson(QJsonDocument::Compact).constData());
        std::abort();
    }
    return 0;
}
