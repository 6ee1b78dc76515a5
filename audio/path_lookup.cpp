#include "audio/path_lookup.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace hollowtide::audio {
namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

std::vector<std::string> SplitComponents(std::string_view path) {
    std::vector<std::string> components;
    std::string current;
    for (const char c : path) {
        if (c == '/' || c == '\\') {
            if (!current.empty()) components.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) components.push_back(std::move(current));
    return components;
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

std::optional<std::filesystem::path> FindEntryIgnoringCase(const std::filesystem::path& folder,
                                                           std::string_view name) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return std::nullopt;
    for (const std::filesystem::directory_entry& entry : entries) {
        if (EqualIgnoringAsciiCase(entry.path().filename().native(), name)) return entry.path();
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> FindPathIgnoringCase(std::string_view eightBitPath) {
    if (eightBitPath.empty()) return std::nullopt;
    std::string slashed(eightBitPath);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (Exists(slashed)) return std::filesystem::path(slashed);

    std::filesystem::path found = slashed.front() == '/' ? "/" : ".";
    for (const std::string& component : SplitComponents(slashed)) {
        std::filesystem::path exact = found / component;
        if (Exists(exact)) {
            found = std::move(exact);
            continue;
        }
        std::optional<std::filesystem::path> entry = FindEntryIgnoringCase(found, component);
        if (!entry) return std::nullopt;
        found = std::move(*entry);
    }
    return found;
}

}  // namespace hollowtide::audio
