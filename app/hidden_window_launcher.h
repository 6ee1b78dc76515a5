// Keeps the one hidden window: the first request opens it, later requests while it is open
// only bring it forward, and once it has been closed the next request opens a fresh one.
// UI thread only.
#pragma once

#include <QPointer>

#include "app/hidden_window.h"

namespace hollowtide::app {

class HiddenWindowLauncher {
  public:
    HiddenWindowLauncher() = default;
    ~HiddenWindowLauncher();
    HiddenWindowLauncher(const HiddenWindowLauncher&) = delete;
    HiddenWindowLauncher& operator=(const HiddenWindowLauncher&) = delete;

    // Shows the hidden window, or raises it if it is already open; returns it.
    Form2* ShowOrRaise();

    // The open hidden window, or null when none is open.
    Form2* Window() const { return window_; }

  private:
    QPointer<Form2> window_;  // cleared by Qt when the window deletes itself on close
};

}  // namespace hollowtide::app
