// How often the analyser has something to show: the song played through the program's own
// engine on its offline output, one spectrum request and one pass of the bar rules per 10 ms.
#pragma once

#include <cstdint>
#include <string>

namespace packreport {

// The share of passes over the first 60 s in which the tallest bar stands at half height or
// more; -1 when the engine cannot start or play the file.
double AnalyserShare(const std::string& path, std::uint32_t loadFlags);

}  // namespace packreport
