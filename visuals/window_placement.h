// Where the program's windows first appear: each is centred on the screen the first time it
// is shown, and stays wherever the user drags it after that. UI thread only.
#pragma once

#include <QWidget>

namespace hollowtide::visuals {

class CentreOnFirstShow {
  public:
    // Call from the window's showEvent.
    void Shown(QWidget* window);

  private:
    bool placed_ = false;
};

}  // namespace hollowtide::visuals
