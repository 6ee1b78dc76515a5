#include "visuals/spectrum_box.h"

#include <QPainter>
#include <QScreen>

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
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setTimerType(Qt::PreciseTimer);
    connect(&repaintTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void SpectrumBox::Present(const QImage& picture) {
    // A pass that changed nothing (silence, bars at rest) needs no repaint; skipping it saves
    // the window system a hundred needless updates a second.
    if (picture == shown_) return;
    shown_ = picture;
    ScheduleRepaint();
}

void SpectrumBox::ScheduleRepaint() {
    const QScreen* display = screen();
    const qreal refreshRate =
        display && display->refreshRate() > 1.0 ? display->refreshRate() : 60.0;
    const auto refreshMs = static_cast<int>(1000.0 / refreshRate);
    if (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= refreshMs) {
        update();
    } else if (!repaintTimer_.isActive()) {
        // Normally the next pass repaints before this fires; it only matters for the last
        // picture of a run, such as the black box after Stop.
        repaintTimer_.start(refreshMs);
    }
}

void SpectrumBox::paintEvent(QPaintEvent*) {
    sinceRepaint_.start();
    repaintTimer_.stop();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QColor::fromRgb(kFrameColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect drawable(QPoint(kSpectrumFrameWidth, kSpectrumFrameWidth), kSpectrumDrawableSize);
    painter.drawImage(drawable.topLeft(), shown_, QRect(QPoint(0, 0), drawable.size()));
}

}  // namespace hollowtide::visuals
