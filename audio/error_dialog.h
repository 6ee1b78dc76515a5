// The error dialog that reports a failure to bring the engine up, and the box for a module
// that will not play. Both go through the message-box seam (audio/message_box.h).
#pragma once

#include <QString>

namespace hollowtide::audio {

// The dialog text: the message, a blank line, "Error Code : <code>" and the code's message,
// with CR LF line breaks.
QString ErrorDialogText(const QString& message, int code);

// Shows the error dialog for the engine's last error code and returns once it is closed.
void ThrowError(const QString& message);

// The text of the box shown when a module does not play.
inline constexpr char kCannotPlayModule[] = "Cannot Play Module)";

// Shows "Cannot Play Module)" with no icon under the application's title.
void ShowCannotPlayModule();

}  // namespace hollowtide::audio
