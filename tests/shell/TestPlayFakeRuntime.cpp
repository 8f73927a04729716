// Stands in for the game in the test play tests. It writes its working folder and its arguments,
// one per line, to the file named by TF_FAKE_GAME_RECORD, then stays running until the file named
// by TF_FAKE_GAME_RELEASE exists (or TF_FAKE_GAME_MS milliseconds have passed, 0 when unset).
// It never waits longer than a minute, so a broken test cannot leave it behind.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {
std::string env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}
} // namespace

int main(int argc, char** argv)
{
    using namespace std::chrono;
    if (const std::string record = env("TF_FAKE_GAME_RECORD"); !record.empty()) {
        const std::string part = record + ".part";
        {
            std::ofstream out(part, std::ios::binary);
            out << "cwd=" << std::filesystem::current_path().string() << '\n';
            for (int i = 0; i < argc; ++i)
                out << "arg" << i << '=' << argv[i] << '\n';
        }
        // Whole or not at all: the test may look while the game still runs.
        std::filesystem::rename(part, record);
    }
    const std::string release = env("TF_FAKE_GAME_RELEASE");
    const std::string ms = env("TF_FAKE_GAME_MS");
    const auto limit = release.empty() ? milliseconds(ms.empty() ? 0 : std::atoi(ms.c_str())) : minutes(1);
    const auto start = steady_clock::now();
    while (steady_clock::now() - start < limit) {
        if (!release.empty() && std::filesystem::exists(release))
            break;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return 0;
}
