#include "audio/sdl_output.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string_view>

#include "audio/engine_error.h"
#include "audio/module_player.h"
#include "audio/use_guard.h"

namespace hollowtide::audio {

// One opened SDL device, and what its callback needs. The callback of a retired device writes
// silence and leaves the feed alone: a replacement may be feeding it by then.
struct SdlOutput::Device {
    SdlOutput* owner = nullptr;
    std::atomic<SDL_AudioDeviceID> id{0};
    std::atomic<bool> retired{false};
    UseGuard inCallback;

    ~Device() {
        if (const SDL_AudioDeviceID open = id.load()) SDL_CloseAudioDevice(open);
    }
};

namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(250);
constexpr std::uint64_t kStallNanoseconds = 1'000'000'000;

std::uint64_t NowNanoseconds() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

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

SdlOutput* instance = nullptr;  // UI thread

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

SdlOutput& SdlOutput::Acquire() {
    if (instance == nullptr) instance = new SdlOutput();  // throws before anything is kept
    return *instance;
}

void SdlOutput::Forget() {
    delete instance;
    instance = nullptr;
}

SdlOutput::SdlOutput() : device_(OpenDevice()) {}

SdlOutput::~SdlOutput() {
    StopReplacementThread();
    device_.reset();
}

std::unique_ptr<SdlOutput::Device> SdlOutput::OpenDevice() {
    if (DeviceLossSimulated()) throw EngineError(error_code::kNoDriver, "no audio device");
    auto device = std::make_unique<Device>();
    device->owner = this;
    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = kBufferFrames;
    wanted.callback = &SdlOutput::Callback;
    wanted.userdata = device.get();
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id == 0) throw EngineError(error_code::kNoDriver, "cannot open the audio device");
    bufferFrames_.store(obtained.samples);
    openedAt_.store(NowNanoseconds());
    device->id.store(id);
    SDL_PauseAudioDevice(id, 0);  // SDL opens devices paused
    return device;
}

void SdlOutput::Callback(void* userdata, Uint8* stream, int length) {
    auto& device = *static_cast<Device*>(userdata);
    UseScope scope(device.inCallback);
    if (device.retired.load()) {
        std::fill_n(stream, length, Uint8{0});
        return;
    }
    SdlOutput& output = *device.owner;
    // SDL keeps calling back after it has given a device up, into a buffer that goes nowhere;
    // the song must not run on unheard meanwhile.
    const SDL_AudioDeviceID id = device.id.load();
    if (DeviceLossSimulated() || (id != 0 && SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_STOPPED)) {
        output.feed_.suspend(output.heardFrame());
        output.lost_.store(true);
        std::fill_n(stream, length, Uint8{0});
        return;
    }
    const auto frames = static_cast<std::size_t>(length) / (2 * sizeof(float));
    output.feed_.fill(reinterpret_cast<float*>(stream), frames, NowNanoseconds());
}

std::uint64_t SdlOutput::framesInDevice(const DeviceFeed::Given& given) const {
    // At the callback the device still held about one buffer ahead of the one just filled; it
    // plays on from there at the output rate, but never past what it was given.
    const auto buffer = static_cast<std::uint64_t>(bufferFrames_.load());
    const std::uint64_t since = given.time != 0 ? given.time : openedAt_.load();
    const std::uint64_t now = NowNanoseconds();
    const std::uint64_t nanoseconds = now > since ? now - since : 0;
    const std::uint64_t elapsed =
        std::min<std::uint64_t>(nanoseconds, kStallNanoseconds) * kOutputRate / 1'000'000'000;
    return 2 * buffer - std::min(elapsed, buffer) + extraLatency_.load();
}

void SdlOutput::maintain() {
    if (replacing_.load()) return;
    if (lost_.load()) {
        RequestReplacement(false);
        return;
    }
    // A device that has stopped calling back (a hung sound server) counts as lost too.
    const std::uint64_t last = std::max(feed_.lastGiven().time, openedAt_.load());
    const std::uint64_t now = NowNanoseconds();
    if (now > last && now - last > kStallNanoseconds) {
        feed_.suspend(heardFrame());
        RequestReplacement(true);
    }
}

void SdlOutput::RequestReplacement(bool stalled) {
    replacing_.store(true);
    std::lock_guard lock(mutex_);
    if (!replacer_.joinable()) {
        // From here on only this thread opens and closes devices.
        replacer_ = std::thread([this] { ReplacementLoop(); });
    }
    stalled_ = stalled;
    wanted_ = true;
    wake_.notify_one();
}

void SdlOutput::ReplacementLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || wanted_; });
        if (quit_) return;
        const bool stalled = stalled_;
        lock.unlock();

        if (std::unique_ptr<Device> old = std::move(device_)) {
            old->retired.store(true);
            old->inCallback.waitUntilUnused();
            if (stalled) {
                // Closing waits for SDL's thread, which may hang as long as the server does.
                std::thread([gone = std::move(old)]() mutable { gone.reset(); }).detach();
            } else {
                old.reset();
            }
        }
        lock.lock();
        while (!quit_) {
            lock.unlock();
            try {
                device_ = OpenDevice();
            } catch (const EngineError&) {
            }
            lock.lock();
            if (device_) break;
            wake_.wait_for(lock, kRetryInterval, [this] { return quit_; });
        }
        if (quit_) return;
        wanted_ = false;
        lost_.store(false);
        feed_.resume();
        replacing_.store(false);
    }
}

void SdlOutput::StopReplacementThread() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        wake_.notify_one();
    }
    if (replacer_.joinable()) replacer_.join();
}

}  // namespace hollowtide::audio
