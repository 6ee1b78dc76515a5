#include "about/about_shapes.h"

#include <QPainter>

namespace hollowtide::about {

namespace {

// A rectangle outline whose border lies inside the given bounds.
void DrawFrame(QPainter& painter, const QRect& bounds, int width) {
    painter.fillRect(bounds.left(), bounds.top(), bounds.width(), width, Qt::white);
    painter.fillRect(bounds.left(), bounds.bottom() - width + 1, bounds.width(), width, Qt::white);
    painter.fillRect(bounds.left(), bounds.top(), width, bounds.height(), Qt::white);
    painter.fillRect(bounds.right() - width + 1, bounds.top(), width, bounds.height(), Qt::white);
}

}  // namespace

AboutShapes::AboutShapes(QWidget* parent) : QWidget(parent) {
    setObjectName("Shapes");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void AboutShapes::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Shape1: top and bottom edges fall outside the window, leaving two bars beside the band.
    DrawFrame(painter, QRect(190, -6, 80, 350), 5);
    DrawFrame(painter, QRect(447, 3, 15, 13), 1);   // Shape2, the close box
    DrawFrame(painter, QRect(6, 307, 175, 21), 1);  // Shape3, round "Click here"
    painter.setPen(QPen(Qt::white, 1));
    painter.drawLine(447, 15, 461, 3);  // Line2, the close box's diagonal
}

}  // namespace hollowtide::about
