// Lets one thread withdraw an object that another thread may be using at that moment, with no
// lock on the user's side (the user is the audio callback, which must never block).
//
// User:       UseScope scope(guard); p = shared.load(); ...use p...
// Withdrawer: shared.exchange(nullptr); guard.waitUntilUnused();  -- then p may be destroyed.
//
// Users count themselves in one of two halves, picked by the epoch they saw on entry. The
// withdrawer moves the epoch on and waits only for the users of the half it left, so a user that
// keeps coming back (a tight pump loop) cannot starve it. Every operation is sequentially
// consistent: a user that the withdrawer does not wait for reads the withdrawn pointer as null.
#pragma once

#include <array>
#include <atomic>
#include <thread>

namespace hollowtide::audio {

class UseGuard {
  public:
    unsigned enter() {
        const unsigned half = epoch_.load() & 1u;
        users_[half].fetch_add(1);
        return half;
    }
    void leave(unsigned half) { users_[half].fetch_sub(1); }

    void waitUntilUnused() {
        const unsigned half = epoch_.fetch_add(1) & 1u;
        while (users_[half].load() != 0) std::this_thread::yield();
    }

  private:
    std::atomic<unsigned> epoch_{0};
    std::array<std::atomic<int>, 2> users_{};
};

// Holds a UseGuard entered for its lifetime.
class UseScope {
  public:
    explicit UseScope(UseGuard& guard) : guard_(guard), half_(guard.enter()) {}
    ~UseScope() { guard_.leave(half_); }
    UseScope(const UseScope&) = delete;
    UseScope& operator=(const UseScope&) = delete;

  private:
    UseGuard& guard_;
    unsigned half_;
};

}  // namespace hollowtide::audio
