// What the program sets up once, before its first window: its names on the desktop, its
// compiled-in pictures, and the sound library's hands off the termination signals.
// UI thread only, after the QApplication exists.
#pragma once

namespace hollowtide::app {

// The application id: the desktop entry's file name (without ".desktop"), the icon's name and
// the AppStream component id.
inline constexpr char kApplicationId[] = "org.fenlark.hollowtide";

// Before the QApplication exists, while the process has one thread: settings of the window
// system's and the sound server's client libraries that keep the program light. The player
// repaints a small box many times a second; on X11 Qt would hand each repaint over in shared
// memory and then wait for the server to say it is done, which costs more than sending the
// few kilobytes. The sound server is asked to hold a longer buffer than SDL asks for, so that
// it and the audio thread wake up less often. A user's own setting wins, and programs the
// player starts inherit neither.
void PrepareEnvironment();

// Only the intro screen and the main window carry the program icon; the About screen and the
// hidden window have none, so no application-wide icon is set.
void SetUpProgram();

}  // namespace hollowtide::app
