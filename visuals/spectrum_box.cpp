#include "visuals/spectrum_box.h"

#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstring>

namespace hollowtide::visuals {

namespace {
constexpr QRgb kFrameColour = 0xFF404040;
// Passes come on a 10 ms timer that may run a little late or early: a pass that comes up to
// this much before the next picture is due still shows it, so the pictures keep a steady pace.
constexpr int kPassJitterMs = 3;
}  // namespace

SpectrumBox::SpectrumBox(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSpectrumBoxSize);
    // Pointer input goes to the window's surface underneath, which drags the window.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setEnabled(false);
    shown_ = QImage(kSpectrumDrawableSize, QImage::Format_RGB32);
    shown_.fill(Qt::black);
    framed_ = QImage(kSpectrumBoxSize, QImage::Format_RGB32);
    framed_.fill(kFrameColour);
    QPainter(&framed_).fillRect(
        QRect(QPoint(kSpectrumFrameWidth, kSpectrumFrameWidth), kSpectrumDrawableSize), Qt::black);
}

void SpectrumBox::Present(const QImage& picture, PresentMode mode) {
    if (mode != PresentMode::Unchanged) {
        shown_ = picture.format() == QImage::Format_RGB32
                     ? picture
                     : picture.convertToFormat(QImage::Format_RGB32);
        waiting_ = true;
    }
    if (waiting_ && (mode == PresentMode::Final || RepaintDue())) update();
}

bool SpectrumBox::RepaintDue() const {
    return !sinceRepaint_.isValid() ||
           sinceRepaint_.elapsed() >= repaintIntervalMs_ - kPassJitterMs;
}

void SpectrumBox::paintEvent(QPaintEvent*) {
    sinceRepaint_.start();
    waiting_ = false;
    // The window may have moved to another screen since the last repaint.
    const QScreen* display = screen();
    const qreal refreshRate =
        display && display->refreshRate() > 1.0 ? display->refreshRate() : kPicturesPerSecond;
    repaintIntervalMs_ = 1000.0 / std::min<qreal>(refreshRate, kPicturesPerSecond);
    // One picture of the whole box, so a repaint is a single copy to the window.
    const QSize drawable = shown_.size().boundedTo(kSpectrumDrawableSize);
    const auto rowBytes = static_cast<std::size_t>(drawable.width()) * sizeof(QRgb);
    for (int y = 0; y < drawable.height(); ++y) {
        std::memcpy(framed_.scanLine(y + kSpectrumFrameWidth) + kSpectrumFrameWidth * sizeof(QRgb),
                    shown_.constScanLine(y), rowBytes);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, framed_);
}

}  // namespace hollowtide::visuals
