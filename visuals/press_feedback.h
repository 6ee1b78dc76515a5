// Press feedback of the main window's text buttons (`lbl_NEXT`, `lbl_prev`, `Label2`,
// `lblRandom`): a press with any button turns the text cyan, a release (even outside the label)
// turns it white again. Captions, sizes and positions are not touched.
#pragma once

#include <QColor>

class QLabel;

namespace hollowtide::visuals {

inline constexpr QRgb kPressedTextColour = 0xFF00FFFF;
inline constexpr QRgb kNormalTextColour = 0xFFFFFFFF;

// Installs the feedback on `label` (through the palette's WindowText colour, which starts
// white) and blocks its presses from dragging the window. The label's own handlers and event
// filters still see every event, so its click action can run on release.
void InstallPressFeedback(QLabel* label);

}  // namespace hollowtide::visuals
