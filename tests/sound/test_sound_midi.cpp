// The sequencer against a recording sink: what is sent, and at which millisecond.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "MidiPlay.h"
#include "SoundError.h"
#include "SoundTestFiles.h"

namespace {

struct Sent {
    int64_t Ms;
    uint32_t Message; // 0 for SysEx
    Bytes SysEx;
};

class RecordingSink : public TMidiSink {
public:
    const TMidiPlayer* Player = nullptr;
    std::vector<Sent> Log;
    void ShortMessage(uint32_t m) override { Log.push_back({Now(), m, {}}); }
    void SysEx(const std::vector<uint8_t>& m) override { Log.push_back({Now(), 0, m}); }
    int64_t Now() const { return Player ? Player->Now() : -1; }

    std::vector<Sent> Matching(uint32_t mask, uint32_t value) const
    {
        std::vector<Sent> out;
        for (const Sent& s : Log)
            if (s.Message && (s.Message & mask) == value)
                out.push_back(s);
        return out;
    }
    // The first time a message with these bytes was sent.
    int64_t FirstTime(uint32_t mask, uint32_t value) const
    {
        auto m = Matching(mask, value);
        return m.empty() ? -1 : m.front().Ms;
    }
};

uint32_t cc(int ch, int controller, int value)
{
    return uint32_t(0xB0 | ch) | (controller << 8) | (value << 16);
}
constexpr uint32_t kAll = 0xFFFFFF;
constexpr uint32_t kControllerOnly = 0x00FFFF;

struct Rig {
    RecordingSink Sink;
    TMidiPlayer Player{Sink};
    Rig() { Sink.Player = &Player; }

    void Play(const Bytes& file)
    {
        Player.Load(TMidiSong::FromBytes(file.data(), file.size()));
        Sink.Log.clear();
        Player.Play();
    }
    void Run(int ms)
    {
        for (int i = 0; i < ms; ++i)
            Player.TimerTick();
    }
};

// Division 480, default tempo, one note at tick 960 and its release a beat later.
Bytes noteAt960()
{
    MidiTrack t;
    t.Event(0, {0xC0, 0x00}).Event(960, {0x90, 60, 100}).Event(480, {0x80, 60, 0}).End();
    return MidiFile(480, {t});
}

} // namespace

TEST(SoundMidi, StartUpStepsAndFirstNoteAtTheirMilliseconds)
{
    Rig rig;
    rig.Play(noteAt960());
    EXPECT_EQ(rig.Player.StartTick(), 720); // half a beat before the first note
    rig.Run(1000);
    const auto& log = rig.Sink.Log;
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().Ms, 50);
    EXPECT_EQ(log.front().SysEx, (Bytes{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    for (int ch = 0; ch < 16; ++ch) {
        EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(ch, 101, 0)), 100);
        EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(ch, 100, 0)), 100);
        EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(ch, 6, 2)), 100);
        EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(ch, 38, 0)), 100);
        EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(ch, 7, 100)), 120);
        EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(ch, 10, 64)), 130);
    }
    // The clock starts after 140 ms: events before the start tick go out at once.
    EXPECT_EQ(rig.Sink.FirstTime(0xFF, 0xC0), 141);
    // 240 ticks at 0.96 ticks per millisecond.
    EXPECT_EQ(rig.Sink.FirstTime(kAll, 0x90 | (60 << 8) | (100 << 16)), 390);
    EXPECT_EQ(rig.Sink.FirstTime(kAll, 0x80 | (60 << 8)), 890);
}

