#include "SoundMixer.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "MP3Player.h"
#include "MidiPlay.h"
#include "MidiSynth.h"
#include "SoundError.h"

void TSoundMixer::SetMidi(TMidiPlayer* player, TFluidSynthSink* synth)
{
    FMidi = player;
    FSynth = synth;
}

void TSoundMixer::Render(float* stereo, int frames)
{
    std::lock_guard guard(FLock);
    RenderLocked(stereo, frames);
}

void TSoundMixer::RenderLocked(float* stereo, int frames)
{
    std::fill(stereo, stereo + 2 * frames, 0.0f);
    float* out = stereo;
    int left = frames;
    while (left > 0) {
        const int n = std::min(left, FramesPerMs - FSliceFill);
        if (FSynth)
            FSynth->RenderAdd(out, n);
        if (FWaves)
            FWaves->MixInto(out, n);
        if (FMp3)
            FMp3->MixInto(out, n);
        out += 2 * n;
        left -= n;
        FSliceFill += n;
        if (FSliceFill == FramesPerMs) {
            FSliceFill = 0;
            EndOfSlice();
        }
    }
    for (int i = 0; i < 2 * frames; ++i)
        stereo[i] = std::clamp(stereo[i], -1.0f, 1.0f);
}

void TSoundMixer::EndOfSlice()
{
    ++FNow;
    // The sequencer's timer runs after the slice it ends, so what it sends sounds from now on.
    if (FMidi)
        FMidi->TimerTick();
    if (FNow % 50 == 0) {
        if (FWaves)
            FWaves->UpdateFades(FNow);
        if (FMp3)
            FMp3->UpdateFades(FNow);
    }
}

namespace {

void sdlCallback(void* user, Uint8* stream, int len)
{
    auto* mixer = static_cast<TSoundMixer*>(user);
    mixer->Render(reinterpret_cast<float*>(stream), len / int(2 * sizeof(float)));
}

} // namespace

TSdlAudioDevice::~TSdlAudioDevice()
{
    Close();
}

void TSdlAudioDevice::Open(TSoundMixer& mixer)
{
    if (FDevice)
        return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        throw EAudioError(kNoSoundOutput);
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || std::strcmp(driver, "dummy") == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw EAudioError(kNoSoundOutput);
    }
    SDL_AudioSpec want{};
    want.freq = MixerRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = sdlCallback;
    want.userdata = &mixer;
    SDL_AudioSpec have{};
    FDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (FDevice == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw EAudioError(kNoSoundOutput);
    }
    SDL_PauseAudioDevice(FDevice, 0);
}

void TSdlAudioDevice::Close()
{
    if (!FDevice)
        return;
    SDL_CloseAudioDevice(FDevice);
    FDevice = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<TAudioDevice> CreateSystemAudioDevice()
{
    return std::make_unique<TSdlAudioDevice>();
}
