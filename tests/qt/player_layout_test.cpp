// frm_MAIN's looks: control places and stacking, the painted shapes, and texts that fit.
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "player/main_window.h"
#include "visuals/click_label.h"
#include "visuals/spectrum_box.h"

using hollowtide::frm_MAIN;

class PlayerLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void windowIsAFixedBorderlessFrameAroundTheClientArea() {
        frm_MAIN window(QStringLiteral("/nonexistent"));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(window.size(), QSize(506, 302));
        QCOMPARE(window.minimumSize(), window.maximumSize());
    }

    void controlsSitWhereTheLayoutPutsThem() {
        frm_MAIN window(QStringLiteral("/nonexistent"));
        // Pixels of the client area (twips / 15); the 1-pixel frame moves everything by one.
        const struct {
            QWidget* widget;
            QRect client;
        } expected[] = {
            {window.Text1, {508, 228, 65, 23}},     {window.picWinAmpBand, {369, 44, 2, 50}},
            {window.picWinamp, {382, 55, 104, 34}}, {window.Picture3, {166, 2, 181, 29}},
            {window.imgAbout, {445, 10, 14, 13}},   {window.lblRandom, {371, 263, 83, 13}},
            {window.imgExit, {482, 10, 15, 13}},    {window.imgMinimize, {464, 10, 15, 13}},
            {window.Label3, {75, 10, 67, 17}},      {window.Label1, {57, 10, 23, 17}},
            {window.Label2, {263, 263, 88, 13}},    {window.lbl_NEXT, {159, 263, 86, 13}},
            {window.Image1, {46, 256, 416, 26}},
        };
        for (const auto& [widget, client] : expected)
            QCOMPARE(widget->geometry(), client.translated(1, 1));
        // These two size themselves to their text from their laid-out corner.
        QCOMPARE(window.Label5->pos(), QPoint(7, 10) + QPoint(1, 1));
        QCOMPARE(window.lbl_prev->pos(), QPoint(56, 263) + QPoint(1, 1));
        QCOMPARE(window.Label4->parentWidget(), window.Picture3);
        QCOMPARE(window.Label4->geometry(), QRect(200, 7, 904, 16));
    }

    void controlsStackFrontToBackAsLaidOut() {
        frm_MAIN window(QStringLiteral("/nonexistent"));
        const QStringList frontToBack = {"Text1",       "picWinAmpBand", "picWinamp", "Picture3",
                                         "imgAbout",    "lblRandom",     "Label5",    "imgExit",
                                         "imgMinimize", "Label3",        "Label1",    "lbl_prev",
                                         "Label2",      "lbl_NEXT",      "Image1"};
        QStringList stacked;  // children() runs back to front
        for (QObject* child : window.children()) {
            if (child->isWidgetType()) stacked.prepend(child->objectName());
        }
        QCOMPARE(stacked, frontToBack);
        // Drawn shapes and lines are no widgets: a press on them lands on the surface.
        QCOMPARE(window.childAt(QPoint(1, 150)), nullptr);    // Shape1, the frame
        QCOMPARE(window.childAt(QPoint(449, 132)), nullptr);  // Line4, the analyser's stand
        QCOMPARE(window.childAt(QPoint(400, 70)), nullptr);   // picWinamp takes no input
    }

    void captionsAndColoursAreTheLayouts() {
        frm_MAIN window(QStringLiteral("/nonexistent"));
        QCOMPARE(window.Label4->text(), QStringLiteral("???"));
        QCOMPARE(window.Label3->text(), QStringLiteral("Label3"));
        QCOMPARE(window.Label1->text(), QStringLiteral("1"));
        QVERIFY(window.Label1->font().bold());
        QCOMPARE(window.Label2->text(), QStringLiteral(">Stop<"));
        QCOMPARE(window.lblRandom->text(), QStringLiteral(">Shuffle OFF<"));
        QCOMPARE(window.Label2->palette().color(QPalette::WindowText), QColor(Qt::white));

        const QImage shot = window.grab().toImage();
        // To look at the window: HOLLOWTIDE_GRAB_DIR=/some/folder ./player_layout_test
        if (qEnvironmentVariableIsSet("HOLLOWTIDE_GRAB_DIR"))
            shot.save(qEnvironmentVariable("HOLLOWTIDE_GRAB_DIR") +
                      QStringLiteral("/frm_MAIN.png"));
        const auto at = [&](int x, int y) { return shot.pixelColor(x + 1, y + 1).rgb(); };
        QCOMPARE(shot.pixelColor(0, 0).rgb(), 0xFF808080u);  // the window's frame
        QCOMPARE(at(0, 150), 0xFFE0E0E0u);                   // Shape1
        QCOMPARE(at(170, 20), 0xFF0000FFu);                  // Picture3, the title not yet in
        QCOMPARE(at(100, 8), 0xFF8080FFu);                   // Shape4, the top strip
        QCOMPARE(at(482, 16), 0xFFFFFFFFu);                  // Shape2, Exit's box
        QCOMPARE(at(452, 14), 0xFFFFFFFFu);                  // Line10, About's mark
        // The mark reads "!": a stroke, a gap, then the dot, inside the About box.
        for (int y = 12; y <= 17; ++y) QCOMPARE(at(452, y), 0xFFFFFFFFu);
        QCOMPARE(at(452, 18), 0xFF8080FFu);
        QCOMPARE(at(452, 19), 0xFF8080FFu);
        QCOMPARE(at(452, 20), 0xFFFFFFFFu);
        QCOMPARE(at(452, 21), 0xFF8080FFu);
        QCOMPARE(at(420, 70), 0xFF000000u);  // picWinamp
    }

    void textsFitTheirBoxes() {
        frm_MAIN window(QStringLiteral("/nonexistent"));
        window.Label3->setText(QStringLiteral("Song Ended"));
        window.Label1->setText(QStringLiteral("49"));
        window.lblRandom->setText(QStringLiteral(">Shuffle OFF<"));
        for (QLabel* label : std::initializer_list<QLabel*>{
                 window.Label1, window.Label3, window.Label5, window.lbl_prev, window.Label2,
                 window.lbl_NEXT, window.lblRandom}) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName()));
            QVERIFY2(metrics.height() <= label->height() + 1, qPrintable(label->objectName()));
        }
    }
};

QTEST_MAIN(PlayerLayoutTest)
#include "player_layout_test.moc"
