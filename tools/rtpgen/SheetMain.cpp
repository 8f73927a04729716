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
      "...............T....................",
      ".......T....P...........G...........",
      "..R.........................T.......",
      "......................T.............",
      "..........................t.........",
      "........................P...........",
      ".....B.......s......P...............",
      "..P.................................",
      "...............................P....",
      "..T.........r...........G...........",
      "..-------...........................",
      "........f...........................",
      ".......f...............r............",
      "...................................T",
      "....................................",
      "..o..........................u......",
      "..........................A.........",
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
                  {'A', {10038, 1, 2}}, {'L', {10016, 1, 2}}};
  m.Actors = {{"Heroes", 0, 2, 12, 12}, {"Heroes", 1, 3, 13, 12}, {"Aldeanos", 2, 1, 6, 12}, {"Vehiculos", 0, 3, 8, 21}, {"Criaturas", 3, 2, 24, 8}};
  return m;
}


TSampleMap townMap() {
  TSampleMap m;
  const int w = 36, h = 17;
  m.Lower.assign(h, std::string(w, '.'));
  m.Upper.assign(h, std::string(w, ' '));
  auto fill = [&](int x, int y, int cw, int ch, char c) {
    for (int j = y; j < y + ch; ++j)
      for (int i = x; i < x + cw; ++i) m.Lower[j][i] = c;
  };
  // A house: two roof rows over a wall row with windows and a door in the middle.
  auto house = [&](int x, int y, int width, bool blue, bool brick) {
    const std::string ridge = blue ? "456" : "123", eaves = blue ? "$%&" : "!@#";
    const char wall = brick ? 'k' : 'p', window = brick ? 'K' : 'W', door = brick ? 'O' : 'D';
    for (int i = 0; i < width; ++i) {
      const int part = i == 0 ? 0 : (i == width - 1 ? 2 : 1);
      m.Lower[y][x + i] = ridge[part];
      m.Lower[y + 1][x + i] = eaves[part];
      m.Lower[y + 2][x + i] = i == width / 2 ? door : ((i % 2) ? window : wall);
    }
  };
  fill(0, 0, w, 2, 'g');
  fill(0, 0, 2, h, 'g');
  fill(26, 0, 10, 6, 'g');
  fill(28, 1, 6, 4, 'H');
  fill(29, 2, 4, 2, 'f');
  fill(3, 7, 30, 2, ',');
  fill(14, 9, 6, 4, ',');
  fill(15, 10, 4, 2, 'F');
  fill(0, 14, w, 3, 'w');
  fill(6, 14, 2, 1, '.');
  house(2, 2, 5, false, false);
  house(10, 2, 5, true, true);
  house(19, 2, 5, false, true);
  house(3, 10, 5, true, false);
  house(23, 10, 6, false, false);
  for (int x : {4, 12, 21}) m.Lower[5][x] = m.Lower[6][x] = ',';
  m.Lower[13][5] = ',';
  m.Lower[13][26] = ',';
  auto put = [&](int x, int y, char c) { m.Upper[y][x] = c; };
  put(8, 6, 'L'), put(17, 6, 'L'), put(25, 6, 'L'), put(9, 12, 'L'), put(21, 12, 'L');
  put(2, 5, '3'), put(3, 5, '3'), put(15, 5, '4'), put(30, 9, 'S'), put(32, 12, '2');
  put(1, 9, 'T'), put(1, 13, 'T'), put(34, 7, 'T'), put(27, 6, 's'), put(10, 13, 'b'), put(11, 13, 'b');
  m.LowerTiles = {{'g', 4000}, {'.', 5030}, {',', 4050}, {'F', 1000}, {'w', 0}, {'H', 4200},
                  {'f', 4350}, {'1', 5000}, {'2', 5001}, {'3', 5002}, {'!', 5006}, {'@', 5007},
                  {'#', 5008}, {'4', 5003}, {'5', 5004}, {'6', 5005}, {'$', 5009}, {'%', 5010},
                  {'&', 5011}, {'p', 5012}, {'W', 5013}, {'D', 5014}, {'k', 5015}, {'K', 5016},
                  {'O', 5017}};
  m.UpperTiles = {{'L', {10024, 1, 2}}, {'S', {10025, 2, 2}}, {'T', {10027, 1, 2}}, {'3', {10003}},
                  {'4', {10004}}, {'s', {10023}}, {'2', {10028}}, {'b', {10029}}};
  m.Actors = {{"Aldeanos", 0, 2, 10, 8}, {"Aldeanos", 1, 3, 19, 7}, {"Aldeanos", 4, 1, 12, 12},
              {"Aldeanos", 7, 2, 5, 6}, {"Aldeanos", 6, 2, 26, 13}, {"Heroes", 0, 0, 17, 12},
              {"Heroes", 1, 0, 16, 13}, {"Criaturas", 0, 2, 31, 12}};
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
    const int gap = 8, width = 1200;
    const TVireoBitmap field = renderMap(fieldMap(), rtp, "Campo", 32);
    const TVireoBitmap town = renderMap(townMap(), rtp, "Pueblo", 32);
    auto pic = [&](const char* folder, const char* name) {
      return loadPicture(rtp / folder / (std::string(name) + ".png"));
    };
    // Rows of pictures, each row left to right.
    const std::vector<std::vector<TVireoBitmap>> rows = {
        {field},
        {town},
        {pic("ChipSet", "Campo"), pic("ChipSet", "Pueblo"), pic("FaceSet", "CarasHeroes")},
        {pic("ChipSet", "Mazmorra"), pic("Title", "Titulo"), pic("System", "Sistema")},
        {pic("CharSet", "Heroes"), pic("CharSet", "Aldeanos"), pic("CharSet", "Vehiculos"), pic("CharSet", "Objetos")},
        {pic("CharSet", "Criaturas"), pic("FaceSet", "CarasAldeanos"), pic("GameOver", "FinDelJuego"),
         pic("System", "SistemaNoche")},
    };
    int height = gap;
    for (const auto& row : rows) {
      int h = 0;
      for (const auto& p : row) h = std::max(h, p.Height());
      height += h + gap;
    }
    TVireoBitmap sheet(width, height, 24);
    for (int y = 0; y < sheet.Height(); ++y)
      for (int x = 0; x < sheet.Width(); ++x) {
        std::uint8_t* q = sheet.ScanLine(y) + 3 * x;
        q[0] = 44, q[1] = 36, q[2] = 36;
      }
    int y = gap;
    for (const auto& row : rows) {
      int x = gap, h = 0;
      for (const auto& p : row) {
        blit(sheet, p, x, y);
        x += p.Width() + gap;
        h = std::max(h, p.Height());
      }
      y += h + gap;
    }
    SaveImageFile(sheet, argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rtpsheet: %s\n", e.what());
    return 1;
  }
  return 0;
}
