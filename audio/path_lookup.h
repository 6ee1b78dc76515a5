// Finds a module file from the 8-bit path the program hands to the engine: `\` separators, and
// letter case that may differ from the files on disk.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace hollowtide::audio {

// The path on disk that `eightBitPath` names, taking `\` and `/` as separators. Each component
// is tried as written first; when that fails, its folder is scanned for an entry whose name
// differs only in the case of ASCII letters (the first such entry in directory order wins).
// Returns nothing when some component cannot be found. The result may be a folder.
std::optional<std::filesystem::path> FindPathIgnoringCase(std::string_view eightBitPath);

}  // namespace hollowtide::audio
