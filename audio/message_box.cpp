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
    handler(request);
}

}  // namespace hollowtide::audio
