#include "visuals/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace hollowtide::visuals {

void CentreOnFirstShow::Shown(QWidget* window) {
    if (placed_) return;
    placed_ = true;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect placed = window->frameGeometry();
    placed.moveCenter(screen->availableGeometry().center());
    window->move(placed.topLeft());
}

}  // namespace hollowtide::visuals
