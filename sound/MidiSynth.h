#pragma once
// The synthesiser behind the MIDI player: FluidSynth in process with a General MIDI soundfont.

#include <string>

#include "MidiPlay.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;

// The soundfont the system installs; the settings may name another one.
std::string DefaultSoundFontPath();

class TFluidSynthSink : public TMidiSink {
public:
    // Throws EAudioError when FluidSynth or the soundfont cannot be loaded.
    TFluidSynthSink(double sampleRate, const std::string& soundFont);
    ~TFluidSynthSink() override;
    TFluidSynthSink(const TFluidSynthSink&) = delete;
    TFluidSynthSink& operator=(const TFluidSynthSink&) = delete;

    void ShortMessage(uint32_t message) override;
    void SysEx(const std::vector<uint8_t>& message) override;

    // Adds `frames` stereo frames of synthesis to the interleaved buffer.
    void RenderAdd(float* stereo, int frames);

private:
    _fluid_hashtable_t* FSettings = nullptr;
    _fluid_synth_t* FSynth = nullptr;
    std::vector<float> FLeft, FRight;
};
