#include "tools/pack/compose.h"

#include <algorithm>
#include <map>
#include <utility>

#include "tools/pack/instruments.h"
#include "tools/pack/motifs.h"
#include "tools/pack/random.h"
#include "tools/pack/styles.h"

namespace packgen {

namespace {

constexpr int kRowsPerBar = 16;
constexpr int kBars = 4;
constexpr int kRows = kRowsPerBar * kBars;

// Lowest pitch of the octave each accompanying part keeps to: low enough to sit under the
// lead, and with room above for octave jumps and arpeggios inside ProTracker's three octaves.
constexpr int kBassLow = kMiddleC - 21;  // E two octaves below middle C
constexpr int kChordLow = kMiddleC - 9;  // E below middle C
constexpr int kPadLow = kMiddleC + 3;    // E above middle C

// The pitch moved by octaves into [low, low + 12).
int Fold(int pitch, int low) {
    while (pitch < low) pitch += 12;
    while (pitch >= low + 12) pitch -= 12;
    return pitch;
}

// Channel of each part; -1 where the format has no room for it. MOD's single drum channel
// carries kick, snare and hats.
struct Layout {
    int bass, kick, snare, hat, lead, echo, chords, pad;
};

Layout LayoutFor(Format format) {
    if (format == Format::Mod) return {0, 1, 1, 1, 2, -1, 3, -1};
    return {0, 1, 2, 3, 4, 5, 6, 7};
}

struct DrumBar {
    std::vector<int> kick, snare, hat;
};

DrumBar DrumsFor(DrumFeel feel) {
    const std::vector<int> eighths = {0, 2, 4, 6, 8, 10, 12, 14};
    switch (feel) {
        case DrumFeel::FourOnFloor:
            return {{0, 4, 8, 12}, {4, 12}, {2, 6, 10, 14}};
        case DrumFeel::Backbeat:
            return {{0, 8, 10}, {4, 12}, eighths};
        case DrumFeel::Breakbeat:
            return {{0, 6, 10}, {4, 12}, eighths};
        case DrumFeel::HalfTime:
            return {{0, 10}, {8}, eighths};
        case DrumFeel::Shuffle:
            return {{0, 8}, {4, 12}, {0, 3, 4, 7, 8, 11, 12, 15}};
        case DrumFeel::Sparse:
            return {{0}, {8}, {4, 12, 14}};
    }
    return {};
}

// The cadence into the last chord, by mode: the chords of the ending's first two bars.
Progression EndingChords(Mode mode) {
    switch (mode) {
        case Mode::Major:
            return {3, 4, 0, 0};
        case Mode::Mixolydian:
            return {3, 6, 0, 0};
        case Mode::Lydian:
            return {1, 1, 0, 0};
        case Mode::HarmonicMinor:
            return {5, 4, 0, 0};
        default:
            return {5, 6, 0, 0};
    }
}

class Composer {
  public:
    explicit Composer(const SongPlan& plan)
        : plan_(plan),
          style_(StyleOf(plan.musician)),
          layout_(LayoutFor(plan.format)),
          random_(plan.seed ^ 0xC0FFEEull) {
        song_.title = plan.title;
        song_.format = plan.format;
        song_.channels = plan.format == Format::Mod ? 4 : 8;
        song_.speed = plan.speed;
        song_.tempo = plan.tempo;
        song_.mixVolume = 72;  // IT: brings its eight channels level with the MODs
        song_.channelPanning = {16, 32, 36, 44, 40, 24, 20, 32};
        palette_ = AddInstruments(song_, style_);
        const int shift = plan.key.tonic > 6 ? -12 : 0;
        leadBase_ = kMiddleC + 12 * style_.leadOctave + shift;
        verseA_ = MakeMotif(random_, style_.melodyDensity, style_.leapiness);
        verseB_ = AnswerTo(verseA_, random_);
        verseC_ = MakeMotif(random_, style_.melodyDensity - 10, style_.leapiness);
        chorusA_ = MakeMotif(random_, style_.melodyDensity + 5, style_.leapiness + 10);
        chorusB_ = AnswerTo(chorusA_, random_);
        bridgeA_ = MakeMotif(random_, style_.melodyDensity - 25, style_.leapiness);
        bridgeB_ = AnswerTo(bridgeA_, random_);
        cadence_ = Cadence(random_);
        verseD_ = Ornamented(verseA_, random_);
        verseE_ = AnswerTo(verseD_, random_);
        soloShape_ = random_.below(3);
        fill_ = random_.below(3);
    }

