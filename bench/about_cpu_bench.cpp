// Processor load of the About screen while it is open and its bubbles rise. Run it on a real
// display server, for instance:
//   QT_QPA_PLATFORM=xcb xvfb-run -a ./about_cpu_bench [seconds]
// It shows the screen, lets it settle for two seconds, then measures the whole process's user
// and system time over the given wall time (20 s by default) and prints it as a share of one
// core, with the frame rate reached.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "about/about_window.h"

namespace {

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    Q_INIT_RESOURCE(assets);
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    constexpr int kSettleMs = 2000;

    auto* about = new hollowtide::frmAbout;
    about->show();

    long frames = 0;
    QObject::connect(about->AnimationTimer(), &QTimer::timeout, [&frames] { ++frames; });

    double cpuAtStart = 0;
    long framesAtStart = 0;
    QElapsedTimer wall;
    QTimer::singleShot(kSettleMs, [&] {
        cpuAtStart = ProcessCpuSeconds();
        framesAtStart = frames;
        wall.start();
        QTimer::singleShot(seconds * 1000, [&] {
            const double elapsed = wall.nsecsElapsed() / 1e9;
            const double cpu = ProcessCpuSeconds() - cpuAtStart;
            std::printf("About screen open and animating on '%s' for %.1f s:\n",
                        qPrintable(QGuiApplication::platformName()), elapsed);
            std::printf("  process CPU %.2f%% of one core, %.1f frames/s\n", 100.0 * cpu / elapsed,
                        (frames - framesAtStart) / elapsed);
            about->close();
            app.quit();
        });
    });
    return app.exec();
}
