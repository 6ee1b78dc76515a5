#include "player/main_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "audio/error_dialog.h"
#include "player/main_window_look.h"
#include "visuals/artwork.h"
#include "visuals/click_label.h"
#include "visuals/press_feedback.h"
#include "visuals/spectrum_analyser.h"
#include "visuals/spectrum_box.h"
#include "visuals/stars.h"
#include "visuals/window_drag.h"

namespace hollowtide {

frm_MAIN::frm_MAIN(QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      programFolder_(std::move(programFolder)) {
    visuals::RegisterArtwork();
    background_.load(QStringLiteral(":/images/main_background.png"));
    buttonBar_.load(QStringLiteral(":/images/button_bar.png"));
    setObjectName(QStringLiteral("frm_MAIN"));
    setFixedSize(player::kClientSize + QSize(2 * player::kFramePixels, 2 * player::kFramePixels));
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    setFont(player::LabelFont());
    BuildControls();
    BuildTimers();
    BuildVisuals();
    ConnectHandlers();
}

frm_MAIN::~frm_MAIN() = default;

void frm_MAIN::ConnectHandlers() {
    connect(Timer1, &QTimer::timeout, this, &frm_MAIN::Timer1Tick);
    connect(Timer2, &QTimer::timeout, this, &frm_MAIN::Timer2Tick);
    connect(Timer3, &QTimer::timeout, this, &frm_MAIN::Timer3Tick);
    connect(lbl_NEXT, &visuals::ClickLabel::clicked, this, &frm_MAIN::lbl_NEXT_Click);
    connect(lbl_prev, &visuals::ClickLabel::clicked, this, &frm_MAIN::lbl_prev_Click);
    connect(lblRandom, &visuals::ClickLabel::clicked, this, &frm_MAIN::lblRandom_Click);
    connect(Label2, &visuals::ClickLabel::clicked, this, &frm_MAIN::Label2_Click);
    connect(imgAbout, &visuals::ClickLabel::clicked, this, &frm_MAIN::imgAbout_Click);
    connect(imgMinimize, &visuals::ClickLabel::clicked, this, &frm_MAIN::imgMinimize_Click);
    connect(imgExit, &visuals::ClickLabel::clicked, this, &frm_MAIN::imgExit_Click);
    Text1->installEventFilter(this);
}

void frm_MAIN::ThrowError(const QString& message) {
    audio::ThrowError(message);
}

void frm_MAIN::imgAbout_Click() {
    // The player keeps running while the About screen is up.
    hide();
    emit aboutRequested();
}

void frm_MAIN::imgMinimize_Click() {
    showMinimized();
}

void frm_MAIN::imgExit_Click() {
    BASS_Pause();
    BASS_StreamFree(MusicHandle);
    BASS_Free();
    EndProgram();
}

void frm_MAIN::EndProgram() {
    // The window is as good as unloaded: none of its timers may run another step.
    for (QTimer* timer : {Timer1, Timer2, Timer3, Timer4, Timer5, Timer6, Timer7, Timer8})
        timer->stop();
    endRequested_ = true;
    emit endProgramRequested();
}

bool frm_MAIN::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The M key of any layout reaches the handler as M, whatever letter it types there.
        Text1_KeyDown(player::IsHiddenWindowKey(key->key(), key->nativeScanCode()) ? Qt::Key_M
                                                                                   : key->key());
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

void frm_MAIN::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placement_.Shown(this);
    // M must work as soon as the window is up, so the off-window text box takes the focus.
    activateWindow();
    Text1->setFocus(Qt::ActiveWindowFocusReason);
}

void frm_MAIN::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QColor(player::kWindowFrameColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.translate(player::kFramePixels, player::kFramePixels);
    player::PaintSurface(painter, background_, buttonBar_);
    for (const StarPoint& star : starPoints_) {
        painter.setPen(star.colour);
        painter.drawPoint(star.pixel);
    }
}

void frm_MAIN::BuildVisuals() {
    analyser_ = std::make_unique<visuals::SpectrumAnalyser>();
    analyser_->SetPresenter([this](const QImage& picture, visuals::PresentMode mode) {
        picWinamp->Present(picture, mode);
    });
    connect(stars_, &visuals::StarField::PaintPoint, this, &frm_MAIN::PaintStar);

    // The surface and the captions that are not buttons carry the window; the spectrum screen
    // passes its presses through to the surface. Buttons and the title strip never drag.
    dragger_ = new visuals::WindowDragger(this);
    for (QWidget* item :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(Label5), static_cast<QWidget*>(Label1),
          static_cast<QWidget*>(Label3), static_cast<QWidget*>(Image1)})
        dragger_->AddDragItem(item);
    for (QLabel* button : {static_cast<QLabel*>(lbl_NEXT), static_cast<QLabel*>(lbl_prev),
                           static_cast<QLabel*>(Label2), static_cast<QLabel*>(lblRandom)})
        visuals::InstallPressFeedback(button);
}

void frm_MAIN::PaintStar(QPoint pixel, QColor colour) {
    auto point = std::find_if(starPoints_.begin(), starPoints_.end(),
                              [pixel](const StarPoint& star) { return star.pixel == pixel; });
    if (point == starPoints_.end()) point = starPoints_.insert(starPoints_.end(), {pixel, colour});
    point->colour = colour;
    update(QRect(pixel + QPoint(player::kFramePixels, player::kFramePixels), QSize(1, 1)));
}

void frm_MAIN::DrawSpectrum() {
    analyser_->DrawSpectrum(MusicHandle);
}

void frm_MAIN::ClearSpectrum() {
    analyser_->Clear();
}

}  // namespace hollowtide
