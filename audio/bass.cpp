#include "audio/bass.h"

#include <array>
#include <atomic>
#include <fstream>
#include <limits>
#include <new>
#include <string_view>
#include <system_error>
#include <vector>

#include "audio/engine_error.h"
#include "audio/engine_state.h"
#include "audio/offline_output.h"
#include "audio/path_lookup.h"
#include "audio/sdl_output.h"

namespace ha = hollowtide::audio;

namespace {

std::atomic<int> lastError{0};

template <typename Result>
Result Fail(int code, Result result) {
    lastError.store(code);
    return result;
}

template <typename Result>
Result Succeed(Result result) {
    lastError.store(ha::error_code::kOk);
    return result;
}

// Modules are rarely above a few tens of megabytes; a larger file is not read at all, so that a
// stray huge file neither freezes the caller nor holds its memory.
constexpr std::uintmax_t kLargestModuleFile = 64u << 20;

// Reads the file into memory (on the calling thread). Throws EngineError with 2 when it cannot
// be read or is larger than any module.
std::vector<std::uint8_t> ReadModuleFile(std::string_view eightBitPath) {
    const auto path = ha::FindPathIgnoringCase(eightBitPath);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error)) {
        throw ha::EngineError(ha::error_code::kCannotOpenFile, "no such file");
    }
    const std::uintmax_t size = std::filesystem::file_size(*path, error);
    if (error) throw ha::EngineError(ha::error_code::kCannotOpenFile, "cannot size file");
    if (size > kLargestModuleFile) {
        throw ha::EngineError(ha::error_code::kCannotOpenFile, "larger than any module");
    }
    std::ifstream in(*path, std::ios::binary);
    if (!in) throw ha::EngineError(ha::error_code::kCannotOpenFile, "cannot open file");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size)) {
        throw ha::EngineError(ha::error_code::kCannotOpenFile, "cannot read file");
    }
    return bytes;
}

// The bytes of the module named by BASS_MusicLoad's arguments, `offset` and `length` applied.
std::vector<std::uint8_t> ModuleBytes(BOOL mem, const void* file, DWORD offset, DWORD length) {
    if (mem != 0) {
        if (file == nullptr || length == 0) {
            throw ha::EngineError(ha::error_code::kIllegalParameter, "no memory block");
        }
        const auto* begin = static_cast<const std::uint8_t*>(file) + offset;
        return std::vector<std::uint8_t>(begin, begin + length);
    }
    if (file == nullptr) throw ha::EngineError(ha::error_code::kCannotOpenFile, "no path");
    std::vector<std::uint8_t> bytes = ReadModuleFile(static_cast<const char*>(file));
    if (offset > bytes.size()) throw ha::EngineError(ha::error_code::kUnsupportedFormat, "empty");
    const std::size_t available = bytes.size() - offset;
    const std::size_t taken = length == 0 ? available : std::min<std::size_t>(length, available);
    bytes.erase(bytes.begin(), bytes.begin() + offset);
    bytes.resize(taken);
    return bytes;
}

DWORD NextHandle() {
    ha::EngineState& engine = ha::Engine();
    do {
        ++engine.lastHandle;
    } while (engine.lastHandle == 0 || engine.modules.count(engine.lastHandle) != 0);
    return engine.lastHandle;
}

}  // namespace

DWORD BASS_GetVersion() {
    return ha::Engine().failures.wrongVersion ? 0x00000002u : 0x00080001u;
}

BOOL BASS_Init(int device, DWORD freq, DWORD /*flags*/, void* /*window*/) {
    ha::EngineState& engine = ha::Engine();
    if (engine.initialised()) return Fail(ha::error_code::kAlreadyInitialised, 0);
    if (device != -1) return Fail(ha::error_code::kIllegalDevice, 0);
    if (freq != static_cast<DWORD>(ha::kOutputRate)) return Fail(ha::error_code::kIllegalRate, 0);
    if (engine.failures.initFails) return Fail(ha::error_code::kNoDriver, 0);
    try {
        engine.mixer = std::make_unique<ha::Mixer>();
        engine.analyser = std::make_unique<ha::SpectrumAnalyser>();
        if (engine.outputKind == ha::OutputKind::Offline) {
            engine.offline = std::make_unique<ha::OfflineOutput>(engine.offlineBufferFrames);
            engine.output = engine.offline.get();
        } else {
            engine.output = &ha::SdlOutput::Acquire();
        }
        engine.output->feed().attach(engine.mixer.get());
        engine.output->start();  // a device kept from the last BASS_Init may be paused
        if (engine.offline) ha::RegisterOfflineOutput(engine.offline.get());
    } catch (const ha::EngineError& error) {
        ha::ReleaseEngine();
        return Fail(error.code(), 0);
    } catch (const std::bad_alloc&) {
        ha::ReleaseEngine();
        return Fail(ha::error_code::kMemory, 0);
    }
    return Succeed(1);
}

BOOL BASS_Start() {
    ha::EngineState& engine = ha::Engine();
    if (!engine.initialised()) return Fail(ha::error_code::kNotInitialised, 0);
    if (engine.failures.startFails) return Fail(ha::error_code::kNotStarted, 0);
    engine.output->start();
    engine.output->maintain();
    return Succeed(1);
}