TEST(SoundMidi, StepFollowsTempoPercent)
{
    EXPECT_EQ(ComputeMidiStep(500000, 100), 500000);
    EXPECT_EQ(ComputeMidiStep(500000, 200), 250000);
    EXPECT_EQ(ComputeMidiStep(500000, 50), 1000000);
    // 500000 * 100 / 30 = 1666666; no allowed divisor (26 to 128) divides it, the best leaves 1.
    EXPECT_EQ(ComputeMidiStep(500000, 30), 1666665);
    // 800,000,000 has no divisor up to 128 that brings it under 65,536: rounded to 1024.
    EXPECT_EQ(ComputeMidiStep(8000001, 1), 800000000);
    // A tempo of 1 at 10,000 % would give a step of 0: the clock divides by it.
    EXPECT_EQ(ComputeMidiStep(1, 10000), 1);

    Rig rig;
    rig.Play(noteAt960());
    rig.Player.SetTempo(200);
    rig.Run(600);
    EXPECT_EQ(rig.Sink.FirstTime(kAll, 0x90 | (60 << 8) | (100 << 16)), 140 + 125);
}

TEST(SoundMidi, LoopPoint)
{
    struct Case {
        const char* Name;
        int LoopTick; // -1: no marker
        int64_t WantLoopTime;
        bool WantRepeat;
    };
    const Case cases[] = {
        {"no marker loops from the beginning", -1, 0, true},
        {"marker at 1920", 1920, 1920, true},
        {"marker at the very end plays once", 3840, 3840, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        MidiTrack t;
        t.Event(0, {0x90, 40, 90}).Event(960, {0x80, 40, 0});
        if (c.LoopTick == 1920)
            t.Event(960, {0xB0, 111, 0}).Event(0, {0x90, 50, 90});
        else
            t.Event(960, {0x90, 50, 90});
        t.Event(960, {0x90, 50, 90});
        if (c.LoopTick == 3840)
            t.Event(960, {0xB0, 111, 0}).End();
        else
            t.End(960);
        const Bytes file = MidiFile(480, {t});
        TMidiSong song = TMidiSong::FromBytes(file.data(), file.size());
        EXPECT_EQ(song.LoopTime, c.WantLoopTime);
        EXPECT_EQ(song.EndTime, 3840);
        if (c.LoopTick == 1920) {
            EXPECT_EQ(song.Events[song.LoopIndex].Time, 1920);
        }

        Rig rig;
        rig.Play(file);
        // 3840 ticks from 0 at 0.96 ticks/ms take 4000 ms; run a full second longer.
        rig.Run(140 + 4000 + 1100);
        EXPECT_TRUE(rig.Player.Ended());
        const auto first = rig.Sink.Matching(kAll, 0x90 | (40 << 8) | (90 << 16));
        const auto second = rig.Sink.Matching(kAll, 0x90 | (50 << 8) | (90 << 16));
        if (!c.WantRepeat) {
            EXPECT_EQ(first.size(), 1u);
            EXPECT_EQ(second.size(), 2u);
        } else if (c.LoopTick < 0) {
            EXPECT_EQ(first.size(), 2u); // the first note again after the end
            EXPECT_EQ(first[1].Ms, 140 + 4000 + 1);
        } else {
            EXPECT_EQ(first.size(), 1u); // the loop starts after it
            EXPECT_GE(second.size(), 3u);
        }
    }
}

TEST(SoundMidi, VolumeBalanceAndFadeRemapping)
{
    MidiTrack t;
    t.Event(0, {0xB0, 7, 127}).Event(0, {0xB0, 10, 64}).Event(0, {0x90, 60, 100}).End(48000);
    Rig rig;
    rig.Play(MidiFile(480, {t}));
    rig.Player.SetVolume(50);
    rig.Player.SetBalance(100);
    rig.Run(200);
    EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(0, 7, 63)), 141);  // 127 * 50 / 100
    EXPECT_EQ(rig.Sink.Matching(kAll, cc(0, 10, 127)).back().Ms, 141); // 64 + 200 - 100, clamped
    EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(1, 10, 127)), 130);

    // Changing the balance after the start-up resends every pan at once.
    rig.Sink.Log.clear();
    rig.Player.SetBalance(0);
    EXPECT_EQ(rig.Sink.Matching(0x00FFF0, 0x0AB0).size(), 16u);
    EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(0, 10, 0)), 200);

    // A fade-out over 1000 ms: volumes resent every 100 ms, falling to 0.
    rig.Sink.Log.clear();
    rig.Player.FadeOut(1000);
    rig.Run(1200);
    const auto vols = rig.Sink.Matching(kControllerOnly, 0x07B0);
    ASSERT_GE(vols.size(), 10u);
    for (size_t i = 1; i < vols.size(); ++i) {
        EXPECT_LE((vols[i].Message >> 16), (vols[i - 1].Message >> 16));
        if (vols[i].Ms != vols[i - 1].Ms) {
            EXPECT_GE(vols[i].Ms - vols[i - 1].Ms, 100);
        }
    }
    EXPECT_EQ(vols.back().Message, cc(0, 7, 0));
    EXPECT_EQ(rig.Player.FadeLevel(), 0);

    rig.Sink.Log.clear();
    rig.Player.FadeIn(0);
    EXPECT_EQ(rig.Sink.FirstTime(kAll, cc(0, 7, 63)), rig.Player.Now());
}