    Song Build() {
        std::map<std::pair<SectionKind, int>, int> made;
        for (SectionKind kind : plan_.form) {
            for (int half = 0; half < PatternsIn(kind); ++half) {
                const auto key = std::make_pair(kind, half);
                auto found = made.find(key);
                if (found == made.end()) {
                    found = made.emplace(key, MakePattern(kind, half)).first;
                }
                song_.orders.push_back(found->second);
            }
        }
        if (song_.format == Format::Mod) SetModTempo();
        return std::move(song_);
    }

  private:
    void Put(Pattern& p, int row, int channel, int note, int instrument, int volume = -1,
             Effect effect = Effect::None, int param = 0) {
        if (channel < 0 || row < 0 || row >= p.rows) return;
        Cell& cell = p.at(row, channel);
        cell.note = static_cast<std::uint8_t>(note);
        cell.instrument = static_cast<std::uint8_t>(instrument);
        cell.volume = static_cast<std::int8_t>(volume);
        cell.effect = effect;
        cell.param = static_cast<std::uint8_t>(param);
    }

    void SetEffect(Pattern& p, int row, int channel, Effect effect, int param) {
        if (channel < 0 || row < 0 || row >= p.rows) return;
        Cell& cell = p.at(row, channel);
        if (cell.effect != Effect::None) return;
        cell.effect = effect;
        cell.param = static_cast<std::uint8_t>(param);
    }

    void NoteOff(Pattern& p, int row, int channel) {
        if (channel < 0 || row >= p.rows) return;
        Cell& cell = p.at(row, channel);
        if (cell.note == kNoNote && cell.effect == Effect::None) cell.note = kNoteOff;
    }

    Progression ChordsOf(SectionKind kind) const {
        switch (kind) {
            case SectionKind::Intro:
            case SectionKind::Verse:
            case SectionKind::Verse2:
            case SectionKind::Breakdown:
                return plan_.verse;
            case SectionKind::Chorus:
            case SectionKind::FinalChorus:
            case SectionKind::Solo:
                return plan_.chorus;
            case SectionKind::Bridge:
                return plan_.bridge;
            case SectionKind::Ending:
                return EndingChords(plan_.key.mode);
        }
        return plan_.verse;
    }

    int MakePattern(SectionKind kind, int half) {
        Pattern pattern(kRows, song_.channels);
        const Progression chords = ChordsOf(kind);
        const bool lastHalf = half == PatternsIn(kind) - 1;
        WriteDrums(pattern, kind, lastHalf);
        WriteBass(pattern, kind, chords);
        WriteChords(pattern, kind, chords);
        WritePad(pattern, kind, chords);
        if (kind == SectionKind::Solo) {
            WriteSolo(pattern, half, chords);
        } else {
            WriteLead(pattern, kind, half, chords);
        }
        if (kind == SectionKind::Ending) {
            const int endChannel = layout_.kick;
            Put(pattern, 47, endChannel, kNoNote, 0, -1, Effect::PatternBreak, 0);
        }
        song_.patterns.push_back(std::move(pattern));
        return static_cast<int>(song_.patterns.size()) - 1;
    }

    // Drums --------------------------------------------------------------------------------

