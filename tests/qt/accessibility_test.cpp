// What a screen reader finds on the windows: every hot spot and text button is a named button
// (the About screen's link a link) whose press action clicks it.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QtTest>

#include "about/about_window.h"
#include "app/intro_window.h"
#include "audio/engine_testing.h"
#include "player/main_window.h"
#include "qt/player_test_folder.h"
#include "support/message_box_recorder.h"
#include "visuals/click_label.h"

using namespace hollowtide;

namespace {

struct Expected {
    QWidget* widget;
    QAccessible::Role role;
    QString name;
};

void ExpectAnnounced(const Expected& expected) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(expected.widget);
    QVERIFY2(accessible != nullptr, qPrintable(expected.widget->objectName()));
    QCOMPARE(accessible->role(), expected.role);
    QCOMPARE(accessible->text(QAccessible::Name), expected.name);
    QVERIFY(accessible->actionInterface() != nullptr);
    QVERIFY(accessible->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
}

void Press(QWidget* widget) {
    QAccessible::queryAccessibleInterface(widget)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(assets);
        audio::SetOutputKind(audio::OutputKind::Offline);
    }
    void cleanup() { BASS_Free(); }

    void introHotSpotsAreNamedButtons() {
        Form1 intro(QStringLiteral("/nonexistent"));
        ExpectAnnounced({intro.img_button_GO, QAccessible::Button, "Go"});
        ExpectAnnounced({intro.img_button_EXIT, QAccessible::Button, "Exit"});
        QSignalSpy go(&intro, &Form1::goRequested);
        Press(intro.img_button_GO);
        QCOMPARE(go.count(), 1);
        // The marquee and the captions stay plain text.
        QCOMPARE(QAccessible::queryAccessibleInterface(intro.Label1)->role(),
                 QAccessible::StaticText);
    }

    void playerButtonsAreNamedAndPressWorksAsAClick() {
        testing::MessageBoxRecorder boxes;
        testing::PlayerFolder folder;
        frm_MAIN window(folder.path());
        window.Load();
        window.Timer1Tick();
        const Expected expected[] = {
            {window.lbl_NEXT, QAccessible::Button, "Next tune"},
            {window.lbl_prev, QAccessible::Button, "Previous tune"},
            {window.Label2, QAccessible::Button, "Stop"},
            {window.lblRandom, QAccessible::Button, "Shuffle off"},
            {window.imgAbout, QAccessible::Button, "About"},
            {window.imgMinimize, QAccessible::Button, "Minimize"},
            {window.imgExit, QAccessible::Button, "Exit"},
        };
        for (const Expected& button : expected) ExpectAnnounced(button);

        Press(window.lbl_NEXT);
        QCOMPARE(window.Label1->text(), QStringLiteral("2"));
        // Names follow the captions as they change.
        Press(window.Label2);
        QCOMPARE(window.StopState, std::int16_t{1});
        ExpectAnnounced({window.Label2, QAccessible::Button, "Play"});
        Press(window.lblRandom);
        ExpectAnnounced({window.lblRandom, QAccessible::Button, "Shuffle on"});
        QSignalSpy ended(&window, &frm_MAIN::endProgramRequested);
        Press(window.imgExit);
        QCOMPARE(ended.count(), 1);
        QVERIFY(boxes.boxes().empty());
    }

    // A screen reader's press cannot reach the player behind "Cannot Play Module)" any more
    // than a click can: it runs once the box is closed, so Stop lands after the failed song has
    // set the player going, and the player is then stopped through and through.
    void pressesWaitUntilTheOpenBoxIsClosed() {
        testing::MessageBoxRecorder boxes;
        testing::PlayerFolder folder({1});
        frm_MAIN window(folder.path());
        window.Load();
        bool pressedWhileOpen = false;
        boxes.setWhileOpen([&](const audio::MessageBoxRequest&) {
            if (pressedWhileOpen) return;
            pressedWhileOpen = true;
            Press(window.Label2);
            QCOMPARE(window.StopState, std::int16_t{0});  // not while the box is open
            Press(window.lblRandom);
            QCOMPARE(window.ShuffleOn, std::int16_t{0});
        });
        window.Timer1Tick();  // song 1 is missing: the box opens
        QVERIFY(pressedWhileOpen);
        QCOMPARE(boxes.boxes().size(), std::size_t{1});
        QTRY_COMPARE(window.ShuffleOn, std::int16_t{-1});  // both ran after OK, in order
        QCOMPARE(window.StopState, std::int16_t{1});
        QCOMPARE(window.Label2->text(), QStringLiteral(">Play<"));
        QVERIFY(!window.Timer1->isActive());
        QVERIFY(!window.Timer2->isActive());
        QVERIFY(!window.Timer3->isActive());
    }

    void aboutCloseBoxAndLinkAreAnnounced() {
        frmAbout about;
        about.setAttribute(Qt::WA_DeleteOnClose, false);
        int opened = 0;
        about.SetUrlOpener([&](const QUrl&) { ++opened; });
        auto* close = about.findChild<visuals::ClickLabel*>(QStringLiteral("imgExit"));
        auto* link = about.findChild<visuals::ClickLabel*>(QStringLiteral("Label4"));
        ExpectAnnounced({close, QAccessible::Button, "Close"});
        ExpectAnnounced({link, QAccessible::Link, "Tarn Fenlark Radio Station website"});
        Press(link);
        QCOMPARE(opened, 1);
        // The credits that swap are text, not buttons.
        QCOMPARE(QAccessible::queryAccessibleInterface(
                     about.findChild<QWidget*>(QStringLiteral("Label1")))
                     ->role(),
                 QAccessible::StaticText);
        QSignalSpy closed(&about, &frmAbout::closed);
        about.show();
        Press(close);
        QCOMPARE(closed.count(), 1);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
