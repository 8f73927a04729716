// The package's sounds and music play through the editor's own sound engine.
#include "MidiPlay.h"
#include "Sounds.h"
#include "WavePlayer.h"

#include <gtest/gtest.h>

TEST(RtpSound, EveryEffectDecodesAsMono22kHzPcmWithSound) {
  for (const auto& name : SoundEffects()) {
    const auto bytes = SoundEffectBytes(name);
    const TPcmSound pcm = DecodeWave(bytes.data(), bytes.size());
    EXPECT_EQ(pcm.Channels, 1) << name;
    EXPECT_EQ(pcm.SampleRate, 22050) << name;
    int peak = 0;
    for (std::int16_t s : pcm.Samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 3000) << name << " is audible";
    EXPECT_LT(pcm.Frames(), 22050u) << name << " is a short effect";
  }
}

TEST(RtpSound, EveryPieceLoadsInTheMidiPlayer) {
  for (const auto& name : MusicPieces()) {
    const auto bytes = MusicBytes(name);
    const TMidiSong song = TMidiSong::FromBytes(bytes.data(), bytes.size());
    EXPECT_GT(song.Events.Count(), 20u) << name;
    EXPECT_EQ(song.Division, 96) << name;
    EXPECT_GT(song.EndTime, 0) << name;
  }
}
