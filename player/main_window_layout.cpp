// The controls of frm_MAIN, laid out in twips (15 to a pixel) inside the window's 1-pixel frame.
// Child widgets are created back to front, so the first control of the layout ends up on top;
// shapes and lines are painted on the surface (main_window_paint.cpp) and take no mouse input.
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "player/main_window.h"
#include "player/main_window_look.h"
#include "visuals/cached_text_label.h"
#include "visuals/click_label.h"
#include "visuals/geometry.h"
#include "visuals/spectrum_box.h"
#include "visuals/spectrum_renderer.h"
#include "visuals/stars.h"

namespace hollowtide {
namespace {

using visuals::ClickLabel;
using visuals::TwipsRect;

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(
        TwipsRect(left, top, width, height).translated(player::kFramePixels, player::kFramePixels));
}

template <typename Label>
Label* MakeLabel(QWidget* parent, const char* name, const char* caption, Qt::Alignment align) {
    auto* label = new Label(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setText(QString::fromLatin1(caption));
    label->setFont(player::LabelFont());
    label->setAlignment(align | Qt::AlignTop);
    label->setPalette(player::WhiteTextPalette(label->palette()));
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

// A transparent hot spot: an image control without a picture, a named button to a screen
// reader.
ClickLabel* MakeHotSpot(QWidget* parent, const char* name, const char* accessibleName) {
    auto* spot = new ClickLabel(parent);
    spot->setObjectName(QString::fromLatin1(name));
    spot->setFocusPolicy(Qt::NoFocus);
    spot->MakeAccessibleButton(QString::fromLatin1(accessibleName));
    return spot;
}

// A text button: a screen reader names it after its caption, which may change.
ClickLabel* MakeTextButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = MakeLabel<ClickLabel>(parent, name, caption, Qt::AlignHCenter);
    button->SetAccessibleRole(QAccessible::Button);
    return button;
}

// A label sized to its text: its laid-out corner stays, its width follows the caption.
void FitWidthToText(QLabel* label) {
    label->resize(label->fontMetrics().horizontalAdvance(label->text()) + 1, label->height());
}

QTimer* MakeTimer(QObject* parent, const char* name, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    timer->setTimerType(Qt::CoarseTimer);
    return timer;
}

}  // namespace

void frm_MAIN::BuildControls() {
    constexpr Qt::Alignment kLeft = Qt::AlignLeft;

    // Back to front. Image1's picture is painted by the surface under the shapes and lines that
    // overlap it; the widget only gives presses on it a target.
    Image1 = MakeLabel<QLabel>(this, "Image1", "", kLeft);
    Place(Image1, 690, 3840, 6240, 390);

    lbl_NEXT = MakeTextButton(this, "lbl_NEXT", ">Next Tune<");
    Place(lbl_NEXT, 2385, 3945, 1290, 195);
    Label2 = MakeTextButton(this, "Label2", ">Stop<");
    Place(Label2, 3945, 3945, 1320, 195);
    lbl_prev = MakeTextButton(this, "lbl_prev", ">Previous Tune<");
    Place(lbl_prev, 840, 3945, 1245, 195);
    FitWidthToText(lbl_prev);

    Label1 = MakeLabel<QLabel>(this, "Label1", "1", kLeft);
    QFont bold = player::LabelFont();
    bold.setBold(true);
    Label1->setFont(bold);
    Place(Label1, 855, 150, 345, 255);
    Label3 = MakeLabel<QLabel>(this, "Label3", "Label3", kLeft);
    Place(Label3, 1125, 150, 1005, 255);

    imgMinimize = MakeHotSpot(this, "imgMinimize", "Minimize");
    Place(imgMinimize, 6960, 150, 225, 195);
    imgExit = MakeHotSpot(this, "imgExit", "Exit");
    Place(imgExit, 7230, 150, 225, 195);

    Label5 = MakeLabel<QLabel>(this, "Label5", "Song No:", kLeft);
    Place(Label5, 105, 150, 675, 195);
    FitWidthToText(Label5);

    lblRandom = MakeTextButton(this, "lblRandom", ">Shuffle OFF<");
    Place(lblRandom, 5565, 3945, 1245, 195);

    imgAbout = MakeHotSpot(this, "imgAbout", "About");
    Place(imgAbout, 6675, 150, 210, 195);

    // The title strip clips the scrolling title and keeps presses from dragging the window.
    Picture3 = new QWidget(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setAutoFillBackground(true);
    QPalette blue = Picture3->palette();
    blue.setColor(QPalette::Window, QColor(player::kTitleBoxColour));
    Picture3->setPalette(blue);
    Picture3->setAttribute(Qt::WA_NoMousePropagation);
    Place(Picture3, 2490, 30, 2715, 435);
    Label4 = MakeLabel<visuals::CachedTextLabel>(Picture3, "Label4", "???", kLeft);
    Label4->setAttribute(Qt::WA_NoMousePropagation);
    PlaceTitle();

    // The spectrum screen takes no input: presses over it reach the surface and drag the window.
    picWinamp = new visuals::SpectrumBox(this);
    picWinamp->setObjectName(QStringLiteral("picWinamp"));
    Place(picWinamp, 5730, 825, 1560, 510);

    picWinAmpBand = new QLabel(this);
    picWinAmpBand->setObjectName(QStringLiteral("picWinAmpBand"));
    picWinAmpBand->setPixmap(QPixmap::fromImage(visuals::MakeBandImage()));
    Place(picWinAmpBand, 5535, 660, 30, 750);
    picWinAmpBand->hide();

    // Lies beyond the right edge of the client area: never seen, but it holds the keyboard focus.
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFocusPolicy(Qt::StrongFocus);
    Text1->setAttribute(Qt::WA_NoMousePropagation);
    Place(Text1, 7620, 3420, 975, 345);
    setFocusProxy(Text1);
}

void frm_MAIN::BuildTimers() {
    Timer1 = MakeTimer(this, "Timer1", 10);
    Timer2 = MakeTimer(this, "Timer2", 200);
    Timer3 = MakeTimer(this, "Timer3", 10);
    // The stars' timers belong to the star field, each at its dark pause; only Timer4 runs
    // from creation.
    stars_ = new visuals::StarField(this);
    Timer4 = &stars_->Timer4;
    Timer5 = &stars_->Timer5;
    Timer6 = &stars_->Timer6;
    Timer7 = &stars_->Timer7;
    Timer8 = &stars_->Timer8;
    for (int i = 0; i < visuals::kStarCount; ++i) {
        stars_->TimerOf(i).setObjectName(QString::fromLatin1(visuals::kStars[i].timerName));
    }
}

void frm_MAIN::PlaceTitle() {
    Label4->setGeometry(visuals::TwipsToPixels(titleLeftTwips_), visuals::TwipsToPixels(110),
                        visuals::TwipsToPixels(13560), visuals::TwipsToPixels(240));
}

}  // namespace hollowtide
