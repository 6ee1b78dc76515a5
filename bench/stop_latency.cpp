// How long after a click on Stop the listener hears silence, and how long after a click on
// Next the new song, through a real sound server. Plays through the engine's SDL output with
// the player's own calls: Stop pauses the engine; Next runs the player's whole cycle (pause,
// free, init, start, load, play). Meanwhile `parec` records the server's monitor of the sink,
// which is what the listener hears, and every recorded sample's time is read on the same clock
// as the clicks.
//
//     stop_latency [TRIALS] [MONITOR-SOURCE]
//
// Stop: a loud tone plays, Stop; the time runs to the first sample after which the monitor
// stays silent. Next: a quiet tone plays, Next to a loud one; the time runs to the new song's
// first loud sample. Play after a long Stop: the same, once the output has closed its device.
// Run it against a server whose default sink has a monitor
// (bench/stop_latency.sh sets one up). Prints the median, lowest and highest of each.
#include <SDL2/SDL.h>

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
#include "audio/sdl_output.h"
#include "monitor_recorder.h"
#include "support/test_modules.h"

namespace {

using Clock = std::chrono::steady_clock;
using hollowtide::bench::MonitorRecorder;
constexpr int kSilent = 200;  // |sample| below this is silence (the quiet tone stays below kLoud)
constexpr int kLoud = 6000;

double Seconds(Clock::time_point t) {
    return MonitorRecorder::Seconds(t);
}

// A tone that never pauses: every channel's note sustains on a looped sample.
std::vector<std::uint8_t> Tone(int volume) {
    hollowtide::testing::TestModOptions options;
    options.volume = volume;
    options.patterns = 4;
    return hollowtide::testing::MakeTestMod(options);
}

// The player's cycle for a new song.
HMUSIC StartSong(const std::vector<std::uint8_t>& bytes, HMUSIC previous) {
    BASS_Pause();
    BASS_StreamFree(previous);
    BASS_Free();
    BASS_Init(-1, 44100, 0, nullptr);
    BASS_Start();
    const HMUSIC music = BASS_MusicLoad(1, bytes.data(), 0, static_cast<DWORD>(bytes.size()), 34);
    BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1);
    return music;
}

// Waits as the player does, polling the channel every 10 ms.
void PlayFor(HMUSIC music, double seconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        BASS_ChannelIsActive(music);
    }
}

void Report(const char* what, std::vector<double> ms) {
    if (ms.empty()) {
        std::printf("%s: nothing measured\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s, ms: median %.1f, min %.1f, max %.1f (%zu clicks)\n", what, ms[ms.size() / 2],
                ms.front(), ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    hollowtide::app::PrepareEnvironment();  // the sound server's buffer, as the program asks
    const int trials = argc > 1 ? std::atoi(argv[1]) : 15;
    const std::string source = argc > 2 ? argv[2] : "null.monitor";
    if (BASS_Init(-1, 44100, 0, nullptr) == 0) {
        std::fprintf(stderr, "no sound device (code %d)\n", BASS_ErrorGetCode());
        return 1;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    std::printf("SDL's %s driver\n", driver != nullptr ? driver : "(no)");
    MonitorRecorder recorder(source);
    if (!recorder.ok()) {
        std::fprintf(stderr, "cannot start parec\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the recording runs
    const auto loud = Tone(64);
    const auto quiet = Tone(4);

    std::vector<double> stops;
    std::vector<double> nexts;
    HMUSIC music = 0;
    std::vector<double> stopClicks;
    std::vector<double> nextClicks;
    for (int trial = 0; trial < trials; ++trial) {
        music = StartSong(loud, music);
        PlayFor(music, 1.0);
        stopClicks.push_back(Seconds(Clock::now()));
        BASS_Pause();
        PlayFor(music, 0.5);

        music = StartSong(quiet, music);
        PlayFor(music, 1.0);
        nextClicks.push_back(Seconds(Clock::now()));
        music = StartSong(loud, music);
        PlayFor(music, 0.5);
    }
    // Play after a Stop long enough for the output to have closed its device.
    std::vector<double> playClicks;
    const double closed = hollowtide::audio::SdlOutput::kCloseAfterPauseMs / 1000.0 + 1.0;
    for (int trial = 0; trial < std::max(1, trials / 5); ++trial) {
        music = StartSong(loud, music);
        PlayFor(music, 1.0);
        BASS_Pause();
        PlayFor(music, closed);
        playClicks.push_back(Seconds(Clock::now()));
        music = StartSong(loud, music);
        PlayFor(music, 1.0);
    }
    BASS_Pause();
    BASS_Free();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    for (const double click : stopClicks) {
        const double silent =
            recorder.FirstAfter(click, 0.1, [](std::int16_t s) { return std::abs(s) < kSilent; });
        if (silent >= 0) stops.push_back((silent - click) * 1000.0);
    }
    for (const double click : nextClicks) {
        const double heard =
            recorder.FirstAfter(click, 0.0, [](std::int16_t s) { return std::abs(s) > kLoud; });
        if (heard >= 0) nexts.push_back((heard - click) * 1000.0);
    }
    std::vector<double> plays;
    for (const double click : playClicks) {
        const double heard =
            recorder.FirstAfter(click, 0.0, [](std::int16_t s) { return std::abs(s) > kLoud; });
        if (heard >= 0) plays.push_back((heard - click) * 1000.0);
    }
    Report("Stop to silence", stops);
    Report("Next to the new song", nexts);
    Report("Play after a long Stop (device closed and opened again)", plays);
    return stops.empty() || nexts.empty() || plays.empty() ? 1 : 0;
}
