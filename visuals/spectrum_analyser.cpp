#include "visuals/spectrum_analyser.h"

#include <utility>

#include "visuals/spectrum_renderer.h"

namespace hollowtide::visuals {

SpectrumAnalyser::SpectrumAnalyser(SpectrumSource source, QSize drawableSize)
    : source_(std::move(source)),
      band_(MakeBandImage()),
      offscreen_(drawableSize, QImage::Format_RGB32) {
    offscreen_.fill(kBandBlack);
    presented_ = offscreen_.copy();
}

void SpectrumAnalyser::SetPresenter(std::function<void(const QImage&)> presenter) {
    presenter_ = std::move(presenter);
}

void SpectrumAnalyser::DrawSpectrum(DWORD musicHandle) {
    if (!source_ || source_(musicHandle, buffer_, BASS_DATA_FFT512) <= 0) {
        return;  // nothing to draw: the last picture stays
    }
    const int H = offscreen_.height();
    UpdateBarLevels(BarLevels, buffer_, H);
    RenderSpectrum(offscreen_, band_, BarLevels, H);
    Present();
}

void SpectrumAnalyser::Clear() {
    offscreen_.fill(kBandBlack);
    Present();
}

void SpectrumAnalyser::Present() {
    // A deep copy keeps the next pass's drawing off the picture on show.
    presented_ = offscreen_.copy();
    ++presentCount_;
    if (presenter_) {
        presenter_(presented_);
    }
}

}  // namespace hollowtide::visuals
