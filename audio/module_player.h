// One loaded module and its playback state: the engine's channel.
//
// Thread contract: construction, restart and setLooping run on the UI thread while the module is
// not attached to the mixer. render runs on the mixer thread while it is attached. The play-state
// accessors may be read from any thread at any time.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include <libopenmpt/libopenmpt.hpp>

#include "audio/bass.h"

namespace hollowtide::audio {

inline constexpr int kOutputRate = 44100;

enum class PlayState { Idle, Playing, Ended };

class ModulePlayer {
  public:
    // Parses `bytes` as a module and applies the load flags' render settings; the bytes are not
    // kept. Throws EngineError with 6 (not a module) or 1 (out of memory).
    ModulePlayer(std::vector<std::uint8_t> bytes, DWORD loadFlags);
    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    // Makes the next render start at the beginning of the song with every channel reset, playing
    // forever (`loop`) or once. Throws EngineError like the constructor.
    void restart(bool loop);
    // Switches looping on or off for a module that plays on.
    void setLooping(bool loop) { module_->set_repeat_count(loop ? -1 : 0); }

    // Decoding block: libopenmpt is always asked for this many frames at a time, so what is
    // heard never depends on how the output happens to slice its requests (its volume ramps do).
    // One SDL device buffer: each call to libopenmpt has a cost of its own, and four calls a
    // buffer made rendering about 1 % slower.
    static constexpr std::size_t kBlockFrames = 2048;

    // Renders up to `frames` interleaved stereo frames into `out`, the first of which is mixed
    // as output frame `mixFrame`. Fewer frames than asked means the song has ended.
    std::size_t render(float* out, std::size_t frames, std::uint64_t mixFrame) noexcept;

    PlayState state() const { return state_.load(std::memory_order_acquire); }
    // Output frame of the first frame rendered since the last restart (valid once rendered).
    bool hasStarted() const { return started_.load(std::memory_order_acquire); }
    std::uint64_t startFrame() const { return startFrame_.load(std::memory_order_acquire); }
    // Output frame just after the song's last frame (valid in PlayState::Ended).
    std::uint64_t endFrame() const { return endFrame_.load(std::memory_order_acquire); }
    std::uint64_t renderedFrames() const { return rendered_.load(std::memory_order_acquire); }

  private:
    static std::unique_ptr<openmpt::module> Parse(const std::vector<std::uint8_t>& bytes,
                                                  DWORD loadFlags, std::ostream& log);
    // The next block (kBlockFrames frames, fewer at the end) into `block`.
    std::size_t decode(float* block) noexcept;

    std::ostream log_{nullptr};  // libopenmpt's messages go nowhere; outlives module_
    std::unique_ptr<openmpt::module> module_;
    bool untouched_ = true;  // module_ has not rendered since it was parsed

    // The decoded block being served (mixer thread while attached, UI thread while not).
    std::vector<float> block_;
    std::size_t blockFrames_ = 0;
    std::size_t blockServed_ = 0;
    bool decoderEnded_ = false;

    // Written by the UI thread while detached, by the mixer while attached.
    std::atomic<PlayState> state_{PlayState::Idle};
    std::atomic<bool> started_{false};
    std::atomic<std::uint64_t> startFrame_{0};
    std::atomic<std::uint64_t> endFrame_{0};
    std::atomic<std::uint64_t> rendered_{0};
};

}  // namespace hollowtide::audio
