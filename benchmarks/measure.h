#ifndef BENCHMARKS_MEASURE_H
#define BENCHMARKS_MEASURE_H

#include "allocationcounter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

// Shared by every benchmark of this program: the allocation counters and the payload floor.

namespace measure {

// Runs op once more, outside the timed loop, counting its allocations, and reports them as the
// counters "allocs" (allocation calls, reallocations included) and "heap_B" (bytes they asked for).
template<typename Op>
AllocationCount countAllocations(benchmark::State &state, Op op)
{
    AllocationCount count;
    {
        CountAllocations counter;
        op();
        count = counter.result();
    }
    state.counters["allocs"] = double(count.allocations);
    state.counters["heap_B"] = double(count.bytes);
    return count;
}

// The benchmark loop around op, timed with a steady clock as well; returns the nanoseconds of
// one iteration by that clock, so that a floor timed the same way compares with it.
template<typename Op>
double timedLoop(benchmark::State &state, Op op)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        op();
    const std::chrono::duration<double, std::nano> elapsed
        = std::chrono::steady_clock::now() - start;
    return state.iterations() > 0 ? elapsed.count() / double(state.iterations()) : 0.0;
}

// The least that building a tree of payloadBytes can cost: one allocation of all its bytes and
// one pass writing them, then the release. Timed over as many iterations as the benchmark ran;
// returns nanoseconds per iteration.
double floorNanoseconds(std::int64_t payloadBytes, benchmark::IterationCount iterations);

// Reports "payload_B", "floor_ns" and "floor_ratio" (the operation's time over the floor's).
void reportFloor(benchmark::State &state, double operationNanoseconds, std::int64_t payloadBytes);

} // namespace measure

#endif // BENCHMARKS_MEASURE_H
