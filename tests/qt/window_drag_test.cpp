#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>
#include <memory>
#include <vector>

#include "visuals/press_feedback.h"
#include "visuals/spectrum_box.h"
#include "visuals/window_drag.h"

using namespace hollowtide::visuals;

namespace {

// A frameless window like the program's: a drag label, a label that never drags, the spectrum
// box, a text button with press feedback and a drawn shape that takes no input.
struct TestWindow {
    TestWindow() {
        window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
        window->setFixedSize(400, 300);
        dragLabel = new QLabel("Song No:", window.get());
        dragLabel->setGeometry(7, 10, 45, 13);
        titleStrip = new QLabel("title", window.get());
        titleStrip->setGeometry(166, 2, 181, 29);
        BlockDrag(titleStrip);
        spectrum = new SpectrumBox(window.get());
        spectrum->move(282, 55);
        button = new QLabel(">Next Tune<", window.get());
        button->setGeometry(159, 263, 86, 13);
        InstallPressFeedback(button);
        shape = new QWidget(window.get());
        shape->setGeometry(0, 150, 400, 2);
        shape->setAttribute(Qt::WA_TransparentForMouseEvents);

        dragger = new WindowDragger(window.get());
        dragger->AddDragItem(window.get());
        dragger->AddDragItem(dragLabel);
        window->move(200, 100);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The window always sits where the test put it.
        QCOMPARE(window->pos(), QPoint(200, 100));
    }

    // Delivers a pointer event to the native window, so Qt finds the item under the pointer
    // (skipping items transparent for mouse events) and keeps the pressed item as receiver.
    void Send(QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons) {
        const QPointF local = window->mapFromGlobal(QPointF(global));
        QMouseEvent event(type, local, local, QPointF(global), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &event);
    }
    void Press(QPoint global, Qt::MouseButton button = Qt::LeftButton,
               Qt::MouseButtons held = Qt::NoButton) {
        Send(QEvent::MouseButtonPress, global, button, held | button);
    }
    void MoveTo(QPoint global, Qt::MouseButtons held = Qt::LeftButton) {
        Send(QEvent::MouseMove, global, Qt::NoButton, held);
    }
    void Release(QPoint global, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonRelease, global, button, Qt::NoButton);
    }
    QPoint Global(QPoint inWindow) const { return window->mapToGlobal(inWindow); }
    QColor TextColour() const { return button->palette().color(QPalette::WindowText); }

    std::unique_ptr<QWidget> window;
    QLabel* dragLabel;
    QLabel* titleStrip;
    SpectrumBox* spectrum;
    QLabel* button;
    QWidget* shape;
    WindowDragger* dragger;
};

// Counts the releases a label's own click handling would see.
class ReleaseCounter : public QObject {
  public:
    int releases = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        releases += event->type() == QEvent::MouseButtonRelease;
        return false;
    }
};

}  // namespace

class WindowDragTest : public QObject {
    Q_OBJECT

  private slots:
    void leftDragOnTheSurfaceMovesTheWindow() {
        TestWindow t;
        const QPoint start = t.Global({100, 50});
        t.Press(start);
        QCOMPARE(t.dragger->GrabX(), 100);
        QCOMPARE(t.dragger->GrabY(), 50);
        t.MoveTo(start + QPoint(30, 10));
        QCOMPARE(t.window->pos(), QPoint(230, 110));
        QCOMPARE(t.window->mapToGlobal(QPoint(100, 50)), start + QPoint(30, 10));
        t.MoveTo(start + QPoint(-200, -300));  // off the screen is allowed
        QCOMPARE(t.window->pos(), QPoint(0, -200));
        t.Release(start + QPoint(-200, -300));
        QCOMPARE(t.window->pos(), QPoint(0, -200));
    }

    void onlyTheLeftButtonAloneDrags() {
        TestWindow t;
        const QPoint start = t.Global({100, 50});
        t.Press(start);
        t.Press(start, Qt::RightButton, Qt::LeftButton);
        t.MoveTo(start + QPoint(30, 10), Qt::LeftButton | Qt::RightButton);
        QCOMPARE(t.window->pos(), QPoint(200, 100));
        t.MoveTo(start + QPoint(30, 10), Qt::RightButton);
        t.MoveTo(start + QPoint(30, 10), Qt::MiddleButton);
        QCOMPARE(t.window->pos(), QPoint(200, 100));
    }

    void anyButtonSetsTheGrabPointRelativeToThePressedItem() {
        TestWindow t;
        t.Press(t.Global({7 + 4, 10 + 3}), Qt::RightButton);
        QCOMPARE(t.dragger->GrabX(), 4);
        QCOMPARE(t.dragger->GrabY(), 3);
        t.Release(t.Global({11, 13}), Qt::RightButton);

        // Dragging by the label carries the window the same way as the surface does.
        const QPoint start = t.Global({20, 15});
        t.Press(start, Qt::MiddleButton);
        QCOMPARE(t.dragger->GrabX(), 13);
        QCOMPARE(t.dragger->GrabY(), 5);
        t.Release(start, Qt::MiddleButton);
        t.Press(start);
        t.MoveTo(start + QPoint(-8, 25));
        QCOMPARE(t.window->pos(), QPoint(192, 125));
    }

