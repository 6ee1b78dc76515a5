// Plays a song through the engine's SDL output for bench/device_loss.sh, which kills the sound
// server under it and starts it again. Polls the channel every 10 ms, as the player does; on
// SIGUSR1 it starts the song again with the player's whole cycle (pause, free, init, start,
// load, play) and prints what BASS_Init returned. Ends on SIGTERM.
#include <csignal>
#include <cstdio>
#include <thread>

#include "app/program_setup.h"
#include "audio/bass.h"
#include "support/test_modules.h"

namespace {

volatile std::sig_atomic_t restartAsked = 0;
volatile std::sig_atomic_t endAsked = 0;

HMUSIC StartSong(const std::vector<std::uint8_t>& bytes, HMUSIC previous) {
    BASS_Pause();
    BASS_StreamFree(previous);
    BASS_Free();
    const BOOL init = BASS_Init(-1, 44100, 0, nullptr);
    std::printf("init %s (code %d)\n", init ? "succeeded" : "failed", BASS_ErrorGetCode());
    std::fflush(stdout);
    BASS_Start();
    const HMUSIC music = BASS_MusicLoad(1, bytes.data(), 0, static_cast<DWORD>(bytes.size()), 34);
    BASS_MusicPlayEx(music, 0, BASS_MUSIC_LOOP, 1);
    return music;
}

}  // namespace

int main() {
    hollowtide::app::PrepareEnvironment();  // the sound server's buffer, as the program asks
    std::signal(SIGUSR1, [](int) { restartAsked = 1; });
    std::signal(SIGTERM, [](int) { endAsked = 1; });
    const auto bytes = hollowtide::testing::MakeTestMod(64, 4, 6);
    HMUSIC music = StartSong(bytes, 0);
    while (endAsked == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (restartAsked != 0) {
            restartAsked = 0;
            music = StartSong(bytes, music);
        }
        BASS_ChannelIsActive(music);
    }
    BASS_Pause();
    BASS_Free();
    return 0;
}
