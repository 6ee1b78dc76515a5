// Each song's instrument set, built from its musician's waveform palette.
#pragma once

#include "tools/pack/song.h"
#include "tools/pack/styles.h"

namespace packgen {

// 1-based instrument numbers per role; 0 where the format has no such instrument.
struct Palette {
    int bass = 0;
    int kick = 0;
    int snare = 0;
    int hat = 0;
    int openHat = 0;
    int tom = 0;
    int lead = 0;
    int leadAlt = 0;
    int chords = 0;
    int pad = 0;   // XM and IT
    int echo = 0;  // XM and IT: the lead's voice, panned to the other side
};

// Adds samples and instruments to the song. MOD gets one instrument per sample and no
// envelopes; XM gets volume and panning envelopes; IT also gets filters and new-note actions.
Palette AddInstruments(Song& song, const Style& style);

}  // namespace packgen
