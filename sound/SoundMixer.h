#pragma once
// The one software mixer: the MIDI synthesiser, the wave player's voices and music buffer
// and the MP3 player, rendered in 1 ms slices so that the sequencer's timer is exact.

#include <cstdint>
#include <memory>
#include <mutex>

#include "WavePlayer.h"

class TMidiPlayer;
class TFluidSynthSink;
class TMP3Player;

class TSoundMixer {
public:
    static constexpr int FramesPerMs = MixerRate / 1000;

    // Held by the audio thread while rendering and by every player operation.
    std::mutex& Lock() { return FLock; }

    // Sources; set and cleared under Lock().
    void SetMidi(TMidiPlayer* player, TFluidSynthSink* synth);
    void SetWaves(TWavePlayer* player) { FWaves = player; }
    void SetMp3(TMP3Player* player) { FMp3 = player; }

    // Milliseconds of audio rendered so far: the clock of fades and timers.
    int64_t Now() const { return FNow; }

    // Renders interleaved stereo float frames. Takes the lock itself.
    void Render(float* stereo, int frames);

private:
    void RenderLocked(float* stereo, int frames);
    void EndOfSlice();

    std::mutex FLock;
    TMidiPlayer* FMidi = nullptr;
    TFluidSynthSink* FSynth = nullptr;
    TWavePlayer* FWaves = nullptr;
    TMP3Player* FMp3 = nullptr;
    int64_t FNow = 0;
    int FSliceFill = 0;
};

// Where the mixer's output goes.
class TAudioDevice {
public:
    virtual ~TAudioDevice() = default;
    // Starts pulling from the mixer; throws EAudioError when there is no usable device.
    virtual void Open(TSoundMixer& mixer) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};

// SDL2 audio output. A missing device, or SDL's "dummy" driver, counts as no sound.
class TSdlAudioDevice : public TAudioDevice {
public:
    ~TSdlAudioDevice() override;
    void Open(TSoundMixer& mixer) override;
    void Close() override;
    bool IsOpen() const override { return FDevice != 0; }

private:
    uint32_t FDevice = 0;
};

std::unique_ptr<TAudioDevice> CreateSystemAudioDevice();
