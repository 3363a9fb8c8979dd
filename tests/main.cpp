// Runs the tests headless, with SDL's dummy video and audio drivers whatever
// the environment says, and with a temporary folder of their own: CTest
// starts many test processes at once, and testing::TempDir() must not be
// shared between them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    char folder[] = "/tmp/gloamer-test-XXXXXX";
    bool own = mkdtemp(folder) != nullptr;
    if (own)
        setenv("TEST_TMPDIR", folder, 1);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    if (own) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    return result;
}
