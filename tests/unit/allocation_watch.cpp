#include "allocation_watch.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> watching{false};
std::atomic<std::size_t> largestSeen{0};

void* Allocate(std::size_t size) noexcept {
    if (watching.load(std::memory_order_relaxed)) {
        std::size_t seen = largestSeen.load(std::memory_order_relaxed);
        while (size > seen && !largestSeen.compare_exchange_weak(seen, size)) {
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

// The plain and nothrow forms, with their matching deletes; the array and aligned forms keep
// their own pairs.
void* operator new(std::size_t size) {
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

namespace hollowtide::testing {

LargestAllocationWatch::LargestAllocationWatch() {
    largestSeen.store(0);
    watching.store(true);
}

LargestAllocationWatch::~LargestAllocationWatch() {
    watching.store(false);
}

std::size_t LargestAllocationWatch::largest() const {
    return largestSeen.load();
}

}  // namespace hollowtide::testing
