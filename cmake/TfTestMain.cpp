// Main of every test program: headless Qt and silent audio unless a test asks otherwise.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {
void setDefault(const char* name, const char* value)
{
    if (std::getenv(name))
        return;
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 0);
#endif
}
} // namespace

int main(int argc, char** argv)
{
    setDefault("QT_QPA_PLATFORM", "offscreen");
    setDefault("SDL_AUDIODRIVER", "dummy");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
