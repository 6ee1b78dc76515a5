#include "audio/sdl_output.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
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
// The share of its buffer a PulseAudio server holds, on average, when SDL's thread has written
// what it asked for (measured).
constexpr double kPulseFill = 0.48;
constexpr std::uint64_t kStallNanoseconds = 1'000'000'000;

// The steady clock in frames at the output rate.
double FramesAt(std::uint64_t nanoseconds) {
    return static_cast<double>(nanoseconds) * (kOutputRate / 1e9);
}

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

// Frames a device holds, on average, when it calls back for more. SDL gives no driver's
// latency, so this is what was measured (bench/analyser_lag.sh). SDL's PulseAudio driver
// writes the buffer as the server asks for it, so the server holds about its own buffer then
// (through pipewire-pulse a little more: the bars lead by some 40 ms there). Other drivers,
// SDL's PipeWire driver among them, hold about one buffer ahead of the one being filled.
double QueuedAtCallback(int bufferFrames) {
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver != nullptr && std::string_view(driver) == "pulseaudio") {
        const char* requested = std::getenv("PULSE_LATENCY_MSEC");
        const double milliseconds = requested != nullptr ? std::atof(requested) : 0.0;
        if (milliseconds > 0) return kPulseFill * milliseconds * kOutputRate / 1000.0;
        return static_cast<double>(bufferFrames);
    }
    return static_cast<double>(bufferFrames);
}

// SDL tries its PulseAudio driver first, and on a PipeWire server that reaches PipeWire through
// pipewire-pulse, a translator that spends more than the server itself: with SDL's own PipeWire
// driver the servers' load falls to about a third (bench/cpu_peers.sh --pipewire). A PipeWire
// that runs for video alone, with no sink to play to, is passed over, and so is PipeWire
// altogether when the user names a driver.
bool InitPipeWireIfItPlays() {
    const char* requested = std::getenv("SDL_AUDIODRIVER");
    if (requested != nullptr && *requested != '\0') return false;
    // Over an empty SDL_AUDIODRIVER too, which would otherwise outrank the hint.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "pipewire", SDL_HINT_OVERRIDE);
    const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!started) return false;
    if (SDL_GetNumAudioDevices(0) > 0) return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

}  // namespace

