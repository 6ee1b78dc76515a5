// The looks of frm_MAIN that are not controls: its font, colours, frame, and the shapes and lines
// painted on its surface.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QSize>

class QPainter;
class QPixmap;

namespace hollowtide::player {

// The window's frame around its 504 x 300 client area.
inline constexpr int kFramePixels = 1;
inline constexpr QSize kClientSize{504, 300};
inline constexpr QRgb kWindowFrameColour = 0xFF808080;

inline constexpr QRgb kTitleBoxColour = 0xFF0000FF;  // Picture3
inline constexpr QRgb kStripColour = 0xFF8080FF;     // Shape4

// The labels' font: the platform's 8.25-point sans-serif at 96 dpi, 11 pixels.
QFont LabelFont();

// `base` with white window text (labels draw on a transparent background).
QPalette WhiteTextPalette(QPalette base);

// Paints the surface's pictures, shapes and lines back to front, in client coordinates: the
// background picture, the button bar (Image1's picture), the top strip, the frame, the
// title-bar buttons' boxes and marks, the spectrum frame and its stand, and the grooves beside
// the button bar. Either pixmap may be null (missing artwork), and is then left out.
void PaintSurface(QPainter& painter, const QPixmap& background, const QPixmap& buttonBar);

}  // namespace hollowtide::player
