#include "MapEditTestKit.h"

#include "GR_ChipSet.h"
#include "VireoImageFile.h"

#include <algorithm>

namespace {

enum : std::uint8_t {
  cInk = 1, cWaterA = 2, cSand = 3, cDeep = 4, cWaterB = 5, cWaterC = 6, cFoam = 7,
  cDeepC = 9, cAuto = 16, cAutoDark = 32, cAnim = 48, cPlain = 56, cUpper = 210,
};

class TPainter {
public:
  explicit TPainter(TVireoBitmap& b) : B(b) {}
  void Px(int x, int y, std::uint8_t c) { B.ScanLine(y)[x] = c; }
  void Rect(int l, int t, int r, int b, std::uint8_t c) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) Px(x, y, c);
  }
  void Frame(int l, int t, int r, int b, int w, std::uint8_t c) {
    Rect(l, t, r, t + w, c), Rect(l, b - w, r, b, c);
    Rect(l, t, l + w, b, c), Rect(r - w, t, r, b, c);
  }
  TVireoBitmap& B;
};

// Water with a foam ripple whose phase moves with the animation frame.
void water(TPainter& p, int l, int t, int frame, std::uint8_t colour) {
  p.Rect(l, t, l + 16, t + 16, colour);
  for (int y = 0; y < 16; y += 4)
    for (int x = 0; x < 16; ++x)
      if ((x + 3 * frame + y) % 8 < 2) p.Px(l + x, t + y + 1, cFoam);
}

// One 16 × 16 water cell for a shape code: 0 shore all round, 1 shore left and right, 2 shore
// top and bottom, 3 shore dots in the corners.
void waterCell(TPainter& p, int l, int t, int code, int frame, std::uint8_t colour) {
  water(p, l, t, frame, colour);
  if (code == 0) p.Frame(l, t, l + 16, t + 16, 3, cSand);
  if (code == 1) p.Rect(l, t, l + 3, t + 16, cSand), p.Rect(l + 13, t, l + 16, t + 16, cSand);
  if (code == 2) p.Rect(l, t, l + 16, t + 3, cSand), p.Rect(l, t + 13, l + 16, t + 16, cSand);
  if (code == 3)
    for (int cx : {0, 13})
      for (int cy : {0, 13}) p.Rect(l + cx, t + cy, l + cx + 3, t + cy + 3, cSand);
}

void drawWater(TPainter& p) {
  for (int f = 0; f < 3; ++f) {
    const int dx = 16 * f;
    for (int code = 0; code < 4; ++code) {
      waterCell(p, dx, 16 * code, code, f, cWaterA);
      waterCell(p, 48 + dx, 16 * code, code, f, cWaterB);
    }
    water(p, dx, 64, f, cWaterA);    // rows 8-9: open water
    water(p, dx, 80, f, cDeep);      // rows 10-11: deep corners of A and B
    water(p, dx, 96, f, cDeepC);     // rows 12-13: deep corners of C
    water(p, dx, 112, f, cWaterC);   // rows 14-15: open water of C
  }
}

void drawAutotile(TPainter& p, int i, TVireoPoint o) {
  const std::uint8_t fill = std::uint8_t(cAuto + i), dark = std::uint8_t(cAutoDark + i);
  // Icon.
  p.Rect(o.X, o.Y, o.X + 16, o.Y + 16, fill);
  p.Frame(o.X, o.Y, o.X + 16, o.Y + 16, 1, cInk);
  p.Rect(o.X + 6, o.Y + 6, o.X + 10, o.Y + 10, dark);
  // The cell beside the icon names what this autotile merges with; here a checker of its own.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) p.Px(o.X + 16 + x, o.Y + y, ((x / 4 + y / 4) & 1) ? dark : fill);
  // Inner corners: the fill with outline dots in the four corners.
  p.Rect(o.X + 32, o.Y, o.X + 48, o.Y + 16, fill);
  for (int cx : {0, 14})
    for (int cy : {0, 14}) p.Rect(o.X + 32 + cx, o.Y + cy, o.X + 34 + cx, o.Y + cy + 2, cInk);
  // Border set: a 48 × 48 patch with its outline and a diagonal texture.
  p.Rect(o.X, o.Y + 16, o.X + 48, o.Y + 64, fill);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x)
      if ((x + y) % 6 == 0) p.Px(o.X + x, o.Y + 16 + y, dark);
  p.Frame(o.X, o.Y + 16, o.X + 48, o.Y + 64, 2, cInk);
}

