#include "player/main_window_look.h"

#include "visuals/text_look.h"

#include <QPainter>
#include <QPixmap>

#include "visuals/geometry.h"

namespace hollowtide::player {
namespace {

using visuals::TwipsPoint;
using visuals::TwipsRect;

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kLightGrey = 0xFFE0E0E0;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kSilver = 0xFFC0C0C0;
constexpr QRgb kDefaultLine = 0xFF000000;

// An outlined rectangle whose 1-pixel border lies inside its box.
void Outline(QPainter& painter, QRgb colour, int left, int top, int width, int height) {
    const QRect box = TwipsRect(left, top, width, height);
    painter.setPen(QColor(colour));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

void Line(QPainter& painter, QRgb colour, int x1, int y1, int x2, int y2) {
    painter.setPen(QColor(colour));
    painter.drawLine(TwipsPoint(x1, y1), TwipsPoint(x2, y2));
}

// A line drawn the way the window system of the layout draws one: from its first point up to,
// but not including, its last. Only straight lines (upright, flat or at 45 degrees) use it.
void LineWithoutLastPoint(QPainter& painter, QRgb colour, int x1, int y1, int x2, int y2) {
    const QPoint from = TwipsPoint(x1, y1);
    const QPoint to = TwipsPoint(x2, y2);
    if (from == to) return;
    const auto sign = [](int value) { return (value > 0) - (value < 0); };
    const QPoint step(sign(to.x() - from.x()), sign(to.y() - from.y()));
    painter.setPen(QColor(colour));
    painter.drawLine(from, to - step);
}

}  // namespace

QFont LabelFont() {
    return visuals::ClassicSansFont();
}

QPalette WhiteTextPalette(QPalette base) {
    base.setColor(QPalette::WindowText, Qt::white);
    return base;
}

void PaintSurface(QPainter& painter, const QPixmap& background, const QPixmap& buttonBar) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (!background.isNull()) painter.drawPixmap(0, 0, background);

    // Back to front, as the layout stacks them.
    if (!buttonBar.isNull()) painter.drawPixmap(TwipsRect(690, 3840, 6240, 390), buttonBar);

    const QRect strip = TwipsRect(60, 90, 7455, 315);  // Shape4
    painter.setPen(QColor(kDefaultLine));
    painter.setBrush(QColor(kStripColour));
    painter.drawRect(strip.adjusted(0, 0, -1, -1));

    Outline(painter, kLightGrey, 0, 0, 7560, 4485);  // Shape1
    Outline(painter, kWhite, 7230, 150, 225, 195);   // Shape2: Exit
    Outline(painter, kWhite, 6960, 150, 225, 195);   // Shape3: Minimize
    Line(painter, kWhite, 7005, 270, 7135, 270);     // Line1: Minimize's bar
    Line(painter, kWhite, 7230, 330, 7440, 150);     // Line2: Exit's diagonal

    // Shape5: the spectrum screen's frame, with curved corners.
    painter.setPen(QColor(kSilver));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(TwipsRect(5610, 720, 1785, 705).adjusted(0, 0, -1, -1), 6, 6);

    Line(painter, kWhite, 6810, 1920, 6285, 1410);        // Line3
    Line(painter, kWhite, 6525, 1410, 6840, 1935);        // Line4
    Line(painter, kDefaultLine, 6315, 1410, 6525, 1410);  // Line5

    Line(painter, kLightGrey, 795, 4020, 0, 4020);      // Line6
    Line(painter, kGrey, 795, 4065, 0, 4065);           // Line7
    Line(painter, kGrey, 7530, 4065, 6780, 4065);       // Line8
    Line(painter, kLightGrey, 7530, 4020, 6780, 4020);  // Line9

    Outline(painter, kWhite, 6675, 150, 225, 195);  // Shape6: About's box
    // The exclamation mark: its stroke ends where its dot begins, so both lines leave out their
    // last point, or they would join into a bar.
    LineWithoutLastPoint(painter, kWhite, 6780, 180, 6780, 270);  // Line10: the stroke
    LineWithoutLastPoint(painter, kWhite, 6780, 300, 6780, 280);  // Line11: the dot
}

}  // namespace hollowtide::player
