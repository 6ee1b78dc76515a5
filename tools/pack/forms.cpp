#include "tools/pack/forms.h"

#include <algorithm>

#include "player/song_catalog.h"

namespace packgen {

namespace {

using enum SectionKind;

// What comes first, by opening: the cold start goes straight into the tune.
std::vector<Section> OpeningSections(Opening opening, int barsPerPattern, Random& random) {
    const int twoPhrases = barsPerPattern >= 4 ? 1 : 2;  // patterns in 4 bars, at least one
    switch (opening) {
        case Opening::Cold:
            return {};
        case Opening::BreakdownFirst:
            return {{Breakdown, twoPhrases * random.between(1, 2)}};
        case Opening::PadIntro:
        case Opening::FadeIn:
            return {{Intro, twoPhrases * random.between(1, 2)}};
        default:
            return {{Intro, twoPhrases}};
    }
}

}  // namespace

std::vector<Section> MakeForm(const SongPlan& plan, Random& random) {
    const int phrase = std::max(1, 4 / plan.barsPerPattern());  // patterns in 4 bars
    const int verse = phrase * random.between(1, 2);
    const int chorus = phrase * random.between(1, 2);
    std::vector<Section> form = OpeningSections(plan.opening, plan.barsPerPattern(), random);
    // A body template: the classic verse-chorus song, chorus-first, the riff that keeps
    // returning, or a theme and variations.
    std::vector<Section> body;
    std::vector<std::vector<Section>> growth;
    switch (random.below(4)) {
        case 0:
            body = {{Verse, verse}, {Chorus, chorus}, {Verse2, verse}, {Chorus, chorus}};
            growth = {{{Bridge, phrase}},
                      {{Solo, phrase * 2}},
                      {{Breakdown, phrase}},
                      {{Verse, verse}, {Chorus, chorus}}};
            break;
        case 1:
            body = {{Chorus, chorus}, {Verse, verse}, {Chorus, chorus}};
            growth = {{{Solo, phrase}},
                      {{Verse2, verse}, {Chorus, chorus}},
                      {{Bridge, phrase * 2}},
                      {{Breakdown, phrase}}};
            break;
        case 2:
            body = {{Verse, verse * 2}, {Bridge, phrase}, {Verse2, verse}};
            growth = {
                {{Chorus, chorus}}, {{Breakdown, phrase}}, {{Solo, phrase}}, {{Verse, verse}}};
            break;
        default:
            body = {{Verse, verse}, {Solo, phrase}, {Chorus, chorus}};
            growth = {{{Breakdown, phrase}, {Chorus, chorus}},
                      {{Verse2, verse}},
                      {{Bridge, phrase}},
                      {{Solo, phrase}}};
            break;
    }
    form.insert(form.end(), body.begin(), body.end());
    // The ending: a cadence, its final chord and a bar to ring out in, or a fade of two phrases.
    const int ending = plan.ending == Ending::FadeOut ? 2 * phrase : phrase;
    const std::vector<Section> closing = {{FinalChorus, chorus}, {SectionKind::Ending, ending}};
    SongPlan probe = plan;
    auto seconds = [&](const std::vector<Section>& sections) {
        probe.form = sections;
        probe.form.insert(probe.form.end(), closing.begin(), closing.end());
        return FormSeconds(probe);
    };
    // Grow with the template's sections, in turn, while the song is short of its length.
    for (std::size_t step = 0; step < 24; ++step) {
        const std::vector<Section>& more = growth[step % growth.size()];
        std::vector<Section> longer = form;
        longer.insert(longer.end(), more.begin(), more.end());
        if (seconds(form) >= plan.targetSeconds || seconds(longer) > 236.0) break;
        form = std::move(longer);
    }
    // Trim sections from the end of the body while it runs past its length.
    while (form.size() > 2 && seconds(form) > 236.0) form.pop_back();
    while (seconds(form) < 92.0) form.push_back({Verse, phrase});
    form.insert(form.end(), closing.begin(), closing.end());
    return form;
}

SongPlan IntroTunePlan() {
    SongPlan intro;
    intro.number = 0;
    intro.musician = hollowtide::catalog::kIntroTuneMusician;
    intro.format = Format::Mod;
    intro.fileName = hollowtide::catalog::kIntroTuneFileName;
    intro.title = "mm-complete";
    intro.loops = true;
    intro.seed = 0x1A7B0;
    intro.key = {2, Mode::Major};
    intro.bpm = 128;
    intro.speed = 6;
    intro.tempo = 128;
    intro.groove = RhythmFamily::Backbeat;
    intro.lead = ToneKind::Pulse;
    intro.bass = ToneKind::ChipTriangle;
    intro.chords = ToneKind::Pulse;
    intro.bassFeel = BassFeel::OctaveBounce;
    intro.chordFeel = ChordFeel::FastArp;
    intro.verse = {0, 5, 3, 4};
    intro.chorus = {3, 4, 0, 4};
    intro.bridge = {5, 3, 1, 4};
    intro.form = {{Verse, 2}, {Chorus, 2}, {Bridge, 2}, {FinalChorus, 2}};
    return intro;
}

}  // namespace packgen
