#include "measure.h"

#include <model/ports/model_globalenum.h>

#include <QtCore/QString>

// Both port-name lookups over every code 0 to 255: one iteration is 256 lookups.

namespace {

constexpr int CodeCount = 256;

template<QString (*Lookup)(int)>
void lookUpAll(benchmark::State &state)
{
    const auto run = [] {
        for (int code = 0; code < CodeCount; ++code) {
            QString name = Lookup(code);
            benchmark::DoNotOptimize(name);
        }
    };
    measure::countAllocations(state, run);
    measure::timedLoop(state, run);
    state.counters["lookups"]
        = benchmark::Counter(CodeCount, benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

void registerPortBenchmarks()
{
    benchmark::RegisterBenchmark("model_GlobalEnum/getOutputPortNameByType/0-255",
                                 lookUpAll<model_GlobalEnum::getOutputPortNameByType>);
    benchmark::RegisterBenchmark("model_GlobalEnum/getInputPortNameByType/0-255",
                                 lookUpAll<model_GlobalEnum::getInputPortNameByType>);
}
