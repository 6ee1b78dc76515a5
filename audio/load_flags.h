// What the load flags of BASS_MusicLoad mean to the renderer (the bits are listed in bass.h).
#pragma once

#include <libopenmpt/libopenmpt.hpp>

#include "audio/bass.h"

namespace hollowtide::audio {

// libopenmpt's own choice for a fresh module: 8-tap windowed sinc.
inline constexpr int kDefaultInterpolationFilter = 8;

struct RenderSettings {
    int volumeRamping = 0;      // libopenmpt ramping strength: 0 off, -1 its default, 1 short
    int stereoSeparation = 50;  // percent
    // Taps: 1 none (zero-order hold), 2 linear, 8 windowed sinc. libopenmpt's Paula emulation
    // would be the obvious Amiga sound, but it costs twenty times the mixing time and a few
    // milliseconds of table building at every load.
    int interpolationFilter = kDefaultInterpolationFilter;
};

RenderSettings RenderSettingsForFlags(DWORD flags);

// Applies the settings to a freshly loaded module (UI thread, before it is mixed).
void ApplyRenderSettings(openmpt::module& module, const RenderSettings& settings);

}  // namespace hollowtide::audio
