// The one exception of the engine's insides. Owning types throw it from their constructors; the
// engine operations in bass.cpp catch it and turn it into the last error code.
#pragma once

#include <stdexcept>

namespace hollowtide::audio {

class EngineError : public std::runtime_error {
  public:
    EngineError(int code, const char* what) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

// Codes of the engine error table that the engine sets.
namespace error_code {
inline constexpr int kOk = 0;
inline constexpr int kMemory = 1;
inline constexpr int kCannotOpenFile = 2;
inline constexpr int kNoDriver = 3;
inline constexpr int kInvalidHandle = 5;
inline constexpr int kUnsupportedFormat = 6;
inline constexpr int kInvalidPosition = 7;
inline constexpr int kNotInitialised = 8;
inline constexpr int kNotStarted = 9;
inline constexpr int kAlreadyInitialised = 14;
inline constexpr int kNoFreeChannel = 18;
inline constexpr int kIllegalParameter = 20;
inline constexpr int kIllegalDevice = 23;
inline constexpr int kIllegalRate = 25;
inline constexpr int kDataNotAvailable = 37;
}  // namespace error_code

}  // namespace hollowtide::audio
