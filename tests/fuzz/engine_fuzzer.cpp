// libFuzzer target: a module file as the player hands it to the engine. Each input is loaded
// from memory with every load flag of the pack, played, pumped through the offline output in
// uneven steps, asked for its spectrum, and freed, with the engine brought up and torn down
// around it as the player does for every song.
#include <array>
#include <cstddef>
#include <cstdint>

#include "audio/bass.h"
#include "audio/engine_testing.h"

namespace {

// Every load flag value of the song table and the intro tune.
constexpr std::array<DWORD, 6> kLoadFlags = {34, 16418, 17, 16401, 2, 18};
constexpr std::array<std::size_t, 4> kPumpSteps = {441, 1000, 17, 1559};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace audio = hollowtide::audio;
    audio::SetOutputKind(audio::OutputKind::Offline);
    BASS_Pause();
    BASS_Free();
    if (BASS_Init(-1, 44100, 0, nullptr) == 0) __builtin_trap();
    BASS_Start();
    std::array<float, 2 * 1559> out{};
    std::array<float, 513> spectrum{};
    for (const DWORD flags : kLoadFlags) {
        const HMUSIC music = BASS_MusicLoad(1, data, 0, static_cast<DWORD>(size), flags);
        if (BASS_MusicPlayEx(music, 0, 0, 1) != 0) {
            for (const std::size_t step : kPumpSteps) audio::PumpOffline(out.data(), step);
            BASS_ChannelIsActive(music);
            BASS_ChannelGetData(music, spectrum.data(), BASS_DATA_FFT512);
        }
        BASS_Pause();
        BASS_StreamFree(music);
        BASS_Start();
    }
    BASS_Pause();
    BASS_Free();
    return 0;
}
