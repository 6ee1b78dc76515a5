#include <QApplication>
#include <cstdlib>

#include "app/app_controller.h"
#include "app/program_setup.h"
#include "app/termination_signals.h"

int main(int argc, char** argv) {
    hollowtide::app::PrepareEnvironment();
    QApplication app(argc, argv);
    hollowtide::app::SetUpProgram();

    // Ending the program is immediate: no further event or window teardown runs.
    hollowtide::AppController controller(QApplication::applicationDirPath(), [] { std::_Exit(0); });
    // Caught before the engine first comes up, so no signal finds the program half set up.
    hollowtide::app::TerminationSignals termination;
    QObject::connect(&termination, &hollowtide::app::TerminationSignals::terminationRequested,
                     &controller, &hollowtide::AppController::EndOnSignal);
    if (!controller.Start()) return 1;
    return QApplication::exec();
}
