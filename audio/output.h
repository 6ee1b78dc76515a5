// Where the mixer's stream goes: a sound device, or an offline sink that tests pump by hand.
// Every output feeds its device through a DeviceFeed, which does the pausing, fading and
// bookkeeping; the output itself only knows its device.
//
// Thread contract: every method runs on the UI thread, except heardFrame, which any thread may
// call.
#pragma once

#include <cstdint>

#include "audio/device_feed.h"

namespace hollowtide::audio {

class Output {
  public:
    virtual ~Output() = default;

    virtual DeviceFeed& feed() = 0;
    const DeviceFeed& feed() const { return const_cast<Output*>(this)->feed(); }

    void start() {
        feed().start();
        afterStart();
    }
    // Stops at once: what was about to be played fades out within 5 ms.
    void pause() {
        feed().pause(heardFrame());
        afterPause();
    }
    bool paused() const { return feed().paused(); }

    // The stream frame that the listener hears now.
    std::uint64_t heardFrame() const {
        const DeviceFeed::Given given = feed().lastGiven();
        return feed().heardFrame(given, framesInDevice(given));
    }

    // Called by the engine's operations: notices a device that was lost or stopped taking
    // frames, and brings one back when it can. Until then the stream waits where the listener
    // stopped hearing it.
    virtual void maintain() = 0;

  protected:
    // Told of every start and pause, after the feed: an output may let its device go while
    // nothing plays, and must have it back by the time the feed runs again.
    virtual void afterStart() {}
    virtual void afterPause() {}

    // Frames handed to the device that the listener has not heard yet, at the moment of the
    // call, given the last fill.
    virtual std::uint64_t framesInDevice(const DeviceFeed::Given& given) const = 0;
};

// Test seam: while set, every output behaves as if its device had gone away (it takes no
// frames and none can be opened). Any thread.
void SimulateDeviceLoss(bool lost);
bool DeviceLossSimulated();

}  // namespace hollowtide::audio
