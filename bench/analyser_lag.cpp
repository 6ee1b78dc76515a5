// How far the analyser runs ahead of (or behind) what the listener hears, through a real sound
// server. Plays a click track through the engine's SDL output, asks for the spectrum every 10 ms
// as the player does, and notes when each click shows up in it; meanwhile `parec` records the
// server's monitor of the sink, which is what the listener hears, and notes when each click
// sounds there. Both times are read on one clock.
//
//     analyser_lag [SECONDS] [MONITOR-SOURCE]
//
// Run it against a sound server whose default sink has a monitor (bench/analyser_lag.sh sets
// up a private PulseAudio server with a null sink). Prints each click's lag and their median:
// positive when the bars come after the sound, negative when they come before it.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/program_setup.h"
#include "audio/bass.h"
#include "monitor_recorder.h"
#include "support/test_modules.h"

namespace {

using Clock = std::chrono::steady_clock;
using hollowtide::bench::MonitorRecorder;

double Seconds(Clock::time_point t) {
    return MonitorRecorder::Seconds(t);
}

// A short burst at 259 Hz (bin 3 of the analyser) every four rows: every 0.48 s.
std::vector<std::uint8_t> ClickTrack() {
    hollowtide::testing::TestModOptions options;
    options.sampleLength = 640;  // 0.08 s at C-2
    options.cycle = 32;
    options.looped = false;
    options.patterns = 8;
    return hollowtide::testing::MakeTestMod(options);
}

}  // namespace

int main(int argc, char** argv) {
    hollowtide::app::PrepareEnvironment();  // the sound server's buffer, as the program asks
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    const std::string source = argc > 2 ? argv[2] : "null.monitor";
    if (BASS_Init(-1, 44100, 0, nullptr) == 0) {
        std::fprintf(stderr, "no sound device (code %d)\n", BASS_ErrorGetCode());
        return 1;
    }
    MonitorRecorder recorder(source);
    if (!recorder.ok()) {
        std::fprintf(stderr, "cannot start parec\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the recording runs
    const auto bytes = ClickTrack();
    const HMUSIC music = BASS_MusicLoad(1, bytes.data(), 0, static_cast<DWORD>(bytes.size()), 0);
    BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1);

    // The analyser's view: the first pass whose spectrum holds a click.
    std::vector<double> seen;
    std::array<float, 513> spectrum{};
    double lastSeen = -1.0;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    auto next = Clock::now();
    while (Clock::now() < end) {
        next += std::chrono::milliseconds(10);
        std::this_thread::sleep_until(next);
        BASS_ChannelIsActive(music);
        if (BASS_ChannelGetData(music, spectrum.data(), BASS_DATA_FFT512) <= 0) continue;
        const double now = Seconds(Clock::now());
        if (*std::max_element(spectrum.begin() + 1, spectrum.begin() + 33) > 0.05f) {
            if (now - lastSeen > 0.25) seen.push_back(now);
            lastSeen = now;
        }
    }
    BASS_Pause();
    BASS_Free();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    const std::vector<double> heard = recorder.Onsets(3000, 0.25);
    std::vector<double> lags;
    for (const double bar : seen) {
        // The click heard nearest to this sighting.
        double best = 1e9;
        for (const double sound : heard) {
            if (std::abs(bar - sound) < std::abs(best)) best = bar - sound;
        }
        if (std::abs(best) < 0.24) lags.push_back(best * 1000.0);
    }
    std::printf("clicks seen by the analyser: %zu, heard on the monitor: %zu, paired: %zu\n",
                seen.size(), heard.size(), lags.size());
    if (lags.empty()) return 1;
    std::sort(lags.begin(), lags.end());
    std::printf(
        "analyser lag, ms (positive: bars after the sound): median %.1f, min %.1f, "
        "max %.1f\n",
        lags[lags.size() / 2], lags.front(), lags.back());
    return 0;
}
