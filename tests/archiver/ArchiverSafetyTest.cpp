// Archives from a disk anyone may have made: unsafe paths, symbolic links and damage must
// give a non-zero result and leave everything outside the destination alone.
#include <gtest/gtest.h>

#include "ArchiverTestSupport.h"
#include "LhaCodec.h"
#include "LhaCrc16.h"
#include "LhaHeader.h"
#include "UnlhaCommand.h"

namespace {

std::string member(const std::string& path, const std::string& data, int mode = 0100644) {
  TLhaEntry e;
  e.Method = "-lh0-";
  e.Path = path;
  e.Mode = mode;
  e.OriginalSize = e.PackedSize = data.size();
  e.Crc = LhaCrc16(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  auto h = LhaWriteHeader(e);
  return std::string(h.begin(), h.end()) + data;
}

// A level-0 member, whose name is one string with '\' separators.
std::string level0(const std::string& name, const std::string& data) {
  std::string rest = "-lh0-";
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) rest += char(v >> (8 * i)); };
  put32(uint32_t(data.size()));
  put32(uint32_t(data.size()));
  put32(0x586F645C);
  rest += '\x20';
  rest += '\0';
  rest += char(name.size());
  rest += name;
  uint16_t crc = LhaCrc16(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  rest += char(crc & 0xFF);
  rest += char(crc >> 8);
  uint8_t sum = 0;
  for (char c : rest) sum = uint8_t(sum + uint8_t(c));
  return std::string(1, char(rest.size())) + char(sum) + rest + data;
}

int extract(const fs::path& archive, const fs::path& dest) {
  std::string out;
  return RunUnlha("x -+ \"" + archive.string() + "\" \"" + dest.string() + "\"", out);
}

// Our level-2 header keeps its CRC at offset 27: refresh it after editing a field.
void fixHeaderCrc(std::string& a, size_t at) {
  size_t size = uint8_t(a[at]) | uint8_t(a[at + 1]) << 8;
  a[at + 27] = a[at + 28] = 0;
  uint16_t crc = LhaCrc16(reinterpret_cast<const uint8_t*>(a.data() + at), size);
  a[at + 27] = char(crc & 0xFF);
  a[at + 28] = char(crc >> 8);
}

void put32(std::string& a, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) a[at + size_t(i)] = char(v >> (8 * i));
}

}  // namespace

TEST(ArchiverSafety, EntriesLeavingTheDestinationAreRefused) {
  struct { const char* what; std::string archive; } cases[] = {
      {"parent folder", member("../evil.txt", "x")},
      {"deeper parent", member("ok/../../evil.txt", "x")},
      {"absolute", member("/tmp/evil.txt", "x")},
      {"backslash absolute", member("\\evil.txt", "x")},
      {"drive letter", member("C:/evil.txt", "x")},
      {"level 0 with backslashes", level0("..\\evil.txt", "x")},
      {"symbolic link entry", member("link", "/etc/passwd", 0120777)},
      {"a good entry first, then a bad one", member("fine.txt", "x") + member("../evil.txt", "x")},
  };
  for (const auto& c : cases) {
    TTempDir tmp;
    writeFile(tmp / "a.lzh", c.archive + '\0');
    EXPECT_EQ(extract(tmp / "a.lzh", tmp / "game/inner"), 4) << c.what;
    EXPECT_FALSE(fs::exists(tmp / "game/evil.txt")) << c.what;
    EXPECT_FALSE(fs::exists(tmp / "evil.txt")) << c.what;
    // Paths are checked before anything is written.
    EXPECT_FALSE(fs::exists(tmp / "game/inner/fine.txt")) << c.what;
  }
}

