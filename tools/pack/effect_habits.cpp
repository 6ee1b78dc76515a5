#include "tools/pack/effect_habits.h"

#include <array>
#include <cstddef>

namespace packgen {

const EffectHabits& HabitsOf(int musician) {
    // delays, offsets, trills, falls, bass slides; in the order of the musicians in persona.cpp.
    static constexpr std::array<EffectHabits, 16> kHabits = {{
        {5, 0, 35, 10, 0},     // ANCHORBYTE: chip flutters
        {30, 25, 0, 30, 25},   // BRINEWORM: lazy dub pushes, falling keys, sliding bass
        {10, 40, 0, 5, 15},    // CORALSYNC: re-struck plucks
        {25, 20, 10, 15, 0},   // DuskMoth: drifting bells
        {35, 0, 5, 20, 20},    // EELGRASS: late and lazy
        {0, 0, 0, 35, 30},     // FATHOM8: bends and slides, heavy
        {15, 30, 10, 5, 0},    // GULLWING: picked strings
        {5, 0, 30, 0, 0},      // HARPOONIE: accordion ornaments
        {0, 0, 45, 15, 10},    // KELPFRAME: cracktro arpeggios
        {25, 10, 0, 25, 35},   // LUGWORM: funk pushes and slides
        {0, 25, 20, 0, 0},     // MARLSPIKE: baroque ornaments on a harpsichord
        {15, 15, 20, 20, 20},  // NAUTILOID: a little of everything
        {20, 25, 0, 10, 0},    // PEARLDVR: soft late bells
        {10, 0, 5, 15, 10},    // SALTMARSH: pastoral sighs
        {0, 0, 10, 30, 25},    // UNDERTOW: driving bends
        {10, 0, 15, 20, 5},    // WRACKLINE: nostalgic falls
    }};
    return kHabits[static_cast<std::size_t>(musician) % kHabits.size()];
}

}  // namespace packgen
