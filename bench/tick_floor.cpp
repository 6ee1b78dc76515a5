// The least a process can spend on the player's clock: a window the player's size and two 10 ms
// ticks (the end-of-song poll and the analyser's pass) that do nothing, driven either by Qt
// timers on the event loop, as the player drives them, or by a plain thread that sleeps to
// each next deadline while the event loop idles. bench/cpu_peers.sh --floor measures both
// beside the players: what is left above them is the player's own work.
//     QT_QPA_PLATFORM=xcb ./tick_floor qt|thread
#include <time.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr int kTickMs = 10;
constexpr long kNanosPerSecond = 1'000'000'000;

std::atomic<long> ticks{0};

void SleepingClock(const std::atomic<bool>& running) {
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    while (running.load(std::memory_order_relaxed)) {
        next.tv_nsec += kTickMs * 1'000'000L;
        if (next.tv_nsec >= kNanosPerSecond) {
            next.tv_nsec -= kNanosPerSecond;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        ticks.fetch_add(1, std::memory_order_relaxed);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool qtClock = argc == 2 && std::strcmp(argv[1], "qt") == 0;
    const bool threadClock = argc == 2 && std::strcmp(argv[1], "thread") == 0;
    if (!qtClock && !threadClock) {
        std::fprintf(stderr, "usage: tick_floor qt|thread\n");
        return 2;
    }
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(506, 302);
    window.show();

    QTimer poll;
    QTimer pass;
    std::atomic<bool> running{true};
    std::thread clock;
    if (qtClock) {
        for (QTimer* timer : {&poll, &pass}) {
            timer->setInterval(kTickMs);
            timer->setTimerType(Qt::CoarseTimer);
            QObject::connect(timer, &QTimer::timeout,
                             [] { ticks.fetch_add(1, std::memory_order_relaxed); });
            timer->start();
        }
    } else {
        clock = std::thread(SleepingClock, std::cref(running));
    }
    const int result = app.exec();
    running = false;
    if (clock.joinable()) clock.join();
    return result;
}
