// The real output path: SDL's disk driver captures what the mixer plays.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include <sndfile.h>

#include "AudioCoordinator.h"
#include "SoundTestFiles.h"

TEST(SoundOutput, MidiMusicReachesTheDiskDriver)
{
    const auto dir = TestFolder("output_disk");
    const auto capture = dir / "capture.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    MidiTrack t;
    t.Event(0, {0xC0, 0}).Event(0, {0x90, 64, 110}).Event(1920, {0x80, 64, 0}).End(480);
    WriteFile(dir / "song.mid", MidiFile(480, {t}));

    ASSERT_TRUE(OpenAudio());
    ASSERT_TRUE(OpenMidi());
    ASSERT_TRUE(PlayMusic((dir / "song.mid").string()));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    // Changes from this thread while the output thread renders.
    ASSERT_TRUE(OpenWaveVoices());
    WriteSineWave(dir / "beep.wav", 22050, 1, 4410, 0.5, 880, SF_FORMAT_PCM_16);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(PlaySoundEffect((dir / "beep.wav").string(), 80, 100 + 20 * i, 50));
        EXPECT_TRUE(SetMusicVolume(90 - i * 10));
        EXPECT_TRUE(SetMusicTempo(100 + i * 10));
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    EXPECT_TRUE(FadeOutMusic(300));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    ASSERT_TRUE(CloseAudio());

    std::ifstream in(capture, std::ios::binary);
    std::vector<float> samples;
    float f;
    while (in.read(reinterpret_cast<char*>(&f), sizeof f))
        samples.push_back(f);
    ASSERT_GT(samples.size(), 48000u) << "less than half a second was captured";
    double sum = 0;
    for (float s : samples)
        sum += double(s) * s;
    EXPECT_GT(std::sqrt(sum / samples.size()), 0.005) << "the captured output is silent";
}

TEST(SoundOutput, DummyDriverCountsAsNoDevice)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(OpenAudio());
    EXPECT_FALSE(OpenMidi());
    EXPECT_FALSE(OpenWaveVoices());
    EXPECT_TRUE(CloseAudio());
}
