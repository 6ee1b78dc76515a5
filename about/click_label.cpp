#include "about/click_label.h"

#include <QMouseEvent>

namespace hollowtide::about {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    // Like a button: the click counts only if the pointer is still over the label.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace hollowtide::about