TEST(SoundMidi, StopSendsSustainOffAndAllNotesOff)
{
    Rig rig;
    rig.Play(noteAt960());
    rig.Run(400);
    rig.Sink.Log.clear();
    rig.Player.Stop();
    ASSERT_EQ(rig.Sink.Log.size(), 32u);
    for (int ch = 0; ch < 16; ++ch) {
        EXPECT_EQ(rig.Sink.Log[2 * ch].Message, cc(ch, 64, 0));
        EXPECT_EQ(rig.Sink.Log[2 * ch + 1].Message, cc(ch, 123, 0));
    }
    rig.Sink.Log.clear();
    rig.Run(500);
    EXPECT_TRUE(rig.Sink.Log.empty());
}

TEST(SoundMidi, LoadingResetsControllersOnEveryChannel)
{
    RecordingSink sink;
    TMidiPlayer player(sink);
    const Bytes file = noteAt960();
    player.Load(TMidiSong::FromBytes(file.data(), file.size()));
    ASSERT_EQ(sink.Log.size(), 16u);
    for (int ch = 0; ch < 16; ++ch)
        EXPECT_EQ(sink.Log[ch].Message, cc(ch, 121, 0));
}

TEST(SoundMidi, MergesTracksByTimeThenTrackNumber)
{
    MidiTrack a, b;
    a.Event(10, {0x90, 1, 1}).Event(10, {0x90, 3, 1}).End();
    b.Event(10, {0x91, 2, 1}).Event(5, {0x91, 4, 1}).End(100);
    const Bytes file = MidiFile(96, {a, b});
    const TMidiSong song = TMidiSong::FromBytes(file.data(), file.size());
    std::vector<int> notes;
    for (size_t i = 0; i < song.Events.Count(); ++i)
        if (song.Events[i].IsChannelMessage())
            notes.push_back((song.Events[i].Message >> 8) & 0xFF);
    EXPECT_EQ(notes, (std::vector<int>{1, 2, 4, 3}));
    EXPECT_EQ(song.EndTime, 115);
}

