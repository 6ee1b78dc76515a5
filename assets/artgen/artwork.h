#pragma once

// One painter per image of the program. Each returns the finished picture at its exact size.

#include <QImage>

namespace artgen {

QImage IntroBanner();     // 474 x 234
QImage IntroButtons();    // 242 x 72
QImage ProgramIcon();     // 32 x 32
QImage MainBackground();  // 500 x 270
QImage ButtonBar();       // 416 x 26
QImage SpectrumBand();    // 2 x 50
QImage AboutLeft();       // 177 x 352
QImage AboutRight();      // 177 x 292
QImage HiddenCartoon();   // 208 x 147
QImage SpriteFlag();      // 13 x 11
QImage SpritePig();       // 8 x 12

// The launcher icon at `size` x `size` (16, 24, 32, 48, 64, 128 or 256), drawn for that size.
QImage HicolorIcon(int size);

inline constexpr int kHicolorSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace artgen
