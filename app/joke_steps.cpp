#include "app/joke_steps.h"

namespace hollowtide::app {

std::optional<JokeFrame> JokeSteps::Tick() {
    if (JokeStep == 4) JokeStep = 1;
    switch (JokeStep) {
        case 1:
            ++JokeStep;
            return JokeFrame{1, kJokeTitle1, PictureChange::Show, PictureChange::Clear};
        case 2:
            ++JokeStep;
            return JokeFrame{2, kJokeTitle2, PictureChange::Keep, PictureChange::Keep};
        case 3:
            ++JokeStep;
            return JokeFrame{3, kJokeTitle3, PictureChange::Clear, PictureChange::Show};
        default:
            return std::nullopt;
    }
}

}  // namespace hollowtide::app
