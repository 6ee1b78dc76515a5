#include "visuals/spectrum_analyser.h"

namespace hollowtide::visuals {

SpectrumSource EngineSpectrumSource() {
    return [](DWORD handle, float* buffer, DWORD length) {
        return BASS_ChannelGetData(handle, buffer, length);
    };
}

}  // namespace hollowtide::visuals
