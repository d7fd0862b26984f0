#include "../tests/settingsreference.h"
#include "measure.h"

#include <model/topology/model_topology_param.h>

#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonObject>
#include <QtCore/QSettings>
#include <QtCore/QString>
#include <QtCore/QTemporaryDir>

// Writing and reading topology files of 10 to 10,000 modules of eight members each. The counter
// "per_module" is the time of one module: it stays flat while the cost grows linearly.

namespace {

QString scratchDirectory()
{
    static const QTemporaryDir directory;
    return directory.path();
}

QString topologyPath(int modules)
{
    return scratchDirectory() + QStringLiteral("/topology-%1.ini").arg(modules);
}

// Eight members of the kinds a client stores: texts, numbers and a flag.
QJsonArray makeModules(int count)
{
    QJsonArray modules;
    for (int i = 0; i < count; ++i) {
        modules.append(QJsonObject{
            {QStringLiteral("name"), QStringLiteral("module %1").arg(i)},
            {QStringLiteral("type"), i % 2 ? QStringLiteral("input") : QStringLiteral("output")},
            {QStringLiteral("slot"), i % 16},
            {QStringLiteral("x"), (i % 8) * 1920},
            {QStringLiteral("y"), (i / 8) * 1080},
            {QStringLiteral("width"), 1920},
            {QStringLiteral("height"), 1080},
            {QStringLiteral("enabled"), i % 3 != 0},
        });
    }
    return modules;
}

void reportModules(benchmark::State &state, int modules)
{
    state.SetComplexityN(modules);
    state.counters["per_module"] = benchmark::Counter(
        modules, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void write(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QJsonArray modules = makeModules(count);
    const QString path = topologyPath(count);
    model_topology_param store;
    const auto run = [&] { store.setTPLYModuleData(path, modules); };
    run();
    measure::countAllocations(state, run);
    for (auto _ : state)
        run();
    reportModules(state, count);
    QFile::remove(path);
}

// The settings store keeps what it parsed of a file for the life of the process, so every
// baseline run opens a file of a new name.
QString freshPath(int modules)
{
    static int runs = 0;
    return scratchDirectory() + QStringLiteral("/settings-%1-%2.ini").arg(modules).arg(++runs);
}

// The baseline: the same array written and read by the settings store itself, as the store did
// before it had a reader and writer of its own.
void settingsWrite(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QJsonArray modules = makeModules(count);
    for (auto _ : state) {
        const QString path = freshPath(count);
        SettingsReference::write(path, modules);
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    reportModules(state, count);
}

void settingsRead(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QString source = topologyPath(count);
    model_topology_param().setTPLYModuleData(source, makeModules(count));
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = freshPath(count);
        QFile::copy(source, path);
        state.ResumeTiming();
        QJsonArray modules = SettingsReference::read(path);
        benchmark::DoNotOptimize(modules);
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    reportModules(state, count);
    QFile::remove(source);
}

void read(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QString path = topologyPath(count);
    model_topology_param store;
    store.setTPLYModuleData(path, makeModules(count));

    const auto run = [&] {
        QJsonArray modules = store.getTPLYModuleData(path);
        benchmark::DoNotOptimize(modules);
    };
    measure::countAllocations(state, run);
    for (auto _ : state)
        run();
    reportModules(state, count);
    QFile::remove(path);
}

} // namespace

void registerTopologyBenchmarks()
{
    for (auto bench : {benchmark::RegisterBenchmark("model_topology_param/write", write),
                       benchmark::RegisterBenchmark("model_topology_param/read", read),
                       benchmark::RegisterBenchmark("QSettings/write", settingsWrite),
                       benchmark::RegisterBenchmark("QSettings/read", settingsRead)}) {
        bench->RangeMultiplier(10)
            ->Range(10, 10000)
            ->Complexity(benchmark::oN)
            ->Unit(benchmark::kMicrosecond);
    }
}
