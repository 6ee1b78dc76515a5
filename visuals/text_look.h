// How the program's labels look: the classic 8.25-point sans-serif of its windows (the bitmap
// face is absent on most desktops, so metric-compatible faces stand in) and text colours that
// labels take from their palette. UI thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;

namespace hollowtide::visuals {

// 8.25 pt at 96 dpi is 11 pixels.
QFont ClassicSansFont(bool bold = false);

void SetTextColour(QLabel* label, const QColor& colour);

// `font` narrowed or widened until one line of `text` is exactly `widthPixels` wide (or as close
// as it gets): a whole horizontal stretch near the one that fits, and a fraction of a pixel
// between letters for the rest. The stand-in faces are wider than the classic one, and some
// layouts were measured with it.
QFont FontFittedToWidth(QFont font, const QString& text, int widthPixels);

// The width one line of `text` takes in `font`, as a label sized to its text is laid out.
int TextWidth(const QFont& font, const QString& text);

}  // namespace hollowtide::visuals