BOOL BASS_Pause() {
    ha::EngineState& engine = ha::Engine();
    if (!engine.initialised()) return Fail(ha::error_code::kNotInitialised, 0);
    engine.output->pause();
    return Succeed(1);
}

void BASS_Free() {
    ha::ReleaseEngine();
    lastError.store(ha::error_code::kOk);
}

void BASS_StreamFree(DWORD handle) {
    ha::EngineState& engine = ha::Engine();
    if (!engine.initialised()) return lastError.store(ha::error_code::kNotInitialised);
    ha::ModulePlayer* player = ha::FindModule(handle);
    if (player == nullptr) {
        // Callers free their last handle without a test; none at all is no mistake.
        return lastError.store(handle == 0 ? ha::error_code::kOk : ha::error_code::kInvalidHandle);
    }
    engine.mixer->detach(player);
    engine.modules.erase(handle);
    lastError.store(ha::error_code::kOk);
}

HMUSIC BASS_MusicLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags) {
    ha::EngineState& engine = ha::Engine();
    if (!engine.initialised()) return Fail<HMUSIC>(ha::error_code::kNotInitialised, 0);
    try {
        auto player =
            std::make_unique<ha::ModulePlayer>(ModuleBytes(mem, file, offset, length), flags);
        const DWORD handle = NextHandle();
        engine.modules.emplace(handle, std::move(player));
        return Succeed(handle);
    } catch (const ha::EngineError& error) {
        return Fail<HMUSIC>(error.code(), 0);
    } catch (const std::bad_alloc&) {
        return Fail<HMUSIC>(ha::error_code::kMemory, 0);
    }
}

BOOL BASS_MusicPlayEx(HMUSIC handle, DWORD pos, int flags, BOOL reset) {
    ha::EngineState& engine = ha::Engine();
    if (!engine.initialised()) return Fail(ha::error_code::kNotInitialised, 0);
    ha::ModulePlayer* player = ha::FindModule(handle);
    if (player == nullptr) return Fail(ha::error_code::kInvalidHandle, 0);
    if (pos != 0) return Fail(ha::error_code::kInvalidPosition, 0);
    const bool loop = (static_cast<DWORD>(flags) & BASS_MUSIC_LOOP) != 0;
    engine.mixer->detach(player);
    // Without a reset a playing module carries on; everything else starts from the top.
    const bool fromTheTop = reset != 0 || player->state() != ha::PlayState::Playing;
    try {
        if (fromTheTop) {
            player->restart(loop);
        } else {
            player->setLooping(loop);
        }
    } catch (const ha::EngineError& error) {
        return Fail(error.code(), 0);
    }
    // From the top, what the output mixed ahead is mixed again, with the song's first frame.
    if (!engine.mixer->attach(player, fromTheTop)) return Fail(ha::error_code::kNoFreeChannel, 0);
    return Succeed(1);
}

DWORD BASS_ChannelIsActive(DWORD handle) {
    ha::EngineState& engine = ha::Engine();
    if (!engine.initialised()) return Fail<DWORD>(ha::error_code::kNotInitialised, 0);
    const ha::ModulePlayer* player = ha::FindModule(handle);
    if (player == nullptr) return Fail<DWORD>(ha::error_code::kInvalidHandle, 0);
    engine.output->maintain();  // the player polls this every 10 ms
    switch (player->state()) {
        case ha::PlayState::Idle:
            return Succeed<DWORD>(BASS_ACTIVE_STOPPED);
        case ha::PlayState::Ended:
            // Still playing until the listener has heard the song's last frame.
            if (engine.output->heardFrame() >= player->endFrame()) {
                return Succeed<DWORD>(BASS_ACTIVE_STOPPED);
            }
            break;
        case ha::PlayState::Playing:
            break;
    }
    return Succeed<DWORD>(engine.output->paused() ? BASS_ACTIVE_PAUSED : BASS_ACTIVE_PLAYING);
}

std::int32_t BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    ha::EngineState& engine = ha::Engine();
    if (!engine.initialised()) return Fail(ha::error_code::kNotInitialised, -1);
    if (ha::FindModule(handle) == nullptr) return Fail(ha::error_code::kInvalidHandle, -1);
    if (buffer == nullptr || length != BASS_DATA_FFT512) {
        return Fail(ha::error_code::kIllegalParameter, -1);
    }
    if (BASS_ChannelIsActive(handle) == BASS_ACTIVE_STOPPED) {
        return Fail(ha::error_code::kDataNotAvailable, -1);
    }
    std::array<float, ha::SpectrumAnalyser::kSize> left{};
    std::array<float, ha::SpectrumAnalyser::kSize> right{};
    // The ring may be lapped while copying only if this thread stalls for most of a second.
    bool copied = false;
    for (int attempt = 0; attempt < 3 && !copied; ++attempt) {
        copied = engine.output->feed().copyFrames(engine.output->heardFrame(), left.data(),
                                                  right.data(), left.size());
    }
    if (!copied) return Fail(ha::error_code::kDataNotAvailable, -1);
    engine.analyser->analyse(left.data(), right.data(), static_cast<float*>(buffer));
    return Succeed(static_cast<std::int32_t>(ha::SpectrumAnalyser::kSize));
}

int BASS_ErrorGetCode() {
    return lastError.load();
}
