#include "app/app_controller.h"

#include <utility>

#include "app/mpris_service.h"
#include "audio/bass.h"

namespace hollowtide {

AppController::AppController(QString programFolder, std::function<void()> endProgram)
    : programFolder_(std::move(programFolder)), endProgram_(std::move(endProgram)) {}

AppController::~AppController() {
    delete about_;
    delete player_;
    delete intro_;
}

bool AppController::Start() {
    intro_ = new Form1(programFolder_);
    connect(intro_, &Form1::goRequested, this, &AppController::OpenPlayer);
    connect(intro_, &Form1::endProgramRequested, this, &AppController::EndProgram);
    if (!intro_->Load()) return false;
    intro_->show();
    return true;
}

void AppController::OpenPlayer() {
    player_ = new frm_MAIN(programFolder_);
    connect(player_, &frm_MAIN::aboutRequested, this, &AppController::OpenAbout);
    connect(player_, &frm_MAIN::hiddenWindowRequested, this,
            [this] { hiddenWindow_.ShowOrRaise(); });
    connect(player_, &frm_MAIN::endProgramRequested, this, &AppController::EndProgram);
    if (!player_->Load()) return;
    // The desktop's media controls reach the player for as long as the window lives.
    mpris_ = new app::MprisService(player_, [this] { RaisePlayer(); });
    player_->show();

    // The intro screen is unloaded for good: its timers stop now, the window goes once the
    // click that led here has been handled.
    if (intro_) {
        intro_->Unload();
        intro_->deleteLater();
    }
}

void AppController::RaisePlayer() {
    if (!player_) return;
    player_->show();
    player_->raise();
    player_->activateWindow();
}

void AppController::OpenAbout() {
    about_ = new frmAbout();
    connect(about_, &frmAbout::closed, this, [this] {
        if (player_) player_->show();
    });
    about_->show();
}

void AppController::EndOnSignal() {
    if (player_) {
        player_->imgExit_Click();
    } else if (intro_ && !intro_->HandedOver()) {
        intro_->ExitClicked();
    } else {
        // Between the two windows: nobody owns the engine, so release whatever is up.
        BASS_Pause();
        BASS_Free();
        EndProgram();
    }
}

void AppController::EndProgram() {
    endProgram_();
}

}  // namespace hollowtide
