// The entry point of every test executable. Tests run on the headless
// backend and keep their registry and profile in the build folder, whether ctest or a
// person starts them, so they never touch the user's desktop or settings.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QUORVANE_BACKEND", "headless", 0);
    setenv("QUORVANE_REGISTRY_FILE", QUORVANE_TEST_REGISTRY_FILE, 0);
    setenv("QUORVANE_PROFILE_FILE", QUORVANE_TEST_PROFILE_FILE, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
