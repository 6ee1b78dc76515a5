// Records a sound server's monitor source through parec, which is what a listener hears, and
// gives each recorded sample's time on the steady clock, the clock the benchmarks' clicks are
// read on.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "child_output.h"

namespace hollowtide::bench {

class MonitorRecorder {
  public:
    static constexpr int kRate = 44100;

    static double Seconds(std::chrono::steady_clock::time_point t) {
        return std::chrono::duration<double>(t.time_since_epoch()).count();
    }

    explicit MonitorRecorder(const std::string& source)
        : parec_({"parec", "--raw", "--format=s16le", "--channels=1", "--rate=44100",
                  "--latency-msec=2", "--process-time-msec=2", "-d", source}) {
        if (parec_.file() != nullptr) reader_ = std::thread([this] { Read(); });
    }
    ~MonitorRecorder() {
        stop_.store(true);
        parec_.Stop();
        if (reader_.joinable()) reader_.join();
    }
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    bool ok() const { return parec_.file() != nullptr; }

    // The time of the first sample at or after `from` that satisfies `test`, with `hold`
    // seconds of samples after it that do too; a negative number when there is none.
    template <typename Test>
    double FirstAfter(double from, double hold, Test test) {
        std::lock_guard lock(mutex_);
        const auto start =
            static_cast<std::size_t>(std::max(0.0, std::ceil((from - firstSampleAt_) * kRate)));
        const auto holdSamples = static_cast<std::size_t>(hold * kRate);
        std::size_t run = 0;
        for (std::size_t i = start; i < samples_.size(); ++i) {
            run = test(samples_[i]) ? run + 1 : 0;
            if (run > holdSamples) return firstSampleAt_ + double(i + 1 - run) / kRate;
        }
        return -1.0;
    }

    // The times at which sounds of at least `loud` begin, each more than `gap` seconds after
    // the one before.
    std::vector<double> Onsets(int loud, double gap) {
        std::lock_guard lock(mutex_);
        std::vector<double> onsets;
        const auto gapSamples = static_cast<std::size_t>(gap * kRate);
        std::size_t last = 0;
        for (std::size_t i = 0; i < samples_.size(); ++i) {
            if (std::abs(samples_[i]) < loud) continue;
            if (onsets.empty() || i - last > gapSamples) {
                onsets.push_back(firstSampleAt_ + double(i) / kRate);
                last = i;
            }
        }
        return onsets;
    }

  private:
    // A chunk can reach us late, never early: the earliest arrival, counted back by the
    // samples before it, tells when the recording's first sample sounded.
    void Read() {
        std::array<std::int16_t, 256> chunk{};
        while (!stop_.load()) {
            const std::size_t got =
                std::fread(chunk.data(), sizeof(std::int16_t), chunk.size(), parec_.file());
            const double now = Seconds(std::chrono::steady_clock::now());
            if (got == 0) break;
            std::lock_guard lock(mutex_);
            samples_.insert(samples_.end(), chunk.begin(), chunk.begin() + got);
            firstSampleAt_ =
                std::min(firstSampleAt_, now - static_cast<double>(samples_.size() - 1) / kRate);
        }
    }

    ChildOutput parec_;
    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::int16_t> samples_;
    double firstSampleAt_ = 1e300;
};

}  // namespace hollowtide::bench
