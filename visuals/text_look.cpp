#include "visuals/text_look.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace hollowtide::visuals {

QFont ClassicSansFont(bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

int TextWidth(const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text);
}

QFont FontFittedToWidth(QFont font, const QString& text, int widthPixels) {
    if (text.isEmpty() || widthPixels <= 0) return font;
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    const int natural = TextWidth(font, text);
    if (natural <= 0) return font;
    const int stretch =
        std::clamp(static_cast<int>(std::lround(100.0 * widthPixels / natural)), 1, 4000);
    font.setStretch(stretch);

    // Letter spacing is kept in 1/64 pixel, so a search over those steps meets the width
    // exactly unless the face cannot get there within a pixel a letter.
    int low = -64;
    int high = 64;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        font.setLetterSpacing(QFont::AbsoluteSpacing, middle / 64.0);
        if (TextWidth(font, text) < widthPixels) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    font.setLetterSpacing(QFont::AbsoluteSpacing, low / 64.0);
    return font;
}

}  // namespace hollowtide::visuals
