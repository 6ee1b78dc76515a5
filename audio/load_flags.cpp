#include "audio/load_flags.h"

namespace hollowtide::audio {

RenderSettings RenderSettingsForFlags(DWORD flags) {
    RenderSettings settings;
    if (flags & BASS_MUSIC_RAMP) settings.volumeRamping = -1;
    if (flags & BASS_MUSIC_RAMPS) settings.volumeRamping = 1;  // the shorter ramp wins
    if (flags & BASS_MUSIC_FT2MOD) settings.stereoSeparation = 100;
    if (flags & BASS_MUSIC_PT1MOD) settings.interpolationFilter = 2;
    if (flags & BASS_MUSIC_NONINTER) settings.interpolationFilter = 1;
    return settings;
}

void ApplyRenderSettings(openmpt::module& module, const RenderSettings& settings) {
    module.set_render_param(openmpt::module::RENDER_VOLUMERAMPING_STRENGTH, settings.volumeRamping);
    module.set_render_param(openmpt::module::RENDER_STEREOSEPARATION_PERCENT,
                            settings.stereoSeparation);
    // Each change of filter rebuilds libopenmpt's resampler tables, so change it only when it
    // differs from a fresh module's.
    if (settings.interpolationFilter != kDefaultInterpolationFilter) {
        module.set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH,
                                settings.interpolationFilter);
    }
}

}  // namespace hollowtide::audio
