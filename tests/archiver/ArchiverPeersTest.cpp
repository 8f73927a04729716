// Archives we write, read back by the independent readers lhasa and bsdtar, and the
// response-file conventions of the pack command line.
#include <gtest/gtest.h>

#include <algorithm>

#include "ArchiverTestSupport.h"
#include "LhaArchive.h"
#include "LhaText.h"
#include "UnlhaCommand.h"

namespace {

const std::string CafeUtf8 = "canci\xC3\xB3n \xC3\xB1.txt";   // "canción ñ.txt"
const std::string CafeCp1252 = "canci\xF3n \xF1.txt";

// Nested and empty folders, empty files, a file over 64 KiB, long runs, random data, spaces
// and a Windows-1252 name; the run time keeps its exec bit.
void makeTree(const fs::path& root) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "Evento " + std::to_string(i % 97) + ": Mostrar mensaje\n";
  writeFile(root / "TFPLAY.exe", randomBytes(3000, 7) + std::string(5000, '\x90'));
  fs::permissions(root / "TFPLAY.exe", fs::perms(0755));
  writeFile(root / "Map0001.lmu", text.substr(0, 9000));
  writeFile(root / "Music/big text.mid", text);                      // ~140 KiB
  writeFile(root / "Music/deep/nested/run.bin", std::string(300000, 'x') + std::string(70000, '\0'));
  writeFile(root / "Picture/noise.png", randomBytes(100000, 9));       // incompressible
  writeFile(root / "Picture/empty file.bmp", "");
  writeFile(root / "Sound" / CafeUtf8, "la la");
  fs::create_directories(root / "Movie");
  fs::create_directories(root / "Music/empty folder");
  // 199 bytes of name in "Picture" make a 256-byte header: without its pad byte readers
  // would take it for the end of the archive.
  writeFile(root / "Picture" / (std::string(195, 'n') + ".txt"), "padded header");
}

long long wholeSeconds(const fs::path& p) {
  auto t = fs::last_write_time(p).time_since_epoch();
  return std::chrono::floor<std::chrono::seconds>(t).count();
}

int unlha(const std::string& line, std::string* out = nullptr) {
  std::string text;
  int r = RunUnlha(line, text);
  if (out) *out = text;
  EXPECT_TRUE(r == 0 || out) << line << ": " << text;
  return r;
}

std::string packCommand(const fs::path& archive, const fs::path& response) {
  return "a -+ -r2 -d -jsl \"" + archive.string() + "\" @" + response.string();
}

// lhasa prints one "Tested" per member it has checked; its exit status alone is not enough.
int testedCount(const std::string& out) {
  int n = 0;
  for (size_t p = out.find("Tested"); p != std::string::npos; p = out.find("Tested", p + 1)) ++n;
  return n;
}

}  // namespace

TEST(ArchiverPeers, LhasaAndBsdtarReadWhatWeWrite) {
  const std::string lhasa = requireTool("lhasa"), bsdtar = requireTool("bsdtar");
  ASSERT_FALSE(lhasa.empty() || bsdtar.empty());
  TTempDir tmp;
  const fs::path src = tmp / "Game";
  makeTree(src);
  const fs::path archive = tmp / "Game.lzh", response = tmp / "Response.lst";
  writeFile(response, "\"" + src.string() + "/\"\nTFPLAY.exe\nMap????.lmu\nMovie\nMusic\nPicture\nSound\n");
  ASSERT_EQ(unlha(packCommand(archive, response)), 0);

  TRun t = runCommand(shellQuote(lhasa) + " t " + shellQuote(archive.string()), tmp.Path, tmp.Path);
  EXPECT_EQ(t.Status, 0) << t.Output;
  EXPECT_EQ(testedCount(t.Output), 8) << t.Output;   // every file member, empty ones too

  // lhasa writes names as the archive's bytes: bring the Windows-1252 one back to UTF-8.
  fs::create_directories(tmp / "by-lhasa");
  TRun x = runCommand(shellQuote(lhasa) + " x " + shellQuote(archive.string()), tmp / "by-lhasa", tmp.Path);
  ASSERT_EQ(x.Status, 0) << x.Output;
  fs::rename(tmp / "by-lhasa/Sound" / CafeCp1252, tmp / "by-lhasa/Sound" / CafeUtf8);
  TRun d1 = runCommand("diff -r " + shellQuote(src.string()) + " by-lhasa", tmp.Path, tmp.Path);
  EXPECT_EQ(d1.Status, 0) << d1.Output;

  // bsdtar decodes the names through the code-page record.
  fs::create_directories(tmp / "by-bsdtar");
  TRun b = runCommand(shellQuote(bsdtar) + " -xf " + shellQuote(archive.string()) + " -C by-bsdtar",
                      tmp.Path, tmp.Path);
  ASSERT_EQ(b.Status, 0) << b.Output;
  TRun d2 = runCommand("diff -r " + shellQuote(src.string()) + " by-bsdtar", tmp.Path, tmp.Path);
  EXPECT_EQ(d2.Status, 0) << d2.Output;

  for (const char* dir : {"by-lhasa", "by-bsdtar"}) {
    auto perms = fs::status(tmp / dir / "TFPLAY.exe").permissions();
    EXPECT_NE(perms & fs::perms::owner_exec, fs::perms::none) << dir;
    EXPECT_TRUE(fs::is_directory(tmp / dir / "Music/empty folder")) << dir;
    EXPECT_TRUE(fs::is_directory(tmp / dir / "Movie")) << dir;
    EXPECT_EQ(wholeSeconds(tmp / dir / "Map0001.lmu"), wholeSeconds(src / "Map0001.lmu")) << dir;
  }

  // And our own extract command line gives the same tree.
  ASSERT_EQ(unlha("x -+ \"" + archive.string() + "\" \"" + (tmp / "by-us").string() + "/\""), 0);
  TRun d3 = runCommand("diff -r " + shellQuote(src.string()) + " by-us", tmp.Path, tmp.Path);
  EXPECT_EQ(d3.Status, 0) << d3.Output;
  EXPECT_NE(fs::status(tmp / "by-us/TFPLAY.exe").permissions() & fs::perms::owner_exec, fs::perms::none);
}

