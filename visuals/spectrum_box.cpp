#include "visuals/spectrum_box.h"

#include <QPainter>

#include "visuals/spectrum_analyser.h"

namespace hollowtide::visuals {

namespace {
constexpr QRgb kFrameColour = 0xFF404040;
}

SpectrumBox::SpectrumBox(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSpectrumBoxSize);
    // Pointer input goes to the window's surface underneath, which drags the window.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setEnabled(false);
    shown_ = QImage(kSpectrumDrawableSize, QImage::Format_RGB32);
    shown_.fill(Qt::black);
}

void SpectrumBox::Present(const QImage& picture) {
    shown_ = picture;
    update();
}

void SpectrumBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QColor::fromRgb(kFrameColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect drawable(QPoint(kSpectrumFrameWidth, kSpectrumFrameWidth), kSpectrumDrawableSize);
    painter.drawImage(drawable.topLeft(), shown_, QRect(QPoint(0, 0), drawable.size()));
}

}  // namespace hollowtide::visuals
