#include "tools/pack/motifs.h"

#include <algorithm>

namespace packgen {

namespace {

using Rhythm = std::vector<std::pair<int, int>>;  // step, length

const std::vector<Rhythm>& RhythmsFor(int density) {
    static const std::vector<Rhythm> kSparse = {
        {{0, 6}, {6, 2}, {8, 8}},
        {{0, 4}, {4, 4}, {8, 8}},
        {{0, 3}, {3, 3}, {6, 2}, {8, 8}},
        {{2, 2}, {4, 4}, {8, 6}, {14, 2}},
    };
    static const std::vector<Rhythm> kMedium = {
        {{0, 2}, {2, 2}, {4, 4}, {8, 2}, {10, 2}, {12, 4}},
        {{0, 3}, {3, 3}, {6, 2}, {8, 4}, {12, 4}},
        {{0, 4}, {4, 2}, {6, 2}, {8, 6}, {14, 2}},
        {{0, 2}, {2, 4}, {6, 2}, {8, 8}},
        {{0, 6}, {6, 2}, {8, 2}, {10, 2}, {12, 4}},
    };
    static const std::vector<Rhythm> kBusy = {
        {{0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 4}},
        {{0, 1}, {1, 1}, {2, 2}, {4, 2}, {6, 2}, {8, 4}, {12, 2}, {14, 2}},
        {{0, 2}, {2, 1}, {3, 1}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 4}},
        {{0, 3}, {3, 3}, {6, 2}, {8, 2}, {10, 2}, {12, 2}, {14, 2}},
    };
    if (density < 40) return kSparse;
    if (density < 62) return kMedium;
    return kBusy;
}

}  // namespace

Motif MakeMotif(Random& random, int density, int leapiness) {
    const Rhythm& rhythm =
        random.pick(RhythmsFor(std::clamp(density + random.between(-12, 12), 0, 100)));
    Motif motif;
    int offset = 0;
    int direction = random.chance(50) ? 1 : -1;
    bool leapt = false;
    for (std::size_t i = 0; i < rhythm.size(); ++i) {
        if (i > 0) {
            // Mostly steps and repeated notes; now and then a leap, which the next note turns
            // back from, as a singer would.
            const bool leap = !leapt && random.chance(leapiness / 3);
            const int move = leap ? random.between(2, 4) : (random.chance(30) ? 0 : 1);
            if (leapt || random.chance(30)) direction = -direction;
            // Stay near the anchor so the phrase does not drift away.
            if (offset > 3) direction = -1;
            if (offset < -3) direction = 1;
            offset += direction * move;
            leapt = leap;
        }
        motif.push_back({rhythm[i].first, rhythm[i].second, offset});
    }
    return motif;
}

Motif AnswerTo(const Motif& motif, Random& random) {
    Motif answer = motif;
    if (answer.size() >= 2) {
        // Turn the last two notes back towards the anchor.
        answer.back().offset = random.chance(50) ? 0 : -answer[answer.size() - 2].offset / 2;
        if (random.chance(50)) answer[answer.size() - 2].offset += random.chance(50) ? 1 : -1;
    }
    return answer;
}

Motif Ornamented(const Motif& motif, Random& random) {
    Motif decorated = motif;
    auto longest = std::max_element(
        decorated.begin(), decorated.end(),
        [](const MotifNote& a, const MotifNote& b) { return a.length < b.length; });
    if (longest == decorated.end() || longest->length < 2) return decorated;
    const int half = longest->length / 2;
    MotifNote neighbour = *longest;
    neighbour.step += half;
    neighbour.length = longest->length - half;
    neighbour.offset += random.chance(60) ? 1 : -1;
    longest->length = half;
    decorated.insert(longest + 1, neighbour);
    return decorated;
}

Motif Retimed(const Motif& motif, Random& random) {
    Motif retimed = motif;
    if (retimed.size() < 3) return retimed;
    // An inner note comes a step early or late; its neighbours give or take the step.
    const std::size_t i =
        1 + static_cast<std::size_t>(random.below(static_cast<int>(retimed.size()) - 2));
    MotifNote& before = retimed[i - 1];
    MotifNote& note = retimed[i];
    const bool early = before.length >= 2 && (note.length < 2 || random.chance(50));
    if (early) {
        --before.length;
        --note.step;
        ++note.length;
    } else if (note.length >= 2) {
        ++before.length;
        ++note.step;
        --note.length;
    }
    return retimed;
}

Motif Cadence(Random& random) {
    if (random.chance(50)) return {{0, 2, 2}, {2, 2, 1}, {4, 12, 0}};
    return {{0, 4, 1}, {4, 12, 0}};
}

}  // namespace packgen
