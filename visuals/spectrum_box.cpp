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
    lastPicture_.setSingleShot(true);
    connect(&lastPicture_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void SpectrumBox::Present(const QImage& picture) {
    // A pass that changed nothing (silence, bars at rest) needs no repaint; skipping it saves
    // the window system a hundred needless updates a second.
    if (picture == shown_) return;
    shown_ = picture;
    ScheduleRepaint();
}

void SpectrumBox::ScheduleRepaint() {
    // The screen cannot show more pictures than it refreshes: a pass that comes sooner only
    // replaces the picture that a later pass repaints. Passes come every 10 ms, so the next
    // one is never far; a timer shows the picture only when none follows (the black box after
    // Stop). It fires only then: each pass puts it off again.
    if (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= RefreshMilliseconds()) {
        lastPicture_.stop();
        update();
    } else {
        lastPicture_.start(kLastPictureMs);
    }
}

int SpectrumBox::RefreshMilliseconds() const {
    const QScreen* display = screen();
    const qreal refreshRate =
        display && display->refreshRate() > 1.0 ? display->refreshRate() : 60.0;
    return static_cast<int>(1000.0 / refreshRate);
}

void SpectrumBox::paintEvent(QPaintEvent*) {
    sinceRepaint_.start();
    lastPicture_.stop();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QColor::fromRgb(kFrameColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect drawable(QPoint(kSpectrumFrameWidth, kSpectrumFrameWidth), kSpectrumDrawableSize);
    painter.drawImage(drawable.topLeft(), shown_, QRect(QPoint(0, 0), drawable.size()));
}

}  // namespace hollowtide::visuals