SdlAudioSubsystem::SdlAudioSubsystem() {
    if (!InitPipeWireIfItPlays() && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
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
    if (instance == nullptr) {
        instance = new SdlOutput();  // throws before anything is kept
    }
    return *instance;
}

void SdlOutput::Forget() {
    delete instance;
    instance = nullptr;
}

bool SdlOutput::DeviceOpen() {
    return instance != nullptr && instance->deviceOpen_.load();
}

SdlOutput::SdlOutput() : device_(OpenDevice()) {}

SdlOutput::~SdlOutput() {
    StopKeeperThread();
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
    queuedAtCallback_ = QueuedAtCallback(obtained.samples);
    clockSet_.store(false);
    openedAt_.store(NowNanoseconds());
    device->id.store(id);
    deviceOpen_.store(true);
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
    const std::uint64_t now = NowNanoseconds();
    output.UpdateClock(now);
    output.feed_.fill(reinterpret_cast<float*>(stream), frames, now);
}

void SdlOutput::UpdateClock(std::uint64_t now) noexcept {
    // Called before the callback fills its buffer: the frames given so far, less what the
    // device holds when it calls, are heard now.
    const double given = static_cast<double>(feed_.lastGiven().deviceEnd);
    const double reading = given - queuedAtCallback_ - FramesAt(now);
    constexpr double kJump = 0.25 * kOutputRate;  // a new device, or one that stalled
    if (!clockSet_.load(std::memory_order_relaxed) || std::abs(reading - clockOffset_) > kJump) {
        clockOffset_ = reading;
    } else {
        clockOffset_ += 0.05 * (reading - clockOffset_);  // about a second's worth of readings
    }
    heardOffset_.store(clockOffset_, std::memory_order_relaxed);
    clockSet_.store(true, std::memory_order_release);
}

std::uint64_t SdlOutput::framesInDevice(const DeviceFeed::Given& given) const {
    const auto end = static_cast<double>(given.deviceEnd);
    if (!clockSet_.load(std::memory_order_acquire)) return given.deviceEnd;  // nothing heard yet
    const double heard = FramesAt(NowNanoseconds()) + heardOffset_.load(std::memory_order_relaxed);
    // Never past what the device was given: a device that stopped calling back has played
    // all it had, and no more.
    return static_cast<std::uint64_t>(std::max(0.0, end - std::min(heard, end)));
}

void SdlOutput::maintain() {
    if (replacing_.load()) return;
    if (lost_.load()) {
        RequestReplacement(false);
        return;
    }
    // A device that has stopped calling back (a hung sound server) counts as lost too. So does
    // one that never got going: a PulseAudio null sink with no other stream lets a new stream
    // wait up to two seconds before it asks for more than its first buffer, and a second
    // stream, opened once the first is under way, starts at once.
    const std::uint64_t last = std::max(feed_.lastGiven().time, openedAt_.load());
    const std::uint64_t now = NowNanoseconds();
    if (now > last && now - last > kStallNanoseconds) {
        feed_.suspend(heardFrame());
        RequestReplacement(true);
    }
}

void SdlOutput::afterPause() {
    std::lock_guard lock(mutex_);
    StartKeeperLocked();
    pausedNow_ = true;
    pausedSince_ = std::chrono::steady_clock::now();
    wake_.notify_one();
}

void SdlOutput::afterStart() {
    std::lock_guard lock(mutex_);
    if (!pausedNow_ && !closedForPause_) return;
    pausedNow_ = false;
    if (closedForPause_ && !wanted_) {
        wanted_ = true;
        stalled_ = false;
    }
    wake_.notify_one();
}

void SdlOutput::RequestReplacement(bool stalled) {
    replacing_.store(true);
    std::lock_guard lock(mutex_);
    StartKeeperLocked();
    stalled_ = stalled;
    wanted_ = true;
    wake_.notify_one();
}

void SdlOutput::StartKeeperLocked() {
    // From here on only this thread opens and closes devices.
    if (!keeper_.joinable()) keeper_ = std::thread([this] { KeeperLoop(); });
}

void SdlOutput::KeeperLoop() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (wanted_) {
            ReplaceDevice(lock);
        } else if (pausedNow_ && !closedForPause_) {
            const auto due = pausedSince_ + std::chrono::milliseconds(kCloseAfterPauseMs);
            if (std::chrono::steady_clock::now() >= due) {
                CloseWhilePaused(lock);
            } else {
                wake_.wait_until(lock, due);
            }
        } else {
            wake_.wait(lock);
        }
    }
}

void SdlOutput::ReplaceDevice(std::unique_lock<std::mutex>& lock) {
    const bool stalled = stalled_;
    lock.unlock();
    CloseDevice(stalled);
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
    closedForPause_ = false;
    lost_.store(false);
    feed_.resume();
    replacing_.store(false);
}

void SdlOutput::CloseWhilePaused(std::unique_lock<std::mutex>& lock) {
    // Until a device is back, maintain has nothing to watch.
    replacing_.store(true);
    closedForPause_ = true;
    lock.unlock();
    CloseDevice(false);
    lock.lock();
    // A start that came while the device closed finds closedForPause_ set and asks for one.
}

void SdlOutput::CloseDevice(bool stalled) {
    std::unique_ptr<Device> old = std::move(device_);
    if (!old) return;
    old->retired.store(true);
    old->inCallback.waitUntilUnused();
    if (stalled) {
        // Closing waits for SDL's thread, which may hang as long as the server does.
        std::thread([gone = std::move(old)]() mutable { gone.reset(); }).detach();
    } else {
        old.reset();
    }
    deviceOpen_.store(false);
}

void SdlOutput::StopKeeperThread() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        wake_.notify_one();
    }
    if (keeper_.joinable()) keeper_.join();
}

}  // namespace hollowtide::audio
