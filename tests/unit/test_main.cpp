// The unit tests' entry point: no display, no sound device, and the pack built beside the
// program, unless the caller's environment says otherwise.
#include <gtest/gtest.h>

#include <cstdlib>

extern "C" const char* __asan_default_options() {
    return "detect_leaks=1:abort_on_error=1";
}
extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("HOLLOWTIDE_DATA_DIR", HOLLOWTIDE_BUILD_DATA_DIR, 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
