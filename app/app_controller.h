// Creates the program's windows and wires what one window announces to what the others do:
// GO opens the player, About and its close box swap windows, M opens the hidden window, and
// Exit or a fatal engine failure ends the program. UI thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "about/about_window.h"
#include "app/hidden_window_launcher.h"
#include "app/intro_window.h"
#include "app/mpris_service.h"
#include "player/main_window.h"

namespace hollowtide {

class AppController : public QObject {
    Q_OBJECT
  public:
    // `endProgram` ends the process at once; tests pass a recorder instead.
    AppController(QString programFolder, std::function<void()> endProgram);
    ~AppController() override;

    // Creates the intro screen and runs its load event; shows it unless a fatal failure was
    // reported. Returns false when the program must end without showing a window.
    bool Start();

    Form1* introScreen() const { return intro_; }
    frm_MAIN* player() const { return player_; }
    frmAbout* aboutScreen() const { return about_; }
    app::HiddenWindowLauncher& hiddenWindow() { return hiddenWindow_; }
    // The player on the desktop's media controls, while the main window exists.
    app::MprisService* mediaControls() const { return mpris_; }

    // A termination signal: ends the program as the Exit of the window in charge does (the main
    // window's once GO has handed over, else the intro screen's EXIT).
    void EndOnSignal();

  private:
    void OpenPlayer();
    void OpenAbout();
    void RaisePlayer();
    void EndProgram();

    QString programFolder_;
    std::function<void()> endProgram_;
    QPointer<Form1> intro_;
    QPointer<frm_MAIN> player_;
    QPointer<frmAbout> about_;
    QPointer<app::MprisService> mpris_;
    app::HiddenWindowLauncher hiddenWindow_;
};

}  // namespace hollowtide
