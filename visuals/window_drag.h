// Dragging of the frameless windows: a press on a drag item (any button) stores the grab point
// `GrabX`, `GrabY` relative to the item; a move with exactly the left button held moves the
// window by (x - GrabX, y - GrabY), so the grabbed point stays under the pointer.
//
// On Wayland, where a client cannot place its own window, the first left-only move of each
// press hands the drag to the compositor with QWindow::startSystemMove(); elsewhere (X11,
// offscreen, and whenever startSystemMove() refuses) the arithmetic moves the window.
//
// Items that must never drag (text buttons, hot spots, the title strip, marquee, labels...)
// are marked with `BlockDrag`, so their presses do not fall through to the window's surface.
// Drawn shapes and lines should be painted on the surface or be transparent for mouse events,
// so presses on them reach the surface. The spectrum box already is transparent.
//
// Threading: UI thread only.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QMouseEvent;
class QWidget;

namespace hollowtide::visuals {

// Where the window goes for a left-only move: windowPos + (pointerInItem - grab).
QPoint DraggedWindowPos(QPoint windowPos, QPoint pointerInItem, QPoint grab);

// Stops presses on `item` from reaching its parents (and so from dragging the window), while
// the item's own handlers still get them.
void BlockDrag(QWidget* item);

class WindowDragger : public QObject {
    Q_OBJECT
  public:
    // `window` is the top-level window that moves; the dragger is its child.
    explicit WindowDragger(QWidget* window);

    // Makes presses and moves on `item` (the window itself may be one) drag the window. Turns on
    // mouse tracking so moves without buttons reach the after-move hook too. The item's press
    // and move events are consumed here; releases pass on.
    void AddDragItem(QWidget* item);

    // Runs on every move over a drag item, whatever buttons are held, after the drag step
    // (the intro screen sets its caption here).
    using AfterMoveHook = std::function<void(QWidget* item, QMouseEvent* event)>;
    void SetAfterMoveHook(AfterMoveHook hook);

    int GrabX() const { return grab_.x(); }
    int GrabY() const { return grab_.y(); }

    // Whether left-drags go to QWindow::startSystemMove(); on by default where the platform
    // is Wayland.
    void SetUseSystemMove(bool use) { useSystemMove_ = use; }
    bool UsesSystemMove() const { return useSystemMove_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Press(QMouseEvent* event);
    void Move(QWidget* item, QMouseEvent* event);

    QWidget* window_;
    QPoint grab_;
    AfterMoveHook afterMove_;
    bool useSystemMove_;
    bool systemMoveTried_ = false;
    bool systemMoving_ = false;
};

}  // namespace hollowtide::visuals
