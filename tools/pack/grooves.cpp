#include "tools/pack/grooves.h"

#include <algorithm>
#include <set>

namespace packgen {

namespace {

using enum DrumRole;

class Bar {
  public:
    explicit Bar(Random& random) : random_(random) {}
    // A hit on 16th-note `step`, velocity varied a little.
    void on(int step, DrumRole role, int velocity = 64, bool late = false) {
        const int v = std::clamp(velocity - random_.below(6), 8, 64);
        hits_.push_back({step * 2, role, v, late});
    }
    void steps(std::initializer_list<int> list, DrumRole role, int velocity = 64) {
        for (int step : list) on(step, role, velocity);
    }
    void fine(int position, DrumRole role, int velocity) {
        hits_.push_back({position, role, velocity, false});
    }
    std::vector<DrumHit> take() { return std::move(hits_); }

  private:
    Random& random_;
    std::vector<DrumHit> hits_;
};

// Hats in one of several figures; accents on the beat.
void Hats(Bar& bar, Random& random, int figure, DrumRole role = Hat) {
    const int soft = random.between(28, 44);
    for (int step = 0; step < 16; ++step) {
        bool hit = false;
        switch (figure) {
            case 0:
                hit = step % 2 == 0;
                break;  // eighths
            case 1:
                hit = step % 4 == 2;
                break;  // off-beats
            case 2:
                hit = step % 4 == 0;
                break;  // quarters
            case 3:
                hit = true;
                break;  // sixteenths
            case 4:
                hit = step % 4 != 2;
                break;  // x x . x
            case 5:
                hit = step % 4 != 1;
                break;  // x . x x
            case 6:
                hit = step % 4 == 2 || step % 4 == 3;
                break;  // . . x x
            default:
                hit = (step * 7 + figure) % 5 < 2;
                break;  // a lopsided figure
        }
        if (hit) bar.on(step, role, step % 4 == 0 ? 60 : soft);
    }
}

int AnyOf(Random& random, std::initializer_list<int> choices) {
    return *(choices.begin() + random.below(static_cast<int>(choices.size())));
}

std::vector<DrumHit> MainBar(RhythmFamily family, Random& random, Groove& groove) {
    Bar bar(random);
    switch (family) {
        case RhythmFamily::FourOnFloor:
            bar.steps({0, 4, 8, 12}, Kick);
            if (random.chance(75)) bar.steps({4, 12}, Snare, 54);
            if (random.chance(50)) {
                bar.steps({2, 6, 10, 14}, OpenHat, 44);
            } else {
                Hats(bar, random, AnyOf(random, {3, 4, 5, 7}));
            }
            if (random.chance(40)) bar.on(AnyOf(random, {7, 11, 15}), Perc, 40);
            break;
        case RhythmFamily::Backbeat:
            bar.on(0, Kick);
            for (int i = random.between(1, 3); i > 0; --i)
                bar.on(AnyOf(random, {8, 10, 6, 3, 11, 14}), Kick, 56);
            bar.steps({4, 12}, Snare);
            Hats(bar, random, AnyOf(random, {0, 2, 3, 4, 5, 6, 7}));
            break;
        case RhythmFamily::Breakbeat:
            bar.steps({0, 10}, Kick);
            bar.on(AnyOf(random, {2, 11, 6}), Kick, 52);
            bar.steps({4, 12}, Snare);
            for (int step : {7, 9, 15}) {
                if (random.chance(55)) bar.on(step, Snare, 26);
            }
            Hats(bar, random, AnyOf(random, {0, 4, 5, 8, 9}));
            break;
        case RhythmFamily::HalfTime:
            bar.on(0, Kick);
            bar.on(AnyOf(random, {6, 10, 11, 14}), Kick, 54);
            bar.on(8, Snare);
            Hats(bar, random, AnyOf(random, {0, 3, 4, 6, 9}));
            break;
        case RhythmFamily::Shuffle:
            bar.steps({0, 8}, Kick);
            if (random.chance(50)) bar.on(11, Kick, 48);
            bar.steps({4, 12}, Snare);
            for (int beat = 0; beat < 4; ++beat) {
                bar.on(beat * 4, Hat, 56);
                bar.on(beat * 4 + 3, Hat, 36);
            }
            break;
        case RhythmFamily::SpeedSwing:
            groove.alternatesSpeed = true;
            bar.on(0, Kick);
            bar.on(AnyOf(random, {7, 9, 10}), Kick, 50);
            bar.steps({4, 12}, Snare, 58);
            Hats(bar, random, AnyOf(random, {3, 0, 5}), random.chance(50) ? Hat : Perc);
            break;
        case RhythmFamily::DelaySwing: {
            groove.lateTicks = random.between(1, 2);
            bar.on(0, Kick);
            bar.on(AnyOf(random, {6, 10, 14}), Kick, 52);
            bar.steps({4, 12}, Snare, 56);
            const bool sixteenths = random.chance(50);
            for (int step = 0; step < 16; ++step) {
                const bool offbeat = sixteenths ? step % 2 == 1 : step % 4 == 2;
                if (step % 4 == 0 || offbeat || (sixteenths && random.chance(30)))
                    bar.on(step, Hat, offbeat ? 34 : 54, offbeat);
            }
            break;
        }
        case RhythmFamily::Bossa:
            bar.steps({0, 3, 8, 11}, Kick, 50);
            for (int step :
                 random.chance(50) ? std::vector{0, 3, 6, 10, 12} : std::vector{2, 4, 8, 11, 14})
                bar.on(step, Perc, 46);
            Hats(bar, random, AnyOf(random, {0, 3}), Hat);
            break;
        case RhythmFamily::Electro:
            bar.steps({0, 6, 10}, Kick);
            if (random.chance(50)) bar.on(14, Kick, 44);
            bar.steps({4, 12}, Snare);
            Hats(bar, random, AnyOf(random, {4, 5, 6, 1}));
            if (random.chance(50)) bar.on(AnyOf(random, {3, 9, 13}), Perc, 42);
            break;
        case RhythmFamily::TwoStep:
            bar.steps({0, 10}, Kick);
            bar.steps({4, 12}, Snare);
            if (random.chance(50)) bar.on(15, Snare, 24);
            Hats(bar, random, AnyOf(random, {0, 1, 6}));
            break;
        case RhythmFamily::March:
            bar.steps({0, 8}, Kick);
            for (int step : {0, 4, 6, 7, 8, 12, 14, 15}) {
                if (step % 4 == 0 || random.chance(60))
                    bar.on(step, Snare, step % 4 == 0 ? 60 : 30);
            }
            if (random.chance(50)) bar.on(0, Crash, 40);
            break;
        case RhythmFamily::Gallop:
            for (int beat = 0; beat < 4; ++beat) {
                bar.on(beat * 4, Kick, 60);
                bar.on(beat * 4 + 2, Kick, 40);
                bar.on(beat * 4 + 3, Kick, 44);
            }
            bar.steps({4, 12}, Snare);
            if (random.chance(50)) Hats(bar, random, 2);
            break;
        case RhythmFamily::OneDrop:
            bar.on(8, Kick);
            bar.on(8, Snare, 50);
            Hats(bar, random, AnyOf(random, {1, 0, 6}));
            if (random.chance(50)) bar.on(AnyOf(random, {14, 15}), Perc, 36);
            break;
        case RhythmFamily::Tribal:
            bar.steps({0, 8}, Kick);
            for (int i = random.between(4, 6); i > 0; --i)
                bar.on(random.below(16), Tom, random.between(40, 62));
            if (random.chance(60)) Hats(bar, random, 3, Hat);
            break;
        case RhythmFamily::Sparse:
            bar.on(0, Kick, 56);
            if (random.chance(60))
                bar.on(AnyOf(random, {8, 12, 10}), random.chance(50) ? Snare : Perc, 44);
            if (random.chance(50)) bar.on(AnyOf(random, {6, 14}), Hat, 30);
            break;
        case RhythmFamily::None:
            break;
    }
    std::vector<DrumHit> hits = bar.take();
    if (random.chance(35) && family != RhythmFamily::None) {
        // A ratchet of 32nds before a beat: the fine grid shows.
        const int beat = AnyOf(random, {3, 7, 11, 15});
        const DrumRole role = random.chance(50) ? Hat : Snare;
        hits.push_back({beat * 2 + 1, role, 30, false});
        groove.usesFineGrid = true;
    }
    return hits;
}

}  // namespace

const char* FamilyName(RhythmFamily family) {
    switch (family) {
        case RhythmFamily::FourOnFloor:
            return "four-on-the-floor";
        case RhythmFamily::Backbeat:
            return "backbeat";
        case RhythmFamily::Breakbeat:
            return "breakbeat";
        case RhythmFamily::HalfTime:
            return "half-time";
        case RhythmFamily::Shuffle:
            return "shuffle";
        case RhythmFamily::SpeedSwing:
            return "swing (speeds)";
        case RhythmFamily::DelaySwing:
            return "swing (delays)";
        case RhythmFamily::Bossa:
            return "bossa";
        case RhythmFamily::Electro:
            return "electro";
        case RhythmFamily::TwoStep:
            return "two-step";
        case RhythmFamily::March:
            return "march";
        case RhythmFamily::Gallop:
            return "gallop";
        case RhythmFamily::OneDrop:
            return "one-drop";
        case RhythmFamily::Tribal:
            return "tribal";
        case RhythmFamily::Sparse:
            return "sparse";
        case RhythmFamily::None:
            return "no drums";
    }
    return "?";
}

std::vector<DrumRole> Groove::roles() const {
    std::set<DrumRole> set;
    for (const DrumHit& hit : main) set.insert(hit.role);
    for (const DrumHit& hit : answer) set.insert(hit.role);
    // The bars between fills open the hats now and then.
    if (set.count(DrumRole::Hat) > 0) set.insert(DrumRole::OpenHat);
    return {set.begin(), set.end()};
}

namespace {

bool IsHat(DrumRole role) {
    return role == Hat || role == OpenHat || role == Perc;
}

bool HasHit(const std::vector<DrumHit>& hits, int position, DrumRole role) {
    return std::any_of(hits.begin(), hits.end(), [&](const DrumHit& hit) {
        return hit.position == position && hit.role == role;
    });
}

// The answer of a two-bar groove: a kick off the beat moves, or one more comes in late.
std::vector<DrumHit> AnswerOf(const std::vector<DrumHit>& main, Random& random) {
    std::vector<DrumHit> answer = main;
    std::vector<std::size_t> movable;
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (answer[i].role == Kick && answer[i].position % 8 != 0) movable.push_back(i);
    }
    if (!movable.empty() && random.chance(60)) {
        DrumHit& kick = answer[movable[static_cast<std::size_t>(
            random.below(static_cast<int>(movable.size())))]];
        const int moved = std::clamp(kick.position + (random.chance(50) ? 2 : -2), 2, 30);
        if (!HasHit(answer, moved, Kick)) kick.position = moved;
    }
    const int late = AnyOf(random, {22, 26, 28, 30});
    if (answer == main || random.chance(50)) {
        if (!HasHit(answer, late, Kick)) answer.push_back({late, Kick, 50, false});
    }
    if (answer == main) answer.push_back({30, Snare, 22, false});
    return answer;
}

}  // namespace

