// The one seam through which every modal message box of the program is shown. The program
// shows real Qt boxes; tests install a handler that records the boxes and returns at once.
#pragma once

#include <QString>
#include <functional>

namespace hollowtide::audio {

enum class MessageIcon { None, Critical };

struct MessageBoxRequest {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
};

// Shows a modal box with one OK button and returns when the user has closed it.
using MessageBoxHandler = std::function<void(const MessageBoxRequest&)>;

// Installs the handler for every later box and returns the one it replaces. An empty handler
// restores the real Qt box.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

void ShowMessageBox(const MessageBoxRequest& request);

// True while a box is open (the handler of ShowMessageBox has not returned). Callers that act
// as the user would, from outside the windows, wait while it is.
bool MessageBoxOpen();

// The title of boxes that have none of their own.
inline constexpr char kApplicationTitle[] = "Hollowtide // Fenlark //";

}  // namespace hollowtide::audio
