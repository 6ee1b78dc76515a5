// Process CPU use and peak memory while frm_MAIN plays a song with its window shown, on the real
// sound output. Run it under a display, e.g.
//     SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb xvfb-run -a ./player_cpu_bench [seconds] [folder]
// The folder defaults to the one that holds the executable when the generated pack is in its
// data/, else to a temporary folder of minute-long test modules.
#include <sys/resource.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "audio/bass.h"
#include "audio/message_box.h"
#include "player/main_window.h"
#include "player_bench_folder.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const hollowtide::bench::BenchFolder folder(
        8, argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    // A box would wait for a user who is not there: report it and go on.
    hollowtide::audio::SetMessageBoxHandler([](const hollowtide::audio::MessageBoxRequest& box) {
        std::fprintf(stderr, "message box: %s\n", qPrintable(box.text));
    });

    hollowtide::frm_MAIN window(folder.path());
    QObject::connect(&window, &hollowtide::frm_MAIN::endProgramRequested, &app,
                     [] { std::_Exit(1); });
    if (!window.Load()) return 1;
    window.show();

    // Measure after a 2-second warm-up, so start-up work does not count.
    constexpr int kWarmUpMs = 2000;
    double cpuStart = 0;
    auto wallStart = std::chrono::steady_clock::now();
    QTimer::singleShot(kWarmUpMs, [&] {
        cpuStart = CpuSeconds();
        wallStart = std::chrono::steady_clock::now();
    });
    QTimer::singleShot(kWarmUpMs + seconds * 1000, &app, &QApplication::quit);
    app.exec();

    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpuPercent = 100.0 * (CpuSeconds() - cpuStart) / wall;
    const bool playing = BASS_ChannelIsActive(window.MusicHandle) != 0;
    std::printf("%s: song %s (%s), %.1f s measured: CPU %.2f %% of one core, peak RSS %.1f MB\n",
                folder.IsPack() ? "pack" : "test modules", qPrintable(window.Label1->text()),
                playing ? "playing" : "not playing", wall, cpuPercent, PeakRssKiB() / 1024.0);
    std::fflush(stdout);
    // To look at the window as it played: HOLLOWTIDE_GRAB_DIR=/some/folder
    if (qEnvironmentVariableIsSet("HOLLOWTIDE_GRAB_DIR"))
        window.grab().save(qEnvironmentVariable("HOLLOWTIDE_GRAB_DIR") + "/frm_MAIN_playing.png");
    window.disconnect();
    window.imgExit_Click();
    return 0;
}
