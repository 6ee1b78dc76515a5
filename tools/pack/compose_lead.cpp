// The lead: phrases built from the song's own motifs, a solo over the chorus chords, and a
// quieter echo of the lead on the other side.
#include <algorithm>
#include <cstdlib>

#include "tools/pack/composer.h"

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
            if (!second) return {&verseA_, &verseB_, &verseA_, &verseC_};
            return {&verseA_, &verseB_, &verseC_, &cadence_};
        case SectionKind::Chorus:
        case SectionKind::FinalChorus:
            if (!second) return {&chorusA_, &chorusB_, &chorusA_, &chorusB_};
            return {&chorusA_, &chorusB_, &chorusA_, &cadence_};
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

void Composer::WriteLead(PatternWriter& w, const BarPlace& place) {
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
    anchor_ = NearestChordTone(chord, anchor_);
    if (anchor_ > 7) anchor_ -= 7;
    if (anchor_ < -2) anchor_ += 7;
    int previousPitch = -1, previousEnd = -1;
    const bool plucked =
        instrument > 0 &&
        !song_
             .samples[static_cast<std::size_t>(
                 song_.instruments[static_cast<std::size_t>(instrument - 1)].sample)]
             .loops;
    for (std::size_t i = 0; i < motif->size(); ++i) {
        const MotifNote& note = (*motif)[i];
        int degree = anchor_ + note.offset;
        if (note.step % 4 == 0) degree = NearestChordTone(chord, degree);
        degree = std::clamp(degree, -3, 10);
        const int pitch = plan_.key.pitchOf(degree, leadBase_);
        const int row = w.At(place.bar, note.step);
        const bool slide = previousEnd >= note.step && previousPitch != pitch &&
                           std::abs(previousPitch - pitch) <= 5 &&
                           random_.chance(persona_.portamento);
        const int volume = song_.format == Format::Mod || note.step % 4 == 0 ? -1 : 48;
        if (slide) {
            w.Note(row, channel, pitch, instrument, -1, Effect::TonePorta, 0x20);
        } else {
            w.Note(row, channel, pitch, instrument, volume);
        }
        for (int r = 1; r < note.length * w.rowsPerStep(); ++r) {
            const int at = row + r;
            if (at >= w.At(place.bar + 1, 0)) break;
            if (slide && r == 1) {
                w.AddEffect(at, channel, Effect::TonePorta, 0);
            } else if (!plucked && note.length >= 4 && r >= 2 * w.rowsPerStep() &&
                       persona_.vibrato != 0) {
                w.AddEffect(at, channel, Effect::Vibrato, persona_.vibrato);
            }
        }
        const int end = note.step + note.length;
        const int next = i + 1 < motif->size() ? (*motif)[i + 1].step : 16;
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
        w.Note(w.At(place.bar, i * every), channel, plan_.key.pitchOf(degree, leadBase_),
               palette_.leadAlt);
    }
}

// A quieter copy of the lead, three 16ths late, on the other side.
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
        w.Note(row + delay, channel, cell.note, instrument, 20);
    }
}

}  // namespace packgen
