#include "app/marquee.h"

namespace hollowtide {

QColor MarqueeColourCycle::Tick() {
    switch (ColourStep) {
        case 1:
            ColourStep = 2;
            return QColor(0, 255, 255);
        case 2:
            ColourStep = 3;
            return QColor(255, 0, 0);
        case 3:
            ColourStep = 1;
            return QColor(255, 255, 255);
        default:
            return {};
    }
}

}  // namespace hollowtide
