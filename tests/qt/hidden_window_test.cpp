#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "app/hidden_window.h"
#include "app/hidden_window_launcher.h"

using hollowtide::Form2;
using hollowtide::app::HiddenWindowLauncher;

namespace {

QRadioButton* Option(Form2& window, const char* name) {
    return window.findChild<QRadioButton*>(name);
}
QLabel* Image(Form2& window, const char* name) {
    return window.findChild<QLabel*>(name);
}

// Gives the stores recognisable sprites, whatever the artwork holds.
void FillStores(Form2& window) {
    QPixmap flag(13, 11);
    flag.fill(Qt::red);
    QPixmap pig(8, 12);
    pig.fill(Qt::magenta);
    Image(window, "Image2")->setPixmap(flag);
    Image(window, "Image4")->setPixmap(pig);
}

bool Shows(QLabel* image, const char* store, Form2& window) {
    return !image->pixmap().isNull() &&
           image->pixmap().toImage() == Image(window, store)->pixmap().toImage();
}

}  // namespace

class HiddenWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { Q_INIT_RESOURCE(assets); }

    void opensAsASmallToolWindowWithItsStoredLook() {
        Form2 window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QCOMPARE(window.windowTitle(), QString("Hidden Part"));
        QCOMPARE(window.size(), QSize(206, 147));
        QVERIFY(window.windowFlags().testFlag(Qt::Tool));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(Image(window, "Image1")->pixmap().isNull());
        QVERIFY(Image(window, "Image3")->pixmap().isNull());
        for (const char* name : {"Option1", "Option2", "Option3"}) {
            QVERIFY(!Option(window, name)->isChecked());
            QCOMPARE(Option(window, name)->size(), QSize(13, 13));
        }
        QCOMPARE(Option(window, "Option3")->pos(), QPoint(164, 118));
        // The stores lie beyond the right edge of the client area.
        QVERIFY(Image(window, "Image2")->x() >= window.width());
        QVERIFY(Image(window, "Image4")->x() >= window.width());
        QCOMPARE(window.Timer1()->interval(), 2500);
        QVERIFY(window.Timer1()->isActive());
    }

    void ticksRunTheThreeStepsAndTheFourthShowsStepOneAgain() {
        Form2 window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        FillStores(window);
        QLabel* image1 = Image(window, "Image1");
        QLabel* image3 = Image(window, "Image3");

        window.Timer1Tick();
        QVERIFY(Option(window, "Option1")->isChecked());
        QCOMPARE(window.windowTitle(), QString("Who wants a Jolly Rogering?"));
        QVERIFY(Shows(image1, "Image2", window));
        QVERIFY(image3->pixmap().isNull());

        window.Timer1Tick();
        QVERIFY(Option(window, "Option2")->isChecked());
        QVERIFY(!Option(window, "Option1")->isChecked());
        QCOMPARE(window.windowTitle(), QString("Me me ME oooh ME!!!!!"));
        QVERIFY(Shows(image1, "Image2", window));

        window.Timer1Tick();
        QVERIFY(Option(window, "Option3")->isChecked());
        QCOMPARE(window.windowTitle(), QString("Squeal like a pig, FAT BOY!"));
        QVERIFY(image1->pixmap().isNull());
        QVERIFY(Shows(image3, "Image4", window));

        window.Timer1Tick();
        QVERIFY(Option(window, "Option1")->isChecked());
        QVERIFY(!Option(window, "Option3")->isChecked());
        QCOMPARE(window.windowTitle(), QString("Who wants a Jolly Rogering?"));
        QVERIFY(Shows(image1, "Image2", window));
        QVERIFY(image3->pixmap().isNull());
    }

    void showingAgainWhileOpenKeepsTheCycleAndClosingStartsAfresh() {
        HiddenWindowLauncher launcher;
        QPointer<Form2> first = launcher.ShowOrRaise();
        first->Timer1Tick();
        first->Timer1Tick();

        QCOMPARE(launcher.ShowOrRaise(), first.data());
        QCOMPARE(first->Steps().JokeStep, 3);
        QCOMPARE(first->windowTitle(), QString("Me me ME oooh ME!!!!!"));

        first->close();
        QVERIFY(!first->Timer1()->isActive());
        QVERIFY(launcher.Window() == nullptr);
        Form2* second = launcher.ShowOrRaise();
        QVERIFY(second != first.data());
        QCOMPARE(second->Steps().JokeStep, 1);
        QCOMPARE(second->windowTitle(), QString("Hidden Part"));
        QVERIFY(Image(*second, "Image1")->pixmap().isNull());

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
    }
};

QTEST_MAIN(HiddenWindowTest)
#include "hidden_window_test.moc"
