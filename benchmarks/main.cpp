#include <model/ports/model_globalenum.h>

#include <benchmark/benchmark.h>

#include <QtCore/QCoreApplication>

#include <dlfcn.h>
#include <malloc.h>

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
    // Every operation is measured on a heap that already holds the pages it needs. By default the
    // C library returns the top of the heap to the kernel once more than its trim threshold is
    // free there (a threshold it raises as large blocks come and go), and serves large blocks
    // with fresh mappings: an operation that frees its result at the top of the heap then pays
    // for fresh pages in its next iteration, or does not, depending on what earlier benchmarks
    // left in the heap and on which side of the threshold its size falls.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, -1);
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
