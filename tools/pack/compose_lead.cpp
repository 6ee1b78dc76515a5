// The lead: phrases built from the song's own motifs, a solo over the chorus chords, and a
// quieter echo of the lead on the other side.
#include <algorithm>
#include <cstdlib>

#include "tools/pack/composer.h"
#include "tools/pack/consonance.h"
#include "tools/pack/effect_habits.h"

namespace packgen {

void Composer::MakeMotifs() {
    const int density = persona_.melodyDensity, leap = persona_.leapiness;
    verseA_ = MakeMotif(random_, density, leap);
    verseB_ = AnswerTo(verseA_, random_);
    verseC_ = MakeMotif(random_, density - 10, leap);
    chorusA_ = MakeMotif(random_, density + 5, leap + 10);
    chorusB_ = AnswerTo(chorusA_, random_);
    bridgeA_ = MakeMotif(random_, density - 25, leap);
    bridgeB_ = AnswerTo(bridgeA_, random_);
    cadence_ = Cadence(random_);
    verseD_ = Ornamented(verseA_, random_);
    verseE_ = AnswerTo(verseD_, random_);
    verseF_ = Retimed(AnswerTo(verseA_, random_), random_);
    chorusC_ = Retimed(chorusA_, random_);
    // Stabs on a few off-beats of the song's own choosing, and the order of a broken chord.
    const int stabChoices[] = {0, 2, 3, 6, 8, 10, 11, 14};
    for (int step : stabChoices) {
        if ((stabSteps_.empty() || step - stabSteps_.back() >= 2) && random_.chance(55))
            stabSteps_.push_back(step);
    }
    if (stabSteps_.size() < 2) stabSteps_ = {2, 10};
    int tone = random_.below(3);
    for (int i = 0; i < 8; ++i) {
        brokenOrder_.push_back(tone);
        tone = (tone + (random_.chance(65) ? 1 : 3)) % 4;
    }
    // The lead sits where its sample can be written in every bar.
    const int transpose = TransposeOf(song_, palette_.lead);
    leadBase_ = kMiddleC + 12 * persona_.leadOctave + (plan_.key.tonic > 6 ? -12 : 0);
    while (leadBase_ + 19 - transpose > HighestWritten(song_.format)) leadBase_ -= 12;
    while (leadBase_ - 7 - transpose < LowestWritten(song_.format)) leadBase_ += 12;
}

std::vector<const Motif*> Composer::PhraseMotifs(SectionKind kind, int phrase) const {
    const bool second = phrase % 2 == 1;
    switch (kind) {
        case SectionKind::Solo:
        case SectionKind::Breakdown:
            return {&bridgeA_, &bridgeB_, &verseC_, &cadence_};
        case SectionKind::Verse2:
            if (!second) return {&verseD_, &verseB_, &verseD_, &verseC_};
            return {&verseD_, &verseE_, &verseC_, &cadence_};
        case SectionKind::Intro:
        case SectionKind::Verse:
            if (!second) return {&verseA_, &verseB_, &verseF_, &verseC_};
            return {&verseA_, &verseB_, &verseC_, &cadence_};
        case SectionKind::Chorus:
        case SectionKind::FinalChorus:
            if (!second) return {&chorusA_, &chorusB_, &chorusC_, &chorusB_};
            return {&chorusA_, &chorusB_, &chorusC_, &cadence_};
        case SectionKind::Bridge:
            if (!second) return {&bridgeA_, &bridgeB_, &bridgeA_, &bridgeB_};
            return {&bridgeA_, &bridgeB_, &verseC_, &cadence_};
        case SectionKind::Ending:
            if (plan_.ending == Ending::FadeOut)
                return {&chorusA_, &chorusB_, &chorusA_, &chorusB_};
            return {&chorusA_, &cadence_, nullptr, nullptr};
    }
    return {nullptr, nullptr, nullptr, nullptr};
}

// The lead gives way where it would rub against the chords and the bass under it: a note
// struck against one moves to the nearest free note of the key, a held one is let go.
void Composer::WriteLead(PatternWriter& w, const BarPlace& place) {
    WriteLeadNotes(w, place);
    ReleaseRubs(song_, w.pattern(), plan_.key, layout_.lead, w.At(place.bar, 0),
                w.At(place.bar + 1, 0), {layout_.bass, layout_.chords, layout_.pad}, true);
}

void Composer::WriteLeadNotes(PatternWriter& w, const BarPlace& place) {
    const int channel = layout_.lead;
    const int instrument = place.parts.leadAlt ? palette_.leadAlt : palette_.lead;
    const Chord chord = TriadOn(plan_.key, place.degree);
    if (place.sectionBar == 0) anchor_ = 2;
    const bool stopping = place.kind == SectionKind::Ending && plan_.ending != Ending::FadeOut;
    if (stopping && place.sectionBar >= 2) {
        if (place.sectionBar == 2) {
            const int row = w.At(place.bar, 0);
            w.Note(row, channel, plan_.key.pitchOf(anchor_ > 3 ? 7 : 0, leadBase_), instrument);
            for (int step = 4; step < 16; ++step)
                w.AddEffect(w.At(place.bar, step), channel, Effect::VolumeSlide, 0x02);
        }
        return;
    }
    const Motif* motif =
        PhraseMotifs(place.kind, place.phrase())[static_cast<std::size_t>(place.phraseBar())];
    if (motif == nullptr) return;
    // Each bar starts on a chord tone near where the last one ended, drifting back towards
    // the middle of the lead's range when it has strayed.
    int from = place.sectionBar == 0 ? 2 : lastDegree_;
    if (from > 5) from -= 2;
    if (from < -1) from += 2;
    anchor_ = NearestChordTone(chord, from - motif->front().offset);
    // The last bar of a phrase ends early: the tune breathes before the next one.
    const int phraseEnd = place.phraseBar() == 3 ? 12 : 16;
    const EffectHabits& habits = HabitsOf(plan_.musician);
    // Ticks in the shortest row: a note delay must land inside it.
    const int slowestRow =
        plan_.shortSpeed > 0 ? std::min(plan_.speed, plan_.shortSpeed) : plan_.speed;
    int previousPitch = -1, previousEnd = -1;
    const bool plucked =
        instrument > 0 &&
        !song_
             .samples[static_cast<std::size_t>(
                 song_.instruments[static_cast<std::size_t>(instrument - 1)].sample)]
             .loops;
    for (std::size_t i = 0; i < motif->size(); ++i) {
        MotifNote note = (*motif)[i];
        if (note.step >= phraseEnd) break;
        note.length = std::min(note.length, phraseEnd - note.step);
        int degree = anchor_ + note.offset;
        // The downbeat and long notes sit on the chord; short ones pass between.
        if (note.step == 0 || note.length >= 6) degree = NearestChordTone(chord, degree);
        degree = std::clamp(degree, -3, 10);
        lastDegree_ = degree;
        const int pitch = plan_.key.pitchOf(degree, leadBase_);
        const int row = w.At(place.bar, note.step);
        const bool slide = previousEnd >= note.step && previousPitch != pitch &&
                           std::abs(previousPitch - pitch) <= 5 &&
                           random_.chance(persona_.portamento);
        const int volume = song_.format == Format::Mod || note.step % 4 == 0 ? -1 : 48;
        // The musician's own touch (effect_habits.h): a repeated pluck struck past its attack,
        // an off-beat note a little late.
        Effect effect = slide ? Effect::TonePorta : Effect::None;
        int param = slide ? 0x20 : 0;
        if (!slide && plucked && pitch == previousPitch && random_.chance(habits.offsets)) {
            effect = Effect::SampleOffset;
            param = random_.between(1, 3);
        } else if (!slide && note.step % 4 != 0 && slowestRow >= 3 &&
                   random_.chance(habits.delays)) {
            effect = Effect::NoteDelay;
            param = slowestRow / 3;
        }
        w.Note(row, channel, pitch, instrument, slide ? -1 : volume, effect, param);
        const int rows = note.length * w.rowsPerStep();
        const bool last = i + 1 == motif->size() || (*motif)[i + 1].step >= phraseEnd;
        const bool fall =
            last && place.phraseBar() == 3 && note.length >= 2 && random_.chance(habits.falls);
        const bool trill = !fall && note.length >= 4 && random_.chance(habits.trills);
        const int flutter = random_.chance(60) ? 0x0C : 0x07;  // an octave or a fifth up
        for (int r = 1; r < rows; ++r) {
            const int at = row + r;
            if (at >= w.At(place.bar + 1, 0)) break;
            if (slide && r == 1) {
                w.AddEffect(at, channel, Effect::TonePorta, 0);
            } else if (fall && r >= rows - 2 * w.rowsPerStep()) {
                w.AddEffect(at, channel, Effect::PortaDown, 0x08);
            } else if (trill && r < 2 * w.rowsPerStep()) {
                w.AddEffect(at, channel, Effect::Arpeggio, flutter);
            } else if (!plucked && note.length >= 4 && r >= 2 * w.rowsPerStep() &&
                       persona_.vibrato != 0) {
                w.AddEffect(at, channel, Effect::Vibrato, persona_.vibrato);
            }
        }
        const int end = note.step + note.length;
        const int following = i + 1 < motif->size() ? (*motif)[i + 1].step : 16;
        const int next = following < phraseEnd ? following : 16;
        if (next > end && end < 16) w.Off(w.At(place.bar, end), channel);
        previousPitch = pitch;
        previousEnd = end;
    }
}

// An instrumental solo over the chorus chords on the second lead voice: chord tones in running
// figures, rising through the section, with a run down the scale to close.
void Composer::WriteSolo(PatternWriter& w, const BarPlace& place) {
    static const std::vector<std::vector<int>> kFigures = {
        {0, 2, 4, 7, 4, 2, 0, 2},
        {0, 4, 2, 4, 7, 4, 2, 4},
        {7, 4, 2, 0, 2, 4, 7, 9},
    };
    const std::vector<int>& figure = kFigures[static_cast<std::size_t>(soloShape_)];
    const int channel = layout_.lead;
    const int every = persona_.melodyDensity >= 55 ? 1 : 2;
    const Chord chord = TriadOn(plan_.key, place.degree);
    const bool closing = place.lastOfSection();
    const int lift = place.phrase() % 2;
    for (int i = 0; i < 16 / every; ++i) {
        int degree;
        if (closing) {
            degree = chord.rootDegree + 7 - i * every / 2;
        } else {
            const int tone = figure[static_cast<std::size_t>(i) % figure.size()];
            degree = NearestChordTone(chord, chord.rootDegree + tone + lift);
        }
        while (degree > 10) degree -= 7;
        while (degree < -3) degree += 7;
        // An octave over the tune: the solo is the song's brightest stretch.
        w.Note(w.At(place.bar, i * every), channel, plan_.key.pitchOf(degree, leadBase_ + 12),
               palette_.leadAlt);
    }
    ReleaseRubs(song_, w.pattern(), plan_.key, channel, w.At(place.bar, 0), w.At(place.bar + 1, 0),
                {layout_.bass, layout_.chords, layout_.pad}, true);
}

// A quieter copy of the lead an octave down, three 16ths late, on the other side: under the
// tune, not over it.
void Composer::WriteEcho(PatternWriter& w, const BarPlace& place) {
    const int channel = layout_.echo;
    if (channel < 0) return;
    const int instrument = palette_.echo > 0 ? palette_.echo : palette_.leadAlt;
    const int delay = 3 * w.rowsPerStep();
    Pattern& pattern = w.pattern();
    const int start = w.At(place.bar, 0), end = w.At(place.bar + 1, 0);
    for (int row = start; row < end && row + delay < pattern.rows; ++row) {
        const Cell& cell = pattern.at(row, layout_.lead);
        if (cell.note == kNoNote) continue;
        if (cell.note == kNoteOff) {
            w.Off(row + delay, channel);
            continue;
        }
        w.Note(row + delay, channel, cell.note - 12, instrument, 20);
    }
    // The echo falls silent wherever it would rub against the lead or the harmony.
    ReleaseRubs(song_, pattern, plan_.key, channel, start, end,
                {layout_.bass, layout_.chords, layout_.pad, layout_.lead}, false);
}

}  // namespace packgen
