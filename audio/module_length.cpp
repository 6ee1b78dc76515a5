#include "audio/module_length.h"

#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <libopenmpt/libopenmpt.hpp>
#include <ostream>
#include <vector>

#include "audio/path_lookup.h"

namespace hollowtide::audio {
namespace {

constexpr std::uintmax_t kLargestFile = 64u << 20;

}  // namespace

std::optional<std::int64_t> ModuleFileLengthMicroseconds(std::string_view eightBitPath) {
    const auto path = FindPathIgnoringCase(eightBitPath);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(*path, error);
    if (error || size == 0 || size > kLargestFile) return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (bytes.size() != size) return std::nullopt;
    try {
        std::ostream silent(nullptr);  // the decoder's messages go nowhere
        const openmpt::module module(bytes, silent);
        const double seconds = module.get_duration_seconds();
        if (!std::isfinite(seconds) || seconds < 0) return std::nullopt;
        return static_cast<std::int64_t>(std::llround(seconds * 1e6));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace hollowtide::audio