void drawAnimated(TPainter& p) {
  for (int s = 0; s < 3; ++s)
    for (int f = 0; f < 4; ++f) {
      const int l = 48 + 16 * s, t = 64 + 16 * f;
      p.Rect(l, t, l + 16, t + 16, std::uint8_t(cAnim + s));
      p.Frame(l, t, l + 16, t + 16, 1, cInk);
      p.Rect(l + 2 + 3 * f, t + 5, l + 5 + 3 * f, t + 11, cFoam);  // moves with the frame
    }
}

void drawPlain(TPainter& p) {
  for (int k = 0; k < kPlainTileCount; ++k) {
    const TVireoPoint o = PlainTileOrigin(k);
    const std::uint8_t c = std::uint8_t(cPlain + k);
    p.Rect(o.X, o.Y, o.X + 16, o.Y + 16, c);
    for (int y = 2; y < 16; y += 5)
      for (int x = (y / 5) % 2 * 3 + 1; x < 16; x += 6) p.Px(o.X + x, o.Y + y, cInk);
  }
}

void drawUpper(TPainter& p) {
  for (int k = 1; k < kPlainTileCount; ++k) {
    if (k % 7 == 0) continue;  // left fully transparent
    const TVireoPoint o = UpperTileOrigin(k);
    const std::uint8_t c = std::uint8_t(cUpper + k % 40);
    if (k % 2) {  // a round tree crown on a trunk
      p.Rect(o.X + 7, o.Y + 10, o.X + 9, o.Y + 16, cInk);
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
          const int dx = 2 * x - 15, dy = 2 * y - 11;
          if (dx * dx + dy * dy <= 121) p.Px(o.X + x, o.Y + y, dx * dx + dy * dy > 81 ? std::uint8_t(cInk) : c);
        }
    } else {  // a crate
      p.Rect(o.X + 3, o.Y + 4, o.X + 13, o.Y + 14, c);
      p.Frame(o.X + 3, o.Y + 4, o.X + 13, o.Y + 14, 1, cInk);
    }
  }
}

void setPalette(TVireoBitmap& b) {
  auto set = [&](int i, int r, int g, int bl) {
    b.Palette[std::size_t(i)] = {std::uint8_t(r), std::uint8_t(g), std::uint8_t(bl), 0};
  };
  set(0, 255, 0, 255);
  set(cInk, 24, 24, 32), set(cWaterA, 56, 120, 216), set(cSand, 224, 204, 140);
  set(cDeep, 24, 52, 140), set(cWaterB, 72, 184, 184), set(cWaterC, 40, 84, 176);
  set(cFoam, 232, 240, 255), set(cDeepC, 16, 32, 96);
  for (int i = 0; i < 12; ++i) {
    const int r = 60 + (i * 53) % 180, g = 70 + (i * 97) % 170, bl = 50 + (i * 31) % 190;
    set(cAuto + i, r, g, bl), set(cAutoDark + i, r * 2 / 3, g * 2 / 3, bl * 2 / 3);
  }
  set(cAnim, 230, 90, 40), set(cAnim + 1, 240, 200, 40), set(cAnim + 2, 160, 80, 220);
  for (int k = 0; k < 144; ++k)
    set(cPlain + k, 70 + (k * 37) % 150, 110 + (k * 71) % 130, 40 + (k * 113) % 150);
  for (int k = 0; k < 40; ++k) set(cUpper + k, 30 + (k * 41) % 120, 120 + (k * 29) % 120, 40 + (k * 7) % 60);
}

int lowerIndexForShaping(int id) {
  const int k = LowerTileIndex(id);
  return k >= 0 && k < 3 ? 0 : k;
}

}  // namespace