    void fractionalPositionsAndDoubleClicksGiveWholeGrabPoints() {
        TestWindow t;
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(10.5, 11.5), QPointF(210.5, 111.5),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(t.window.get(), &press);
        QCOMPARE(t.dragger->GrabX(), 10);
        QCOMPARE(t.dragger->GrabY(), 12);
        QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(3, 4), QPointF(203, 104),
                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(t.window.get(), &second);
        QCOMPARE(t.dragger->GrabX(), 3);
        QCOMPARE(t.dragger->GrabY(), 4);
    }

    void spectrumBoxAndShapesPassPressesToTheSurface() {
        TestWindow t;
        for (const QPoint inWindow : {QPoint(300, 60), QPoint(50, 151)}) {
            t.window->move(200, 100);
            const QPoint start = t.Global(inWindow);
            t.Press(start);
            QCOMPARE(t.dragger->GrabX(), inWindow.x());
            QCOMPARE(t.dragger->GrabY(), inWindow.y());
            t.MoveTo(start + QPoint(30, 10));
            QCOMPARE(t.window->pos(), QPoint(230, 110));
            t.Release(start + QPoint(30, 10));
        }
    }

    void blockedItemsAndTextButtonsNeverMoveTheWindow() {
        TestWindow t;
        t.Press(t.Global({100, 50}));
        t.Release(t.Global({100, 50}));
        for (QWidget* item :
             {static_cast<QWidget*>(t.titleStrip), static_cast<QWidget*>(t.button)}) {
            const QPoint start = t.Global(item->geometry().center());
            t.Press(start);
            t.MoveTo(start + QPoint(30, 10));
            t.Release(start + QPoint(30, 10));
            QCOMPARE(t.window->pos(), QPoint(200, 100));
            QCOMPARE(t.dragger->GrabX(), 100);  // the grab point is untouched too
        }
    }

    void afterMoveHookRunsOnEveryMoveAfterTheDragStep() {
        TestWindow t;
        std::vector<std::pair<QWidget*, QPoint>> seen;  // item, window position when called
        t.dragger->SetAfterMoveHook(
            [&](QWidget* item, QMouseEvent*) { seen.emplace_back(item, t.window->pos()); });
        t.MoveTo(t.Global({30, 40}), Qt::NoButton);  // hover: mouse tracking is on
        t.MoveTo(t.Global({10, 15}), Qt::NoButton);  // over the drag label
        const QPoint start = t.Global({100, 50});
        t.Press(start);
        t.MoveTo(start + QPoint(30, 10));
        t.MoveTo(start + QPoint(30, 10), Qt::LeftButton | Qt::RightButton);
        t.Release(start + QPoint(30, 10));
        t.MoveTo(t.Global({160, 269}), Qt::NoButton);  // over a text button: not an item

        QCOMPARE(seen.size(), size_t(4));
        QCOMPARE(seen[0].first, t.window.get());
        QCOMPARE(seen[1].first, static_cast<QWidget*>(t.dragLabel));
        QCOMPARE(seen[2].second, QPoint(230, 110));
        QCOMPARE(seen[3].second, QPoint(230, 110));
    }

    void systemMoveFallsBackToTheArithmeticWhenRefused() {
        TestWindow t;
        QVERIFY(!t.dragger->UsesSystemMove());  // offscreen is not Wayland
        t.dragger->SetUseSystemMove(true);      // offscreen refuses startSystemMove()
        const QPoint start = t.Global({100, 50});
        t.Press(start);
        t.MoveTo(start + QPoint(30, 10));
        t.MoveTo(start + QPoint(40, 20));
        QCOMPARE(t.window->pos(), QPoint(240, 120));
    }

    void textButtonsTurnCyanWhilePressedWithAnyButton() {
        TestWindow t;
        ReleaseCounter counter;
        t.button->installEventFilter(&counter);
        const QString caption = t.button->text();
        const QRect geometry = t.button->geometry();
        QCOMPARE(t.TextColour(), QColor(0xFF, 0xFF, 0xFF));

        const QPoint inside = t.Global(geometry.center());
        t.Press(inside);
        QCOMPARE(t.TextColour(), QColor(0x00, 0xFF, 0xFF));
        t.MoveTo(t.Global({390, 20}));
        t.Release(t.Global({390, 20}));  // released outside the label
        QCOMPARE(t.TextColour(), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(counter.releases, 1);

        t.Press(inside, Qt::RightButton);
        QCOMPARE(t.TextColour(), QColor(0x00, 0xFF, 0xFF));
        t.Release(inside, Qt::RightButton);
        QCOMPARE(t.TextColour(), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(counter.releases, 2);
        QCOMPARE(t.button->text(), caption);
        QCOMPARE(t.button->geometry(), geometry);
    }
};

QTEST_MAIN(WindowDragTest)
#include "window_drag_test.moc"
