// The bass part: a one-bar figure drawn for the song from its feel, played on each bar's chord.
#include <algorithm>
#include <cstdlib>

#include "tools/pack/composer.h"
#include "tools/pack/consonance.h"
#include "tools/pack/effect_habits.h"

namespace packgen {

namespace {

constexpr int kBassLow = kMiddleC - 20;  // E two octaves below middle C

// A note leading into the next bar's root from a semitone away, from the side that does not rub
// against the chord still sounding; the chord's fifth where neither side is free.
int ApproachTo(int nextRoot, int root, const Chord& chord) {
    const int tones[] = {root, root + chord.third, root + chord.fifth};
    auto free = [&](int pitch) {
        return std::none_of(std::begin(tones), std::end(tones),
                            [&](int tone) { return Rubs(pitch, tone); });
    };
    const int below = nextRoot - 1, above = nextRoot + 1;
    const int first = nextRoot > root ? below : above, second = nextRoot > root ? above : below;
    if (free(first)) return first;
    if (free(second)) return second;
    return root + chord.fifth;
}

}  // namespace

std::vector<BassStep> Composer::MakeBassFigure(BassFeel feel) {
    using enum BassTone;
    std::vector<BassStep> figure;
    switch (feel) {
        case BassFeel::RootPulse: {
            const int every = random_.chance(60) ? 2 : 4;
            for (int step = 0; step < 16; step += every) figure.push_back({step, every, Root});
            figure.back().tone = random_.chance(50) ? Fifth : Octave;
            break;
        }
        case BassFeel::OctaveBounce:
            for (int step = 0; step < 16; step += 2)
                figure.push_back({step, 2, (step / 2) % 2 ? Octave : Root});
            if (random_.chance(50)) figure[5].tone = Fifth;
            break;
        case BassFeel::Walking:
            figure = {{0, 4, Root},
                      {4, 4, random_.chance(50) ? Third : Fifth},
                      {8, 4, Fifth},
                      {12, 4, Approach}};
            if (random_.chance(40)) figure[2].tone = Octave;
            break;
        case BassFeel::Syncopated: {
            const int choices[] = {3, 6, 7, 10, 11, 13, 14};
            std::vector<int> steps = {0};
            for (int step : choices) {
                if (random_.chance(50)) steps.push_back(step);
            }
            const BassTone tones[] = {Root, Octave, Fifth, Root, Seventh};
            for (std::size_t i = 0; i < steps.size(); ++i) {
                const int next = i + 1 < steps.size() ? steps[i + 1] : 16;
                figure.push_back({steps[i], std::min(2, next - steps[i]),
                                  i == 0 ? Root : tones[random_.below(5)]});
            }
            break;
        }
        case BassFeel::Pedal:
            figure = {{0, 6, Root}, {8, 4, Root}, {14, 2, random_.chance(50) ? Fifth : LowFifth}};
            break;
        case BassFeel::Arpeggiated: {
            const BassTone order[] = {Root, Fifth, Octave, Third};
            const int start = random_.below(4);
            for (int i = 0; i < 8; ++i)
                figure.push_back({2 * i, 2, order[(start + i * (1 + i % 2)) % 4]});
            figure[0].tone = Root;
            break;
        }
        case BassFeel::Riff: {
            const BassTone tones[] = {Root, Root, Octave, Fifth, Seventh, LowFifth, Third};
            int step = 0;
            while (step < 16) {
                const int length = random_.chance(40) ? 1 : (random_.chance(70) ? 2 : 3);
                if (step == 0 || random_.chance(75))
                    figure.push_back({step, length, step == 0 ? Root : tones[random_.below(7)]});
                step += length;
            }
            break;
        }
    }
    return figure;
}

void Composer::WriteBass(PatternWriter& w, const BarPlace& place) {
    const int channel = layout_.bass;
    const Key& key = plan_.key;
    const Chord chord = TriadOn(key, place.degree);
    const int root = key.pitchFrom(chord.rootDegree, kBassLow);
    const int nextRoot = key.pitchFrom(TriadOn(key, place.nextDegree).rootDegree, kBassLow);
    const bool stopping = place.kind == SectionKind::Ending &&
                          (plan_.ending == Ending::Cadence || plan_.ending == Ending::ColdStop);
    if (stopping && place.sectionBar >= 2) {
        if (place.sectionBar == 2) {
            w.Note(w.At(place.bar, 0), channel, key.pitchFrom(0, kBassLow), palette_.bass);
            for (int step = 2; step < 16; ++step)
                w.AddEffect(w.At(place.bar, step), channel, Effect::VolumeSlide, 0x02);
        }
        return;
    }
    const bool calm = place.kind == SectionKind::Bridge || place.kind == SectionKind::Breakdown;
    const std::vector<BassStep>& figure = calm ? bridgeBass_ : bassFigure_;
    // A held note may glide into the next, as the musician likes (effect_habits.h).
    const int slides = HabitsOf(plan_.musician).bassSlides;
    int heldPitch = -1, heldUntil = -1;
    for (const BassStep& step : figure) {
        int pitch = root;
        switch (step.tone) {
            case BassTone::Root:
                break;
            case BassTone::Fifth:
                pitch = root + chord.fifth;
                break;
            case BassTone::Octave:
                pitch = root + 12;
                break;
            case BassTone::Third:
                pitch = root + chord.third;
                break;
            case BassTone::Approach:
                pitch = ApproachTo(nextRoot, root, chord);
                break;
            case BassTone::Seventh:
                pitch = root + key.pitchOf(chord.rootDegree + 6, kMiddleC) -
                        key.pitchOf(chord.rootDegree, kMiddleC);
                // A major seventh rubs against the chord's root above it.
                if (Rubs(pitch, root)) pitch = root + 12;
                break;
            case BassTone::LowFifth:
                pitch = root + chord.fifth - 12;
                break;
        }
        const int row = w.At(place.bar, step.step);
        const bool glide = heldPitch >= 0 && heldUntil >= step.step && pitch != heldPitch &&
                           std::abs(pitch - heldPitch) <= 7 && random_.chance(slides);
        if (glide) {
            w.Note(row, channel, pitch, palette_.bass, -1, Effect::TonePorta, 0x30);
            if (step.length * w.rowsPerStep() > 1)
                w.AddEffect(row + 1, channel, Effect::TonePorta, 0);
        } else {
            w.Note(row, channel, pitch, palette_.bass);
        }
        // A MOD has no envelopes: its held notes die away by a slide instead of droning on.
        if (song_.format == Format::Mod && step.length > 2) {
            const int rows = step.length * w.rowsPerStep();
            const int slide = plan_.speed <= 3 ? 2 : 1;
            for (int r = row + 1; r < row + rows; ++r)
                w.AddEffect(r, channel, Effect::VolumeSlide, slide);
        }
        heldPitch = step.length > 2 ? pitch : -1;
        heldUntil = step.step + step.length;
        // Short notes stop clean: the bass punches instead of droning. The bar's last note
        // rings on into the next bar, so the bass never leaves a hole before the downbeat.
        const bool lastOfBar = &step == &figure.back();
        if (step.length <= 2 && step.step + step.length < 16 && !lastOfBar) {
            const int off =
                w.At(place.bar, step.step + step.length) - (w.rowsPerStep() > 1 ? 1 : 0);
            if (off > row) w.Off(off, channel);
        }
    }
}

}  // namespace packgen
