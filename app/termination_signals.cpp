#include "app/termination_signals.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace hollowtide::app {
namespace {

// The write end of the live instance's pipe, for the handler; -1 when none is installed.
std::atomic<int> signalPipe{-1};

void OnSignal(int signalNumber) {
    const int savedErrno = errno;  // the interrupted code may be about to read errno
    const int fd = signalPipe.load();
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (signalPipe.load() >= 0) return;  // another instance has the signals
    if (pipe2(pipe_.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_ = {-1, -1};
        return;
    }
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);
    signalPipe.store(pipe_[1]);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    installed_ = true;
    for (std::size_t i = 0; i < kTerminationSignals.size(); ++i) {
        if (sigaction(kTerminationSignals[i], &action, &previous_[i]) != 0) installed_ = false;
    }
}

TerminationSignals::~TerminationSignals() {
    if (pipe_[0] < 0) return;
    for (std::size_t i = 0; i < kTerminationSignals.size(); ++i) {
        sigaction(kTerminationSignals[i], &previous_[i], nullptr);
    }
    signalPipe.store(-1);
    delete notifier_;
    close(pipe_[0]);
    close(pipe_[1]);
}

void TerminationSignals::ReadPipe() {
    unsigned char byte = 0;
    // Several signals may have queued up; each is announced, the first usually ends the program.
    while (read(pipe_[0], &byte, 1) == 1) emit terminationRequested(byte);
}

void LeaveSignalsToTheProgram() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

}  // namespace hollowtide::app
