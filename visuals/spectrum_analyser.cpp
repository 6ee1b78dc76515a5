#include "visuals/spectrum_analyser.h"

#include <algorithm>
#include <utility>

#include "visuals/spectrum_renderer.h"

namespace hollowtide::visuals {

SpectrumAnalyser::SpectrumAnalyser(SpectrumSource source, QSize drawableSize)
    : source_(std::move(source)),
      band_(MakeBandImage()),
      offscreen_(drawableSize, QImage::Format_RGB32),
      presented_(drawableSize, QImage::Format_RGB32) {
    offscreen_.fill(kBandBlack);
    presented_.fill(kBandBlack);
}

void SpectrumAnalyser::SetPresenter(Presenter presenter) {
    presenter_ = std::move(presenter);
}

void SpectrumAnalyser::DrawSpectrum(DWORD musicHandle) {
    if (!source_ || source_(musicHandle, buffer_, BASS_DATA_FFT512) <= 0) {
        return;  // nothing to draw: the last picture stays
    }
    const int H = offscreen_.height();
    UpdateBarLevels(BarLevels, buffer_, H);
    // The picture depends only on how many rows of each bar lie inside the box: when none
    // changed, the picture on show is already this pass's.
    std::array<int, kBarCount> rows{};
    for (int k = 0; k < kBarCount; ++k) rows[k] = std::clamp(DrawnBarHeight(BarLevels[k]), 0, H);
    if (rows == shownRows_) {
        Present(PresentMode::Unchanged);
        return;
    }
    RenderSpectrum(offscreen_, band_, BarLevels, H);
    shownRows_ = rows;
    Present(PresentMode::Changed);
}

void SpectrumAnalyser::Clear() {
    offscreen_.fill(kBandBlack);
    shownRows_.fill(0);
    Present(PresentMode::Final);
}

void SpectrumAnalyser::Present(PresentMode mode) {
    ++presentCount_;
    // The two pictures take turns: the one just drawn goes on show, and the next pass draws
    // into the other, which nobody else holds, so no picture is copied.
    if (mode != PresentMode::Unchanged) std::swap(presented_, offscreen_);
    // Unchanged passes reach the box too: a picture it held back shows on the next of them.
    if (presenter_) presenter_(presented_, mode);
}

}  // namespace hollowtide::visuals
