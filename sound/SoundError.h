#pragma once
// Errors raised by the sound players. The coordinator functions catch them all.

#include <stdexcept>
#include <string>

class EAudioError : public std::runtime_error {
public:
    explicit EAudioError(const std::string& message) : std::runtime_error(message) {}
};

// Texts of the players' failures, kept as the product shows them.
inline constexpr const char* kInvalidMidiFile = "Invalid MIDI File";
inline constexpr const char* kInvalidWaveFile = "Archivo de ondas no válido";
inline constexpr const char* kNoSoundOutput = "No se puede usar DirectSound";
