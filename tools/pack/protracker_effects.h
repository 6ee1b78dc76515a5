// The ProTracker effect numbers, which MOD and XM patterns share.
#pragma once

#include "tools/pack/song.h"

namespace packgen {

struct ProTrackerEffect {
    unsigned command = 0;
    unsigned param = 0;
};

// The command and parameter a MOD or XM cell stores for `effect`; extended effects become Exy.
ProTrackerEffect ToProTracker(Effect effect, unsigned param);

}  // namespace packgen
