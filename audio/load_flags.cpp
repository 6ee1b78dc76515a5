#include "audio/load_flags.h"

namespace hollowtide::audio {

RenderSettings RenderSettingsForFlags(DWORD flags) {
    RenderSettings settings;
    if (flags & BASS_MUSIC_RAMP) settings.volumeRamping = -1;
    if (flags & BASS_MUSIC_RAMPS) settings.volumeRamping = 1;  // the shorter ramp wins
    if (flags & BASS_MUSIC_FT2MOD) settings.stereoSeparation = 100;
    if (flags & BASS_MUSIC_NONINTER) settings.interpolationFilter = 1;
    if (flags & BASS_MUSIC_PT1MOD) {
        settings.amigaResampler = true;
        // Paula emulation replaces the interpolation filter, so "no interpolation" picks its
        // unfiltered model instead of the A500's low-pass.
        settings.amigaFilter = (flags & BASS_MUSIC_NONINTER) ? "unfiltered" : "a500";
    }
    return settings;
}

void ApplyRenderSettings(openmpt::module& module, const RenderSettings& settings) {
    module.set_render_param(openmpt::module::RENDER_VOLUMERAMPING_STRENGTH, settings.volumeRamping);
    module.set_render_param(openmpt::module::RENDER_STEREOSEPARATION_PERCENT,
                            settings.stereoSeparation);
    // Each change of resampler rebuilds libopenmpt's tables (milliseconds), so change it at
    // most once: a fresh module already uses the 8-tap filter without Amiga emulation.
    if (settings.amigaResampler) {
        module.ctl_set_text("render.resampler.emulate_amiga_type", settings.amigaFilter);
        module.ctl_set_boolean("render.resampler.emulate_amiga", true);
    } else if (settings.interpolationFilter != kDefaultInterpolationFilter) {
        module.set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH,
                                settings.interpolationFilter);
    }
}

}  // namespace hollowtide::audio
