#include "visuals/spectrum_box.h"

#include <QPaintEvent>
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
    steady_.start();
    clock_ = [this] { return static_cast<double>(steady_.nsecsElapsed()) / 1e6; };
    // The window may move to another screen: the rate is read again at each repaint.
    refreshRate_ = [this] {
        const QScreen* display = screen();
        return display != nullptr ? display->refreshRate() : 0.0;
    };
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
    // A repaint here and now, not a posted one: a posted repaint wakes the event loop once more
    // for every picture.
    if (waiting_ && (mode == PresentMode::Final || RepaintDue())) repaint();
}

bool SpectrumBox::RepaintDue() const {
    return !painted_ || clock_() >= nextDueMs_ - kPassJitterMs;
}

double SpectrumBox::RepaintIntervalMs() const {
    const qreal rate = refreshRate_ ? refreshRate_() : 0.0;
    return 1000.0 / (rate >= 1.0 ? std::min<qreal>(rate, kMaxPicturesPerSecond)
                                 : qreal{kMaxPicturesPerSecond});
}

void SpectrumBox::paintEvent(QPaintEvent* event) {
    const double now = clock_();
    const double interval = RepaintIntervalMs();
    // The next picture is due one interval after this one was due, not after it showed: on
    // 10 ms passes a 60 Hz screen then gets 60 pictures a second, not one every other pass.
    // A box that fell far behind (nothing changed for a while) starts afresh.
    nextDueMs_ = painted_ && now - nextDueMs_ < interval ? nextDueMs_ + interval : now + interval;
    painted_ = true;
    waiting_ = false;
    // One picture of the whole box, so a repaint is a single copy to the window.
    const QSize drawable = shown_.size().boundedTo(kSpectrumDrawableSize);
    const auto rowBytes = static_cast<std::size_t>(drawable.width()) * sizeof(QRgb);
    for (int y = 0; y < drawable.height(); ++y) {
        std::memcpy(framed_.scanLine(y + kSpectrumFrameWidth) + kSpectrumFrameWidth * sizeof(QRgb),
                    shown_.constScanLine(y), rowBytes);
    }
    if (!CopyIntoWindowImage(event->region())) QPainter(this).drawImage(0, 0, framed_);
}

bool SpectrumBox::CopyIntoWindowImage(const QRegion& region) {
    // While it paints, the widget draws into the window's backing store. When that is a plain
    // image, one pixel per pixel, copying the rows costs a good deal less than a painter's setup,
    // which would otherwise be most of a repaint.
    QPoint offset;
    QPaintDevice* device = redirected(&offset);
    if (device == nullptr || device->devType() != QInternal::Image) return false;
    auto& image = *static_cast<QImage*>(device);
    const QImage::Format format = image.format();
    if (image.devicePixelRatio() != 1.0 ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
         format != QImage::Format_ARGB32_Premultiplied))
        return false;  // the box's opaque pixels are valid as they stand in these three only
    // The painter would move every point by -offset into the image.
    const QRect inImage = image.rect().translated(offset);
    for (const QRect& dirty : region) {
        const QRect part = dirty.intersected(rect()).intersected(inImage);
        const auto rowBytes = static_cast<std::size_t>(part.width()) * sizeof(QRgb);
        for (int y = part.top(); y <= part.bottom(); ++y) {
            std::memcpy(image.scanLine(y - offset.y()) + (part.left() - offset.x()) * sizeof(QRgb),
                        framed_.constScanLine(y) + part.left() * sizeof(QRgb), rowBytes);
        }
    }
    return true;
}

}  // namespace hollowtide::visuals
