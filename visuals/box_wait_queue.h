// Runs actions that stand for the user's clicks, but only while no message box is open: a
// click cannot reach a window behind a modal box, so an action that arrives from outside (the
// desktop's media controls, a screen reader) waits in line until the box has been closed, then
// runs in order. UI thread only.
#pragma once

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

namespace hollowtide::visuals {

class BoxWaitQueue : public QObject {
    Q_OBJECT
  public:
    // `boxOpen` tells whether a box is open now (the message-box seam's MessageBoxOpen).
    explicit BoxWaitQueue(std::function<bool()> boxOpen, QObject* parent = nullptr);

    // Runs `action` now when no box is open and nothing waits before it; else queues it.
    // Returns true when it ran now.
    bool Run(std::function<void()> action);

    std::size_t Waiting() const { return waiting_.size(); }

    // Runs what waits, for as long as no box is open; the retry timer calls it.
    void RunWaiting();

  private:
    std::function<bool()> boxOpen_;
    std::deque<std::function<void()>> waiting_;
    QTimer retry_;
};

}  // namespace hollowtide::visuals
