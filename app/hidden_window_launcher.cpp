#include "app/hidden_window_launcher.h"

namespace hollowtide::app {

HiddenWindowLauncher::~HiddenWindowLauncher() {
    delete window_.data();
}

Form2* HiddenWindowLauncher::ShowOrRaise() {
    if (!window_) {
        window_ = new Form2;
        // A closed window is on its way out: forget it at once, not when it is deleted.
        QObject::connect(window_, &Form2::closed, window_, [this] { window_.clear(); });
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_;
}

}  // namespace hollowtide::app
