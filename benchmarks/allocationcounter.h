#ifndef BENCHMARKS_ALLOCATIONCOUNTER_H
#define BENCHMARKS_ALLOCATIONCOUNTER_H

#include <cstdint>

// What the heap saw while a CountAllocations object was alive: every malloc, calloc, realloc and
// aligned allocation (operator new lands in malloc), with the bytes each one asked for, and every
// free of a non-null pointer. Qt's containers allocate through malloc and realloc, so nothing of
// theirs escapes the count.
struct AllocationCount
{
    std::int64_t allocations = 0;
    std::int64_t bytes = 0;
    std::int64_t frees = 0;
};

// Counts the allocations of this thread's work from construction to result(). Not nestable, and
// the program must stay single-threaded while one is alive.
class CountAllocations
{
public:
    CountAllocations();
    ~CountAllocations();
    CountAllocations(const CountAllocations &) = delete;
    CountAllocations &operator=(const CountAllocations &) = delete;

    // The count so far; counting stops at the first call.
    AllocationCount result();
};

#endif // BENCHMARKS_ALLOCATIONCOUNTER_H
