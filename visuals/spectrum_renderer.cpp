#include "visuals/spectrum_renderer.h"

#include <algorithm>
#include <array>

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
    // exists in the box and in the band. Row by row, each bar's few pixels are plain stores: a
    // copy call per bar and row cost more than the pixels it copied.
    const int lastRow = std::min({H, box.height(), source.height()}) - 1;
    const int copyWidth = std::min(kBarCopyWidth, source.width());
    std::array<int, kBarCount> firstRow{};
    std::array<int, kBarCount> width{};
    for (int k = 0; k < kBarCount; ++k) {
        const int h = DrawnBarHeight(levels[k]);
        width[k] = h > 0 ? std::clamp(box.width() - kBarPitch * k, 0, copyWidth) : 0;
        firstRow[k] = std::max(0, H - h);
    }
    uchar* const bits = box.bits();  // detached once, not once per row
    const qsizetype stride = box.bytesPerLine();
    for (int row = 0; row <= lastRow; ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(row));
        auto* to = reinterpret_cast<QRgb*>(bits + row * stride);
        for (int k = 0; k < kBarCount; ++k) {
            if (row < firstRow[k]) continue;
            QRgb* bar = to + kBarPitch * k;
            for (int x = 0; x < width[k]; ++x) bar[x] = from[x];
        }
    }
}

}  // namespace hollowtide::visuals