    void WriteDrums(Pattern& p, SectionKind kind, bool lastHalf) {
        DrumFeel feel = style_.drums;
        if (kind == SectionKind::Bridge && feel != DrumFeel::Sparse) feel = DrumFeel::HalfTime;
        const DrumBar bar = DrumsFor(feel);
        for (int b = 0; b < kBars; ++b) {
            const int base = b * kRowsPerBar;
            if (kind == SectionKind::Ending && b >= 2) {
                if (b == 2) {
                    Put(p, base, layout_.hat, kDrumNote, palette_.openHat);
                    Put(p, base, layout_.kick, kDrumNote, palette_.kick);
                }
                continue;
            }
            if (kind == SectionKind::Breakdown) {
                // The drums drop out, then come back with hats and a roll into what follows.
                if (b == 2) {
                    for (int row : {0, 4, 8, 12})
                        Put(p, base + row, layout_.hat, kDrumNote, palette_.hat, 24);
                }
                if (b == 3) WriteFill(p, base, 0);
                continue;
            }
            const bool introQuiet = kind == SectionKind::Intro && b < 2;
            for (int row : bar.hat) {
                const bool open = kind == SectionKind::FinalChorus && row % 4 == 2;
                const int volume = row % 4 == 0 ? -1 : (open ? -1 : 22);
                Put(p, base + row, layout_.hat, kDrumNote, open ? palette_.openHat : palette_.hat,
                    volume);
            }
            if (kind == SectionKind::FinalChorus) {
                // Open hats on the off-beats lift the last choruses.
                for (int row : {2, 6, 10, 14}) {
                    if (p.at(base + row, layout_.hat).note == kNoNote) {
                        Put(p, base + row, layout_.hat, kDrumNote, palette_.openHat);
                    }
                }
            }
            if (kind != SectionKind::FinalChorus && (b % 2 == 1) &&
                (feel == DrumFeel::Backbeat || feel == DrumFeel::FourOnFloor)) {
                Put(p, base + 14, layout_.hat, kDrumNote, palette_.openHat);
            }
            for (int row : bar.kick) {
                if (introQuiet && row != 0) continue;
                Put(p, base + row, layout_.kick, kDrumNote, palette_.kick);
            }
            if (!introQuiet) {
                for (int row : bar.snare)
                    Put(p, base + row, layout_.snare, kDrumNote, palette_.snare);
                if (feel == DrumFeel::Breakbeat && b % 2 == 1) {
                    Put(p, base + 15, layout_.snare, kDrumNote, palette_.snare, 20);
                }
            }
            const bool fillBar = b == kBars - 1 && lastHalf && kind != SectionKind::Ending;
            const bool endingFill = kind == SectionKind::Ending && b == 1;
            if (fillBar || endingFill) WriteFill(p, base, (fill_ + static_cast<int>(kind)) % 3);
        }
    }

    // Fill kinds: 0 a snare roll that swells, 1 and 2 falling toms that bend slowly or fast.
    void WriteFill(Pattern& p, int base, int fill) {
        if (fill == 0) {
            int volume = 28;
            for (int row : {8, 10, 12, 13, 14, 15}) {
                Put(p, base + row, layout_.snare, kDrumNote, palette_.snare, volume);
                volume += 7;
            }
        } else {
            // Toms falling in pitch, each bending down as it sounds.
            const int notes[] = {67, 64, 60, 57};
            const int rows[] = {8, 10, 12, 14};
            for (int i = 0; i < 4; ++i) {
                Put(p, base + rows[i], layout_.snare, notes[i], palette_.tom, -1, Effect::PortaDown,
                    fill == 1 ? 4 : 8);
            }
            Put(p, base + 15, layout_.snare, kDrumNote, palette_.snare, 48);
        }
        for (int row = 8; row < 16; ++row) {
            if (layout_.hat != layout_.snare) p.at(base + row, layout_.hat) = Cell{};
        }
    }

    // Bass ---------------------------------------------------------------------------------

