#include "visuals/spectrum_box.h"

#include <QBackingStore>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cstring>

namespace hollowtide::visuals {

namespace {
constexpr QRgb kFrameColour = 0xFF404040;
// Passes come on a 10 ms timer that may run a little late or early: a pass that comes up to
// this much before the next picture is due still shows it, so the pictures keep a steady pace.
constexpr int kPassJitterMs = 3;
// One pixel per pixel, in a format in which the box's opaque pixels are valid as they stand.
bool PlainPixels(const QImage& image) {
    const QImage::Format format = image.format();
    return image.devicePixelRatio() == 1.0 &&
           (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
            format == QImage::Format_ARGB32_Premultiplied);
}

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
    if (waiting_ && (mode == PresentMode::Final || RepaintDue())) {
        if (!PaintStraightToWindow()) repaint();
    }
}

bool SpectrumBox::PaintStraightToWindow() {
    // A repaint through the widget machinery costs about twice the copy and the flush it ends
    // in, sixty times a second. The box is opaque and lies on top, so its pixels can go
    // straight into the window's backing store and out to the screen.
    if (!isVisible() || !updatesEnabled() || CoveredOrClipped()) return false;
    QWidget* top = window();
    QBackingStore* store = top->backingStore();
    QWindow* handle = top->windowHandle();
    if (store == nullptr || handle == nullptr || !handle->isExposed()) return false;
    const QRect inTop(mapTo(top, QPoint(0, 0)), size());
    const QRegion region(inTop);
    store->beginPaint(region);
    QPaintDevice* device = store->paintDevice();
    auto* image = device != nullptr && device->devType() == QInternal::Image
                      ? static_cast<QImage*>(device)
                      : nullptr;
    if (image == nullptr || !PlainPixels(*image) || !image->rect().contains(inTop)) {
        store->endPaint();
        return false;
    }
    MarkPainted();
    UpdateFramed();
    CopyFramedPart(*image, rect(), inTop.topLeft());
    store->endPaint();
    store->flush(region, handle);
    return true;
}

bool SpectrumBox::CoveredOrClipped() const {
    // Siblings stacked above the box (later children) and any ancestor's edge.
    const QWidget* widget = this;
    QRect area = rect();
    for (const QWidget* parent = parentWidget(); parent != nullptr;
         widget = parent, parent = parent->parentWidget()) {
        area.translate(widget->pos());
        if (!parent->rect().contains(area)) return true;
        const QObjectList& siblings = parent->children();
        for (auto it = siblings.begin() + siblings.indexOf(widget) + 1; it != siblings.end();
             ++it) {
            const auto* sibling = qobject_cast<const QWidget*>(*it);
            if (sibling != nullptr && sibling->isVisible() && !sibling->isWindow() &&
                sibling->geometry().intersects(area))
                return true;
        }
        if (parent->isWindow()) break;
    }
    return false;
}

bool SpectrumBox::RepaintDue() const {
    return !painted_ || clock_() >= nextDueMs_ - kPassJitterMs;
}

double SpectrumBox::RepaintIntervalMs() const {
    const qreal rate = refreshRate_ ? refreshRate_() : 0.0;
    return 1000.0 / (rate >= 1.0 ? std::min<qreal>(rate, kMaxPicturesPerSecond)
                                 : qreal{kMaxPicturesPerSecond});
}

void SpectrumBox::MarkPainted() {
    const double now = clock_();
    const double interval = RepaintIntervalMs();
    // The next picture is due one interval after this one was due, not after it showed: on
    // 10 ms passes a 60 Hz screen then gets 60 pictures a second, not one every other pass.
    // A box that fell far behind (nothing changed for a while) starts afresh.
    nextDueMs_ = painted_ && now - nextDueMs_ < interval ? nextDueMs_ + interval : now + interval;
    painted_ = true;
    waiting_ = false;
    PictureShown();
}

void SpectrumBox::UpdateFramed() {
    const QSize drawable = shown_.size().boundedTo(kSpectrumDrawableSize);
    const auto rowBytes = static_cast<std::size_t>(drawable.width()) * sizeof(QRgb);
    for (int y = 0; y < drawable.height(); ++y) {
        std::memcpy(framed_.scanLine(y + kSpectrumFrameWidth) + kSpectrumFrameWidth * sizeof(QRgb),
                    shown_.constScanLine(y), rowBytes);
    }
}

void SpectrumBox::paintEvent(QPaintEvent* event) {
    MarkPainted();
    UpdateFramed();
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
    if (!PlainPixels(image)) return false;
    // The painter would move every point by -offset into the image.
    const QRect inImage = image.rect().translated(offset);
    for (const QRect& dirty : region) {
        CopyFramedPart(image, dirty.intersected(rect()).intersected(inImage), -offset);
    }
    return true;
}

void SpectrumBox::CopyFramedPart(QImage& image, const QRect& part, QPoint boxInImage) const {
    const auto rowBytes = static_cast<std::size_t>(part.width()) * sizeof(QRgb);
    for (int y = part.top(); y <= part.bottom(); ++y) {
        std::memcpy(
            image.scanLine(y + boxInImage.y()) + (part.left() + boxInImage.x()) * sizeof(QRgb),
            framed_.constScanLine(y) + part.left() * sizeof(QRgb), rowBytes);
    }
}

}  // namespace hollowtide::visuals
