#include "tools/pack/harmony.h"

#include <cstddef>
#include <cstdlib>

#include "tools/pack/song.h"

namespace packgen {

namespace {

// Per-mode tables hold one entry per Mode, in the order Mode declares them.
constexpr std::size_t kModeCount = 7;
static_assert(static_cast<std::size_t>(Mode::Phrygian) == kModeCount - 1);

template <typename T>
const T& ForMode(const std::array<T, kModeCount>& table, Mode mode) {
    return table[static_cast<std::size_t>(mode)];
}

using Steps = std::array<int, 7>;

const Steps& StepsOf(Mode mode) {
    static constexpr std::array<Steps, kModeCount> kSteps = {{
        {0, 2, 4, 5, 7, 9, 11},  // major
        {0, 2, 3, 5, 7, 8, 10},  // minor
        {0, 2, 3, 5, 7, 9, 10},  // dorian
        {0, 2, 4, 5, 7, 9, 10},  // mixolydian
        {0, 2, 3, 5, 7, 8, 11},  // harmonic minor
        {0, 2, 4, 6, 7, 9, 11},  // lydian
        {0, 1, 3, 5, 7, 8, 10},  // phrygian
    }};
    return ForMode(kSteps, mode);
}

int FloorDiv(int value, int divisor) {
    int quotient = value / divisor;
    if (value % divisor != 0 && (value < 0) != (divisor < 0)) --quotient;
    return quotient;
}

int Mod7(int degree) {
    return degree - 7 * FloorDiv(degree, 7);
}

int Mod12(int semitones) {
    return semitones - 12 * FloorDiv(semitones, 12);
}

}  // namespace

int Key::semitonesOf(int degree) const {
    return StepsOf(mode)[static_cast<std::size_t>(Mod7(degree))];
}

int Key::pitchOf(int degree, int octaveBase) const {
    return octaveBase + tonic + 12 * FloorDiv(degree, 7) + semitonesOf(degree);
}

int Key::pitchFrom(int degree, int low) const {
    const int pitch = pitchOf(degree, kMiddleC);
    return low + Mod12(pitch - low);
}

Chord TriadOn(const Key& key, int degree) {
    const int root = key.pitchOf(degree, 0);
    Chord chord;
    chord.rootDegree = Mod7(degree);
    chord.third = key.pitchOf(degree + 2, 0) - root;
    chord.fifth = key.pitchOf(degree + 4, 0) - root;
    return chord;
}

bool IsChordTone(const Chord& chord, int degree) {
    const int offset = Mod7(degree - chord.rootDegree);
    return offset == 0 || offset == 2 || offset == 4;
}

int NearestChordTone(const Chord& chord, int degree) {
    for (int distance = 0; distance < 4; ++distance) {
        if (IsChordTone(chord, degree - distance)) return degree - distance;
        if (IsChordTone(chord, degree + distance)) return degree + distance;
    }
    return degree;
}

const std::vector<Progression>& MainProgressions(Mode mode) {
    static const std::vector<Progression> kMajor = {
        {0, 4, 5, 3}, {0, 5, 3, 4}, {0, 3, 4, 4}, {0, 3, 1, 4}, {5, 3, 0, 4},
        {0, 2, 3, 4}, {0, 3, 5, 4}, {0, 5, 1, 4}, {0, 0, 3, 4}, {3, 0, 4, 5},
    };
    static const std::vector<Progression> kMinor = {
        {0, 5, 6, 0}, {0, 6, 5, 6}, {0, 5, 2, 6}, {0, 3, 6, 2},
        {0, 3, 5, 6}, {5, 6, 0, 0}, {0, 2, 5, 6}, {0, 6, 3, 5},
    };
    static const std::vector<Progression> kDorian = {
        {0, 3, 0, 3}, {0, 6, 3, 0}, {0, 1, 0, 6}, {0, 3, 6, 3}, {0, 4, 3, 6}};
    static const std::vector<Progression> kMixolydian = {
        {0, 6, 3, 0}, {0, 6, 0, 3}, {0, 4, 6, 3}, {0, 3, 6, 0}};
    static const std::vector<Progression> kHarmonicMinor = {
        {0, 3, 4, 0}, {0, 5, 3, 4}, {0, 5, 1, 4}, {0, 3, 5, 4}};
    static const std::vector<Progression> kLydian = {
        {0, 1, 0, 1}, {0, 1, 2, 1}, {0, 4, 1, 0}, {0, 1, 5, 4}};
    static const std::vector<Progression> kPhrygian = {{0, 1, 0, 6}, {0, 1, 6, 0}, {0, 6, 5, 1}};
    static const std::array<const std::vector<Progression>*, kModeCount> kByMode = {
        &kMajor, &kMinor, &kDorian, &kMixolydian, &kHarmonicMinor, &kLydian, &kPhrygian};
    return *ForMode(kByMode, mode);
}

const std::vector<Progression>& BridgeProgressions(Mode mode) {
    static const std::vector<Progression> kBright = {
        {3, 4, 5, 4}, {5, 3, 1, 4}, {3, 3, 4, 4}, {1, 4, 2, 5}};
    static const std::vector<Progression> kDark = {
        {5, 3, 6, 4}, {3, 5, 6, 6}, {2, 5, 3, 4}, {5, 6, 3, 4}};
    switch (mode) {
        case Mode::Major:
        case Mode::Mixolydian:
        case Mode::Lydian:
            return kBright;
        default:
            return kDark;
    }
}

}  // namespace packgen
