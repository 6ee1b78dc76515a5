// Accesses to samples of the stream history, which the spectrum may read on another thread
// while the output thread writes them. They are relaxed atomic loads and stores, plain moves on
// x86: the readers detect a lapped copy and throw it away, and this way the race they tolerate
// is defined behaviour too, with nothing for a race detector to report.
#pragma once

#include <atomic>
#include <cstddef>

namespace hollowtide::audio {

inline float LoadSample(const float& at) noexcept {
    return std::atomic_ref<float>(const_cast<float&>(at)).load(std::memory_order_relaxed);
}

inline void StoreSample(float& at, float value) noexcept {
    std::atomic_ref<float>(at).store(value, std::memory_order_relaxed);
}

inline void CopySamples(const float* from, std::size_t count, float* to) noexcept {
    for (std::size_t i = 0; i < count; ++i) StoreSample(to[i], from[i]);
}

inline void FillSamples(float* to, std::size_t count, float value) noexcept {
    for (std::size_t i = 0; i < count; ++i) StoreSample(to[i], value);
}

}  // namespace hollowtide::audio
