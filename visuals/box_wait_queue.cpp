#include "visuals/box_wait_queue.h"

#include <utility>

namespace hollowtide::visuals {
namespace {

// Often enough that a waiting call follows the box's OK without a noticeable pause.
constexpr int kRetryMs = 20;

}  // namespace

BoxWaitQueue::BoxWaitQueue(std::function<bool()> boxOpen, QObject* parent)
    : QObject(parent), boxOpen_(std::move(boxOpen)) {
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &BoxWaitQueue::RunWaiting);
}

bool BoxWaitQueue::Run(std::function<void()> action) {
    if (waiting_.empty() && !boxOpen_()) {
        action();
        return true;
    }
    waiting_.push_back(std::move(action));
    retry_.start();
    return false;
}

void BoxWaitQueue::RunWaiting() {
    // An action may open a box of its own; the rest then wait for that one too.
    while (!waiting_.empty() && !boxOpen_()) {
        std::function<void()> action = std::move(waiting_.front());
        waiting_.pop_front();
        action();
    }
    if (waiting_.empty()) retry_.stop();
}

}  // namespace hollowtide::visuals
