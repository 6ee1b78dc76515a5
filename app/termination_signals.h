// Ending the program from outside: SIGTERM (kill, a session's logout), SIGINT (Ctrl+C in a
// terminal) and SIGHUP (the terminal went away). The handlers only write the signal's number
// into a pipe; the event loop reads it and announces it, so everything the program does about
// it runs on the UI thread between two events, never inside a signal handler.
//
// One instance at a time; it restores the previous handlers when destroyed. UI thread only.
#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;

namespace hollowtide::app {

inline constexpr std::array<int, 3> kTerminationSignals = {SIGTERM, SIGINT, SIGHUP};

class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or a handler could not be set up; the signals then keep their
    // previous handling.
    bool Installed() const { return installed_; }

  signals:
    void terminationRequested(int signalNumber);

  private:
    void ReadPipe();

    std::array<int, 2> pipe_{-1, -1};
    std::array<struct sigaction, kTerminationSignals.size()> previous_{};
    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};

// Keeps the sound library from installing handlers of its own for SIGINT and SIGTERM, which
// would swallow them. Call before the sound engine is first brought up.
void LeaveSignalsToTheProgram();

}  // namespace hollowtide::app
