// The tile sets of the run-time package.
#pragma once

#include <filesystem>

void MakeFieldChipSet(const std::filesystem::path& file);
void MakeTownChipSet(const std::filesystem::path& file);
void MakeDungeonChipSet(const std::filesystem::path& file);
