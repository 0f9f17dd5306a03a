#include "RasterCount.h"

#include <atomic>

namespace RasterCount {
namespace {
std::atomic<long> count{0};
} // namespace

void Add() {
    count.fetch_add(1, std::memory_order_relaxed);
}

long Value() {
    return count.load(std::memory_order_relaxed);
}

} // namespace RasterCount
