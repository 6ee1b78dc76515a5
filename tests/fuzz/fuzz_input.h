// How the engine's fuzzer reads an input: the first byte picks one of the pack's load flags, the
// rest is the module file. One load per input keeps the fuzzer fast, and a mutated first byte
// still reaches every flag. The fuzzer and its regression test both read inputs this way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "audio/bass.h"

namespace hollowtide::fuzzing {

// Every load flag value of the song table and the intro tune.
inline constexpr std::array<DWORD, 6> kPackLoadFlags = {34, 16418, 17, 16401, 2, 18};

struct FuzzInput {
    DWORD loadFlags;
    std::span<const std::uint8_t> module;
};

// Nothing for an input too short to hold both a flag byte and a module byte.
inline std::optional<FuzzInput> ReadFuzzInput(std::span<const std::uint8_t> input) {
    if (input.size() < 2) return std::nullopt;
    return FuzzInput{kPackLoadFlags[input[0] % kPackLoadFlags.size()], input.subspan(1)};
}

}  // namespace hollowtide::fuzzing
