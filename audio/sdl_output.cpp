#include "audio/sdl_output.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "audio/engine_error.h"
#include "audio/module_player.h"

namespace hollowtide::audio {
namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

// SDL quietly falls back to drivers that play into nothing; accept those only on request.
bool DriverAcceptable(const char* driver) {
    if (driver == nullptr) return false;
    const std::string_view name(driver);
    if (name != "dummy" && name != "disk") return true;
    const char* requested = std::getenv("SDL_AUDIODRIVER");
    return requested != nullptr && EqualIgnoringAsciiCase(requested, name);
}

SDL_AudioSpec WantedSpec(void* self, SDL_AudioCallback callback) {
    SDL_AudioSpec spec{};
    spec.freq = kOutputRate;
    spec.format = AUDIO_F32SYS;
    spec.channels = 2;
    spec.samples = SdlOutput::kBufferFrames;
    spec.callback = callback;
    spec.userdata = self;
    return spec;
}

}  // namespace

SdlAudioSubsystem::SdlAudioSubsystem() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        throw EngineError(error_code::kNoDriver, "no audio driver");
    }
    if (!DriverAcceptable(SDL_GetCurrentAudioDriver())) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw EngineError(error_code::kNoDriver, "only a null audio driver");
    }
}

SdlAudioSubsystem::~SdlAudioSubsystem() {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

SdlAudioDevice::SdlAudioDevice(const SDL_AudioSpec& wanted) {
    SDL_AudioSpec obtained{};
    id_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id_ == 0) throw EngineError(error_code::kNoDriver, "cannot open the audio device");
    bufferFrames_ = obtained.samples;
}

SdlAudioDevice::~SdlAudioDevice() {
    SDL_CloseAudioDevice(id_);
}

SdlOutput::SdlOutput(Mixer& mixer)
    : mixer_(mixer), device_(WantedSpec(this, &SdlOutput::Callback)) {
    SDL_PauseAudioDevice(device_.id(), 0);
}

void SdlOutput::start() {
    paused_.store(false);
}

void SdlOutput::pause() {
    // The device keeps running and the callback plays silence: pausing the SDL device instead
    // would make closing it wait twice as long.
    if (paused_.load()) return;
    pausedHeard_.store(runningHeardFrame());
    paused_.store(true);
    inCallback_.waitUntilUnused();  // a mix in progress finishes; later callbacks see paused_
}

void SdlOutput::Callback(void* self, Uint8* stream, int length) {
    auto& output = *static_cast<SdlOutput*>(self);
    UseScope scope(output.inCallback_);
    if (output.paused_.load()) {
        std::fill_n(stream, length, Uint8{0});
        return;
    }
    const auto frames = static_cast<std::size_t>(length) / (2 * sizeof(float));
    output.mixer_.mix(reinterpret_cast<float*>(stream), frames);

    output.sequence_.fetch_add(1);
    output.framesGiven_.store(output.mixer_.mixedFrames());
    output.callbackCounter_.store(SDL_GetPerformanceCounter());
    output.sequence_.fetch_add(1);
}

std::uint64_t SdlOutput::heardFrame() const {
    return paused_.load() ? pausedHeard_.load() : runningHeardFrame();
}

std::uint64_t SdlOutput::runningHeardFrame() const {
    std::uint64_t given = 0;
    std::uint64_t counter = 0;
    for (;;) {
        const std::uint32_t before = sequence_.load();
        given = framesGiven_.load();
        counter = callbackCounter_.load();
        if ((before & 1u) == 0 && sequence_.load() == before) break;
    }
    if (given == 0) return 0;
    // At the callback the device still held about one buffer ahead of the one just filled; it
    // plays on from there at the output rate, but never past what it was given.
    const auto buffer = static_cast<std::uint64_t>(device_.bufferFrames());
    const std::uint64_t second = SDL_GetPerformanceFrequency();
    const std::uint64_t ticks = std::min(SDL_GetPerformanceCounter() - counter, second);
    const std::uint64_t elapsed = ticks * kOutputRate / second;
    const std::uint64_t ahead = 2 * buffer - std::min(elapsed, buffer);
    return given > ahead ? given - ahead : 0;
}

}  // namespace hollowtide::audio
