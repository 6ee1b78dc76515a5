// Replaces the message-box seam for the lifetime of the object: every box is recorded and
// "closed" at once, after an optional hook runs (the hook stands for what happens while the
// box is open, such as timers firing inside its event loop).
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "audio/message_box.h"

namespace hollowtide::testing {

class MessageBoxRecorder {
  public:
    MessageBoxRecorder()
        : previous_(audio::SetMessageBoxHandler([this](const audio::MessageBoxRequest& request) {
              boxes_.push_back(request);
              if (whileOpen_) whileOpen_(request);
          })) {}
    ~MessageBoxRecorder() { audio::SetMessageBoxHandler(std::move(previous_)); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<audio::MessageBoxRequest>& boxes() const { return boxes_; }
    void clear() { boxes_.clear(); }
    void setWhileOpen(std::function<void(const audio::MessageBoxRequest&)> hook) {
        whileOpen_ = std::move(hook);
    }

  private:
    std::vector<audio::MessageBoxRequest> boxes_;
    std::function<void(const audio::MessageBoxRequest&)> whileOpen_;
    audio::MessageBoxHandler previous_;
};

}  // namespace hollowtide::testing