TEST(SoundMidi, RunningStatusSysExAndLateFirstNote)
{
    MidiTrack t;
    t.Event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    t.Event(40000, {0x90, 60, 100}).Event(10, {62, 100}).End(10);
    const Bytes file = MidiFile(96, {t});
    const TMidiSong song = TMidiSong::FromBytes(file.data(), file.size());
    ASSERT_EQ(song.SysExList.size(), 2u);
    EXPECT_EQ(song.SysExList[1], (Bytes{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    EXPECT_EQ(song.Events[2].Message, 0x90u | (62 << 8) | (100 << 16));

    // The first sound is the SysEx at tick 0.
    Rig rig;
    rig.Play(file);
    EXPECT_EQ(rig.Player.StartTick(), 0);

    // Without it, a first note past 32,767 ticks keeps its start tick (no 16-bit wrap).
    MidiTrack late;
    late.Event(40000, {0x90, 60, 100}).End(10);
    rig.Play(MidiFile(96, {late}));
    EXPECT_EQ(rig.Player.StartTick(), 40000 - 48);
}

TEST(SoundMidi, SysExEventEndsThePeriodsSending)
{
    MidiTrack t;
    t.Event(0, {0x90, 60, 100}).Event(0, {0xF0, 0x02, 0x01, 0xF7}).Event(0, {0x90, 61, 100}).End(960);
    Rig rig;
    rig.Play(MidiFile(480, {t}));
    rig.Run(300);
    EXPECT_EQ(rig.Sink.FirstTime(kAll, 0x90 | (60 << 8) | (100 << 16)), 141);
    EXPECT_EQ(rig.Sink.FirstTime(kAll, 0x90 | (61 << 8) | (100 << 16)), 142);
}

TEST(SoundMidi, CrowdedPeriodsSpillIntoTheNextOnes)
{
    MidiTrack t;
    for (int i = 0; i < 2500; ++i)
        t.Event(0, {0xB0, 1, uint8_t(i % 128)});
    t.End(480);
    Rig rig;
    rig.Play(MidiFile(480, {t}));
    rig.Run(143);
    std::map<int64_t, int> perMs;
    for (const Sent& s : rig.Sink.Matching(kControllerOnly, 0x01B0))
        ++perMs[s.Ms];
    EXPECT_EQ(perMs, (std::map<int64_t, int>{{141, 1000}, {142, 1000}, {143, 500}}));
}

TEST(SoundMidi, TempoEventOfZeroDoesNotStopTheClock)
{
    MidiTrack t;
    t.Tempo(0, 0).Event(0, {0x90, 60, 100}).Event(100, {0x80, 60, 0}).End();
    Rig rig;
    rig.Play(MidiFile(480, {t}));
    EXPECT_EQ(rig.Player.Step(), 1);
    rig.Run(300);
    EXPECT_TRUE(rig.Player.Ended());
}

TEST(SoundMidi, MalformedFilesAreRefused)
{
    const Bytes good = noteAt960();
    auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + at);
        return b;
    };
    MidiTrack badTempo, noStatus, longQuantity, onlyDelta;
    badTempo.Event(0, {0xFF, 0x51, 0x02, 0x07, 0xA1}).End();
    noStatus.Event(0, {60, 100}).End();
    longQuantity.Data = {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100};
    onlyDelta.Data = {0x00};
    MidiTrack many;
    for (int i = 0; i < 100001; ++i)
        many.Event(0, {0x90, 60, 100});
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"no MThd", with(0, {'M', 'T', 'h', 'x'})},
        {"header length 7", with(4, {0, 0, 0, 7})},
        {"no MTrk", with(14, {'X', 'T', 'r', 'k'})},
        {"track longer than the file", with(18, {0, 0, 1, 0})},
        {"more tracks than the file", with(10, {0, 2})},
        {"cut inside an event", Bytes(good.begin(), good.end() - 2)},
        {"tempo of two bytes", MidiFile(480, {badTempo})},
        {"data byte without status", MidiFile(480, {noStatus})},
        {"five-byte quantity", MidiFile(480, {longQuantity})},
        {"no events", MidiFile(480, {onlyDelta})},
        {"more than 100,000 events", MidiFile(480, {many})},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        try {
            TMidiSong::FromBytes(bytes.data(), bytes.size());
            ADD_FAILURE() << "accepted";
        } catch (const EAudioError& e) {
            EXPECT_STREQ(e.what(), "Invalid MIDI File");
        }
    }
}

TEST(SoundMidi, BadFileLeavesThePlayerEmpty)
{
    RecordingSink sink;
    TMidiPlayer player(sink);
    const Bytes file = noteAt960();
    player.Load(TMidiSong::FromBytes(file.data(), file.size()));
    const auto dir = TestFolder("midi_bad");
    WriteFile(dir / "bad.mid", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0});
    EXPECT_THROW(player.LoadFromFile((dir / "bad.mid").string()), EAudioError);
    EXPECT_EQ(player.Song().Events.Count(), 0u);
    player.Play();
    EXPECT_FALSE(player.Playing());
}