    void WriteBass(Pattern& p, SectionKind kind, const Progression& chords) {
        const int ch = layout_.bass;
        const int instrument = palette_.bass;
        for (int b = 0; b < kBars; ++b) {
            const int base = b * kRowsPerBar;
            if (kind == SectionKind::Intro && b < 2) continue;
            const Key& key = plan_.key;
            const int degree = chords[static_cast<std::size_t>(b)];
            const Chord chord = TriadOn(key, degree);
            const int root = Fold(key.pitchOf(chord.rootDegree, 0), kBassLow);
            const int third = root + chord.third;
            const int fifth = root + chord.fifth;
            const int octave = root + 12;
            const int nextDegree = chords[static_cast<std::size_t>((b + 1) % kBars)];
            const int nextRoot =
                Fold(key.pitchOf(TriadOn(key, nextDegree).rootDegree, 0), kBassLow);
            if (kind == SectionKind::Ending && b >= 2) {
                if (b == 2) {
                    const int tonic = Fold(key.pitchOf(0, 0), kBassLow);
                    Put(p, base, ch, tonic, instrument);
                    for (int row = 2; row < 16; ++row)
                        SetEffect(p, base + row, ch, Effect::VolumeSlide, 0x01);
                }
                continue;
            }
            BassFeel feel = style_.bassFeel;
            if (kind == SectionKind::Bridge || kind == SectionKind::Breakdown)
                feel = BassFeel::Pedal;
            std::vector<std::pair<int, int>> hits;  // row, pitch
            switch (feel) {
                case BassFeel::RootEighths:
                    for (int row = 0; row < 16; row += 2)
                        hits.push_back({row, row == 14 ? fifth : root});
                    break;
                case BassFeel::OctaveBounce:
                    for (int row = 0; row < 16; row += 2)
                        hits.push_back({row, (row / 2) % 2 ? octave : root});
                    break;
                case BassFeel::Walking: {
                    const int approach = nextRoot > root ? nextRoot - 1 : nextRoot + 1;
                    hits = {{0, root}, {4, third}, {8, fifth}, {12, approach}};
                    break;
                }
                case BassFeel::Syncopated:
                    hits = {{0, root},  {3, root},   {6, octave},
                            {10, root}, {12, fifth}, {14, octave}};
                    break;
                case BassFeel::Pedal:
                    hits = {{0, root}, {8, root}, {14, fifth}};
                    break;
                case BassFeel::Arpeggiated:
                    hits = {{0, root}, {2, fifth},  {4, octave},  {6, fifth},
                            {8, root}, {10, fifth}, {12, octave}, {14, third + 12}};
                    break;
            }
            for (std::size_t i = 0; i < hits.size(); ++i) {
                const int row = hits[i].first;
                Put(p, base + row, ch, hits[i].second, instrument);
                const int next = i + 1 < hits.size() ? hits[i + 1].first : 16;
                if (next - row >= 3 && feel == BassFeel::Syncopated) NoteOff(p, base + row + 2, ch);
            }
            if (feel == BassFeel::Pedal && style_.portamentoChance > 0) {
                // Slide up into the fifth at the end of the bar.
                SetEffect(p, base + 14, ch, Effect::TonePorta, 0x30);
            }
        }
    }

    // Chords -------------------------------------------------------------------------------

    int ArpParam(const Chord& chord) const { return (chord.third << 4) | (chord.fifth & 0xF); }