Groove MakeGroove(RhythmFamily family, Random& random) {
    Groove groove;
    groove.family = family;
    groove.main = MainBar(family, random, groove);
    groove.answer = groove.main;
    if (family != RhythmFamily::None) {
        groove.answer = AnswerOf(groove.main, random);
        groove.twoBar = family != RhythmFamily::Sparse && random.chance(55);
    }
    return groove;
}

std::vector<DrumHit> PlayBar(const Groove& groove, int bar, Drive drive, Random& random) {
    const std::vector<DrumHit>& played =
        groove.twoBar && bar % 2 == 1 ? groove.answer : groove.main;
    std::vector<DrumHit> hits = played;
    if (hits.empty()) return hits;
    // Ghost notes go on the snare, or on whatever the groove has in its place.
    DrumRole ghostRole = Hat;
    for (DrumRole role : {Perc, Tom, Snare}) {
        if (std::any_of(played.begin(), played.end(),
                        [&](const DrumHit& hit) { return hit.role == role; }))
            ghostRole = role;
    }
    // Verses sit back with their hats half as loud; a chorus opens the hats on the off-beats,
    // plays them out and leans on the downbeats.
    for (DrumHit& hit : hits) {
        if (drive == Drive::Soft && IsHat(hit.role)) hit.velocity = hit.velocity / 2;
        if (drive == Drive::Lift && IsHat(hit.role)) hit.velocity = 64;
        if (drive == Drive::Lift && hit.role == Hat && hit.position % 8 == 4) hit.role = OpenHat;
        if (drive == Drive::Lift && hit.position % 8 == 0 && !IsHat(hit.role)) hit.velocity = 64;
    }
    // What a drummer changes from bar to bar without thinking of it as a fill.
    if (random.chance(45)) {
        const int ghost = AnyOf(random, {6, 14, 18, 22, 26, 30});
        if (!HasHit(hits, ghost, ghostRole))
            hits.push_back({ghost, ghostRole, random.between(12, 20), false});
    }
    if (random.chance(30)) {
        for (DrumHit& hit : hits) {
            if (hit.role == Hat && hit.position >= 20) {
                hit.role = OpenHat;
                break;
            }
        }
    }
    if (random.chance(25)) {
        for (DrumHit& hit : hits) {
            if (hit.role == Kick && hit.position % 8 != 0) {
                const int moved = hit.position + (random.chance(50) ? 2 : -2);
                if (moved > 0 && moved < 32 && !HasHit(hits, moved, Kick)) hit.position = moved;
                break;
            }
        }
    }
    if (random.chance(20)) {
        const auto dropped = std::find_if(hits.begin(), hits.end(), [](const DrumHit& hit) {
            return hit.role == Hat && hit.position % 8 != 0;
        });
        if (dropped != hits.end()) hits.erase(dropped);
    }
    // A sparse groove has little to vary: a soft pickup into the next bar instead.
    if (hits == played && !groove.twoBar && random.chance(60))
        hits.push_back({AnyOf(random, {28, 30}), ghostRole, random.between(14, 22), false});
    return hits;
}

