// How long a module file plays, as the decoder reckons it: for the desktop's media controls,
// which show a song's length. Reads the file on the calling thread; knows nothing of a running
// engine and may be called in any state.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hollowtide::audio {

// The playing time of the module at `eightBitPath` (found as BASS_MusicLoad finds it), played
// once from its start, in microseconds. Nothing when the file cannot be read, is larger than a
// module can reasonably be, or is no module.
std::optional<std::int64_t> ModuleFileLengthMicroseconds(std::string_view eightBitPath);

}  // namespace hollowtide::audio