    void WriteChords(Pattern& p, SectionKind kind, const Progression& chords) {
        const int ch = layout_.chords;
        const int instrument = palette_.chords;
        ChordFeel feel = style_.chordFeel;
        if (feel == ChordFeel::Pad && song_.format == Format::Mod) feel = ChordFeel::FastArp;
        if (kind == SectionKind::Breakdown) feel = ChordFeel::BrokenChord;
        if (kind == SectionKind::Bridge && feel == ChordFeel::FastArp)
            feel = ChordFeel::BrokenChord;
        for (int b = 0; b < kBars; ++b) {
            const int base = b * kRowsPerBar;
            const Chord chord = TriadOn(plan_.key, chords[static_cast<std::size_t>(b)]);
            const int root = Fold(plan_.key.pitchOf(chord.rootDegree, 0), kChordLow);
            const int arp = ArpParam(chord);
            if (kind == SectionKind::Ending && b >= 2) {
                if (b == 2) {
                    const int tonic = Fold(plan_.key.pitchOf(0, 0), kChordLow);
                    const Chord home = TriadOn(plan_.key, 0);
                    Put(p, base, ch, tonic, instrument, -1, Effect::Arpeggio, ArpParam(home));
                    for (int row = 1; row < 6; ++row)
                        SetEffect(p, base + row, ch, Effect::Arpeggio, ArpParam(home));
                    for (int row = 6; row < 16; ++row)
                        SetEffect(p, base + row, ch, Effect::VolumeSlide, 0x01);
                }
                continue;
            }
            switch (feel) {
                case ChordFeel::FastArp:
                case ChordFeel::Pad:
                    for (int row = 0; row < 16; ++row) {
                        const bool strike = row == 0 || (feel == ChordFeel::FastArp && row == 8);
                        if (strike) {
                            Put(p, base + row, ch, root, instrument, -1, Effect::Arpeggio, arp);
                        } else {
                            SetEffect(p, base + row, ch, Effect::Arpeggio, arp);
                        }
                    }
                    break;
                case ChordFeel::Stabs:
                    for (int row : {2, 6, 10, 14}) {
                        Put(p, base + row, ch, root, instrument, -1, Effect::Arpeggio, arp);
                        SetEffect(p, base + row + 1, ch, Effect::Arpeggio, arp);
                        NoteOff(p, base + row + 2, ch);
                    }
                    break;
                case ChordFeel::BrokenChord: {
                    const int tones[] = {0,           chord.third, chord.fifth, 12,
                                         chord.fifth, chord.third, 0,           chord.fifth};
                    for (int i = 0; i < 8; ++i)
                        Put(p, base + 2 * i, ch, root + tones[i], instrument);
                    break;
                }
            }
        }
    }

    void WritePad(Pattern& p, SectionKind kind, const Progression& chords) {
        const int ch = layout_.pad;
        if (ch < 0) return;
        for (int b = 0; b < kBars; ++b) {
            if (kind == SectionKind::Ending && b == 3) {
                NoteOff(p, b * kRowsPerBar, ch);
                continue;
            }
            const int degree =
                kind == SectionKind::Ending && b == 2 ? 0 : chords[static_cast<std::size_t>(b)];
            const Chord chord = TriadOn(plan_.key, degree);
            // Alternate third and fifth so the pad moves by small steps.
            const int tone = (b % 2 == 0) ? chord.rootDegree + 2 : chord.rootDegree + 4;
            Put(p, b * kRowsPerBar, ch, Fold(plan_.key.pitchOf(tone, 0), kPadLow), palette_.pad);
        }
    }

    // Lead ---------------------------------------------------------------------------------

    std::vector<const Motif*> BarMotifs(SectionKind kind, int half) const {
        switch (kind) {
            case SectionKind::Intro:
            case SectionKind::Solo:
            case SectionKind::Breakdown:
                return {};
            case SectionKind::Verse2:
                if (half == 0) return {&verseD_, &verseB_, &verseD_, &verseC_};
                return {&verseD_, &verseE_, &verseC_, &cadence_};
            case SectionKind::Verse:
                if (half == 0) return {&verseA_, &verseB_, &verseA_, &verseC_};
                return {&verseA_, &verseB_, &verseC_, &cadence_};
            case SectionKind::Chorus:
            case SectionKind::FinalChorus:
                if (half == 0) return {&chorusA_, &chorusB_, &chorusA_, &chorusB_};
                return {&chorusA_, &chorusB_, &chorusA_, &cadence_};
            case SectionKind::Bridge:
                if (half == 0) return {&bridgeA_, &bridgeB_, &bridgeA_, &bridgeB_};
                return {&bridgeA_, &bridgeB_, &verseC_, &cadence_};
            case SectionKind::Ending:
                return {&chorusA_, &cadence_};
        }
        return {};
    }

