#include "visuals/window_drag.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "visuals/geometry.h"

namespace hollowtide::visuals {

QPoint DraggedWindowPos(QPoint windowPos, QPoint pointerInItem, QPoint grab) {
    return windowPos + (pointerInItem - grab);
}

void BlockDrag(QWidget* item) {
    item->setAttribute(Qt::WA_NoMousePropagation);
}

namespace {
QPoint WholePixels(const QMouseEvent* event) {
    const QPointF position = event->position();
    return {RoundHalfEven(position.x()), RoundHalfEven(position.y())};
}
}  // namespace

WindowDragger::WindowDragger(QWidget* window)
    : QObject(window),
      window_(window),
      useSystemMove_(QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {}

void WindowDragger::AddDragItem(QWidget* item) {
    item->setMouseTracking(true);
    item->installEventFilter(this);
}

void WindowDragger::SetAfterMoveHook(AfterMoveHook hook) {
    afterMove_ = std::move(hook);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:  // the second press of a double click
            Press(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            Move(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event));
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}

void WindowDragger::Press(QMouseEvent* event) {
    grab_ = WholePixels(event);
    systemMoveTried_ = false;
    systemMoving_ = false;
}

void WindowDragger::Move(QWidget* item, QMouseEvent* event) {
    if (event->buttons() == Qt::LeftButton) {
        if (useSystemMove_ && !systemMoveTried_) {
            systemMoveTried_ = true;
            QWindow* handle = window_->windowHandle();
            systemMoving_ = handle != nullptr && handle->startSystemMove();
        }
        if (!systemMoving_) {
            window_->move(DraggedWindowPos(window_->pos(), WholePixels(event), grab_));
        }
    }
    if (afterMove_) {
        afterMove_(item, event);
    }
}

}  // namespace hollowtide::visuals
