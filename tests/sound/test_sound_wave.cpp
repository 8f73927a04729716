// Wave decoding, the volume/pan/frequency laws and the mixer's output levels.

#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <cstring>

#include "MidiPlay.h"
#include "MidiSynth.h"
#include "SoundError.h"
#include "SoundMixer.h"
#include "SoundTestFiles.h"
#include "WavePlayer.h"

namespace {

double rms(const std::vector<float>& stereo, int channel, size_t from = 0)
{
    double sum = 0;
    size_t n = 0;
    for (size_t i = from * 2 + channel; i < stereo.size(); i += 2, ++n)
        sum += double(stereo[i]) * stereo[i];
    return n ? std::sqrt(sum / n) : 0;
}

std::vector<float> render(TSoundMixer& mixer, int frames)
{
    std::vector<float> out(size_t(frames) * 2);
    mixer.Render(out.data(), frames);
    return out;
}

void putLE(Bytes& b, uint32_t v, int n)
{
    for (int i = 0; i < n; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

// A hand-made PCM wave: 8 mono 16-bit samples, with chunks placed as the test wants.
Bytes handWave(uint32_t riffSize, bool oddChunkFirst, uint32_t dataSize, uint16_t tag = 1)
{
    Bytes b{'R', 'I', 'F', 'F'};
    putLE(b, riffSize, 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    if (oddChunkFirst) {
        b.insert(b.end(), {'L', 'I', 'S', 'T'});
        putLE(b, 3, 4);
        b.insert(b.end(), {1, 2, 3, 0}); // three bytes and the pad byte
    }
    b.insert(b.end(), {'f', 'm', 't', ' '});
    putLE(b, 16, 4);
    putLE(b, tag, 2);
    putLE(b, 1, 2);
    putLE(b, 8000, 4);
    putLE(b, 16000, 4);
    putLE(b, 2, 2);
    putLE(b, 16, 2);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    putLE(b, dataSize, 4);
    for (int i = 0; i < 8; ++i)
        putLE(b, uint32_t(int16_t(1000 * (i + 1))), 2);
    return b;
}

} // namespace

TEST(SoundWave, DirectSoundLaws)
{
    EXPECT_EQ(DirectSoundVolume(50, 100), -1750);
    EXPECT_EQ(DirectSoundVolume(0, 100), -10000);
    EXPECT_EQ(DirectSoundVolume(100, 100), 0);
    EXPECT_EQ(DirectSoundVolume(100, 50), -1750);
    EXPECT_EQ(DirectSoundVolume(100, 0), -10000);
    EXPECT_EQ(DirectSoundPan(0), -3000);
    EXPECT_EQ(DirectSoundPan(50), 0);
    EXPECT_EQ(DirectSoundPan(100), 3000);
    EXPECT_EQ(DirectSoundFrequency(22050, 100), 22050);
    EXPECT_EQ(DirectSoundFrequency(44100, 1000), 100000);
    EXPECT_EQ(DirectSoundFrequency(8000, 1), 100);
    EXPECT_NEAR(GainOfHundredthsDb(-1750), 0.13335, 1e-4);
    EXPECT_EQ(GainOfHundredthsDb(-10000), 0.0f);
}

TEST(SoundWave, VolumeAndPanMeasureAsTheLawSays)
{
    const auto dir = TestFolder("wave_levels");
    WriteSineWave(dir / "a.wav", 48000, 1, 48000, 0.5, 441, SF_FORMAT_PCM_16);
    auto sound = std::make_shared<const TPcmSound>(LoadWaveFile((dir / "a.wav").string()));
    ASSERT_EQ(sound->Frames(), 48000u);
    const double full = 0.5 / std::sqrt(2.0);

    struct Case {
        int Volume, Pan;
        double Left, Right; // expected gains
    };
    const Case cases[] = {
        {100, 50, 1.0, 1.0},
        {50, 50, 0.13335, 0.13335},
        {0, 50, 0.0, 0.0},
        {100, 0, 1.0, 0.031623},   // -30 dB on the right
        {100, 100, 0.031623, 1.0}, // -30 dB on the left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << c.Volume << " pan " << c.Pan);
        TWavePlayer player;
        player.SetVoiceCount(16);
        player.SetVoice(0, std::make_unique<TWaveBuffer>("a.wav", sound));
        player.Voice(0)->Play(c.Volume, 100, c.Pan, false);
        TSoundMixer mixer;
        mixer.SetWaves(&player);
        const auto out = render(mixer, 24000);
        EXPECT_NEAR(rms(out, 0), full * c.Left, 0.002);
        EXPECT_NEAR(rms(out, 1), full * c.Right, 0.002);
    }
}

TEST(SoundWave, SpeedFadeAndOverlappingCopies)
{
    auto sound = std::make_shared<TPcmSound>();
    sound->SampleRate = 48000;
    sound->Samples = SineSamples(48000, 1, 4800, 0.5, 1000);
    TWavePlayer player;
    player.SetVoiceCount(16);
    player.SetVoice(3, std::make_unique<TWaveBuffer>("s", sound));
    TWaveBuffer& voice = *player.Voice(3);
    TSoundMixer mixer;
    mixer.SetWaves(&player);

    // Twice the speed: 4800 frames are done after 2400 frames of output.
    voice.Play(100, 200, 50, false);
    render(mixer, 2410);
    EXPECT_FALSE(voice.Playing());

    // Five plays in a row go round the four copies.
    std::vector<int> used;
    for (int i = 0; i < 5; ++i) {
        used.push_back(voice.NextCopy());
        voice.Play(100, 100, 50, false);
    }
    EXPECT_EQ(used, (std::vector<int>{1, 2, 3, 0, 1}));
    for (int i = 0; i < TWaveBuffer::Copies; ++i)
        EXPECT_TRUE(voice.Copy(i).Playing);
    voice.Stop();

    // Music loops; a fade-out over 200 ms reaches silence on the 50 ms updates.
    player.SetMusic(std::make_unique<TWaveBuffer>("m", sound));
    player.Music()->Play(100, 100, 50, true);
    render(mixer, 48000 / 2);
    EXPECT_TRUE(player.Music()->Playing());
    player.Music()->FadeOut(mixer.Now(), 200);
    const auto during = render(mixer, 48 * 100);
    render(mixer, 48 * 150);
    const auto after = render(mixer, 48 * 100);
    EXPECT_GT(rms(during, 0), 0.05);
    EXPECT_LT(rms(after, 0), 1e-6);
    EXPECT_EQ(player.Music()->Copy(0).Fade.Level, 0);
}

TEST(SoundWave, MsAdpcmDecodesAndImaAdpcmIsRefused)
{
    const auto dir = TestFolder("wave_adpcm");
    WriteSineWave(dir / "ms.wav", 22050, 2, 22050, 0.5, 440, SF_FORMAT_MS_ADPCM);
    WriteSineWave(dir / "ima.wav", 22050, 1, 22050, 0.5, 440, SF_FORMAT_IMA_ADPCM);
    WriteSineWave(dir / "float.wav", 22050, 1, 1000, 0.5, 440, SF_FORMAT_FLOAT);

    const TPcmSound ms = LoadWaveFile((dir / "ms.wav").string());
    EXPECT_EQ(ms.Channels, 2);
    EXPECT_EQ(ms.SampleRate, 22050);
    ASSERT_GE(ms.Frames(), 22050u);
    const std::vector<int16_t> want = SineSamples(22050, 2, 22050, 0.5, 440);
    double err = 0, sig = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        err += std::pow(double(ms.Samples[i]) - want[i], 2);
        sig += std::pow(double(want[i]), 2);
    }
    EXPECT_LT(err / sig, 0.01) << "ADPCM decoding drifts from the sine that was encoded";

    for (const char* name : {"ima.wav", "float.wav"}) {
        SCOPED_TRACE(name);
        try {
            LoadWaveFile((dir / name).string());
            ADD_FAILURE() << "accepted";
        } catch (const EAudioError& e) {
            EXPECT_STREQ(e.what(), "Archivo de ondas no válido");
        }
    }
}

TEST(SoundWave, ChunkSizesAreTakenWithCare)
{
    struct Case {
        const char* Name;
        Bytes File;
        size_t WantFrames; // 0: refused
    };
    Bytes noData = handWave(36, false, 0);
    noData.resize(noData.size() - 24);
    const Case cases[] = {
        {"plain", handWave(36 + 16, false, 16), 8},
        {"odd chunk before fmt", handWave(48 + 16, true, 16), 8},
        {"RIFF size past the end", handWave(0x7FFFFFF0, false, 16), 8},
        {"data size past the end", handWave(36 + 16, false, 0x7FFFFFF0), 8},
        {"data cut to what the RIFF size says", handWave(36 + 8, false, 16), 4},
        {"no data chunk", noData, 0},
        {"format tag 3", handWave(36 + 16, false, 16, 3), 0},
        {"format tag 0xFFFE", handWave(36 + 16, false, 16, 0xFFFE), 0},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, 0},
        {"too short", Bytes{'R', 'I', 'F', 'F'}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            const TPcmSound s = DecodeWave(c.File.data(), c.File.size());
            EXPECT_EQ(s.Frames(), c.WantFrames);
            if (c.WantFrames) {
                EXPECT_EQ(s.Samples[0], 1000);
                EXPECT_EQ(s.Samples[c.WantFrames - 1], int16_t(1000 * c.WantFrames));
            }
        } catch (const EAudioError& e) {
            EXPECT_EQ(c.WantFrames, 0u) << e.what();
            EXPECT_STREQ(e.what(), "Archivo de ondas no válido");
        }
    }
}

TEST(SoundWave, FluidSynthRendersAMidiFileAudibly)
{
    const std::string font = DefaultSoundFontPath();
    ASSERT_TRUE(std::filesystem::exists(font)) << font;
    TFluidSynthSink synth(MixerRate, font);
    TMidiPlayer player(synth);
    MidiTrack t;
    t.Event(0, {0xC0, 0}).Event(0, {0x90, 60, 110}).Event(960, {0x80, 60, 0}).End(480);
    const Bytes file = MidiFile(480, {t});
    player.Load(TMidiSong::FromBytes(file.data(), file.size()));
    player.Play();
    TSoundMixer mixer;
    mixer.SetMidi(&player, &synth);

    const auto before = render(mixer, 48 * 140);
    const auto during = render(mixer, 48 * 500);
    EXPECT_LT(rms(before, 0), 1e-4);
    EXPECT_GT(rms(during, 0), 0.01);
    EXPECT_GT(rms(during, 1), 0.01);

    // Volume 0 after the start-up silences the channel volumes.
    player.SetVolume(0);
    render(mixer, 48 * 300);
    const auto muted = render(mixer, 48 * 100);
    EXPECT_LT(rms(muted, 0), 1e-3);
}
