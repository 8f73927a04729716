// rtpsheet: the contact sheet of the run-time package — a sample map drawn with the map
// editor's own tile drawing, then every tile set, character set and face set.
//   rtpsheet RTP-FOLDER OUTPUT.png
#include "GR_ChipSet.h"
#include "MapDraw.h"
#include "VireoImageFile.h"
#include "VudError.h"

#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A map drawn from two character grids: ground kinds and upper-layer objects.
struct TSampleMap {
  std::vector<std::string> Lower, Upper;
  std::map<char, int> LowerTiles;  // char -> tile ID (terrain kinds use their base ID)
  // Upper objects: first tile and size; the character marks the object's bottom-left cell.
  struct TObj { int First, W = 1, H = 1; };
  std::map<char, TObj> UpperTiles;
  // Characters standing on the map: sheet name, character, direction, cell.
  struct TActor { std::string Sheet; int Index, Direction, X, Y; };
  std::vector<TActor> Actors;
};

int lowerIndexAt(const std::vector<std::vector<int>>& ids, int x, int y) {
  if (y < 0 || y >= int(ids.size()) || x < 0 || x >= int(ids[0].size())) return -1;
  return LowerTileIndex(ids[y][x]);
}

// Shapes every autotile and water cell the way the map editor's automatic shaping does.
std::vector<std::vector<int>> shapeMap(std::vector<std::vector<int>> ids, const TVudChipSetGraphic& g) {
  const int h = int(ids.size()), w = int(ids[0].size());
  auto out = ids;
  static constexpr int dx[8] = {-1, 0, 1, -1, 1, -1, 0, 1}, dy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
  static constexpr int bits[8] = {bmNW, bmN, bmNE, bmW, bmE, bmSW, bmS, bmSE};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int k = LowerTileIndex(ids[y][x]);
      if (k < 0 || k > 17) continue;
      int mask = 0;
      int kinds[8];
      for (int n = 0; n < 8; ++n) {
        const int f = lowerIndexAt(ids, x + dx[n], y + dy[n]);
        kinds[n] = f;
        if (f >= 0 && f != k && g.MergeTarget(f) != k && !(k < 6 && f < 6)) mask |= bits[n];
      }
      int t = LowerTileBaseID(k) + ShapeOfMask(mask);
      if (k < 3) {
        // Deep corners: quarters whose two sides (and corner) meet the other depth of water.
        static constexpr int sides[4][3] = {{3, 1, 0}, {4, 1, 2}, {3, 6, 5}, {4, 6, 7}};
        int deep = 0;
        for (int q = 0; q < 4; ++q) {
          const int a = kinds[sides[q][0]], b = kinds[sides[q][1]], c = kinds[sides[q][2]];
          const int norm = NormaliseMask(mask);
          if (k < 2 && a == 2 && b == 2 && !(norm & bits[sides[q][2]])) deep |= 1 << q;
          if (k == 2 && a < 2 && b < 2 && c < 2) deep |= 1 << q;
        }
        t += 50 * deep;
      }
      out[y][x] = t;
    }
  return out;
}

TVireoBitmap renderMap(const TSampleMap& m, const fs::path& rtp, const std::string& chipSet, int cell) {
  TVudChipSetGraphic g;
  g.LoadChipSetFile(rtp / "ChipSet" / (chipSet + ".png"), chipSet);
  const int h = int(m.Lower.size()), w = int(m.Lower[0].size());
  std::vector<std::vector<int>> ids(h, std::vector<int>(w, 5000));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      auto it = m.LowerTiles.find(m.Lower[y][x]);
      if (it == m.LowerTiles.end()) throw std::runtime_error(std::string("unknown ground ") + m.Lower[y][x]);
      ids[y][x] = it->second;
    }
  ids = shapeMap(ids, g);
  TVireoBoard board;
  board.SetSize(w * cell, h * cell);
  g.SetTransparentMode(false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) g.DrawTile(board, x * cell, y * cell, ids[y][x], 0, false, cell);
  g.SetTransparentMode(true);
  std::vector<std::vector<int>> upper(h, std::vector<int>(w, 10000));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      auto it = m.UpperTiles.find(m.Upper[y][x]);
      if (it == m.UpperTiles.end()) continue;
      const auto& o = it->second;
      for (int dy = 0; dy < o.H; ++dy)
        for (int dx = 0; dx < o.W; ++dx) {
          const int cx = x + dx, cy = y - (o.H - 1) + dy;
          if (cx < w && cy >= 0) upper[cy][cx] = o.First + dy * 6 + dx;
        }
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) g.DrawTile(board, x * cell, y * cell, upper[y][x], 0, false, cell);
  std::map<std::string, std::unique_ptr<TVireoSheet>> sheets;
  for (const auto& a : m.Actors) {
    if (!fs::exists(rtp / "CharSet" / (a.Sheet + ".png"))) continue;
    auto& sheet = sheets[a.Sheet];
    if (!sheet) {
      sheet = std::make_unique<TVireoSheet>();
      sheet->AutoSize = true;
      sheet->LoadFromFile(rtp / "CharSet" / (a.Sheet + ".png"), true);
      sheet->Transparent = true;
    }
    const int sx = 72 * (a.Index % 4) + 24, sy = 128 * (a.Index / 4) + 32 * a.Direction;
    const int scale = cell / 16;
    const int px = a.X * cell + cell / 2 - 12 * scale, py = (a.Y + 1) * cell - 32 * scale;
    board.StretchSheet({px, py, px + 24 * scale, py + 32 * scale}, *sheet, {sx, sy, sx + 24, sy + 32});
  }
  return BoardToBitmap(board);
}

