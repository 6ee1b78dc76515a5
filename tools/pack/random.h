// A small deterministic generator: the same seed gives the same pack on every machine.
#pragma once

#include <cstdint>
#include <vector>

namespace packgen {

class Random {
  public:
    explicit Random(std::uint64_t seed)
        : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}

    std::uint64_t next() {
        // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, bound).
    int below(int bound) {
        return bound <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(bound));
    }
    // Uniform in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

  private:
    std::uint64_t state_;
};

}  // namespace packgen
