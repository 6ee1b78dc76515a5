// The bass part: a one-bar figure drawn for the song from its feel, played on each bar's chord.
#include <algorithm>

#include "tools/pack/composer.h"

namespace packgen {

namespace {

constexpr int kBassLow = kMiddleC - 21;  // E two octaves below middle C

int Fold(int pitch, int low) {
    while (pitch < low) pitch += 12;
    while (pitch >= low + 12) pitch -= 12;
    return pitch;
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
    const int root = Fold(key.pitchOf(chord.rootDegree, 0), kBassLow);
    const int nextRoot = Fold(key.pitchOf(TriadOn(key, place.nextDegree).rootDegree, 0), kBassLow);
    const bool stopping = place.kind == SectionKind::Ending &&
                          (plan_.ending == Ending::Cadence || plan_.ending == Ending::ColdStop);
    if (stopping && place.sectionBar >= 2) {
        if (place.sectionBar == 2) {
            w.Note(w.At(place.bar, 0), channel, Fold(key.pitchOf(0, 0), kBassLow), palette_.bass);
            for (int step = 2; step < 16; ++step)
                w.AddEffect(w.At(place.bar, step), channel, Effect::VolumeSlide, 0x02);
        }
        return;
    }
    const bool calm = place.kind == SectionKind::Bridge || place.kind == SectionKind::Breakdown;
    const std::vector<BassStep>& figure = calm ? bridgeBass_ : bassFigure_;
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
                pitch = nextRoot > root ? nextRoot - 1 : nextRoot + 1;
                break;
            case BassTone::Seventh:
                pitch =
                    key.pitchOf(chord.rootDegree + 6, 0) - key.pitchOf(chord.rootDegree, 0) + root;
                break;
            case BassTone::LowFifth:
                pitch = root + chord.fifth - 12;
                break;
        }
        const int row = w.At(place.bar, step.step);
        w.Note(row, channel, pitch, palette_.bass);
        // Short notes stop clean: the bass punches instead of droning.
        if (step.length <= 2 && step.step + step.length < 16) {
            const int off =
                w.At(place.bar, step.step + step.length) - (w.rowsPerStep() > 1 ? 1 : 0);
            if (off > row) w.Off(off, channel);
        }
    }
}

}  // namespace packgen
