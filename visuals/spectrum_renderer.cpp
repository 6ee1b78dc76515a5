#include "visuals/spectrum_renderer.h"

#include <algorithm>

namespace hollowtide::visuals {

QImage MakeBandImage() {
    QImage band(kBandWidth, kBandHeight, QImage::Format_RGB32);
    for (int row = 0; row < kBandHeight; ++row) {
        const QRgb colour = row % 3 == 2 ? kBandBlack : kBandGrey;
        auto* line = reinterpret_cast<QRgb*>(band.scanLine(row));
        std::fill(line, line + kBandWidth, colour);
    }
    return band;
}

void RenderSpectrum(QImage& box, const QImage& band, const BarLevelArray& levels, int H) {
    if (box.format() != QImage::Format_RGB32) {
        box = box.convertToFormat(QImage::Format_RGB32);
    }
    const QImage source =
        band.format() == QImage::Format_RGB32 ? band : band.convertToFormat(QImage::Format_RGB32);
    box.fill(kBandBlack);

    // Source and destination rows coincide (both start at H - h), so a row is drawn only when it
    // exists in the box and in the band.
    const int lastRow = std::min({H, box.height(), source.height()}) - 1;
    const int copyWidth = std::min(kBarCopyWidth, source.width());
    for (int k = 0; k < kBarCount; ++k) {
        const int h = DrawnBarHeight(levels[k]);
        if (h <= 0) {
            continue;
        }
        const int x = kBarPitch * k;
        const int width = std::min(copyWidth, box.width() - x);
        if (width <= 0) {
            continue;
        }
        for (int row = std::max(0, H - h); row <= lastRow; ++row) {
            const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(row));
            auto* to = reinterpret_cast<QRgb*>(box.scanLine(row)) + x;
            std::copy(from, from + width, to);
        }
    }
}

}  // namespace hollowtide::visuals
