// Counts the heap a piece of code leaves allocated. This benchmark binary puts itself in
// front of the C library's malloc family, so the count covers our engine (operator new
// allocates through malloc) and librsvg (GLib and Rust allocate through malloc) alike.
#pragma once

#include <cstddef>

namespace bench {

struct HeapSnapshot {
    long long bytesLive = 0;  // usable bytes of blocks allocated and not yet freed
    long long blocksLive = 0; // blocks allocated and not yet freed
};

HeapSnapshot TakeHeapSnapshot();

// What was allocated between two snapshots and is still held at the second.
inline HeapSnapshot Difference(const HeapSnapshot& before, const HeapSnapshot& after) {
    return {after.bytesLive - before.bytesLive, after.blocksLive - before.blocksLive};
}

} // namespace bench
