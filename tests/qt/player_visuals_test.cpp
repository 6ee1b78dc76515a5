// frm_MAIN with its visual pieces: what drags the window and what does not, press feedback on
// the text buttons, the analyser across Stop and Play, and stars that ignore the player.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <memory>

#include "audio/engine_testing.h"
#include "player/main_window.h"
#include "qt/player_test_folder.h"
#include "support/message_box_recorder.h"
#include "visuals/click_label.h"
#include "visuals/spectrum_analyser.h"
#include "visuals/spectrum_box.h"
#include "visuals/stars.h"
#include "visuals/window_drag.h"

using hollowtide::frm_MAIN;
namespace audio = hollowtide::audio;
namespace visuals = hollowtide::visuals;

class PlayerVisualsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<hollowtide::testing::MessageBoxRecorder> boxes_;
    std::unique_ptr<hollowtide::testing::PlayerFolder> folder_;
    std::unique_ptr<frm_MAIN> window_;

    // Delivers a pointer event to the native window, so Qt picks the item under the pointer.
    void Send(QEvent::Type type, QPoint inWindow, Qt::MouseButton button,
              Qt::MouseButtons buttons) {
        const QPointF local(inWindow);
        const QPointF global(window_->mapToGlobal(inWindow));
        QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window_->windowHandle(), &event);
    }

    // Presses the left button at `at` (window coordinates), moves the pointer by `by` with the
    // button held, releases it, and returns how far the window moved.
    QPoint DragBy(QPoint at, QPoint by) {
        const QPoint before = window_->pos();
        Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        // The pointer keeps its screen position; the window has not moved yet.
        Send(QEvent::MouseMove, at + by, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, at + by - (window_->pos() - before), Qt::LeftButton,
             Qt::NoButton);
        return window_->pos() - before;
    }

    static QPoint Centre(QWidget* item) { return item->geometry().center(); }

  private slots:
    void initTestCase() { audio::SetOutputKind(audio::OutputKind::Offline); }

    void init() {
        boxes_ = std::make_unique<hollowtide::testing::MessageBoxRecorder>();
        folder_ = std::make_unique<hollowtide::testing::PlayerFolder>(
            std::set<int>{}, hollowtide::testing::TestModOptions{});
        window_ = std::make_unique<frm_MAIN>(folder_->path());
        QVERIFY(window_->Load());
        window_->Timer1Tick();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->move(200, 100);
    }

    void cleanup() {
        window_.reset();
        BASS_Pause();
        BASS_Free();
        folder_.reset();
        boxes_.reset();
    }

    void surfaceCaptionsAndAnalyserDragTheWindow_data() {
        QTest::addColumn<QString>("item");
        QTest::newRow("surface") << QString();
        QTest::newRow("song number caption") << "Label5";
        QTest::newRow("song number") << "Label1";
        QTest::newRow("status") << "Label3";
        QTest::newRow("button bar") << "Image1";
        QTest::newRow("spectrum screen") << "picWinamp";
    }

    void surfaceCaptionsAndAnalyserDragTheWindow() {
        QFETCH(QString, item);
        QPoint at(30, 150);  // the open sky of the background
        if (!item.isEmpty()) {
            QWidget* widget = window_->findChild<QWidget*>(item);
            QVERIFY(widget);
            at = item == "Image1" ? widget->geometry().topLeft() + QPoint(2, 2) : Centre(widget);
        }
        QCOMPARE(DragBy(at, QPoint(30, 10)), QPoint(30, 10));
    }

    void buttonsHotSpotsAndTitleStripDoNotDrag_data() {
        QTest::addColumn<QString>("item");
        for (const char* name : {"Picture3", "Label4", "lbl_NEXT", "lbl_prev", "Label2",
                                 "lblRandom", "imgAbout", "imgMinimize", "imgExit"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void buttonsHotSpotsAndTitleStripDoNotDrag() {
        QFETCH(QString, item);
        QWidget* widget = window_->findChild<QWidget*>(item);
        QVERIFY(widget);
        QPoint at = widget->mapTo(window_.get(), widget->rect().center());
        if (item == "Label4") at = window_->Picture3->geometry().topLeft() + QPoint(20, 10);
        // Drag off the item so the release is no click.
        const QPoint moved = DragBy(at, QPoint(0, 40));
        QCOMPARE(moved, QPoint(0, 0));
        QVERIFY(!window_->EndRequested() && window_->isVisible());
    }

    void textButtonsLightUpWhilePressed() {
        const QPoint at = Centre(window_->lbl_NEXT);
        const auto colour = [&] {
            return window_->lbl_NEXT->palette().color(QPalette::WindowText);
        };
        Send(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
        QCOMPARE(colour(), QColor(0, 255, 255));
        Send(QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
        QCOMPARE(colour(), QColor(Qt::white));
        QCOMPARE(window_->Label1->text(), QStringLiteral("1"));  // a right click plays nothing

        Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(colour(), QColor(0, 255, 255));
        Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(colour(), QColor(Qt::white));
        QCOMPARE(window_->Label1->text(), QStringLiteral("2"));
    }

    void analyserDrawsWhilePlayingAndKeepsLevelsAcrossStop() {
        audio::PumpOffline(nullptr, 44100);
        window_->Timer3Tick();
        const visuals::BarLevelArray levels = window_->Analyser().BarLevels;
        QVERIFY(std::any_of(levels.begin(), levels.end(), [](float level) { return level > 0; }));
        QVERIFY(window_->picWinamp->Shown() != QImage());

        window_->Label2_Click();  // Stop
        QVERIFY(!window_->Timer3->isActive());
        const QImage shown = window_->picWinamp->Shown();
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) QCOMPARE(shown.pixel(x, y), 0xFF000000u);
        }
        QCOMPARE(window_->Analyser().BarLevels, levels);
    }

    void starsRunWhateverThePlayerDoes() {
        visuals::StarField& stars = window_->Stars();
        for (int i = 0; i < visuals::kStarCount; ++i) {
            QCOMPARE(stars.StateOf(i), std::int16_t{1});
            QVERIFY(stars.TimerOf(i).isActive());
            QCOMPARE(stars.TimerOf(i).interval(), visuals::kStars[i].darkPauseMs);
        }
        QCOMPARE(window_->Timer7, &stars.Timer7);

        // Timer7's star lights, and is painted on the window over the background.
        stars.TickStar(3);
        QCOMPARE(stars.StateOf(3), std::int16_t{2});
        const QPoint star = visuals::kStars[3].pixel + QPoint(1, 1);
        QCOMPARE(window_->grab().toImage().pixelColor(star), QColor(Qt::white));

        window_->Label2_Click();  // Stop
        window_->Label2_Click();  // Play
        window_->lbl_NEXT_Click();
        window_->imgAbout_Click();  // hidden, not closed
        QVERIFY(window_->isHidden());
        for (int i = 0; i < visuals::kStarCount; ++i)
            QVERIFY2(stars.TimerOf(i).isActive(), visuals::kStars[i].timerName);
        QCOMPARE(stars.TimerOf(3).interval(), visuals::kStarLitMs);
        stars.TickStar(3);
        QCOMPARE(stars.TimerOf(3).interval(), visuals::kStars[3].darkPauseMs);
        window_->show();
        QCOMPARE(window_->grab().toImage().pixelColor(star), QColor(Qt::black));
    }
};

QTEST_MAIN(PlayerVisualsTest)
#include "player_visuals_test.moc"