TSampleMap fieldMap() {
  TSampleMap m;
  m.Lower = {
      "rrrrrrrrrhhhhhhhhh.....FFFFFFFFFFFFF",
      "rrrrrrrrrhhhhhhhhh....FFFFFFFFFFFFFF",
      "rrrrrrr..hhhhhhhhh.....FFFFFFFFFFFFF",
      "rrrrr.....hhhhhh.........FFFFFFFFFFF",
      "rrr.......KKLMKK...........FFFFFFFFF",
      "r...mmm...kklnkk.....mmmm....FFFFFFF",
      "...mmmmm...pp.......mmmmmm.....FFFFF",
      "...mmmm....pp.........mm.........FFF",
      "..........ppp...............fff....F",
      ".....ffff.pp.....wwwww.....ffffff...",
      "....ffff..pp....wwwwwwww....ffff....",
      "..........pp...wwwwwwwwww...........",
      "..aaaaa...pppppppp====wwwppppppppppp",
      "..aaaaa...pp...wwwwwwwwww.....pp....",
      "..qqqqq...pp....wwwwwwwww.....pp....",
      "..qqqqq...pp.....wwwwwww......pp....",
      "..........pp......sssss.......pp....",
      "...ssss...pp.....sssssssss....pp....",
      "sssssssssspppsssssssssssssssssppssss",
      "sssssssssssssssssssssssssssssssssss.",
      "WWWWssssssssssWWWWWWWWsssssssWWWWWWW",
      "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
  };
  m.Upper = {
      "....................................",
      "....................................",
      ".......T............................",
      "..R.........................T.......",
      "......................T.............",
      "..........................t.........",
      "........................P...........",
      ".....B.......s......P...............",
      "..P.................................",
      "...............................P....",
      "..T.........r.......................",
      "..-------...........................",
      "........f...........................",
      ".......f...............r............",
      "...................................T",
      "....................................",
      "..o..........................u......",
      "....................................",
      "....................................",
      "....................................",
      "....................................",
      "....................................",
  };
  m.LowerTiles = {{'.', 5000}, {'w', 0}, {'W', 2000}, {'m', 4000}, {'p', 4050}, {'s', 4100},
                  {'f', 4150}, {'F', 4200}, {'h', 4250}, {'r', 4300}, {'n', 4350}, {'c', 4450},
                  {'a', 4500}, {'q', 4550}, {'=', 5019}, {'K', 5006}, {'L', 5007}, {'M', 5008},
                  {'k', 5012}, {'l', 5016}, {'N', 5009}};
  m.LowerTiles['L'] = 5010;  // cave mouth
  m.LowerTiles['l'] = 5016;
  m.LowerTiles['K'] = 5007;
  m.LowerTiles['k'] = 5013;
  m.LowerTiles['M'] = 5011;  // steps
  m.LowerTiles['n'] = 5017;
  m.UpperTiles = {{'T', {10014, 1, 2}}, {'t', {10015, 1, 2}}, {'R', {10001}}, {'B', {10002}},
                  {'P', {10036, 1, 2}}, {'-', {10007}}, {'f', {10003}}, {'r', {10001}},
                  {'s', {10005}}, {'o', {10032}}, {'u', {10027}}, {'G', {10012, 2, 3}},
                  {'A', {10039, 1, 2}}, {'L', {10016, 1, 2}}};
  m.Actors = {{"Heroes", 0, 2, 12, 12}, {"Heroes", 1, 3, 13, 12}, {"Villagers", 2, 1, 6, 12}};
  return m;
}

void blit(TVireoBitmap& dst, const TVireoBitmap& src, int dx, int dy, int scale = 1) {
  const TVireoBitmap s = src.ConvertedTo24Bit();
  for (int y = 0; y < s.Height() * scale; ++y)
    for (int x = 0; x < s.Width() * scale; ++x) {
      if (dx + x < 0 || dy + y < 0 || dx + x >= dst.Width() || dy + y >= dst.Height()) continue;
      const std::uint8_t* p = s.ScanLine(y / scale) + 3 * (x / scale);
      std::uint8_t* q = dst.ScanLine(dy + y) + 3 * (dx + x);
      q[0] = p[0], q[1] = p[1], q[2] = p[2];
    }
}

TVireoBitmap loadPicture(const fs::path& file) {
  TVireoBitmap b;
  LoadImageFile(b, file);
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Uso: rtpsheet CARPETA-RTP SALIDA.png\n");
    return 1;
  }
  try {
    SetLenientMode(false);
    const fs::path rtp = argv[1];
    const TVireoBitmap field = renderMap(fieldMap(), rtp, "Campo", 32);
    const int width = field.Width() + 16;
    std::vector<std::pair<TVireoBitmap, int>> rows;
    TVireoBitmap sheet(width, field.Height() + 16 + 2 * (256 + 8) + 8, 24);
    for (int y = 0; y < sheet.Height(); ++y)
      for (int x = 0; x < sheet.Width(); ++x) {
        std::uint8_t* q = sheet.ScanLine(y) + 3 * x;
        q[0] = 48, q[1] = 40, q[2] = 40;
      }
    blit(sheet, field, 8, 8);
    int y = field.Height() + 16;
    int x = 8;
    for (const char* name : {"Campo"}) {
      blit(sheet, loadPicture(rtp / "ChipSet" / (std::string(name) + ".png")), x, y, 2);
      x += 968;
    }
    SaveImageFile(sheet, argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rtpsheet: %s\n", e.what());
    return 1;
  }
  return 0;
}
