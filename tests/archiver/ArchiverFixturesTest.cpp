// Archives made by another LHA writer, extracted with the extract command line of Setup.
//
// No program here writes LHA archives (lhasa only reads, bsdtar cannot write this format),
// so tests/data/archiver/make_fixtures.py assembles level0.lzh, level1.lzh and level2.lzh
// independently of our writer: its own header code and its own -lh5- encoder (greedy
// matching, one block, code lengths from the symbol count). Each mixes -lh0- and -lh5-
// members, folder entries (one empty, with a Windows-1252 name) and files in sub-folders,
// and each was checked with lhasa (CRC test and extraction) before it was committed.
// lh6-lh7.lzh holds far.bin twice, as -lh6- and as -lh7-, made and checked the same way.
#include <gtest/gtest.h>

#include "ArchiverTestSupport.h"
#include "UnlhaCommand.h"

namespace {

const fs::path Data = fs::path(TF_TEST_DATA) / "archiver";

}  // namespace

TEST(ArchiverFixtures, OtherWritersArchivesExtractWithTheSetupCommandLine) {
  for (const char* name : {"level0.lzh", "level1.lzh", "level2.lzh"}) {
    SCOPED_TRACE(name);
    TTempDir tmp;
    const fs::path game = tmp / "Juegos/Mi juego";
    std::string out;
    ASSERT_EQ(RunUnlha("x -+ \"" + (Data / name).string() + "\" \"" + game.string() + "/\"", out), 0)
        << out;
    // Git keeps no empty folders: the empty one is checked on its own below.
    TRun d = runCommand("diff -r -x 'vac*' " + shellQuote((Data / "expected").string()) + " " +
                            shellQuote(game.string()),
                        tmp.Path, tmp.Path);
    EXPECT_EQ(d.Status, 0) << d.Output;
    EXPECT_TRUE(fs::is_directory(game / "vac\xC3\xAD" "a"));   // "vacía", kept though empty
    EXPECT_TRUE(fs::is_regular_file(game / "empty.txt"));
    if (std::string(name) == "level2.lzh") {
      auto t = fs::last_write_time(game / "readme.txt");
      auto sys = std::chrono::file_clock::to_sys(t);
      EXPECT_EQ(std::chrono::floor<std::chrono::seconds>(sys).time_since_epoch().count(),
                1710506096);
    }
  }
}

TEST(ArchiverFixtures, ListAndTestCommandsReadEveryLevel) {
  for (const char* name : {"level0.lzh", "level1.lzh", "level2.lzh"}) {
    std::string out;
    EXPECT_EQ(RunUnlha(std::string("t \"") + (Data / name).string() + "\"", out), 0) << name << out;
    ASSERT_EQ(RunUnlha(std::string("l \"") + (Data / name).string() + "\"", out), 0) << name;
    EXPECT_NE(out.find("-lh5-"), std::string::npos) << out;
    EXPECT_NE(out.find("-lh0-"), std::string::npos) << out;
    EXPECT_NE(out.find(" data/deep/notes.txt\n"), std::string::npos) << out;
    EXPECT_NE(out.find(" Canci\xC3\xB3n.txt\n"), std::string::npos) << out;
  }
}

// The same generator's level-2 members with the 32 KiB and 64 KiB windows, on data whose
// repeats lie beyond the smaller windows.
TEST(ArchiverFixtures, LargerWindowMethodsDecode) {
  TTempDir tmp;
  std::string out;
  ASSERT_EQ(RunUnlha("x -+ \"" + (Data / "lh6-lh7.lzh").string() + "\" \"" + tmp.Path.string() + "\"", out), 0)
      << out;
  const std::string expected = readFile(Data / "far.bin");
  EXPECT_EQ(readFile(tmp / "far6.bin"), expected);
  EXPECT_EQ(readFile(tmp / "far7.bin"), expected);
}
