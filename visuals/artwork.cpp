#include "visuals/artwork.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares its function in the global namespace, so it is called from here.
static void InitArtworkResource() {
    Q_INIT_RESOURCE(assets);
}

namespace hollowtide::visuals {

void RegisterArtwork() {
    static const bool registered = [] {
        InitArtworkResource();
        return true;
    }();
    (void)registered;
}

}  // namespace hollowtide::visuals
