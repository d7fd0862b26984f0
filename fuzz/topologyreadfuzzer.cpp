// The topology reader fed arbitrary file bytes: it must return an array of objects whose values
// are all strings, and never crash, leak or hang, whatever the file holds.

#include "bytereader.h"

#include <model/topology/model_topology_param.h>

#include <QtCore/QDateTime>
#include <QtCore/QFile>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonObject>
#include <QtCore/QTemporaryDir>

// A value in the settings store's binary form can announce a container of billions of elements,
// and Qt then tries to reserve it. The reader expects that allocation to fail as it does in a
// normal build, with std::bad_alloc: so oversized requests return null instead of aborting, and
// they are capped below libFuzzer's own allocation limit, which would report them as a crash.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=1024";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("topology.ini"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
        // The settings store trusts what it parsed of a path for as long as the file's size and
        // time stay the same, and two inputs can agree on both: every input gets a time of its own.
        static qint64 inputNumber = 0;
        FUZZ_CHECK(file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + ++inputNumber),
                                    QFileDevice::FileModificationTime));
    }

    static model_topology_param store; // the file operations are members; any object serves
    const QJsonArray modules = store.getTPLYModuleData(path);
    for (const QJsonValue &module : modules) {
        FUZZ_CHECK(module.isObject());
        const QJsonObject object = module.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            FUZZ_CHECK(it.value().isString());
    }
    return 0;
}
