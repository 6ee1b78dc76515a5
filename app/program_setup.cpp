#include "app/program_setup.h"

#include <QApplication>

#include "app/termination_signals.h"
#include "audio/message_box.h"
#include "visuals/artwork.h"

namespace hollowtide::app {

void SetUpProgram() {
    QApplication::setApplicationName(QString::fromLatin1(audio::kApplicationTitle));
    // Lets the desktop match the windows to the launcher entry and its icon (Wayland app id,
    // X11 window class).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
    visuals::RegisterArtwork();
    LeaveSignalsToTheProgram();
}

}  // namespace hollowtide::app
