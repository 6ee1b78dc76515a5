// libFuzzer target: a module file as the player hands it to the engine, with the load flag its
// first byte picks (fuzz_input.h). The module is loaded from memory, played, pumped through the
// offline output in uneven steps across the first decoding block's end, asked for its spectrum,
// and freed, with the engine brought up and torn down around it as the player does for every
// song.
#include <array>
#include <cstddef>
#include <cstdint>

#include "audio/bass.h"
#include "audio/engine_testing.h"
#include "fuzz_input.h"

namespace {

// A short pretend device buffer, so that the spectrum already hears the song in the few frames
// pumped. The steps end past the first 2048-frame block, into the second.
constexpr std::size_t kOfflineBufferFrames = 256;
constexpr std::array<std::size_t, 4> kPumpSteps = {441, 17, 1559, 300};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace audio = hollowtide::audio;
    const auto input = hollowtide::fuzzing::ReadFuzzInput({data, size});
    if (!input) return 0;
    audio::SetOutputKind(audio::OutputKind::Offline);
    audio::SetOfflineBufferFrames(kOfflineBufferFrames);
    BASS_Free();
    if (BASS_Init(-1, 44100, 0, nullptr) == 0) __builtin_trap();
    BASS_Start();
    const HMUSIC music = BASS_MusicLoad(1, input->module.data(), 0,
                                        static_cast<DWORD>(input->module.size()), input->loadFlags);
    if (BASS_MusicPlayEx(music, 0, 0, 1) != 0) {
        std::array<float, 2 * 1559> out{};
        std::array<float, 513> spectrum{};
        for (const std::size_t step : kPumpSteps) audio::PumpOffline(out.data(), step);
        BASS_ChannelIsActive(music);
        BASS_ChannelGetData(music, spectrum.data(), BASS_DATA_FFT512);
    }
    BASS_Pause();
    BASS_StreamFree(music);
    BASS_Free();
    return 0;
}
