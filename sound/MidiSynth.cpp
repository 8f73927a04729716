#include "MidiSynth.h"

#include <fluidsynth.h>

#include <algorithm>

#include "SoundError.h"

namespace {

void quietLog(int, const char*, void*) {}

} // namespace

std::string DefaultSoundFontPath()
{
    return "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

TFluidSynthSink::TFluidSynthSink(double sampleRate, const std::string& soundFont)
{
    // FluidSynth talks on stderr about every missing preset; errors still reach us as results.
    fluid_set_log_function(FLUID_WARN, quietLog, nullptr);
    fluid_set_log_function(FLUID_INFO, quietLog, nullptr);
    fluid_set_log_function(FLUID_DBG, quietLog, nullptr);
    FSettings = new_fluid_settings();
    if (!FSettings)
        throw EAudioError("MMSYSERR_NOMEM");
    fluid_settings_setnum(FSettings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(FSettings, "synth.gain", 0.5);
    FSynth = new_fluid_synth(FSettings);
    if (!FSynth) {
        delete_fluid_settings(FSettings);
        throw EAudioError("MMSYSERR_NOMEM");
    }
    if (fluid_synth_sfload(FSynth, soundFont.c_str(), 1) == FLUID_FAILED) {
        delete_fluid_synth(FSynth);
        delete_fluid_settings(FSettings);
        throw EAudioError("MMSYSERR_NODRIVER");
    }
}

TFluidSynthSink::~TFluidSynthSink()
{
    delete_fluid_synth(FSynth);
    delete_fluid_settings(FSettings);
}

void TFluidSynthSink::ShortMessage(uint32_t message)
{
    const int status = message & 0xFF;
    const int channel = status & 0x0F;
    const int d1 = (message >> 8) & 0x7F;
    const int d2 = (message >> 16) & 0x7F;
    switch (status & 0xF0) {
    case 0x80: fluid_synth_noteoff(FSynth, channel, d1); break;
    case 0x90:
        if (d2 == 0)
            fluid_synth_noteoff(FSynth, channel, d1);
        else
            fluid_synth_noteon(FSynth, channel, d1, d2);
        break;
    case 0xA0: fluid_synth_key_pressure(FSynth, channel, d1, d2); break;
    case 0xB0: fluid_synth_cc(FSynth, channel, d1, d2); break;
    case 0xC0: fluid_synth_program_change(FSynth, channel, d1); break;
    case 0xD0: fluid_synth_channel_pressure(FSynth, channel, d1); break;
    case 0xE0: fluid_synth_pitch_bend(FSynth, channel, d1 | (d2 << 7)); break;
    default: break;
    }
}

void TFluidSynthSink::SysEx(const std::vector<uint8_t>& message)
{
    // FluidSynth wants the body without the F0 and F7 framing bytes.
    if (message.size() < 2 || message.front() != 0xF0)
        return;
    size_t len = message.size() - 1;
    if (message.back() == 0xF7)
        --len;
    fluid_synth_sysex(FSynth, reinterpret_cast<const char*>(message.data() + 1),
                      static_cast<int>(len), nullptr, nullptr, nullptr, 0);
}

void TFluidSynthSink::RenderAdd(float* stereo, int frames)
{
    if (frames <= 0)
        return;
    FLeft.assign(frames, 0.0f);
    FRight.assign(frames, 0.0f);
    fluid_synth_write_float(FSynth, frames, FLeft.data(), 0, 1, FRight.data(), 0, 1);
    for (int i = 0; i < frames; ++i) {
        stereo[2 * i] += FLeft[i];
        stereo[2 * i + 1] += FRight[i];
    }
}