TVireoBitmap MakeTestChipSet() {
  TVireoBitmap b(480, 256, 8);
  setPalette(b);
  TPainter p(b);
  drawWater(p);
  drawAnimated(p);
  for (int i = 0; i < kAutotileCount; ++i) drawAutotile(p, i, AutotileBlockOrigin(i));
  // Autotile 3 merges with autotile 1: its reference cell is autotile 1's icon.
  const TVireoPoint a1 = AutotileBlockOrigin(0), a3 = AutotileBlockOrigin(2);
  for (int y = 0; y < 16; ++y)
    std::copy_n(b.ScanLine(a1.Y + y) + a1.X, 16, b.ScanLine(a3.Y + y) + a3.X + 16);
  drawPlain(p);
  drawUpper(p);
  return b;
}

std::filesystem::path WriteTestChipSet(const std::filesystem::path& project,
                                       const std::string& name) {
  std::filesystem::create_directories(project / "ChipSet");
  const std::filesystem::path file = project / "ChipSet" / (name + ".png");
  SaveImageFile(MakeTestChipSet(), file);
  return file;
}

void ShapeLowerLayer(TVudMap& map) {
  const TVudMapLayer source = map.LowerLayer;
  static constexpr int dx[8] = {-1, 1, 1, -1, -1, 0, 1, 0};
  static constexpr int dy[8] = {-1, -1, 1, 1, 0, -1, 0, 1};
  for (int y = 0; y < map.Height; ++y)
    for (int x = 0; x < map.Width; ++x) {
      const int id = source.Get(x, y);
      const TTileKind kind = TileKindOf(id);
      if (kind != TTileKind::Water && kind != TTileKind::Autotile) continue;
      int mask = 0;
      for (int n = 0; n < 8; ++n) {
        const int other = source.Get(x + dx[n], y + dy[n]);
        if (other >= 0 && lowerIndexForShaping(other) != lowerIndexForShaping(id))
          mask |= 1 << n;
      }
      const int base = kind == TTileKind::Water ? id - id % 50 : id - id % 50;
      map.LowerLayer.Set(x, y, std::uint16_t(base + ShapeOfMask(mask)));
    }
}

void MakeSampleMap(TVudMap& map, int width, int height) {
  map.Clear();
  map.SetWidth(width);
  map.SetHeight(height);
  // Set ignores cells outside the map: the pattern is cut at the right and bottom edges.
  auto lower = [&](int x, int y, int id) { map.LowerLayer.Set(x, y, std::uint16_t(id)); };
  auto box = [&](int l, int t, int r, int b, int id) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) lower(x, y, id);
  };
  // The pattern repeats every 16 × 12 cells so that large maps show everything too.
  for (int ty = 0; ty < height; ty += 12)
    for (int tx = 0; tx < width; tx += 16) {
      box(tx, ty, tx + 16, ty + 12, 5000 + (tx / 16 + ty / 12) % 3);
      box(tx + 1, ty + 1, tx + 6, ty + 5, 0);                     // lake A
      lower(tx + 3, ty + 1, 5000);           // a notch for inner shores
      box(tx + 3, ty + 3, tx + 5, ty + 5, 2000);                  // deep water C inside it
      box(tx + 7, ty + 1, tx + 10, ty + 3, 1000);                 // water B
      for (int i = 0; i < 12; ++i) {                              // every autotile
        const int l = tx + (i % 6) * 2 + (i % 6 > 2 ? 4 : 0), t = ty + 6 + (i / 6) * 3;
        box(l, t, l + 2, t + 2, 4000 + 50 * i);
      }
      box(tx + 11, ty + 1, tx + 15, ty + 4, 4050);                // an L-shaped blob
      lower(tx + 11, ty + 1, 5003);
      for (int s = 0; s < 3; ++s) lower(tx + 12 + s, ty + 5, 3000 + 50 * s);
      lower(tx + 6, ty + 11, 5144);          // draws nothing
      for (int k = 0; k < 6; ++k)
        map.UpperLayer.Set(tx + 1 + 2 * k, ty + 11, std::uint16_t(10001 + k));
    }
  ShapeLowerLayer(map);
  // Deep corners on the lake's open cells next to the deep water.
  for (int ty = 0; ty < height; ty += 12)
    for (int tx = 0; tx < width; tx += 16) {
      const int x = tx + 2, y = ty + 2;
      const int id = map.LowerLayer.Get(x, y);
      if (id >= 0 && id < 1000) map.LowerLayer.Set(x, y, std::uint16_t(id % 50 + 8 * 50));
    }
}
