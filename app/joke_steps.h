// The hidden window's three-step joke: each tick selects one radio button, shows one title
// and shows or clears the two small pictures. Plain logic; the window maps it onto widgets.
// Runs on the UI thread only.
#pragma once

#include <cstdint>
#include <optional>

namespace hollowtide::app {

inline constexpr char kHiddenWindowTitle[] = "Hidden Part";
inline constexpr char kJokeTitle1[] = "Who wants a Jolly Rogering?";
inline constexpr char kJokeTitle2[] = "Me me ME oooh ME!!!!!";
inline constexpr char kJokeTitle3[] = "Squeal like a pig, FAT BOY!";

enum class PictureChange { Keep, Show, Clear };

// What one tick shows, in the order the window applies it: the radio button (1 to 3), the
// title, then the two pictures.
struct JokeFrame {
    int option = 0;
    const char* title = "";
    PictureChange image1 = PictureChange::Keep;  // takes the flag sprite from its store
    PictureChange image3 = PictureChange::Keep;  // takes the pig sprite from its store
};

class JokeSteps {
  public:
    // Advances JokeStep and returns what to show; nothing for a step outside 1 to 4.
    std::optional<JokeFrame> Tick();

    std::int16_t JokeStep = 1;  // the step the next tick shows; 4 wraps round to 1
};

}  // namespace hollowtide::app
