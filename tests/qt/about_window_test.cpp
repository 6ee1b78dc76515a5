#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "about/about_window.h"

using hollowtide::frmAbout;

namespace {

QLabel* Control(frmAbout& window, const char* name) {
    return window.findChild<QLabel*>(name);
}

// A fixed random source, so every bubble starts the same known way.
hollowtide::about::RandomSource Half() {
    return [] { return 0.5f; };
}

bool IsCyan(QRgb pixel) {
    return qRed(pixel) < 64 && qGreen(pixel) > 192 && qBlue(pixel) > 192;
}

// Counts the cyan pixels of the backing image inside and outside the band x 204..260.
std::pair<int, int> CyanInAndOutOfBand(const QImage& image) {
    int inside = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!IsCyan(image.pixel(x, y))) continue;
            (x >= 204 && x <= 260 ? inside : outside)++;
        }
    }
    return {inside, outside};
}

// A window that the test owns, so it is not deleted behind the test's back.
struct OwnedAbout {
    frmAbout window{nullptr, Half()};
    OwnedAbout() { window.setAttribute(Qt::WA_DeleteOnClose, false); }
};

// Delivers a pointer event to the native window, so Qt picks the item under the pointer
// (skipping the drawn shapes, which take no mouse input).
void Send(frmAbout& window, QEvent::Type type, QPoint global, Qt::MouseButton button,
          Qt::MouseButtons held) {
    const QPointF local = window.mapFromGlobal(QPointF(global));
    QMouseEvent event(type, local, local, QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &event);
}

