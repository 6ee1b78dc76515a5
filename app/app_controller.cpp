#include "app/app_controller.h"

#include <utility>

#include "app/intro_window.h"

namespace hollowtide {

AppController::AppController(QString programFolder, std::function<void()> endProgram)
    : programFolder_(std::move(programFolder)), endProgram_(std::move(endProgram)) {}

AppController::~AppController() {
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
    // The player window takes over here once it exists.
}

void AppController::EndProgram() {
    endProgram_();
}

}  // namespace hollowtide
