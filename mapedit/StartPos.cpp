#include "StartPos.h"

#include <cstdint>

namespace {

// Palette of the icon strips; index 0 is never drawn.
enum : std::uint8_t { cClear, cInk, cWhite, cRed, cBlue, cNavy, cGreen, cGold, cGrey, cBrown };
constexpr TVireoPaletteEntry kPalette[] = {
    {255, 0, 255, 0}, {24, 24, 32, 0},   {255, 255, 255, 0}, {214, 48, 40, 0},
    {56, 120, 224, 0}, {24, 40, 112, 0}, {48, 168, 72, 0},   {248, 200, 48, 0},
    {150, 150, 160, 0}, {132, 84, 36, 0}};

// One 32 × 32 master icon that the smaller strips are sampled from.
class TIcon {
public:
  std::uint8_t Px[32][32] = {};
  void Rect(int l, int t, int r, int b, std::uint8_t c) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) Px[y][x] = c;
  }
  void Ellipse(int l, int t, int r, int b, std::uint8_t c) {
    const double cx = (l + r - 1) / 2.0, cy = (t + b - 1) / 2.0;
    const double rx = (r - l) / 2.0, ry = (b - t) / 2.0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        if (dx * dx + dy * dy <= 1.0) Px[y][x] = c;
      }
  }
  // A rounded badge with an outline, the background of every icon.
  void Badge(std::uint8_t fill) {
    Rect(3, 1, 29, 31, cInk);
    Rect(1, 3, 31, 29, cInk);
    Rect(4, 2, 28, 30, fill);
    Rect(2, 4, 30, 28, fill);
  }
};

TIcon makeIcon(int icon) {
  TIcon m;
  switch (icon) {
    case TStartPosMark::iconParty:  // a walking figure
      m.Badge(cRed);
      m.Ellipse(12, 5, 20, 13, cWhite);
      m.Rect(11, 13, 21, 22, cWhite);
      m.Rect(11, 22, 15, 28, cWhite);
      m.Rect(17, 22, 21, 28, cWhite);
      break;
    case TStartPosMark::iconBoat:  // a small rowing boat
      m.Badge(cBlue);
      m.Rect(6, 17, 26, 21, cBrown);
      m.Rect(9, 21, 23, 24, cBrown);
      m.Rect(15, 8, 17, 17, cWhite);
      break;
    case TStartPosMark::iconShip:  // a hull with two sails
      m.Badge(cNavy);
      m.Rect(5, 20, 27, 24, cBrown);
      m.Rect(8, 24, 24, 26, cBrown);
      m.Rect(9, 7, 15, 19, cWhite);
      m.Rect(17, 10, 23, 19, cWhite);
      break;
    case TStartPosMark::iconAirship:  // a balloon with its gondola
      m.Badge(cGreen);
      m.Ellipse(5, 5, 27, 18, cGold);
      m.Rect(12, 18, 13, 22, cInk);
      m.Rect(19, 18, 20, 22, cInk);
      m.Rect(11, 22, 21, 26, cBrown);
      break;
    default:  // an event: a white card
      m.Rect(2, 2, 30, 30, cInk);
      m.Rect(4, 4, 28, 28, cWhite);
      m.Rect(8, 9, 24, 11, cGrey);
      m.Rect(8, 15, 24, 17, cGrey);
      m.Rect(8, 21, 19, 23, cGrey);
      break;
  }
  return m;
}

}  // namespace

TStartPosMark::TStartPosMark() {
  TIcon icons[IconCount];
  for (int i = 0; i < IconCount; ++i) icons[i] = makeIcon(i);
  for (int s = 0; s < 4; ++s) {
    const int size = 32 >> s;
    auto sheet = std::make_unique<TVireoSheet>();
    sheet->SetSize(size * IconCount, size);
    for (std::size_t c = 0; c < std::size(kPalette); ++c) sheet->Palette[c] = kPalette[c];
    sheet->UpdateColorTable();
    sheet->Transparent = true;
    // Sample each pixel at the centre of the master area it covers.
    const int step = 32 / size;
    for (int i = 0; i < IconCount; ++i)
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          sheet->ScanLine(y)[i * size + x] = icons[i].Px[y * step + step / 2][x * step + step / 2];
    FSheets[std::size_t(s)] = std::move(sheet);
  }
}

TVireoSheet* TStartPosMark::SheetFor(int cellSize) {
  switch (cellSize) {
    case 32: return FSheets[0].get();
    case 16: return FSheets[1].get();
    case 8: return FSheets[2].get();
    case 4: return FSheets[3].get();
    default: return nullptr;
  }
}

void TStartPosMark::DrawIcon(TVireoBoard& board, int x, int y, int icon, bool marker,
                             int cellSize) {
  TVireoSheet* sheet = SheetFor(cellSize);
  if (!sheet || icon < 0 || icon >= IconCount) return;
  sheet->Opacity = marker ? 128 : 255;
  board.DrawSheet(x, y, {icon * cellSize, 0, (icon + 1) * cellSize, cellSize}, *sheet);
}
