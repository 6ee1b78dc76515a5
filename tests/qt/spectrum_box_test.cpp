#include <QtTest>

#include "visuals/spectrum_analyser.h"
#include "visuals/spectrum_box.h"

using hollowtide::visuals::SpectrumBox;

namespace {

// Counts real repaints and remembers the picture each one showed.
class CountingBox : public SpectrumBox {
  public:
    int paints = 0;
    QImage lastPainted;

  protected:
    void paintEvent(QPaintEvent* event) override {
        SpectrumBox::paintEvent(event);
        ++paints;
        lastPainted = Shown();
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
    void passesFasterThanTheScreenRefreshesShareRepaints() {
        CountingBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::qWait(50);
        const int before = box.paints;
        // Passes in quick succession, each followed by a turn of the event loop: the screen
        // shows at most one picture per refresh, and the last one in the end.
        for (int pass = 0; pass < 20; ++pass) {
            box.Present(Filled(QColor(pass * 10, 0, 0)));
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE_WITH_TIMEOUT(box.lastPainted, Filled(QColor(190, 0, 0)), 500);
        const int repaints = box.paints - before;
        QVERIFY2(repaints >= 1 && repaints <= 10, qPrintable(QString::number(repaints)));
    }

    void theLastPictureOfARunIsAlwaysShown() {
        CountingBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.Present(Filled(Qt::red));
        box.Present(Filled(Qt::green));
        box.Present(Filled(Qt::black));  // Stop clears the box right after a pass
        QTRY_COMPARE_WITH_TIMEOUT(box.lastPainted, Filled(Qt::black), 500);
    }
};

QTEST_MAIN(SpectrumBoxTest)
#include "spectrum_box_test.moc"
