// Pictures outside the map: system graphics, title and game-over screens, monsters, battle
// backdrops, panoramas, pictures and battle animation sheets.
#pragma once

#include <filesystem>

void MakeSystemGraphic(const std::filesystem::path& file);
void MakeNightSystemGraphic(const std::filesystem::path& file);
void MakeTitle(const std::filesystem::path& file);
void MakeGameOver(const std::filesystem::path& file);
void MakeMonster(const std::filesystem::path& file, int kind);
void MakeBackdrop(const std::filesystem::path& file, int kind);
void MakePanorama(const std::filesystem::path& file, int kind);
void MakePicture(const std::filesystem::path& file, int kind);
void MakeBattleSheet(const std::filesystem::path& file, int kind);
