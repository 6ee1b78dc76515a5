#include "audio/message_box.h"

#include <QMessageBox>
#include <utility>

namespace hollowtide::audio {
namespace {

void ShowQtMessageBox(const MessageBoxRequest& request) {
    QMessageBox box(
        request.icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
        request.title, request.text, QMessageBox::Ok);
    box.exec();
}

int openBoxes = 0;  // UI thread only, as every box is

MessageBoxHandler& CurrentHandler() {
    static MessageBoxHandler handler = ShowQtMessageBox;
    return handler;
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    if (!handler) handler = ShowQtMessageBox;
    return std::exchange(CurrentHandler(), std::move(handler));
}

void ShowMessageBox(const MessageBoxRequest& request) {
    // Copy first: a handler may install another one while its box is open.
    const MessageBoxHandler handler = CurrentHandler();
    struct OpenScope {
        OpenScope() { ++openBoxes; }
        ~OpenScope() { --openBoxes; }
        OpenScope(const OpenScope&) = delete;
        OpenScope& operator=(const OpenScope&) = delete;
    } open;
    handler(request);
}

bool MessageBoxOpen() {
    return openBoxes > 0;
}

}  // namespace hollowtide::audio
