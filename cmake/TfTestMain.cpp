// Main of every test program: headless Qt and silent audio unless a test asks otherwise, and a
// temporary folder inside the build tree, so no test touches the user's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {
void setVariable(const char* name, const char* value, bool overwrite)
{
    if (!overwrite && std::getenv(name))
        return;
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}
} // namespace

int main(int argc, char** argv)
{
    setVariable("QT_QPA_PLATFORM", "offscreen", false);
    setVariable("SDL_AUDIODRIVER", "dummy", false);
    std::error_code ec;
    std::filesystem::create_directories(TF_TEST_TMP, ec);
    setVariable("TMPDIR", TF_TEST_TMP, false);
    setVariable("TEST_TMPDIR", TF_TEST_TMP, true);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
