// The same measures over a folder of human-made modules, to set the pack's figures against.
#pragma once

#include <cstdio>
#include <filesystem>

namespace packreport {

// Measures every MOD, XM, IT and S3M file under `folder` and prints a line per module and the
// spread of each measure. Returns the number of modules measured.
int ReportHumanModules(const std::filesystem::path& folder, std::FILE* out);

}  // namespace packreport
