// The program's pictures are compiled into the static core library, whose resources the linker
// keeps only when something asks for them by name. Every window asks before loading a picture.
#pragma once

namespace hollowtide::visuals {

// Makes ":/images/..." available; cheap after the first call. UI thread only.
void RegisterArtwork();

}  // namespace hollowtide::visuals
