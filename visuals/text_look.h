// How the program's labels look: the classic 8.25-point sans-serif of its windows (the bitmap
// face is absent on most desktops, so metric-compatible faces stand in) and text colours that
// labels take from their palette. UI thread only.
#pragma once

#include <QColor>
#include <QFont>

class QLabel;

namespace hollowtide::visuals {

// 8.25 pt at 96 dpi is 11 pixels.
QFont ClassicSansFont(bool bold = false);

void SetTextColour(QLabel* label, const QColor& colour);

}  // namespace hollowtide::visuals
