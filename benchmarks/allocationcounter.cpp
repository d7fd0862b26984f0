#include "allocationcounter.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <malloc.h>

// The program defines the C allocation functions itself: they count, then hand the call to the C
// library's own implementation. The dynamic linker binds every call in Qt, libstdc++ and the
// model library to these definitions, since the executable comes first in the lookup order.
extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *pointer, std::size_t size);
void *__libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void *pointer);
}

namespace {

bool s_counting = false;
AllocationCount s_count;

inline void countAllocation(std::size_t bytes)
{
    if (s_counting) {
        ++s_count.allocations;
        s_count.bytes += std::int64_t(bytes);
    }
}

} // namespace

extern "C" {

void *malloc(std::size_t size) noexcept
{
    countAllocation(size);
    return __libc_malloc(size);
}

void *calloc(std::size_t count, std::size_t size) noexcept
{
    countAllocation(count * size);
    return __libc_calloc(count, size);
}

void *realloc(void *pointer, std::size_t size) noexcept
{
    countAllocation(size);
    return __libc_realloc(pointer, size);
}

void *memalign(std::size_t alignment, std::size_t size) noexcept
{
    countAllocation(size);
    return __libc_memalign(alignment, size);
}

void *aligned_alloc(std::size_t alignment, std::size_t size) noexcept
{
    countAllocation(size);
    return __libc_memalign(alignment, size);
}

int posix_memalign(void **result, std::size_t alignment, std::size_t size) noexcept
{
    countAllocation(size);
    void *pointer = __libc_memalign(alignment, size);
    if (!pointer)
        return ENOMEM;
    *result = pointer;
    return 0;
}

void free(void *pointer) noexcept
{
    if (s_counting && pointer)
        ++s_count.frees;
    __libc_free(pointer);
}

} // extern "C"

CountAllocations::CountAllocations()
{
    s_count = AllocationCount();
    s_counting = true;
}

CountAllocations::~CountAllocations()
{
    s_counting = false;
}

AllocationCount CountAllocations::result()
{
    s_counting = false;
    return s_count;
}
