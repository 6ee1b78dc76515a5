#include "visuals/click_label.h"

#include <QMouseEvent>

namespace hollowtide::visuals {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
    // A button never hands its presses on to the window, so pressing it never drags the window.
    setAttribute(Qt::WA_NoMousePropagation);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) armed_ = true;
    event->accept();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    const bool click = armed_ && rect().contains(event->position().toPoint());
    armed_ = false;
    if (click) emit clicked();
}

}  // namespace hollowtide::visuals
