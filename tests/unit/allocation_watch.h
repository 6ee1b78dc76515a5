// The largest single block asked of operator new, on any thread, while a watch is open. The
// unit tests' binary replaces the global operator new for it (allocation_watch.cpp).
#pragma once

#include <cstddef>

namespace hollowtide::testing {

class LargestAllocationWatch {
  public:
    LargestAllocationWatch();
    ~LargestAllocationWatch();
    LargestAllocationWatch(const LargestAllocationWatch&) = delete;
    LargestAllocationWatch& operator=(const LargestAllocationWatch&) = delete;

    std::size_t largest() const;
};

}  // namespace hollowtide::testing
