#include "about/about_surface.h"

#include <QPaintEvent>
#include <QPainter>

namespace hollowtide::about {

namespace {

const QColor kBubbleOutline(0x00, 0xFF, 0xFF);

// Outline and inside are painted in one go: a one-pixel pen and a black fill. The circle is
// placed on whole pixels, as the window surface measures in pixels; that also keeps Qt on its
// fast integer ellipse path instead of stroking a curve sixty times a second.
void PaintCircle(QPainter& painter, double x, double y, double radius, const QColor& outline) {
    painter.setPen(QPen(outline, 0));
    const int left = qRound(x - radius);
    const int top = qRound(y - radius);
    const int diameter = qRound(2 * radius);
    painter.drawEllipse(QRect(left, top, diameter, diameter));
}

QRect CircleBounds(double x, double y, double radius) {
    const double reach = radius + 2;  // the pen's half width and rounding, with room to spare
    return QRectF(x - reach, y - reach, 2 * reach, 2 * reach).toAlignedRect();
}

}  // namespace

AboutSurface::AboutSurface(QWidget* parent) : QWidget(parent) {
    setObjectName("Surface");
    setAttribute(Qt::WA_OpaquePaintEvent);  // the backing image covers every pixel
}

void AboutSurface::Clear() {
    if (backing_.size() != size()) backing_ = QImage(size(), QImage::Format_RGB32);
    backing_.fill(Qt::black);
    update();
}

void AboutSurface::DrawFrame(BubbleField& bubbles) {
    if (backing_.isNull()) return;
    QRect changed;  // all the bubbles share one narrow band, so one rectangle serves
    {
        QPainter painter(&backing_);
        painter.setBrush(Qt::black);
        auto circle = [&painter, &changed](QColor outline) {
            return [&painter, &changed, outline](double x, double y, double radius) {
                PaintCircle(painter, x, y, radius, outline);
                changed |= CircleBounds(x, y, radius);
            };
        };
        const BubbleCanvas canvas{circle(Qt::black), circle(kBubbleOutline)};
        bubbles.Frame(canvas);
    }
    update(changed & rect());
}

void AboutSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (backing_.isNull()) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    for (const QRect& area : event->region()) painter.drawImage(area.topLeft(), backing_, area);
}

}  // namespace hollowtide::about
