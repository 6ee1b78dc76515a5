#include <QApplication>
#include <QIcon>
#include <cstdlib>

#include "app/app_controller.h"
#include "visuals/artwork.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hollowtide // Fenlark //"));
    hollowtide::visuals::RegisterArtwork();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));

    // Ending the program is immediate: no further event or window teardown runs.
    hollowtide::AppController controller(QApplication::applicationDirPath(), [] { std::_Exit(0); });
    if (!controller.Start()) return 1;
    return QApplication::exec();
}
