#include "visuals/text_look.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

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
    const double ideal = 100.0 * widthPixels / natural;

    // Letter spacing comes in 1/64 pixel, which over a long line is several pixels: so the
    // stretches nearest the ideal one are tried in turn, each with the spacing that comes
    // closest, until one meets the width exactly.
    QFont best = font;
    int bestMiss = std::numeric_limits<int>::max();
    const int nearest = static_cast<int>(std::lround(ideal));
    for (int offset = 0; offset <= 4 && bestMiss != 0; ++offset) {
        for (const int stretch : {nearest - offset, nearest + offset}) {
            if (stretch < 1 || stretch > 4000 || (offset == 0 && stretch != nearest)) continue;
            QFont candidate = font;
            candidate.setStretch(stretch);
            int low = -64;
            int high = 64;
            while (low < high) {
                const int middle = low + (high - low) / 2;
                candidate.setLetterSpacing(QFont::AbsoluteSpacing, middle / 64.0);
                if (TextWidth(candidate, text) < widthPixels) {
                    low = middle + 1;
                } else {
                    high = middle;
                }
            }
            candidate.setLetterSpacing(QFont::AbsoluteSpacing, low / 64.0);
            const int miss = std::abs(TextWidth(candidate, text) - widthPixels);
            if (miss < bestMiss) {
                bestMiss = miss;
                best = candidate;
            }
            if (bestMiss == 0) break;
        }
    }
    return best;
}

}  // namespace hollowtide::visuals