    // Notes off the beat a little softer than those on it, where the format has a volume
    // column to say so (MOD needs its one effect slot for the lead's effects).
    int AccentVolume(int instrument, int row) const {
        if (song_.format == Format::Mod || row % 4 == 0) return -1;
        const Instrument& chosen = song_.instruments[static_cast<std::size_t>(instrument - 1)];
        return song_.samples[static_cast<std::size_t>(chosen.sample)].volume * 13 / 16;
    }

    void WriteLead(Pattern& p, SectionKind kind, int half, const Progression& chords) {
        const std::vector<const Motif*> motifs = BarMotifs(kind, half);
        const int ch = layout_.lead;
        const int instrument = kind == SectionKind::Bridge ? palette_.leadAlt : palette_.lead;
        const bool harmony = kind == SectionKind::FinalChorus && layout_.echo >= 0;
        int anchor = 2;
        struct Placed {
            int row, length, pitch, harmonyPitch;
        };
        std::vector<Placed> placed;
        for (std::size_t b = 0; b < motifs.size(); ++b) {
            const Chord chord = TriadOn(plan_.key, chords[b]);
            anchor = NearestChordTone(chord, anchor);
            if (anchor > 7) anchor -= 7;
            if (anchor < -2) anchor += 7;
            for (const MotifNote& note : *motifs[b]) {
                int degree = anchor + note.offset;
                if (note.step % 4 == 0) degree = NearestChordTone(chord, degree);
                degree = std::clamp(degree, -3, 10);
                placed.push_back({static_cast<int>(b) * kRowsPerBar + note.step, note.length,
                                  plan_.key.pitchOf(degree, leadBase_),
                                  plan_.key.pitchOf(degree - 2, leadBase_)});
            }
        }
        if (kind == SectionKind::Ending) {
            placed.push_back({32, 16, plan_.key.pitchOf(anchor > 3 ? 7 : 0, leadBase_), 0});
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const Placed& note = placed[i];
            const bool slide = i > 0 && placed[i - 1].row + placed[i - 1].length >= note.row &&
                               std::abs(placed[i - 1].pitch - note.pitch) <= 5 &&
                               placed[i - 1].pitch != note.pitch &&
                               random_.chance(style_.portamentoChance);
            if (slide) {
                Put(p, note.row, ch, note.pitch, instrument, -1, Effect::TonePorta, 0x20);
            } else {
                Put(p, note.row, ch, note.pitch, instrument, AccentVolume(instrument, note.row));
            }
            if (harmony) Put(p, note.row, layout_.echo, note.harmonyPitch, palette_.echo);
            const bool finalNote = kind == SectionKind::Ending && note.row == 32;
            for (int r = 1; r < note.length; ++r) {
                const int row = note.row + r;
                if (row >= kRows) break;
                if (finalNote && r >= 5) {
                    SetEffect(p, row, ch, Effect::VolumeSlide, 0x01);
                } else if (slide && r == 1) {
                    SetEffect(p, row, ch, Effect::TonePorta, 0);
                } else if (style_.pluckedLead && note.length >= 4 && r >= 3) {
                    SetEffect(p, row, ch, Effect::VolumeSlide, 0x01);
                } else if (note.length >= 4 && r >= 2 && style_.vibrato != 0) {
                    SetEffect(p, row, ch, Effect::Vibrato, style_.vibrato);
                }
            }
            const int end = note.row + note.length;
            const int nextRow = i + 1 < placed.size() ? placed[i + 1].row : kRows;
            if (nextRow > end && end < kRows) {
                NoteOff(p, end, ch);
                if (harmony) NoteOff(p, end, layout_.echo);
            }
        }
        if (!harmony && layout_.echo >= 0 && kind != SectionKind::Intro) WriteEcho(p);
    }

