// Sound effects synthesised in code (16-bit PCM mono WAV, 22050 Hz) and short standard MIDI
// files composed in code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

const std::vector<std::string>& SoundEffects();
const std::vector<std::string>& MusicPieces();
void WriteSoundEffect(const std::filesystem::path& file, const std::string& name);
void WriteMusic(const std::filesystem::path& file, const std::string& name);

// The bytes themselves, for tests.
std::vector<std::uint8_t> SoundEffectBytes(const std::string& name);
std::vector<std::uint8_t> MusicBytes(const std::string& name);