TEST(ArchiverSafety, NeverWritesThroughASymbolicLink) {
  TTempDir tmp;
  fs::create_directories(tmp / "outside");
  fs::create_directories(tmp / "game");
  fs::create_directory_symlink(tmp / "outside", tmp / "game/Music");
  writeFile(tmp / "a.lzh", member("Music/song.mid", "tune") + '\0');
  EXPECT_EQ(extract(tmp / "a.lzh", tmp / "game"), 4);
  EXPECT_TRUE(fs::is_empty(tmp / "outside"));
  // A link where a file goes is replaced, not followed.
  writeFile(tmp / "outside/target.txt", "keep");
  fs::create_symlink(tmp / "outside/target.txt", tmp / "game/readme.txt");
  writeFile(tmp / "b.lzh", member("readme.txt", "new") + '\0');
  EXPECT_EQ(extract(tmp / "b.lzh", tmp / "game"), 0);
  EXPECT_EQ(readFile(tmp / "outside/target.txt"), "keep");
  EXPECT_EQ(readFile(tmp / "game/readme.txt"), "new");
  EXPECT_FALSE(fs::is_symlink(tmp / "game/readme.txt"));
}

TEST(ArchiverSafety, DamagedArchivesAreRefused) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "dato " + std::to_string(i % 50) + "\n";
  auto packed = Lh5Encode(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  TLhaEntry e;
  e.Method = "-lh5-";
  e.Path = "data/text.txt";
  e.OriginalSize = text.size();
  e.PackedSize = packed.size();
  e.Crc = LhaCrc16(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  auto h = LhaWriteHeader(e);
  const std::string good = std::string(h.begin(), h.end()) + std::string(packed.begin(), packed.end()) +
                           member("b.txt", "plain") + '\0';
  const size_t dataAt = h.size();
  {
    TTempDir tmp;
    writeFile(tmp / "good.lzh", good);
    ASSERT_EQ(extract(tmp / "good.lzh", tmp / "out"), 0);
  }
  auto edit = [&](auto f) { std::string a = good; f(a); return a; };
  struct { const char* what; std::string archive; int code; } cases[] = {
      {"header CRC wrong", edit([](std::string& a) { a[30] ^= 1; }), 3},
      {"data CRC wrong", edit([&](std::string& a) { a[dataAt + packed.size() - 3] ^= 0x10; }), 3},
      {"compressed size past the end",
       edit([](std::string& a) { put32(a, 7, 0xFFFFFFF0); fixHeaderCrc(a, 0); }), 3},
      {"original size of 4 GiB from a few bytes",
       edit([](std::string& a) { put32(a, 11, 0xFFFFFFFF); fixHeaderCrc(a, 0); }), 3},
      {"header size below the minimum",
       edit([](std::string& a) { a[0] = 20; a[1] = 0; }), 3},
      {"header size past the end",
       edit([](std::string& a) { a[0] = char(0xFF); a[1] = char(0xFF); }), 3},
      {"header level 3", edit([](std::string& a) { a[20] = 3; }), 3},
      {"unknown method", edit([](std::string& a) { a[5] = '9'; fixHeaderCrc(a, 0); }), 3},
      {"extension record of length 1",
       edit([](std::string& a) { a[24] = 1; a[25] = 0; }), 3},
      {"level-0 name longer than its header", level0("abc", "x").replace(21, 1, 1, char(200)) + '\0', 3},
      {"no end marker, cut inside a header", good.substr(0, dataAt - 5), 3},
  };
  for (const auto& c : cases) {
    TTempDir tmp;
    writeFile(tmp / "bad.lzh", c.archive);
    EXPECT_EQ(extract(tmp / "bad.lzh", tmp / "out"), c.code) << c.what;
  }
  // Every truncation point: a clear error or, where it ends on a member boundary, success.
  for (size_t n = 1; n < good.size(); n += 11) {
    TTempDir tmp;
    writeFile(tmp / "cut.lzh", good.substr(0, n));
    int r = extract(tmp / "cut.lzh", tmp / "out");
    EXPECT_TRUE(r == 0 || r == 3) << n << " -> " << r;
  }
}