    // An instrumental solo over the chorus chords on the second lead voice: chord tones in
    // running figures, rising through the section, with a run down the scale to close.
    void WriteSolo(Pattern& p, int half, const Progression& chords) {
        static const std::vector<std::vector<int>> kFigures = {
            {0, 2, 4, 7, 4, 2, 0, 2},  // up and down the chord
            {0, 4, 2, 4, 7, 4, 2, 4},  // broken, alternating
            {7, 4, 2, 0, 2, 4, 7, 9},  // down then up, ending a step above
        };
        const std::vector<int>& figure = kFigures[static_cast<std::size_t>(soloShape_)];
        const int ch = layout_.lead;
        const int step = style_.melodyDensity >= 55 ? 1 : 2;  // 16ths for busy styles
        for (int b = 0; b < kBars; ++b) {
            const Chord chord = TriadOn(plan_.key, chords[static_cast<std::size_t>(b)]);
            const int lift = half;  // the second half climbs a step
            const bool closing = half == 1 && b == kBars - 1;
            for (int i = 0; i < 16 / step; ++i) {
                const int row = b * kRowsPerBar + i * step;
                int degree;
                if (closing) {
                    degree = chord.rootDegree + 7 - i * step / 2;  // a run down the scale
                } else {
                    const int tone = figure[static_cast<std::size_t>(i % figure.size())];
                    // Figures count chord steps: 0 root, 2 third, 4 fifth, 7 octave, 9 tenth.
                    degree = chord.rootDegree + tone + lift;
                    degree = NearestChordTone(chord, degree);
                }
                while (degree > 10) degree -= 7;
                while (degree < -3) degree += 7;
                Put(p, row, ch, plan_.key.pitchOf(degree, leadBase_), palette_.leadAlt);
            }
            if (style_.vibrato != 0 && step == 2) {
                for (int i = 0; i < 16; i += 2)
                    SetEffect(p, b * kRowsPerBar + i + 1, ch, Effect::Vibrato, style_.vibrato);
            }
        }
        if (layout_.echo >= 0) WriteEcho(p);
    }

    // A quieter copy of the lead, three rows late, on the other side.
    void WriteEcho(Pattern& p) {
        constexpr int kDelay = 3;
        for (int row = kRows - 1 - kDelay; row >= 0; --row) {
            Cell cell = p.at(row, layout_.lead);
            if (cell.note == kNoNote && cell.effect != Effect::Vibrato) continue;
            if (cell.note != kNoNote && cell.note != kNoteOff)
                cell.instrument = static_cast<std::uint8_t>(palette_.echo);
            if (cell.effect == Effect::TonePorta) cell.effect = Effect::None;
            if (cell.effect == Effect::VolumeSlide) cell.effect = Effect::None;
            p.at(row + kDelay, layout_.echo) = cell;
        }
    }

    // MOD keeps tempo in the patterns: the first row of the song sets it.
    void SetModTempo() {
        Pattern& first = song_.patterns[static_cast<std::size_t>(song_.orders.front())];
        int placedTempo = 0;
        int placedSpeed = song_.speed == 6 ? 1 : 0;
        for (int channel = 0; channel < 4 && (placedTempo == 0 || placedSpeed == 0); ++channel) {
            Cell& cell = first.at(0, channel);
            if (cell.effect != Effect::None) continue;
            if (placedTempo == 0) {
                cell.effect = Effect::SetTempo;
                cell.param = static_cast<std::uint8_t>(song_.tempo);
                placedTempo = 1;
            } else {
                cell.effect = Effect::SetSpeed;
                cell.param = static_cast<std::uint8_t>(song_.speed);
                placedSpeed = 1;
            }
        }
    }

    const SongPlan& plan_;
    const Style& style_;
    Layout layout_;
    Random random_;
    Song song_;
    Palette palette_;
    int leadBase_ = kMiddleC;
    Motif verseA_, verseB_, verseC_, verseD_, verseE_, chorusA_, chorusB_, bridgeA_, bridgeB_,
        cadence_;
    int soloShape_ = 0;
    int fill_ = 0;
};

}  // namespace

Song Compose(const SongPlan& plan) {
    return Composer(plan).Build();
}

}  // namespace packgen
