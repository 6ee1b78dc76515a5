#include "visuals/cached_text_label.h"

#include <QPaintEvent>
#include <QPainter>

namespace hollowtide::visuals {

namespace {
constexpr std::size_t kMostColours = 8;
}

const QPixmap& CachedTextLabel::DrawnFor(const QColor& colour) {
    const qreal ratio = devicePixelRatioF();
    if (drawnText_ != text() || drawnFont_ != font() || drawnSize_ != size() ||
        drawnRatio_ != ratio || drawn_.size() >= kMostColours) {
        drawn_.clear();
        drawnText_ = text();
        drawnFont_ = font();
        drawnSize_ = size();
        drawnRatio_ = ratio;
    }
    for (const Drawn& drawn : drawn_) {
        if (drawn.colour == colour) return drawn.pixmap;
    }
    QPixmap pixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setFont(font());
    painter.setPen(colour);
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
    painter.end();
    drawn_.push_back({colour, pixmap});
    return drawn_.back().pixmap;
}

void CachedTextLabel::paintEvent(QPaintEvent* event) {
    const QPixmap& pixmap = DrawnFor(palette().color(QPalette::WindowText));
    QPainter painter(this);
    const QRect exposed = event->rect();
    const qreal ratio = pixmap.devicePixelRatio();
    painter.drawPixmap(exposed, pixmap,
                       QRectF(exposed.topLeft() * ratio, exposed.size() * ratio).toRect());
}

}  // namespace hollowtide::visuals