std::vector<DrumHit> MakeFill(int kind, const Groove& groove, Random& random) {
    std::vector<DrumHit> fill;
    // Where the fill starts: the last half bar, or only its last beat.
    const int from = kind % kFillKinds == 5 ? 24 : 16;
    for (const DrumHit& hit : groove.main) {
        if (hit.position < from) fill.push_back(hit);
    }
    switch (kind % kFillKinds) {
        case 0: {
            int velocity = 24;
            for (int step : {8, 10, 12, 13, 14, 15}) {
                fill.push_back({step * 2, DrumRole::Snare, velocity, false});
                velocity += 7;
            }
            break;
        }
        case 1:
            for (int step : {8, 10, 12, 14}) fill.push_back({step * 2, DrumRole::Tom, 56, false});
            fill.push_back({30, DrumRole::Snare, 50, false});
            break;
        case 2:
            for (int step : {8, 11, 14}) fill.push_back({step * 2, DrumRole::Kick, 60, false});
            for (int step : {10, 12, 15}) fill.push_back({step * 2, DrumRole::Snare, 48, false});
            break;
        case 3:
            // The band stops for a beat and a crash marks the way in.
            fill.push_back({24, DrumRole::Snare, 40 + random.below(16), false});
            fill.push_back({28, DrumRole::Crash, 36, false});
            break;
        case 4:
            // A press roll swelling into the next bar: one snare retriggered faster and louder.
            fill.push_back({16, DrumRole::Snare, 20, false, 3});
            fill.push_back({24, DrumRole::Snare, 34, false, 2});
            fill.push_back({28, DrumRole::Snare, 50, false, 1});
            break;
        default:
            // Only the last beat: toms falling into the downbeat.
            for (int step : {12, 13, 14, 15})
                fill.push_back({step * 2, DrumRole::Tom, 62 - (step - 12) * 4, false});
            break;
    }
    return fill;
}

}  // namespace packgen
