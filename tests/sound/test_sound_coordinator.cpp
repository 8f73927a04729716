// The audio coordinator and its process-wide functions, on an output the test drives itself.

#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>

#include "AudioCoordinator.h"
#include "MP3Player.h"
#include "MidiPlay.h"
#include "SoundError.h"
#include "SoundTestFiles.h"
#include "WavePlayer.h"

namespace {

// An output that opens (or refuses to) and never pulls: the test renders by hand.
class ManualDevice : public TAudioDevice {
public:
    explicit ManualDevice(bool works) : FWorks(works) {}
    void Open(TSoundMixer&) override
    {
        if (!FWorks)
            throw EAudioError(kNoSoundOutput);
        FOpen = true;
    }
    void Close() override { FOpen = false; }
    bool IsOpen() const override { return FOpen; }

private:
    bool FWorks;
    bool FOpen = false;
};

class SoundCoordinator : public testing::Test {
protected:
    std::filesystem::path Dir;
    TAudioCoordinator* Coordinator = nullptr;

    void SetUp() override
    {
        Dir = TestFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        auto c = std::make_unique<TAudioCoordinator>(std::make_unique<ManualDevice>(true));
        Coordinator = c.get();
        InstallAudio(std::move(c));
    }
    void TearDown() override { CloseAudio(); }

    std::string Path(const char* name) const { return (Dir / name).string(); }

    std::string MidiSong()
    {
        MidiTrack t;
        t.Event(0, {0x90, 60, 100}).Event(960, {0x80, 60, 0}).End();
        WriteFile(Dir / "song.mid", MidiFile(480, {t}));
        return Path("song.mid");
    }

    std::string Wave(const char* name, int frames = 4800)
    {
        WriteSineWave(Dir / name, 48000, 1, frames, 0.5, 440, SF_FORMAT_PCM_16);
        return Path(name);
    }

    void Render(int ms)
    {
        std::vector<float> out(size_t(ms) * 96);
        Coordinator->Mixer().Render(out.data(), ms * 48);
    }

    int VoiceOf(const std::string& file) const
    {
        for (int i = 0; i < TAudioCoordinator::VoiceCount; ++i)
            if (TWaveBuffer* v = Coordinator->WavePlayer()->Voice(i); v && v->FileName() == file)
                return i;
        return -1;
    }
};

} // namespace

TEST(SoundCoordinatorAbsent, FunctionsReturnFalseWithoutACoordinator)
{
    CloseAudio();
    EXPECT_FALSE(CloseAudio());
    EXPECT_FALSE(OpenMidi());
    EXPECT_FALSE(OpenWaveVoices());
    EXPECT_FALSE(PlayMusic("x.mid"));
    EXPECT_FALSE(StopMusic());
    EXPECT_FALSE(FadeInMusic(100));
    EXPECT_FALSE(FadeOutMusic(100));
    EXPECT_FALSE(SetMusicVolume(50));
    EXPECT_FALSE(SetMusicTempo(50));
    EXPECT_FALSE(SetMusicBalance(50));
    EXPECT_FALSE(PlaySoundEffect("x.wav", 100, 100, 50));
    EXPECT_FALSE(StopSoundEffects());
    EXPECT_FALSE(CloseMidi());
}

TEST(SoundCoordinatorAbsent, NoSoundDeviceMeansFalseSilently)
{
    InstallAudio(std::make_unique<TAudioCoordinator>(std::make_unique<ManualDevice>(false)));
    EXPECT_FALSE(OpenMidi());
    EXPECT_FALSE(OpenWaveVoices());
    const auto dir = TestFolder("nodevice");
    WriteFile(dir / "s.mp3", SilentMp3(4));
    EXPECT_FALSE(PlayMusic((dir / "s.mp3").string()));
    EXPECT_FALSE(PlaySoundEffect((dir / "s.mp3").string(), 100, 100, 50));
    EXPECT_TRUE(StopMusic()); // nothing to stop is no failure
    EXPECT_TRUE(CloseAudio());
}

TEST_F(SoundCoordinator, PlayMusicChoosesThePlayerByContent)
{
    ASSERT_TRUE(OpenMidi());
    ASSERT_TRUE(OpenWaveVoices());
    const std::string mid = MidiSong();
    const std::string riffNamedMp3 = Wave("x.mp3");
    WriteFile(Dir / "real.MP3", SilentMp3(10));
    WriteFile(Dir / "notes.txt", Bytes{'h', 'e', 'l', 'l', 'o'});
    WriteFile(Dir / "bad.mid", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 9});

    EXPECT_TRUE(PlayMusic(mid));
    EXPECT_TRUE(Coordinator->MidiPlayer()->Playing());

    // A file named x.mp3 that starts with "RIFF" is wave music.
    EXPECT_TRUE(PlayMusic(riffNamedMp3));
    EXPECT_FALSE(Coordinator->MidiPlayer()->Playing());
    ASSERT_NE(Coordinator->WavePlayer()->Music(), nullptr);
    EXPECT_TRUE(Coordinator->WavePlayer()->Music()->Playing());
    EXPECT_TRUE(Coordinator->WavePlayer()->Music()->Copy(0).Looping);
    EXPECT_FALSE(Coordinator->MP3Player()->Playing());

    EXPECT_TRUE(PlayMusic(Path("real.MP3")));
    EXPECT_TRUE(Coordinator->MP3Player()->Playing());
    EXPECT_FALSE(Coordinator->WavePlayer()->Music()->Playing());
    EXPECT_EQ(Coordinator->MP3Player()->Voice().Sound->SampleRate, 44100);
    EXPECT_EQ(Coordinator->MP3Player()->Voice().Sound->Frames() % 1152, 0u);

    EXPECT_FALSE(PlayMusic(Path("notes.txt")));
    EXPECT_FALSE(Coordinator->MP3Player()->Playing());
    EXPECT_FALSE(PlayMusic(Path("missing.mid")));

    // A bad MIDI file leaves the player empty.
    EXPECT_FALSE(PlayMusic(Path("bad.mid")));
    EXPECT_EQ(Coordinator->MidiPlayer()->Song().Events.Count(), 0u);

    // Without the MIDI player a MIDI file is nothing it can play.
    ASSERT_TRUE(CloseMidi());
    EXPECT_EQ(Coordinator->MidiPlayer(), nullptr);
    EXPECT_FALSE(PlayMusic(mid));
}

