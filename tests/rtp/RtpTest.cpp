// The run-time package: written the same on every run, every picture an 8-bit image of the size
// its pickers expect, tile sets that behave as tile sets, and playable sounds and music.
#include "GR_ChipSet.h"
#include "Rtp.h"
#include "Sounds.h"
#include "VireoImageFile.h"
#include "VudError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <iterator>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A scratch folder beside the test program, never the user's temporary folder. ctest runs the
// cases as parallel processes, so every process gets folders of its own.
std::string processTag() {
  static const std::string tag = std::to_string(std::random_device{}()) + "-" +
                                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  return tag;
}

class ScratchFolder {
public:
  explicit ScratchFolder(const std::string& name) : Path(fs::current_path() / (name + "-" + processTag())) {
    fs::remove_all(Path);
  }
  ~ScratchFolder() { std::error_code ec; fs::remove_all(Path, ec); }
  fs::path Path;
};

class RtpTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Folder = new ScratchFolder("rtp-test-a");
    GenerateRtp(Folder->Path);
  }
  static void TearDownTestSuite() { delete Folder; }
  static fs::path file(const TRtpMaterial& m) { return Folder->Path / m.Folder / (m.Name + "." + m.Extension); }
  static ScratchFolder* Folder;
};
ScratchFolder* RtpTest::Folder = nullptr;

TEST_F(RtpTest, TwoRunsWriteIdenticalBytesAndNothingElse) {
  ScratchFolder second("rtp-test-b");
  GenerateRtp(second.Path);
  std::set<fs::path> listed;
  for (const auto& m : RtpMaterials()) listed.insert(fs::path(m.Folder) / (m.Name + "." + m.Extension));
  std::set<fs::path> written;
  for (const auto& e : fs::recursive_directory_iterator(Folder->Path))
    if (e.is_regular_file()) written.insert(fs::relative(e.path(), Folder->Path));
  EXPECT_EQ(listed, written);
  std::uintmax_t total = 0;
  for (const auto& rel : written) {
    const auto a = readBytes(Folder->Path / rel);
    total += a.size();
    EXPECT_EQ(a, readBytes(second.Path / rel)) << rel;
  }
  // Small enough to be written in every build.
  EXPECT_LT(total, std::uintmax_t(4) << 20);
  for (const char* f : {"Backdrop", "Battle", "CharSet", "ChipSet", "FaceSet", "GameOver", "Monster",
                        "Movie", "Music", "Panorama", "Picture", "Sound", "System", "Title"})
    EXPECT_TRUE(fs::is_directory(Folder->Path / f)) << f;
}

TEST_F(RtpTest, EveryPictureIsAn8BitImageOfItsKindsSize) {
  const std::map<std::string, std::pair<int, int>> kindSizes = {
      {"ChipSet", {480, 256}}, {"CharSet", {288, 256}}, {"FaceSet", {192, 192}}, {"System", {160, 80}},
      {"Title", {320, 240}},   {"GameOver", {320, 240}}, {"Backdrop", {320, 160}}, {"Battle", {480, 480}}};
  int pictures = 0;
  for (const auto& m : RtpMaterials()) {
    if (m.Extension != "png") continue;
    ++pictures;
    TVireoBitmap b;
    ASSERT_NO_THROW(LoadImageFile(b, file(m))) << m.Name;
    EXPECT_EQ(b.BitCount(), 8) << m.Name;
    auto it = kindSizes.find(m.Folder);
    if (it != kindSizes.end()) {
      EXPECT_EQ(b.Width(), it->second.first) << m.Name;
      EXPECT_EQ(b.Height(), it->second.second) << m.Name;
    } else {
      EXPECT_TRUE(b.Width() >= 32 && b.Width() <= 640 && b.Height() >= 32 && b.Height() <= 480) << m.Name;
    }
  }
  EXPECT_GE(pictures, 20);
}

