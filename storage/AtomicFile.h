// Whole-file reads and atomic writes: a save writes a temporary file beside the target and
// renames it over the target, so a crash or a full disk never leaves a half-written file.
#pragma once
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

void SaveFileAtomic(const std::filesystem::path& target, std::span<const uint8_t> data);
// Throws EVudError when the file cannot be read; `maxSize` guards against absurd files.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& file, uint64_t maxSize = uint64_t(1) << 31);