TEST_F(SoundCoordinator, MusicSettingsReachEveryMusicPlayer)
{
    ASSERT_TRUE(OpenMidi());
    ASSERT_TRUE(OpenWaveVoices());
    ASSERT_TRUE(PlayMusic(Wave("m.wav", 48000)));
    EXPECT_TRUE(SetMusicVolume(40));
    EXPECT_TRUE(SetMusicTempo(150));
    EXPECT_TRUE(SetMusicBalance(20));
    const TPcmVoice& copy = Coordinator->WavePlayer()->Music()->Copy(0);
    EXPECT_EQ(copy.Volume, 40);
    EXPECT_EQ(copy.Speed, 150);
    EXPECT_EQ(copy.Pan, 20);
    EXPECT_EQ(Coordinator->MP3Player()->Voice().Volume, 40);

    EXPECT_TRUE(FadeOutMusic(100));
    Render(150);
    EXPECT_EQ(copy.Fade.Level, 0);
    EXPECT_TRUE(FadeInMusic(0));
    EXPECT_EQ(copy.Fade.Level, 100);

    ASSERT_TRUE(PlayMusic(MidiSong()));
    EXPECT_TRUE(FadeInMusic(1000));
    EXPECT_EQ(Coordinator->MidiPlayer()->FadeLevel(), 0);
    Render(1200);
    EXPECT_EQ(Coordinator->MidiPlayer()->FadeLevel(), 100);

    EXPECT_TRUE(StopMusic());
    EXPECT_FALSE(Coordinator->MidiPlayer()->Playing());
    EXPECT_FALSE(Coordinator->WavePlayer()->Music()->Playing());
}

TEST_F(SoundCoordinator, SoundEffectsPickTheirVoices)
{
    EXPECT_FALSE(PlaySoundEffect(Wave("a.wav"), 100, 100, 50)); // no voices yet
    ASSERT_TRUE(OpenWaveVoices());
    const std::string a = Wave("a.wav", 96000), b = Wave("b.wav", 96000), c = Wave("c.wav", 96000);

    EXPECT_TRUE(PlaySoundEffect(a, 100, 100, 50));
    EXPECT_TRUE(PlaySoundEffect(b, 100, 100, 50));
    EXPECT_EQ(VoiceOf(a), 0);
    EXPECT_EQ(VoiceOf(b), 1);
    // The same file plays again on its own voice, on the next of its copies.
    EXPECT_TRUE(PlaySoundEffect(a, 100, 100, 50));
    EXPECT_EQ(Coordinator->WavePlayer()->Voice(0)->NextCopy(), 2);
    // A reserved voice is passed over.
    Coordinator->ReserveVoice(2, true);
    EXPECT_TRUE(PlaySoundEffect(c, 80, 120, 30));
    EXPECT_EQ(VoiceOf(c), 3);
    const TPcmVoice& cv = Coordinator->WavePlayer()->Voice(3)->Copy(0);
    EXPECT_EQ(cv.Volume, 80);
    EXPECT_EQ(cv.Speed, 120);
    EXPECT_EQ(cv.Pan, 30);
    EXPECT_FALSE(cv.Looping);

    // Fill the free voices; then every voice is busy and the round robin takes over.
    for (int i = 4; i < 16; ++i)
        ASSERT_TRUE(PlaySoundEffect(Wave(("f" + std::to_string(i) + ".wav").c_str(), 96000), 100, 100, 50));
    const std::string d = Wave("d.wav"), e = Wave("e.wav"), g = Wave("g.wav");
    EXPECT_TRUE(PlaySoundEffect(d, 100, 100, 50));
    EXPECT_EQ(VoiceOf(d), 1);
    EXPECT_TRUE(PlaySoundEffect(e, 100, 100, 50));
    EXPECT_EQ(VoiceOf(e), 3); // 2 is reserved
    Coordinator->ReserveVoice(2, false);
    EXPECT_TRUE(PlaySoundEffect(g, 100, 100, 50));
    EXPECT_EQ(VoiceOf(g), 2); // free again, and never loaded

    // A sound ends by itself; sounds never loop.
    Render(150);
    EXPECT_FALSE(Coordinator->WavePlayer()->Voice(1)->Playing()); // d: 4800 frames
    EXPECT_TRUE(StopSoundEffects());
    for (int i = 0; i < 16; ++i) {
        if (TWaveBuffer* v = Coordinator->WavePlayer()->Voice(i)) {
            EXPECT_FALSE(v->Playing());
        }
    }

    EXPECT_FALSE(PlaySoundEffect(Path("missing.wav"), 100, 100, 50));
}
