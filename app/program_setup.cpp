#include "app/program_setup.h"

#include <QApplication>

#include <string>

#include "app/launch_environment.h"
#include "app/termination_signals.h"
#include "audio/message_box.h"
#include "audio/sdl_output.h"
#include "visuals/artwork.h"

namespace hollowtide::app {

void PrepareEnvironment() {
    SetForThisProgramOnly("QT_XCB_NO_MITSHM", "1");
    // libpulse reads it when the sound output connects its stream, on whatever thread that is.
    SetForThisProgramOnly("PULSE_LATENCY_MSEC",
                          std::to_string(audio::SdlOutput::kServerBufferMs).c_str());
}

void SetUpProgram() {
    QApplication::setApplicationName(QString::fromLatin1(audio::kApplicationTitle));
    // Lets the desktop match the windows to the launcher entry and its icon (Wayland app id,
    // X11 window class).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
    visuals::RegisterArtwork();
    LeaveSignalsToTheProgram();
    // The one text box lies outside its window and only takes the M key: a blinking cursor
    // there would wake the program twice a second for nothing.
    QApplication::setCursorFlashTime(0);
}

}  // namespace hollowtide::app
