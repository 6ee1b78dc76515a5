#include <QScreen>
#include <QtTest>

#include "visuals/spectrum_analyser.h"
#include "visuals/spectrum_box.h"

using hollowtide::visuals::SpectrumBox;

namespace {

// Counts the pictures that went to the window and remembers the last, and counts the paint
// events apart.
class CountingBox : public SpectrumBox {
  public:
    int paints = 0;
    int paintEvents = 0;
    QImage lastPainted;

  protected:
    void PictureShown() override {
        ++paints;
        lastPainted = Shown();
    }
    void paintEvent(QPaintEvent* event) override {
        ++paintEvents;
        SpectrumBox::paintEvent(event);
    }
};

QImage Filled(QColor colour) {
    QImage image(hollowtide::visuals::kSpectrumDrawableSize, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

}  // namespace

class SpectrumBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void repaintsKeepToTheScreensRefreshRate() {
        // A second of passes every 10 ms, each with a new picture, on a fake clock and a fake
        // screen: the box must show as many pictures as the screen refreshes, up to 60.
        const struct {
            qreal screenRate;
            int pictures;
        } cases[] = {{60, 60}, {50, 50}, {30, 30}, {24, 24}, {144, 60}, {0, 60}};
        for (const auto& c : cases) {
            CountingBox box;
            double now = 1000.0;
            box.SetClock([&now] { return now; });
            box.SetRefreshRateSource([rate = c.screenRate] { return rate; });
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            box.Present(Filled(Qt::white));  // the first picture shows at once
            const int before = box.paints;
            for (int pass = 1; pass <= 100; ++pass) {
                now += 10.0;
                box.Present(Filled(QColor(pass, 0, 0)));
            }
            const int repaints = box.paints - before;
            QVERIFY2(repaints >= c.pictures - 1 && repaints <= c.pictures,
                     qPrintable(QStringLiteral("screen at %1 Hz: %2 repaints in a second")
                                    .arg(c.screenRate)
                                    .arg(repaints)));
        }
    }

    void passesThatComeEarlyOrLateKeepThePace() {
        // Timer passes wander by a millisecond or two either way.
        CountingBox box;
        double now = 1000.0;
        box.SetClock([&now] { return now; });
        box.SetRefreshRateSource([] { return 60.0; });
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.Present(Filled(Qt::white));
        const int before = box.paints;
        for (int pass = 1; pass <= 200; ++pass) {
            now += pass % 2 == 0 ? 8.0 : 12.0;
            box.Present(Filled(QColor(pass, 0, 0)));
        }
        const int repaints = box.paints - before;
        QVERIFY2(repaints >= 110 && repaints <= 120,
                 qPrintable(QStringLiteral("%1 repaints in two seconds").arg(repaints)));
    }

    void aHeldBackPictureShowsOnALaterPassThatChangesNothing() {
        CountingBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::qWait(50);  // long after the first paint: the red picture shows at once
        box.Present(Filled(Qt::red));
        QTRY_COMPARE_WITH_TIMEOUT(box.lastPainted, Filled(Qt::red), 500);
        box.Present(Filled(Qt::green));  // too soon after the red one: held back
        QElapsedTimer clock;
        clock.start();
        while (box.lastPainted != Filled(Qt::green) && clock.elapsed() < 1000) {
            QTest::qWait(10);
            box.Present(Filled(Qt::blue), hollowtide::visuals::PresentMode::Unchanged);
        }
        QCOMPARE(box.lastPainted, Filled(Qt::green));
    }

    void theFinalPictureShowsWithoutAnotherPass() {
        CountingBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.Present(Filled(Qt::red));
        box.Present(Filled(Qt::green));
        // Stop clears the box right after a pass, and no pass follows.
        box.Present(Filled(Qt::black), hollowtide::visuals::PresentMode::Final);
        QTRY_COMPARE_WITH_TIMEOUT(box.lastPainted, Filled(Qt::black), 500);
    }

    void thePictureSitsInsideTheGreyFrame() {
        SpectrumBox box;
        box.Present(Filled(QColor(10, 200, 30)), hollowtide::visuals::PresentMode::Final);
        const QImage grabbed = box.grab().toImage();
        QCOMPARE(grabbed.size(), hollowtide::visuals::kSpectrumBoxSize);
        for (const QPoint corner : {QPoint(0, 0), QPoint(103, 33), QPoint(50, 0), QPoint(0, 20)})
            QCOMPARE(grabbed.pixel(corner), 0xFF404040u);
        for (const QPoint inside : {QPoint(1, 1), QPoint(102, 32), QPoint(51, 17)})
            QCOMPARE(grabbed.pixel(inside), QColor(10, 200, 30).rgb());
    }

    void aRepaintLandsInTheWindowWhereTheBoxSits() {
        // What the window shows is what its backing store holds, which the offscreen screen
        // hands out; grab() would paint afresh and prove nothing about a repaint.
        QWidget window;
        window.setFixedSize(500, 120);
        window.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(0, 0, 200));
        window.setPalette(palette);
        auto* box = new CountingBox;
        box->setParent(&window);
        box->move(382, 55);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);  // the window's first paint is over
        const int before = box->paints;
        const int paintEventsBefore = box->paintEvents;
        box->Present(Filled(QColor(10, 200, 30)), hollowtide::visuals::PresentMode::Final);
        QCOMPARE(box->paints, before + 1);  // at once, without a trip through the event loop
        QCOMPARE(box->paintEvents, paintEventsBefore);  // straight into the window's image
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        QCOMPARE(shown.size(), window.size());
        const QPoint origin(382, 55);
        for (const QPoint frame : {QPoint(0, 0), QPoint(103, 33), QPoint(50, 0), QPoint(0, 20)})
            QCOMPARE(shown.pixel(origin + frame), 0xFF404040u);
        for (const QPoint inside : {QPoint(1, 1), QPoint(102, 32), QPoint(51, 17)})
            QCOMPARE(shown.pixel(origin + inside), QColor(10, 200, 30).rgb());
        for (const QPoint around : {QPoint(381, 55), QPoint(382, 54), QPoint(486, 89)})
            QCOMPARE(shown.pixel(around), QColor(0, 0, 200).rgb());
    }

    void aWidgetOverTheBoxKeepsItsPixels() {
        // Something stacked over the box: the picture goes through a real repaint, which
        // leaves what lies on top alone.
        QWidget window;
        window.setFixedSize(500, 120);
        auto* box = new CountingBox;
        box->setParent(&window);
        box->move(382, 55);
        auto* cover = new QWidget(&window);
        cover->setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(250, 0, 250));
        cover->setPalette(palette);
        cover->setGeometry(400, 60, 10, 10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        const int paintEventsBefore = box->paintEvents;
        box->Present(Filled(QColor(10, 200, 30)), hollowtide::visuals::PresentMode::Final);
        QVERIFY(box->paintEvents > paintEventsBefore);
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        QCOMPARE(shown.pixel(405, 65), QColor(250, 0, 250).rgb());
        QCOMPARE(shown.pixel(390, 80), QColor(10, 200, 30).rgb());
    }
};

QTEST_MAIN(SpectrumBoxTest)
#include "spectrum_box_test.moc"
