// Where the mixer's frames go: a sound device, or an offline sink that tests pump by hand.
//
// Thread contract: every method runs on the UI thread, except heardFrame, which any thread may
// call. An output drives Mixer::mix on its own thread from construction until pause() or its
// destruction; after either returns, mix is not running and will not run until start().
#pragma once

#include <cstdint>

namespace hollowtide::audio {

class Output {
  public:
    virtual ~Output() = default;

    virtual void start() = 0;  // resume mixing (an output starts running)
    virtual void pause() = 0;  // stop at once
    virtual bool paused() const = 0;

    // The output frame (in the mixer's numbering) that the listener hears now: frames handed to
    // the device minus those still buffered in it.
    virtual std::uint64_t heardFrame() const = 0;
};

}  // namespace hollowtide::audio
