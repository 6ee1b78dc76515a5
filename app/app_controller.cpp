#include "app/app_controller.h"

#include <utility>

#include "app/launch_environment.h"
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
    // While the About screen is open the player stays hidden behind it: the About screen is
    // what the desktop's Raise brings forward, and its close box brings the player back.
    if (about_ && about_->isVisible()) {
        about_->raise();
        about_->activateWindow();
        return;
    }
    player_->show();
    player_->raise();
    player_->activateWindow();
}

void AppController::OpenAbout() {
    if (about_ && about_->isVisible()) {  // one About screen at most
        about_->raise();
        return;
    }
    about_ = new frmAbout();
    about_->SetUrlOpener([](const QUrl& url) { app::OpenInBrowser(url); });
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
