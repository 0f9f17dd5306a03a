#include "HeapCounter.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <malloc.h>

// glibc's own entry points, which the definitions below forward to.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<long long> g_bytesLive{0};
std::atomic<long long> g_blocksLive{0};

void* Counted(void* block) {
    if (block) {
        g_bytesLive += static_cast<long long>(malloc_usable_size(block));
        ++g_blocksLive;
    }
    return block;
}

void Uncount(void* block) {
    if (block) {
        g_bytesLive -= static_cast<long long>(malloc_usable_size(block));
        --g_blocksLive;
    }
}

} // namespace

// Definitions in the executable take the place of the C library's for every library the
// program loads, librsvg included.
extern "C" {

void* malloc(std::size_t size) {
    return Counted(__libc_malloc(size));
}

void* calloc(std::size_t count, std::size_t size) {
    return Counted(__libc_calloc(count, size));
}

void* realloc(void* block, std::size_t size) {
    long long oldBytes = block ? static_cast<long long>(malloc_usable_size(block)) : 0;
    void* moved = __libc_realloc(block, size);
    if (!block) {
        Counted(moved);
    } else if (moved) {
        g_bytesLive += static_cast<long long>(malloc_usable_size(moved)) - oldBytes;
    } else if (size == 0) {
        g_bytesLive -= oldBytes; // realloc(p, 0) freed the block
        --g_blocksLive;
    }
    return moved;
}

void free(void* block) {
    Uncount(block);
    __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size) {
    return Counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
    return Counted(__libc_memalign(alignment, size));
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size) {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* block = __libc_memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *result = Counted(block);
    return 0;
}

} // extern "C"

namespace bench {

HeapSnapshot TakeHeapSnapshot() {
    return {g_bytesLive.load(), g_blocksLive.load()};
}

} // namespace bench
