// The spectrum analyser of the main window: the bar levels, the off-screen picture, and one
// pass (`DrawSpectrum`) that asks the engine for the spectrum and presents the new picture once.
//
// Threading: UI thread only. The window owns one SpectrumAnalyser for its whole life, so
// `BarLevels` survive Stop, Play and song changes.
//
// Wiring in a window (Timer3 is the window's 10 ms QTimer):
//     SpectrumBox* picWinamp = new SpectrumBox(this);         // at (382, 55), 104 x 34
//     SpectrumAnalyser analyser;                              // a member of the window
//     analyser.SetPresenter([picWinamp](const QImage& picture, PresentMode mode) {
//         picWinamp->Present(picture, mode);
//     });
//     connect(Timer3, &QTimer::timeout, [this] { analyser.DrawSpectrum(MusicHandle); });
//     Stop: Timer3->stop(); analyser.Clear();
#pragma once

#include <QImage>
#include <QSize>
#include <array>
#include <cstdint>
#include <functional>

#include "audio/bass.h"
#include "visuals/spectrum_levels.h"

namespace hollowtide::visuals {

// Fills `buffer` (kSpectrumBufferSize floats) with spectrum magnitudes for `handle` given the
// length word BASS_DATA_FFT512; returns > 0 when it did, 0 or less when there is nothing.
using SpectrumSource = std::function<std::int32_t(DWORD handle, float* buffer, DWORD length)>;

// The engine's BASS_ChannelGetData. Kept in its own file so code that never uses it (tests with
// a fake source) does not need the engine linked.
SpectrumSource EngineSpectrumSource();

// What a pass tells the box besides the picture: whether the picture is new, and whether it
// must be shown without waiting for the next pass (Clear's black picture: no pass follows).
enum class PresentMode { Unchanged, Changed, Final };

// Drawable area of the analyser box inside its 1-pixel frame: 102 x 32, so H = 32.
inline constexpr QSize kSpectrumBoxSize{104, 34};
inline constexpr int kSpectrumFrameWidth = 1;
inline constexpr QSize kSpectrumDrawableSize{102, 32};

class SpectrumAnalyser {
  public:
    explicit SpectrumAnalyser(SpectrumSource source = EngineSpectrumSource(),
                              QSize drawableSize = kSpectrumDrawableSize);

    // One pass: request the spectrum of `musicHandle`; on a result of 0 or below stop at once
    // (picture and levels untouched, nothing presented); otherwise clear, read H, update the
    // levels, draw every bar off-screen and present the picture once.
    void DrawSpectrum(DWORD musicHandle);

    // Stop: the picture becomes black and is presented; the levels are kept.
    void Clear();

    // Receives the picture on show once per pass, saying whether the pass changed it, and
    // Clear's black picture as the final one.
    using Presenter = std::function<void(const QImage&, PresentMode)>;
    void SetPresenter(Presenter presenter);

    // The picture last presented (black before the first pass).
    const QImage& Picture() const { return presented_; }
    int PresentCount() const { return presentCount_; }

    // One level per bar, index 0 = leftmost bar = bin 1. Start at 0; nothing but a pass
    // changes them.
    BarLevelArray BarLevels{};

  private:
    // Counts the pass's presentation and hands the picture on show to the presenter.
    void Present(PresentMode mode);

    SpectrumSource source_;
    Presenter presenter_;
    QImage band_;       // picWinAmpBand's picture
    QImage offscreen_;  // drawn into during a pass
    QImage presented_;
    std::array<int, kBarCount> shownRows_{};  // rows of each bar in the picture on show
    int presentCount_ = 0;
    float buffer_[kSpectrumBufferSize] = {};
};

}  // namespace hollowtide::visuals
