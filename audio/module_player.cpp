#include "audio/module_player.h"

#include <algorithm>
#include <map>
#include <new>
#include <string>

#include "audio/engine_error.h"
#include "audio/load_flags.h"
#include "audio/shared_samples.h"
#include "audio/vector_state.h"

namespace hollowtide::audio {

ModulePlayer::ModulePlayer(std::vector<std::uint8_t> bytes, DWORD loadFlags)
    : module_(Parse(bytes, loadFlags, log_)), block_(2 * kBlockFrames) {
    // libopenmpt keeps what it needs; the file's bytes go with the caller's vector.
}

std::unique_ptr<openmpt::module> ModulePlayer::Parse(const std::vector<std::uint8_t>& bytes,
                                                     DWORD loadFlags, std::ostream& log) {
    // At the song's end a read returns 0 frames and playback stays there until a restart.
    static const std::map<std::string, std::string> kInitialCtls = {{"play.at_end", "stop"}};
    ClearUpperVectorState();
    try {
        auto module = std::make_unique<openmpt::module>(bytes.data(), bytes.data() + bytes.size(),
                                                        log, kInitialCtls);
        ApplyRenderSettings(*module, RenderSettingsForFlags(loadFlags));
        return module;
    } catch (const std::bad_alloc&) {
        throw EngineError(error_code::kMemory, "out of memory while loading a module");
    } catch (const std::exception&) {
        throw EngineError(error_code::kUnsupportedFormat, "not a module");
    }
}

std::size_t ModulePlayer::decode(float* block) noexcept {
    try {
        return module_->read_interleaved_stereo(kOutputRate, kBlockFrames, block);
    } catch (...) {
        return 0;  // a module that fails to render counts as ended
    }
}

void ModulePlayer::restart(bool loop) {
    if (!untouched_) {
        // Back to the first row of the first order, which also resets every channel, the
        // tempo and the global volume to the song's own start values.
        ClearUpperVectorState();
        try {
            module_->set_position_order_row(0, 0);
        } catch (const std::exception&) {
            throw EngineError(error_code::kUnsupportedFormat, "module cannot restart");
        }
        untouched_ = true;
    }
    module_->set_repeat_count(loop ? -1 : 0);
    blockFrames_ = 0;
    blockServed_ = 0;
    decoderEnded_ = false;
    started_.store(false, std::memory_order_relaxed);
    startFrame_.store(0, std::memory_order_relaxed);
    endFrame_.store(0, std::memory_order_relaxed);
    rendered_.store(0, std::memory_order_relaxed);
    state_.store(PlayState::Playing, std::memory_order_release);
}

std::size_t ModulePlayer::render(float* out, std::size_t frames, std::uint64_t mixFrame) noexcept {
    if (state_.load(std::memory_order_relaxed) != PlayState::Playing || frames == 0) return 0;
    untouched_ = false;
    if (!started_.load(std::memory_order_relaxed)) {
        startFrame_.store(mixFrame, std::memory_order_relaxed);
        started_.store(true, std::memory_order_release);
    }
    std::size_t done = 0;
    while (done < frames) {
        if (blockServed_ == blockFrames_ && !decoderEnded_ && frames - done >= kBlockFrames) {
            // A whole block fits: decode it in place and save a copy. The blocks are the same
            // either way, so the sound does not depend on how the output asks for frames.
            const std::size_t decoded = decode(out + 2 * done);
            done += decoded;
            decoderEnded_ = decoded < kBlockFrames;
            if (decoderEnded_) break;
            continue;
        }
        if (blockServed_ == blockFrames_) {
            if (decoderEnded_) break;
            blockFrames_ = decode(block_.data());
            blockServed_ = 0;
            decoderEnded_ = blockFrames_ < kBlockFrames;
            if (blockFrames_ == 0) break;
        }
        const std::size_t count = std::min(frames - done, blockFrames_ - blockServed_);
        // `out` may be the output's history, which the spectrum reads on another thread.
        CopySamples(block_.data() + 2 * blockServed_, 2 * count, out + 2 * done);
        blockServed_ += count;
        done += count;
    }
    const std::uint64_t rendered = rendered_.load(std::memory_order_relaxed) + done;
    rendered_.store(rendered, std::memory_order_release);
    if (done < frames) {
        endFrame_.store(startFrame_.load(std::memory_order_relaxed) + rendered,
                        std::memory_order_relaxed);
        state_.store(PlayState::Ended, std::memory_order_release);
    }
    return done;
}

}  // namespace hollowtide::audio