TEST_F(RtpTest, TileSetsHaveAnEmptyUpperTileSolidGroundAndNoAccidentalMerges) {
  SetLenientMode(false);
  for (const auto& m : RtpMaterials()) {
    if (m.Folder != "ChipSet") continue;
    TVudChipSetGraphic g;
    g.LoadChipSetFile(file(m), m.Name);
    EXPECT_TRUE(g.UpperTransparent(0)) << m.Name;
    for (int k = 0; k < kPlainTileCount; ++k) EXPECT_FALSE(g.PlainTransparent(k)) << m.Name << " plain " << k;
    for (int i = 6; i <= 17; ++i) EXPECT_EQ(g.MergeTarget(i), -1) << m.Name << " autotile " << i - 5;
    // Water, animated tiles and autotile blocks are opaque: nothing drawn on the lower layer
    // shows the transparent colour.
    const TVireoSheet& s = g.Sheet();
    for (TVireoRect r : {TVireoRect{0, 0, 96, 64}, TVireoRect{0, 64, 96, 128}, TVireoRect{0, 128, 192, 256},
                         TVireoRect{96, 0, 192, 128}})
      EXPECT_TRUE(s.IsAllOpaque(r)) << m.Name << " " << r.Left << "," << r.Top;
    // The border shapes really differ from the plain centre.
    TVireoBoard a, b;
    a.SetSize(16, 16), b.SetSize(16, 16);
    g.DrawTile(a, 0, 0, 4000, 0, false, 16);
    g.DrawTile(b, 0, 0, 4046, 0, false, 16);
    EXPECT_NE(std::vector<std::uint8_t>(a.Bits(), a.Bits() + 16 * a.BytesPerLine()),
              std::vector<std::uint8_t>(b.Bits(), b.Bits() + 16 * b.BytesPerLine())) << m.Name;
  }
}

TEST_F(RtpTest, CharacterSetsShowEveryCharacterOnATransparentBackground) {
  for (const auto& m : RtpMaterials()) {
    if (m.Folder != "CharSet") continue;
    TVireoBitmap b;
    LoadImageFile(b, file(m));
    const int characters = m.Name == "Vehiculos" ? 3 : 8;
    for (int c = 0; c < characters; ++c)
      for (int dir = 0; dir < 4; ++dir)
        for (int pattern = 0; pattern < 3; ++pattern) {
          const int x0 = 72 * (c % 4) + 24 * pattern, y0 = 128 * (c / 4) + 32 * dir;
          int drawn = 0;
          for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 24; ++x) drawn += b.PixelIndex(x0 + x, y0 + y) != 0;
          EXPECT_GT(drawn, 40) << m.Name << " " << c << "/" << dir << "/" << pattern;
          EXPECT_EQ(b.PixelIndex(x0, y0), 0) << m.Name;
        }
  }
}

TEST_F(RtpTest, SoundsArePcmMonoWavesAndMusicIsStandardMidi) {
  for (const auto& name : SoundEffects()) {
    const auto w = SoundEffectBytes(name);
    ASSERT_GT(w.size(), 44u) << name;
    auto u32 = [&](std::size_t at) { return w[at] | w[at + 1] << 8 | w[at + 2] << 16 | std::uint32_t(w[at + 3]) << 24; };
    auto u16 = [&](std::size_t at) { return w[at] | w[at + 1] << 8; };
    EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
    EXPECT_EQ(u32(4), w.size() - 8);
    EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u16(20), 1) << "PCM";
    EXPECT_EQ(u16(22), 1) << "mono";
    EXPECT_EQ(u32(24), 22050u);
    EXPECT_EQ(u16(34), 16);
    EXPECT_EQ(u32(40), w.size() - 44);
    EXPECT_LT(w.size(), 22050u * 2 * 2) << name << " is short";
  }
  for (const auto& name : MusicPieces()) {
    const auto m = MusicBytes(name);
    ASSERT_GT(m.size(), 22u);
    EXPECT_EQ(std::string(m.begin(), m.begin() + 4), "MThd");
    EXPECT_EQ(m[9], 0) << "format 0";
    EXPECT_EQ(m[11], 1) << "one track";
    EXPECT_EQ(std::string(m.begin() + 14, m.begin() + 18), "MTrk");
    const std::size_t length = std::size_t(m[18]) << 24 | m[19] << 16 | m[20] << 8 | m[21];
    EXPECT_EQ(length, m.size() - 22) << name;
    EXPECT_EQ(std::vector<std::uint8_t>(m.end() - 3, m.end()), (std::vector<std::uint8_t>{0xFF, 0x2F, 0x00})) << name;
  }
  EXPECT_GE(SoundEffects().size(), 10u);
  EXPECT_GE(MusicPieces().size(), 4u);
}

}  // namespace
