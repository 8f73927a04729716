#pragma once
// Wave decoding and the wave player: sixteen effect voices and one music buffer, each
// voice able to overlap itself four times, mixed in software.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SoundFade.h"

// A decoded sound: 16-bit samples, interleaved, one or two channels.
struct TPcmSound {
    int Channels = 1;
    int SampleRate = 0;
    std::vector<int16_t> Samples;

    size_t Frames() const { return Channels ? Samples.size() / Channels : 0; }
};

// Reads a RIFF WAVE file; only PCM and MS-ADPCM are taken, anything else is
// "Archivo de ondas no válido".
TPcmSound DecodeWave(const uint8_t* data, size_t size);
TPcmSound LoadWaveFile(const std::string& path);

// The volume, pan and frequency laws of the players (hundredths of a decibel).
int DirectSoundVolume(int volume, int fade);
int DirectSoundPan(int pan);
int DirectSoundFrequency(int sampleRate, int speed);
float GainOfHundredthsDb(int value);

constexpr int MixerRate = 48000;

// One playing copy of a sound, with its own volume, pan, speed and fade.
struct TPcmVoice {
    std::shared_ptr<const TPcmSound> Sound;
    double Position = 0;
    bool Playing = false;
    bool Looping = false;
    int Volume = 100;
    int Pan = 50;
    int Speed = 100;
    TSoundFade Fade;

    void MixInto(float* stereo, int frames);
};

class TWaveBuffer {
public:
    static constexpr int Copies = 4;

    TWaveBuffer(std::string fileName, std::shared_ptr<const TPcmSound> sound);

    const std::string& FileName() const { return FFileName; }
    // Plays on the next of the four copies in turn, from the start.
    void Play(int volume, int speed, int pan, bool loop);
    void Stop();
    bool Playing() const;
    void SetVolume(int volume);
    void SetSpeed(int speed);
    void SetPan(int pan);
    void FadeIn(int64_t now, int ms);
    void FadeOut(int64_t now, int ms);
    void UpdateFades(int64_t now);
    void MixInto(float* stereo, int frames);

    int NextCopy() const { return FNext; }
    const TPcmVoice& Copy(int i) const { return FCopies[i]; }

private:
    std::string FFileName;
    std::array<TPcmVoice, Copies> FCopies;
    int FNext = 0;
    int FLast = 0;
};

class TWavePlayer {
public:
    void SetVoiceCount(int count);
    int VoiceCount() const { return static_cast<int>(FVoices.size()); }
    TWaveBuffer* Voice(int i) const;
    void SetVoice(int i, std::unique_ptr<TWaveBuffer> buffer);
    void StopVoices();

    TWaveBuffer* Music() const { return FMusic.get(); }
    void SetMusic(std::unique_ptr<TWaveBuffer> buffer);
    void StopMusic();

    // The 50 ms update: fades move on.
    void UpdateFades(int64_t now);
    void MixInto(float* stereo, int frames);

private:
    std::vector<std::unique_ptr<TWaveBuffer>> FVoices;
    std::unique_ptr<TWaveBuffer> FMusic;
};
