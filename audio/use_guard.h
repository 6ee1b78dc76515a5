// Lets one thread withdraw an object that another thread may be using at that moment, with no
// lock on the user's side (the user is the audio callback, which must never block).
//
// User:      guard.enter(); p = shared.load(); ...use p...; guard.leave();
// Withdrawer: shared.exchange(nullptr); guard.waitUntilUnused();  -- then p may be destroyed.
// Every operation is sequentially consistent: once the withdrawer sees no user, any later user
// reads the withdrawn pointer as null.
#pragma once

#include <atomic>
#include <thread>

namespace hollowtide::audio {

class UseGuard {
  public:
    void enter() { users_.fetch_add(1); }
    void leave() { users_.fetch_sub(1); }
    void waitUntilUnused() const {
        while (users_.load() != 0) std::this_thread::yield();
    }

  private:
    std::atomic<int> users_{0};
};

// Holds a UseGuard entered for its lifetime.
class UseScope {
  public:
    explicit UseScope(UseGuard& guard) : guard_(guard) { guard_.enter(); }
    ~UseScope() { guard_.leave(); }
    UseScope(const UseScope&) = delete;
    UseScope& operator=(const UseScope&) = delete;

  private:
    UseGuard& guard_;
};

}  // namespace hollowtide::audio
