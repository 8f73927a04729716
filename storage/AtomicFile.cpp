#include "AtomicFile.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>

#include "VudError.h"

namespace fs = std::filesystem;

namespace {
fs::path tempBeside(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return target.parent_path() /
           ("." + target.filename().string() + ".tmp" + std::to_string(stamp) + "-" + std::to_string(counter++));
}

[[noreturn]] void writeFailed(const fs::path& target)
{
    throw EVudError("No se pudo escribir el archivo " + target.string() + ".");
}
} // namespace

void SaveFileAtomic(const fs::path& target, std::span<const uint8_t> data)
{
    const fs::path temp = tempBeside(target);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            writeFailed(target);
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(temp, ec);
            writeFailed(target);
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        writeFailed(target);
    }
}

std::vector<uint8_t> ReadWholeFile(const fs::path& file, uint64_t maxSize)
{
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (!in || ec || size > maxSize)
        throw EVudError("No se pudo leer el archivo " + file.string() + ".");
    std::vector<uint8_t> data(size);
    in.read(reinterpret_cast<char*>(data.data()), std::streamsize(size));
    if (in.gcount() != std::streamsize(size))
        throw EVudError("No se pudo leer el archivo " + file.string() + ".");
    return data;
}