// The response file of game-disk creation with the run-time package: the package folder,
// then the project folder with the map wildcard, then the package folder once more. Every
// path must be relative to its base, and a file in both bases is stored once (the project's).
TEST(ArchiverPeers, ResponseFileWithTwoBasesAndMapWildcard) {
  const std::string lhasa = requireTool("lhasa");
  ASSERT_FALSE(lhasa.empty());
  TTempDir tmp;
  // The list is Windows-1252 bytes; the folder on disk has the UTF-8 name "Mi proyecto ñ".
  const fs::path rtp = tmp / "RTP", proj = tmp / "Mi proyecto \xC3\xB1";
  const std::string projCp1252 = (tmp / "Mi proyecto \xF1").string();
  writeFile(rtp / "Music/Theme.mid", "rtp theme");
  writeFile(rtp / "Music/Battle.mid", "rtp battle");
  fs::create_directories(rtp / "Movie");
  writeFile(proj / "Music/Theme.mid", "project theme");
  fs::create_directories(proj / "Movie");
  writeFile(proj / "TFPLAY.exe", "exe");
  writeFile(proj / "TFPLAY.ldb", "ldb");
  writeFile(proj / "TFPLAY.ini", "[TFPLAY]\r\n");
  writeFile(proj / "TFPLAY.lmt", "lmt");
  for (const char* m : {"Map0001.lmu", "Map0002.lmu", "Map12.lmu", "Map0003.lmu.bak", "map0004.LMU"})
    writeFile(proj / m, m);
  const fs::path response = tmp / "Work dir/Response.lst", archive = tmp / "Work dir/My Project.lzh";
  writeFile(response, "\"" + rtp.string() + "\\\"\r\nMovie\r\nMusic\r\n\"" + projCp1252 +
                          "\\\"\r\nMovie\r\nMusic\r\nTFPLAY.exe\r\nTFPLAY.ldb\r\nTFPLAY.ini\r\n"
                          "TFPLAY.lmt\r\nMap????.lmu\r\n\"" + rtp.string() + "\\\"\r\n");
  // The list's path has a space and is not quoted, as the editor writes it.
  ASSERT_EQ(unlha(packCommand(archive, response)), 0);

  TRun l = runCommand(shellQuote(lhasa) + " l " + shellQuote(archive.string()), tmp.Path, tmp.Path);
  ASSERT_EQ(l.Status, 0) << l.Output;
  std::vector<std::string> names;
  std::istringstream lines(l.Output);
  size_t column = std::string::npos;
  // The name column starts where the separator line's last group of dashes does.
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("----------", 0) == 0) column = column == std::string::npos ? line.rfind(' ') + 1 : 0;
    else if (column && column != std::string::npos && line.size() > column)
      names.push_back(line.substr(column));
  }
  std::vector<std::string> expected = {"Movie/", "Music/", "Music/Battle.mid", "Music/Theme.mid",
                                       "TFPLAY.exe", "TFPLAY.ldb", "TFPLAY.ini", "TFPLAY.lmt",
                                       "Map0001.lmu", "Map0002.lmu", "map0004.LMU"};
  EXPECT_EQ(names, expected) << l.Output;
  TTempDir out;
  ASSERT_EQ(unlha("x -+ \"" + archive.string() + "\" \"" + out.Path.string() + "\""), 0);
  EXPECT_EQ(readFile(out / "Music/Theme.mid"), "project theme");
  EXPECT_EQ(readFile(out / "Music/Battle.mid"), "rtp battle");
}

