// The composer of one song: its parts are written bar by bar into patterns. Each part has its
// own source file (drums, bass, chords and pad, lead); this header is private to them.
#pragma once

#include <vector>

#include "tools/pack/arrangement.h"
#include "tools/pack/grooves.h"
#include "tools/pack/motifs.h"
#include "tools/pack/palette.h"
#include "tools/pack/pattern_writer.h"
#include "tools/pack/persona.h"
#include "tools/pack/plan.h"
#include "tools/pack/random.h"

namespace packgen {

// Where a bar stands in its section.
struct BarPlace {
    SectionKind kind = SectionKind::Verse;
    int bar = 0;         // in the pattern
    int sectionBar = 0;  // in the section
    int sectionBars = 4;
    bool first = false;  // of the song's first section
    Parts parts;
    int degree = 0;      // scale degree of the bar's chord
    int nextDegree = 0;  // of the next bar's
    bool lastOfSection() const { return sectionBar == sectionBars - 1; }
    int phraseBar() const { return sectionBar % 4; }
    int phrase() const { return sectionBar / 4; }
};

// One step of a bass figure: when, how long, and which tone of the chord.
enum class BassTone { Root, Fifth, Octave, Third, Approach, Seventh, LowFifth };
struct BassStep {
    int step = 0;
    int length = 2;
    BassTone tone = BassTone::Root;
};

class Composer {
  public:
    explicit Composer(const SongPlan& plan);
    Song Build();

  private:
    int MakePattern(std::size_t section, int index);
    void WriteBar(PatternWriter& w, const BarPlace& place);
    Progression ChordsOf(SectionKind kind) const;

    // Drums (compose_drums.cpp).
    int DrumInstrument(DrumRole role) const;
    int DrumChannel(DrumRole role) const;
    void WriteDrums(PatternWriter& w, const BarPlace& place);
    void WriteRiser(PatternWriter& w, const BarPlace& place);
    void WriteSwingSpeeds(PatternWriter& w);

    // Bass (compose_bass.cpp).
    std::vector<BassStep> MakeBassFigure(BassFeel feel);
    void WriteBass(PatternWriter& w, const BarPlace& place);

    // Chords and pad (compose_harmony.cpp).
    void WriteChords(PatternWriter& w, const BarPlace& place);
    void WritePad(PatternWriter& w, const BarPlace& place);

    // Lead (compose_lead.cpp).
    void MakeMotifs();
    std::vector<const Motif*> PhraseMotifs(SectionKind kind, int phrase) const;
    void WriteLead(PatternWriter& w, const BarPlace& place);
    void WriteLeadNotes(PatternWriter& w, const BarPlace& place);
    void WriteSolo(PatternWriter& w, const BarPlace& place);
    void WriteEcho(PatternWriter& w, const BarPlace& place);

    void WriteEndingMarks(PatternWriter& w, const BarPlace& place);
    void SetStartTempo();

    const SongPlan& plan_;
    const Persona& persona_;
    Random random_;
    Song song_;
    Groove groove_;
    Layout layout_;
    Palette palette_;
    std::vector<BassStep> bassFigure_, bridgeBass_;
    std::vector<int> stabSteps_;
    std::vector<int> brokenOrder_;
    int leadBase_ = kMiddleC;
    int fill_ = 0;
    int soloShape_ = 0;
    int anchor_ = 2;
    int lastDegree_ = 2;  // of the lead's last note: the next bar starts near it
    int padPitch_ = -1;   // the pad's last note, which the next chord's note stays near
    Motif verseA_, verseB_, verseC_, verseD_, verseE_, verseF_, chorusA_, chorusB_, chorusC_,
        bridgeA_, bridgeB_, cadence_;
};

}  // namespace packgen
