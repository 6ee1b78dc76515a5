#include "audio/vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace hollowtide::audio {
namespace {

__attribute__((target("avx"))) void ZeroUpperHalves() noexcept {
    _mm256_zeroupper();
}

// Read once, before any audio thread exists, so the callback never runs an initialiser.
const bool kHasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();

}  // namespace

void ClearUpperVectorState() noexcept {
    if (kHasAvx) ZeroUpperHalves();
}

}  // namespace hollowtide::audio
#else
namespace hollowtide::audio {
void ClearUpperVectorState() noexcept {}
}  // namespace hollowtide::audio
#endif