TEST(ArchiverPeers, PackRefusesWhatTheArchiveCannotHold) {
  TTempDir tmp;
  writeFile(tmp / "src/ok.txt", "ok");
  writeFile(tmp / "src/\xE6\x97\xA5\xE6\x9C\xAC.txt", "not in Windows-1252");
  writeFile(tmp / "list.lst", "\"" + (tmp / "src").string() + "/\"\nok.txt\n");
  std::string out;
  const fs::path archive = tmp / "a.lzh";
  EXPECT_EQ(RunUnlha(packCommand(archive, tmp / "list.lst"), out), 0) << out;
  struct { const char* what; std::string list; int code; } cases[] = {
      {"a name Windows-1252 cannot write", "\"" + (tmp / "src").string() + "/\"\n*\n", 5},
      {"a missing file", "\"" + (tmp / "src").string() + "/\"\nnot-there.txt\n", 2},
      {"a name leaving its base", "\"" + (tmp / "src").string() + "/\"\n..\\list.lst\n", 1},
      {"a wildcard in a folder name", "\"" + (tmp / "src").string() + "/\"\nM*\\x.txt\n", 1},
  };
  for (const auto& c : cases) {
    writeFile(tmp / "bad.lst", c.list);
    EXPECT_EQ(RunUnlha(packCommand(tmp / "b.lzh", tmp / "bad.lst"), out), c.code) << c.what;
    EXPECT_FALSE(out.empty()) << c.what;
    EXPECT_FALSE(fs::exists(tmp / "b.lzh")) << c.what;
  }
  for (const char* bad : {"", "q \"x.lzh\"", "a -z \"x.lzh\" @list", "x"})
    EXPECT_NE(RunUnlha(bad, out), 0) << bad;
}

// "a" onto an existing archive keeps its other members and replaces the repacked ones.
TEST(ArchiverPeers, AddKeepsOtherMembers) {
  TTempDir tmp;
  writeFile(tmp / "one/a.txt", "first a");
  writeFile(tmp / "one/b.txt", "b");
  writeFile(tmp / "two/a.txt", "second a");
  const fs::path archive = tmp / "x.lzh";
  writeFile(tmp / "l1.lst", "\"" + (tmp / "one").string() + "/\"\na.txt\nb.txt\n");
  writeFile(tmp / "l2.lst", "\"" + (tmp / "two").string() + "/\"\na.txt\n");
  ASSERT_EQ(unlha(packCommand(archive, tmp / "l1.lst")), 0);
  ASSERT_EQ(unlha(packCommand(archive, tmp / "l2.lst")), 0);
  auto entries = LhaList(archive);
  ASSERT_EQ(entries.size(), 2u);
  ASSERT_EQ(unlha("x -+ \"" + archive.string() + "\" \"" + (tmp / "out").string() + "\""), 0);
  EXPECT_EQ(readFile(tmp / "out/a.txt"), "second a");
  EXPECT_EQ(readFile(tmp / "out/b.txt"), "b");
}

// The terminal front end: pack a folder, list it, extract it.
TEST(ArchiverPeers, TflhaFrontEnd) {
#ifndef TF_HAVE_TFLHA
  GTEST_SKIP() << "tools/tflha is not part of this build";
#endif
  const std::string tflha = std::string(TF_PROGRAM_DIR) + "/tflha";
  TTempDir tmp;
  makeTree(tmp / "src");
  TRun a = runCommand(shellQuote(tflha) + " a game.lzh src", tmp.Path, tmp.Path);
  ASSERT_EQ(a.Status, 0) << a.Output;
  TRun l = runCommand(shellQuote(tflha) + " l game.lzh", tmp.Path, tmp.Path);
  EXPECT_EQ(l.Status, 0);
  EXPECT_NE(l.Output.find(" Sound/" + CafeUtf8 + "\n"), std::string::npos) << l.Output;
  EXPECT_NE(l.Output.find(" Music/empty folder/\n"), std::string::npos) << l.Output;
  TRun x = runCommand(shellQuote(tflha) + " x game.lzh out", tmp.Path, tmp.Path);
  ASSERT_EQ(x.Status, 0) << x.Output;
  TRun d = runCommand("diff -r src out", tmp.Path, tmp.Path);
  EXPECT_EQ(d.Status, 0) << d.Output;
  TRun bad = runCommand(shellQuote(tflha) + " x missing.lzh out", tmp.Path, tmp.Path);
  EXPECT_NE(bad.Status, 0);
  EXPECT_NE(bad.Output.find("tflha:"), std::string::npos);
}