// Presses the left button at a point of the inside, moves the pointer by (30, 10) and lets go;
// returns how far the window moved.
QPoint DragBy30And10(frmAbout& window, QPoint inside) {
    const QPoint before = window.pos();
    const QPoint start = window.Surface()->mapToGlobal(inside);
    Send(window, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    Send(window, QEvent::MouseMove, start + QPoint(30, 10), Qt::NoButton, Qt::LeftButton);
    Send(window, QEvent::MouseButtonRelease, start + QPoint(30, 10), Qt::LeftButton, Qt::NoButton);
    return window.pos() - before;
}

}  // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { Q_INIT_RESOURCE(assets); }

    void laysOutTheControlsFrontToBack() {
        OwnedAbout owned;
        frmAbout& window = owned.window;
        window.show();
        QCOMPARE(window.windowTitle(), QString("About"));
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        // A tool window (no task-bar entry) with no title bar.
        QCOMPARE(window.windowType(), Qt::Tool);
        QCOMPARE(window.Surface()->size(), QSize(465, 332));
        QCOMPARE(window.size(), QSize(467, 334));  // a one-pixel border round the inside
        QCOMPARE(window.Surface()->pos(), QPoint(1, 1));

        QCOMPARE(Control(window, "Label5")->geometry(), QRect(7, 234, 177, 67));
        QCOMPARE(Control(window, "Label4")->geometry(), QRect(10, 311, 167, 15));
        QCOMPARE(Control(window, "imgExit")->geometry(), QRect(447, 3, 15, 15));
        QCOMPARE(Control(window, "Image1")->geometry(), QRect(0, -2, 187, 352));
        QCOMPARE(Control(window, "Image3")->geometry(), QRect(275, 1, 200, 328));
        QCOMPARE(Control(window, "Label4")->text(), QString("Click here"));
        QCOMPARE(Control(window, "Label2")->text(), QString("Sound Engine:"));
        QCOMPARE(Control(window, "Label5")->text(),
                 QString("If you liked this music, visit Tarn Fenlark Radio Station   to listen "
                         "to 24/7 scene music. Click the button below to go to the website."));
        QVERIFY(Control(window, "Label5")->wordWrap());

        // Front to back as listed: later siblings are drawn over earlier ones.
        const QStringList frontToBack = {"Label5", "Label4", "imgExit", "Label3",
                                         "Label2", "Label1", "Image3",  "Image1"};
        QStringList stacking;
        for (QObject* child : window.Surface()->children()) {
            if (frontToBack.contains(child->objectName())) stacking.prepend(child->objectName());
        }
        QCOMPARE(stacking, frontToBack);

        for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
            const QLabel* label = Control(window, name);
            QCOMPARE(label->font().families().value(0), QString("Verdana"));
            QCOMPARE(label->font().pointSizeF(), 8.25);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
            QVERIFY(!label->autoFillBackground());
        }
    }

    void drawsTheBandBarsAndTheCloseBoxOverThePictures() {
        OwnedAbout owned;
        owned.window.show();
        const QImage shot = owned.window.Surface()->grab().toImage();
        const QRgb white = qRgb(255, 255, 255);
        for (int x : {190, 194, 265, 269}) QCOMPARE(shot.pixel(x, 166), white);
        QVERIFY(shot.pixel(195, 166) != white);
        QVERIFY(shot.pixel(264, 166) != white);
        QCOMPARE(shot.pixel(447, 3), white);  // close box corner, over the right picture
        QCOMPARE(shot.pixel(454, 9), white);  // its diagonal
        QCOMPARE(shot.pixel(6, 307), white);  // frame round "Click here"
        QCOMPARE(shot.pixel(180, 327), white);
    }

    void creditsSwapOnEachTickAndStartOverInANewWindow() {
        {
            OwnedAbout owned;
            frmAbout& window = owned.window;
            QCOMPARE(window.Timer1()->interval(), 5000);
            QVERIFY(window.Timer1()->isActive());
            QCOMPARE(Control(window, "Label1")->text(), QString("CODE: Quiddle"));
            QCOMPARE(Control(window, "Label3")->text(), QString("BASS.DLL v1.8"));
            const int centre = Control(window, "Label1")->geometry().center().x();

            window.Timer1Tick();
            QCOMPARE(Control(window, "Label1")->text(), QString("GFX: Quiddle"));
            QVERIFY(Control(window, "Label3")->text().startsWith("By: "));
            // Self-sizing: the whole credit fits, Label1 stays centred and Label3 stays put.
            const QLabel* label3 = Control(window, "Label3");
            QVERIFY(label3->width() >= label3->fontMetrics().horizontalAdvance(label3->text()));
            QCOMPARE(label3->x(), 336);
            QVERIFY(qAbs(Control(window, "Label1")->geometry().center().x() - centre) <= 1);

            window.Timer1Tick();
            QCOMPARE(Control(window, "Label1")->text(), QString("CODE: Quiddle"));
            QCOMPARE(Control(window, "Label3")->text(), QString("BASS.DLL v1.8"));
            window.Timer1Tick();
            window.close();
            QVERIFY(!window.Timer1()->isActive());
        }
        OwnedAbout reopened;
        QCOMPARE(Control(reopened.window, "Label1")->text(), QString("CODE: Quiddle"));
        QCOMPARE(Control(reopened.window, "Label3")->text(), QString("BASS.DLL v1.8"));
        QVERIFY(reopened.window.Timer1()->isActive());
    }

    void clickHereHandsTheStationAddressToTheBrowser() {
        OwnedAbout owned;
        QList<QUrl> opened;
        owned.window.SetUrlOpener([&](const QUrl& url) { opened.append(url); });
        owned.window.show();
        QTest::mouseClick(Control(owned.window, "Label4"), Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first(), QUrl("https://radio.fenlark.example/"));
        QVERIFY(opened.first().isValid());

        QTest::mouseClick(Control(owned.window, "Label5"), Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
    }

    void bubblesAreSetUpOnShowAndRiseInsideTheBand() {
        OwnedAbout owned;
        frmAbout& window = owned.window;
        window.show();
        QCOMPARE(window.Bubbles().HalfWidth(), 232);
        QCOMPARE(window.Bubbles().Bubbles()[0].PosY, 407.0f);
        QCOMPARE(window.Bubbles().Bubbles()[0].Sway, 13.0f);
        QVERIFY(window.AnimationTimer()->isActive());
        QVERIFY(window.AnimationTimer()->interval() <= 20);
        window.AnimationTimer()->stop();  // the test drives the frames from here on

        // All bubbles rise 3 px a frame from 407; they reach the inside after 26 frames.
        for (int frame = 0; frame < 40; ++frame) window.Frame();
        auto [inside, outside] = CyanInAndOutOfBand(window.Backing());
        QVERIFY(inside > 0);
        QCOMPARE(outside, 0);

        // Erasing keeps no trails: what is cyan stays about one ring per bubble.
        for (int frame = 0; frame < 300; ++frame) window.Frame();
        std::tie(inside, outside) = CyanInAndOutOfBand(window.Backing());
        QVERIFY(inside > 0);
        QVERIFY(inside < 31 * 40);
        QCOMPARE(outside, 0);

        // The backing image is what the window shows, under the controls.
        const QImage shot = window.Surface()->grab().toImage();
        QCOMPARE(shot.pixel(232, 100), window.Backing().pixel(232, 100));
    }

    void activatingAgainGoesOnWithTheSameAnimation() {
        OwnedAbout owned;
        frmAbout& window = owned.window;
        window.show();
        window.AnimationTimer()->stop();
        for (int frame = 0; frame < 5; ++frame) window.Frame();
        const float posY = window.Bubbles().Bubbles()[0].PosY;
        const QList<QTimer*> timers = window.findChildren<QTimer*>();

        window.AnimationTimer()->start();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&window, &activate);
        window.show();
        QCOMPARE(window.Bubbles().Bubbles()[0].PosY, posY);
        QCOMPARE(window.findChildren<QTimer*>().size(), timers.size());
        QTRY_VERIFY(window.Bubbles().Bubbles()[0].PosY < posY);  // the timer runs the frames
    }

    void dragsByTheSurfacePicturesAndShapesButNotByLabelsOrTheCloseBox() {
        OwnedAbout owned;
        frmAbout& window = owned.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.move(200, 100);
        QCOMPARE(window.pos(), QPoint(200, 100));

        QCOMPARE(DragBy30And10(window, {232, 20}), QPoint(30, 10));   // the band
        QCOMPARE(DragBy30And10(window, {100, 50}), QPoint(30, 10));   // left picture
        QCOMPARE(DragBy30And10(window, {300, 200}), QPoint(30, 10));  // right picture
        QCOMPARE(DragBy30And10(window, {192, 100}), QPoint(30, 10));  // a white bar
        QCOMPARE(DragBy30And10(window, {6, 315}), QPoint(30, 10));    // "Click here" frame

        QList<QUrl> opened;
        window.SetUrlOpener([&](const QUrl& url) { opened.append(url); });
        const QPoint label1 = Control(window, "Label1")->geometry().center();
        QCOMPARE(DragBy30And10(window, label1), QPoint(0, 0));
        QCOMPARE(DragBy30And10(window, {30, 250}), QPoint(0, 0));  // the radio text
        QCOMPARE(DragBy30And10(window, {90, 318}), QPoint(0, 0));  // "Click here"
        QCOMPARE(DragBy30And10(window, {450, 8}), QPoint(0, 0));   // the close box
        QVERIFY(window.isVisible());
        QVERIFY(opened.isEmpty());  // released away from the link, so no click

        // Left and right held together do not drag.
        const QPoint start = window.Surface()->mapToGlobal(QPoint(232, 20));
        const QPoint before = window.pos();
        Send(window, QEvent::MouseButtonPress, start, Qt::RightButton,
             Qt::LeftButton | Qt::RightButton);
        Send(window, QEvent::MouseMove, start + QPoint(30, 10), Qt::NoButton,
             Qt::LeftButton | Qt::RightButton);
        QCOMPARE(window.pos(), before);
    }

    void closeBoxClosesAndNothingIsDrawnAfterwards() {
        frmAbout* window = new frmAbout(nullptr, Half());
        QPointer<frmAbout> alive = window;
        QSignalSpy closed(window, &frmAbout::closed);
        window->show();
        window->AnimationTimer()->stop();
        for (int frame = 0; frame < 40; ++frame) window->Frame();

        QTest::mouseClick(Control(*window, "imgExit"), Qt::LeftButton);
        QCOMPARE(closed.size(), 1);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->AnimationTimer()->isActive());
        QVERIFY(!window->Timer1()->isActive());
        const QImage before = window->Backing().copy();
        const float posY = window->Bubbles().Bubbles()[0].PosY;
        window->Frame();
        QCOMPARE(window->Bubbles().Bubbles()[0].PosY, posY);
        QCOMPARE(window->Backing(), before);

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());  // closing unloads the window
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
