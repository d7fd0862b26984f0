#include <model/ports/model_globalenum.h>

#include <benchmark/benchmark.h>

#include <QtCore/QCoreApplication>

#include <dlfcn.h>

void registerDeviceModelBenchmarks();
void registerKeyboardBenchmarks();
void registerPortBenchmarks();
void registerTopologyBenchmarks();
void registerStateBenchmarks();
void registerItemModelBenchmarks();

namespace {

// The file the model library was loaded from, so that a report says which build it measured
// (LD_LIBRARY_PATH can point the same program at another build of the library).
const char *libraryPath()
{
    Dl_info info{};
    const auto symbol = reinterpret_cast<void *>(&model_GlobalEnum::getInputPortNameByType);
    return dladdr(symbol, &info) && info.dli_fname ? info.dli_fname : "unknown";
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // A client runs the library inside a Qt application; so do the benchmarks.
    QCoreApplication app(argc, argv);

    registerDeviceModelBenchmarks();
    registerKeyboardBenchmarks();
    registerPortBenchmarks();
    registerTopologyBenchmarks();
    registerStateBenchmarks();
    registerItemModelBenchmarks();

    benchmark::AddCustomContext("devicemodel_library", libraryPath());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
