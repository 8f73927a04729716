// What one second of output costs: the sequencer on FluidSynth, and sixteen effect voices.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "MidiPlay.h"
#include "MidiSynth.h"
#include "SoundMixer.h"
#include "WavePlayer.h"

namespace {

// Four channels of repeated chords, looping: a busy piece of music.
std::vector<uint8_t> busySong()
{
    std::vector<uint8_t> t;
    for (int beat = 0; beat < 64; ++beat)
        for (int ch = 0; ch < 4; ++ch) {
            if (ch == 0 && beat > 0)
                t.insert(t.end(), {0x83, 0x60}); // a beat (480 ticks) later
            else
                t.push_back(0);
            t.insert(t.end(), {uint8_t(0x90 | ch), uint8_t(48 + ch * 7 + beat % 12), 100});
        }
    t.insert(t.end(), {0x83, 0x60, 0xFF, 0x2F, 0x00});
    std::vector<uint8_t> f{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
    for (int i = 3; i >= 0; --i)
        f.push_back(uint8_t(t.size() >> (8 * i)));
    f.insert(f.end(), t.begin(), t.end());
    return f;
}

void BM_MidiSecond(benchmark::State& state)
{
    TFluidSynthSink synth(MixerRate, DefaultSoundFontPath());
    TMidiPlayer player(synth);
    const auto song = busySong();
    player.Load(TMidiSong::FromBytes(song.data(), song.size()));
    player.Play();
    TSoundMixer mixer;
    mixer.SetMidi(&player, &synth);
    std::vector<float> out(2 * MixerRate);
    for (auto _ : state) {
        mixer.Render(out.data(), MixerRate);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MidiSecond)->Unit(benchmark::kMillisecond);

void BM_SixteenVoicesSecond(benchmark::State& state)
{
    auto sound = std::make_shared<TPcmSound>();
    sound->Channels = 2;
    sound->SampleRate = 44100;
    sound->Samples.resize(2 * 44100);
    for (size_t i = 0; i < sound->Samples.size(); ++i)
        sound->Samples[i] = int16_t(10000 * std::sin(i * 0.01));
    TWavePlayer player;
    player.SetVoiceCount(16);
    for (int v = 0; v < 16; ++v) {
        player.SetVoice(v, std::make_unique<TWaveBuffer>("s" + std::to_string(v), sound));
        player.Voice(v)->Play(80, 90 + v, 50, true);
    }
    TSoundMixer mixer;
    mixer.SetWaves(&player);
    std::vector<float> out(2 * MixerRate);
    for (auto _ : state) {
        mixer.Render(out.data(), MixerRate);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SixteenVoicesSecond)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
