#include "measure.h"

#include <cstdlib>
#include <cstring>

namespace measure {

double floorNanoseconds(std::int64_t payloadBytes, benchmark::IterationCount iterations)
{
    const std::size_t bytes = std::size_t(payloadBytes);
    const auto start = std::chrono::steady_clock::now();
    for (benchmark::IterationCount i = 0; i < iterations; ++i) {
        void *block = std::malloc(bytes);
        benchmark::DoNotOptimize(block);
        if (block)
            std::memset(block, 0x5A, bytes);
        benchmark::ClobberMemory();
        std::free(block);
    }
    const std::chrono::duration<double, std::nano> elapsed
        = std::chrono::steady_clock::now() - start;
    return iterations > 0 ? elapsed.count() / double(iterations) : 0.0;
}

void reportFloor(benchmark::State &state, double operationNanoseconds, std::int64_t payloadBytes)
{
    const double floor = floorNanoseconds(payloadBytes, state.iterations());
    state.counters["payload_B"] = double(payloadBytes);
    state.counters["floor_ns"] = floor;
    state.counters["floor_ratio"] = floor > 0.0 ? operationNanoseconds / floor : 0.0;
}

} // namespace measure
