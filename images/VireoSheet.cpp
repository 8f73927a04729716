#include "VireoSheet.h"

#include "VireoImageFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

int clampInt(int v, int low, int high) {
  return v < low ? low : (v > high ? high : v);
}

// A channel level: above 100 moves towards the maximum, below 100 towards zero.
int applyLevel(int v, int level, int maximum) {
  if (level > 100) return v + (level - 100) * (maximum - v) / 100;
  if (level < 100) return level * v / 100;
  return v;
}

void applySaturation(int& r, int& g, int& b, int s) {
  const int y = (3 * r + 3 * g + b) / 10;
  if (s < 100) {
    r = (y * (100 - s) + s * r) / 100;
    g = ((100 - s) * 2 * y + s * g) / 100;
    b = (y * (100 - s) + s * b) / 100;
  } else if (s > 100) {
    const int k = s - 100, j = 200 - s;
    r = clampInt((j * r + k * (3 * r - 2 * y)) / 100, 0, 31);
    g = clampInt((j * g + k * (3 * g - 4 * y)) / 100, 0, 63);
    b = clampInt((j * b + k * (3 * b - 2 * y)) / 100, 0, 31);
  }
}

void applyTint(int& r, int& g, int& b, const TVireoColorControl& c) {
  const int t = c.TintLevel();
  if (t <= 0) return;
  r = (t * c.TintRed() + (32 - t) * r) / 32;
  g = (t * 2 * c.TintGreen() + (32 - t) * g) / 32;
  b = (t * c.TintBlue() + (32 - t) * b) / 32;
}

struct TRgb {
  int R, G, B;
};

TRgb rotateHue(TRgb in, int degrees) {
  const int v = std::max({in.R, in.G, in.B});
  const int delta = v - std::min({in.R, in.G, in.B});
  const int s = v == 0 ? 0 : delta * 255 / v;
  double h = 0;
  if (s != 0) {
    if (in.R == v) h = 60.0 * (double(in.G - in.B) / delta);
    else if (in.G == v) h = 60.0 * (double(in.B - in.R) / delta + 2);
    else h = 60.0 * (double(in.R - in.G) / delta + 4);
    if (h < 0) h += 360;
  }
  if (s == 0) return {v, v, v};
  // Kept in 0..359 for negative turns too, so the sector below is always 0..5.
  std::int64_t turned = std::int64_t(std::nearbyint(h + degrees)) % 360;
  if (turned < 0) turned += 360;
  const double hue = double(turned) / 60;
  const int sector = int(hue);
  const double f = hue - sector;
  const double c = double(s) * v / 255, m = v - c;
  const double x = std::nearbyint(f * c);
  auto near = [](double value) { return int(std::nearbyint(value)); };
  switch (sector) {
    case 0: return {v, near(m + x), near(m)};
    case 1: return {near(v - x), v, near(m)};
    case 2: return {near(m), v, near(m + x)};
    case 3: return {near(m), near(v - x), v};
    case 4: return {near(m + x), near(m), v};
    default: return {v, near(m), near(v - x)};
  }
}

std::uint8_t clampByte(int v) {
  return std::uint8_t(clampInt(v, 0, 255));
}

// Clips one axis of an unscaled copy: a negative edge shrinks the size and moves the paired
// coordinate on the other surface; then the size is cut to what fits before the far edge.
void clipAxis(int& edge, int& other, int& size, int limit) {
  if (edge < 0) {
    size += edge;
    other -= edge;
    edge = 0;
  }
  if (size > limit - edge) size = limit - edge;
}

// Source and destination of an unscaled copy after clipping on both surfaces.
struct TClip {
  int SrcX, SrcY, DstX, DstY, Width, Height;
  bool Empty() const { return Width <= 0 || Height <= 0; }
};

TClip clipCopy(int x, int y, TVireoRect src, int srcW, int srcH, int dstW, int dstH) {
  TClip c{src.Left, src.Top, x, y, src.Width(), src.Height()};
  if (c.Width <= 0 || c.Height <= 0) return c;
  clipAxis(c.SrcX, c.DstX, c.Width, srcW);
  clipAxis(c.SrcY, c.DstY, c.Height, srcH);
  clipAxis(c.DstX, c.SrcX, c.Width, dstW);
  clipAxis(c.DstY, c.SrcY, c.Height, dstH);
  return c;
}

// Blending works on the three channels at once, each in its own 16-bit lane of a 64-bit word
// (31 × 257 and 63 × 257 still fit a lane), with the same per-channel result as
// (s × source + d × board) >> 8.
inline std::uint64_t spread(std::uint32_t c) {
  return (c >> 11) | std::uint64_t((c >> 5) & 63) << 16 | std::uint64_t(c & 31) << 32;
}

inline std::uint16_t blend(std::uint64_t weightedSource, std::uint32_t board, std::uint32_t d) {
  const std::uint64_t sum = weightedSource + spread(board) * d;
  return std::uint16_t(((sum >> 8) & 0xFF) << 11 | ((sum >> 24) & 0xFF) << 5 |
                       ((sum >> 40) & 0xFF));
}

// The colour table for one draw: plain, or spread and weighted by the sheet's opacity.
struct TDrawTable {
  const std::uint16_t* Plain;
  std::array<std::uint64_t, 256> Weighted;
  std::uint32_t BoardWeight;
};

// One row of a sheet onto one row of the board; colMap (when given) picks the source column.
template <bool Transparent, bool Blend>
void drawRow(std::uint16_t* out, const std::uint8_t* in, int count, const int* colMap,
             const TDrawTable& t) {
  for (int i = 0; i < count; ++i) {
    const std::uint8_t p = colMap ? in[colMap[i]] : in[i];
    if (Transparent && p == 0) continue;
    if (Blend) out[i] = blend(t.Weighted[p], out[i], t.BoardWeight);
    else out[i] = t.Plain[p];
  }
}

using TDrawRow = void (*)(std::uint16_t*, const std::uint8_t*, int, const int*,
                          const TDrawTable&);

// Takes the board's brightness into the sheet, then picks the loop for the sheet's mode.
TDrawRow prepareDraw(TVireoSheet& sheet, int brightness, TDrawTable& t) {
  sheet.SetBrightness(brightness);
  const std::uint32_t a = std::uint32_t(clampInt(sheet.Opacity, 0, 255));
  t.Plain = sheet.ColorTable.data();
  t.BoardWeight = 256 - a;
  const bool blended = a < 255;
  if (blended)
    for (int i = 0; i < 256; ++i) t.Weighted[i] = spread(sheet.ColorTable[i]) * (a + 1);
  if (sheet.Transparent) return blended ? drawRow<true, true> : drawRow<true, false>;
  return blended ? drawRow<false, true> : drawRow<false, false>;
}

// The visible run of destination positions [first, last) of a scaled axis, with their source
// positions; positions whose source falls outside the sheet or the source span are dropped.
std::vector<int> scaledAxis(int destStart, int destSize, int srcStart, int srcSize, int limit,
                            int sheetSize, int& first) {
  std::vector<int> map;
  const int from = std::max(destStart, 0);
  const int to = std::min<std::int64_t>(std::int64_t(destStart) + destSize, limit);
  first = from;
  for (int i = from; i < to; ++i) {
    const std::int64_t source =
        std::int64_t(i - destStart) * srcSize / destSize + srcStart;
    if (source < 0 || source >= sheetSize) {
      if (map.empty()) first = i + 1;
      else break;
      continue;
    }
    map.push_back(int(source));
  }
  return map;
}

}  // namespace

// --- TVireoColorControl ---

void TVireoColorControl::SetAll(int red, int green, int blue, int saturation, int tintRed,
                                int tintGreen, int tintBlue, int tintLevel, bool update) {
  red = clampInt(red, 0, 200), green = clampInt(green, 0, 200), blue = clampInt(blue, 0, 200);
  saturation = clampInt(saturation, 0, 200);
  tintRed = clampInt(tintRed, 0, 31), tintGreen = clampInt(tintGreen, 0, 31);
  tintBlue = clampInt(tintBlue, 0, 31), tintLevel = clampInt(tintLevel, 0, 32);
  if (red == FRed && green == FGreen && blue == FBlue && saturation == FSaturation &&
      tintRed == FTintRed && tintGreen == FTintGreen && tintBlue == FTintBlue &&
      tintLevel == FTintLevel)
    return;
  FRed = red, FGreen = green, FBlue = blue, FSaturation = saturation;
  FTintRed = tintRed, FTintGreen = tintGreen, FTintBlue = tintBlue, FTintLevel = tintLevel;
  if (update && FSheet) FSheet->UpdateColorTable();
}

void TVireoColorControl::SetColor(int red, int green, int blue, int saturation, bool update) {
  SetAll(red, green, blue, saturation, FTintRed, FTintGreen, FTintBlue, FTintLevel, update);
}

void TVireoColorControl::SetTint(int tintRed, int tintGreen, int tintBlue, int tintLevel,
                                 bool update) {
  SetAll(FRed, FGreen, FBlue, FSaturation, tintRed, tintGreen, tintBlue, tintLevel, update);
}

// --- TVireoSheet ---

TVireoSheet::TVireoSheet() {
  UpdateColorTable();
}

void TVireoSheet::SetSize(int width, int height) {
  width = std::max(width, 0), height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  FPixels.reset();
  if (std::int64_t(width) * height > VireoMaxPixels) throw EInvalidGraphic(VireoMsg::InvalidFormat);
  if (width > 0 && height > 0) {
    FPixels.reset(new std::uint8_t[std::size_t(width) * height]());
    FWidth = width, FHeight = height;
  } else {
    FWidth = FHeight = 0;
  }
}

void TVireoSheet::FreeImage() {
  FPixels.reset();
  FWidth = FHeight = 0;
}

void TVireoSheet::Clear() {
  if (FPixels) std::memset(FPixels.get(), 0, std::size_t(FWidth) * FHeight);
  Palette.fill(TVireoPaletteEntry{});
  ColorTable.fill(0);
}

void TVireoSheet::SetBrightness(int brightness) {
  brightness = clampInt(brightness, 0, 200);
  if (brightness == FBrightness) return;
  FBrightness = brightness;
  UpdateColorTable();
}

void TVireoSheet::UpdateColorTable() {
  const TVireoColorControl& c1 = ColorControl1;
  const TVireoColorControl& c2 = ColorControl2;
  const int lr = clampInt(c1.Red() + c2.Red() - 100, 0, 200);
  const int lg = clampInt(c1.Green() + c2.Green() - 100, 0, 200);
  const int lb = clampInt(c1.Blue() + c2.Blue() - 100, 0, 200);
  const int ls = clampInt(c1.Saturation() + c2.Saturation() - 100, 0, 200);
  for (int i = 0; i < 256; ++i) {
    int r = Palette[i].Red >> 3, g = Palette[i].Green >> 2, b = Palette[i].Blue >> 3;
    applySaturation(r, g, b, ls);
    r = applyLevel(r, lr, 31), g = applyLevel(g, lg, 63), b = applyLevel(b, lb, 31);
    applyTint(r, g, b, c1);
    applyTint(r, g, b, c2);
    r = applyLevel(r, FBrightness, 31);
    g = applyLevel(g, FBrightness, 63);
    b = applyLevel(b, FBrightness, 31);
    ColorTable[i] = std::uint16_t(r << 11 | g << 5 | b);
  }
}

void TVireoSheet::RotateHue(int degrees) {
  if (degrees != 0) {
    for (int i = 1; i < 256; ++i) {
      TVireoPaletteEntry& e = Palette[i];
      TRgb out = rotateHue({e.Red, e.Green, e.Blue}, degrees);
      e.Red = clampByte(out.R), e.Green = clampByte(out.G), e.Blue = clampByte(out.B);
    }
  }
  UpdateColorTable();
}

void TVireoSheet::LoadFromBitmap(const TVireoBitmap& bitmap, TVireoPoint origin) {
  if (bitmap.BitCount() != 8) throw EInvalidGraphic(VireoMsg::InvalidFormat);
  if (AutoSize) SetSize(bitmap.Width(), bitmap.Height());
  // Clipped like the other copies, so a negative origin moves the picture instead of
  // reading before the bitmap.
  TClip c = clipCopy(0, 0, {origin.X, origin.Y, origin.X + FWidth, origin.Y + FHeight},
                     bitmap.Width(), bitmap.Height(), FWidth, FHeight);
  if (!c.Empty()) {
    for (int i = 0; i < c.Height; ++i)
      std::memcpy(ScanLine(c.DstY + i) + c.DstX, bitmap.ScanLine(c.SrcY + i) + c.SrcX, c.Width);
  }
  Palette.fill(TVireoPaletteEntry{});
  for (std::size_t i = 0; i < bitmap.Palette.size() && i < 256; ++i) Palette[i] = bitmap.Palette[i];
  UpdateColorTable();
}

void TVireoSheet::LoadFromFileAt(const std::filesystem::path& fileName, TVireoPoint origin,
                                 bool raiseErrors) {
  Clear();
  if (fileName.empty()) return;
  try {
    TVireoBitmap bitmap;
    LoadImageFile(bitmap, fileName);
    LoadFromBitmap(bitmap, origin);
  } catch (const EVireoError&) {
    Clear();
    if (raiseErrors) throw;
  }
}

TVireoBitmap TVireoSheet::ToBitmap() const {
  TVireoBitmap bitmap(FWidth, FHeight, 8);
  std::copy(Palette.begin(), Palette.end(), bitmap.Palette.begin());
  for (int y = 0; y < FHeight; ++y) std::memcpy(bitmap.ScanLine(y), ScanLine(y), FWidth);
  return bitmap;
}

void TVireoSheet::MirrorHorizontally() {
  for (int y = 0; y < FHeight; ++y) std::reverse(ScanLine(y), ScanLine(y) + FWidth);
}

bool TVireoSheet::SameContent(TVireoRect a, TVireoRect b) const {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  if (a.Width() <= 0 || a.Height() <= 0) return true;
  auto inside = [this](TVireoRect r) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= FWidth && r.Bottom <= FHeight;
  };
  if (!inside(a) || !inside(b)) return false;
  for (int i = 0; i < a.Height(); ++i)
    if (std::memcmp(ScanLine(a.Top + i) + a.Left, ScanLine(b.Top + i) + b.Left, a.Width()) != 0)
      return false;
  return true;
}

bool TVireoSheet::IsAllTransparent(TVireoRect rect) const {
  const int left = std::max(rect.Left, 0), right = std::min(rect.Right, FWidth);
  for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, FHeight); ++y)
    for (int x = left; x < right; ++x)
      if (ScanLine(y)[x] != 0) return false;
  return true;
}

bool TVireoSheet::IsAllOpaque(TVireoRect rect) const {
  const int left = std::max(rect.Left, 0), right = std::min(rect.Right, FWidth);
  for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, FHeight); ++y)
    for (int x = left; x < right; ++x)
      if (ScanLine(y)[x] == 0) return false;
  return true;
}

// --- TVireoBoard ---

void TVireoBoard::Resize(int width, int height) {
  width = std::max(width, 0), height = std::max(height, 0);
  if (std::int64_t(width) * height > VireoMaxPixels) throw EInvalidGraphic(VireoMsg::InvalidFormat);
  FWidth = width, FHeight = height;
  FPitch = (std::size_t(width) + 1) & ~std::size_t(1);  // rows 4-byte aligned
  FPixels.assign(FPitch * height, 0);
}

void TVireoBoard::SetSize(int width, int height) {
  if (width == FWidth && height == FHeight) Clear();
  else Resize(width, height);
}

void TVireoBoard::Clear() {
  std::fill(FPixels.begin(), FPixels.end(), 0);
}

void TVireoBoard::CopyRect(int x, int y, TVireoRect sourceRect, const TVireoBoard& source) {
  TClip c = clipCopy(x, y, sourceRect, source.FWidth, source.FHeight, FWidth, FHeight);
  if (c.Empty()) return;
  // memmove: the source may be this board, overlapping.
  if (&source == this && c.DstY > c.SrcY) {
    for (int i = c.Height - 1; i >= 0; --i)
      std::memmove(ScanLine(c.DstY + i) + c.DstX, source.ScanLine(c.SrcY + i) + c.SrcX,
                   std::size_t(c.Width) * 2);
  } else {
    for (int i = 0; i < c.Height; ++i)
      std::memmove(ScanLine(c.DstY + i) + c.DstX, source.ScanLine(c.SrcY + i) + c.SrcX,
                   std::size_t(c.Width) * 2);
  }
}

void TVireoBoard::DrawSheet(int x, int y, TVireoRect sourceRect, TVireoSheet& sheet) {
  TClip c = clipCopy(x, y, sourceRect, sheet.Width(), sheet.Height(), FWidth, FHeight);
  if (c.Empty()) return;
  TDrawTable table;
  const TDrawRow row = prepareDraw(sheet, Brightness, table);
  for (int i = 0; i < c.Height; ++i)
    row(ScanLine(c.DstY + i) + c.DstX, sheet.ScanLine(c.SrcY + i) + c.SrcX, c.Width, nullptr,
        table);
}

void TVireoBoard::StretchSheet(TVireoRect destRect, TVireoSheet& sheet, TVireoRect sourceRect) {
  if (destRect.Width() == sourceRect.Width() && destRect.Height() == sourceRect.Height()) {
    DrawSheet(destRect.Left, destRect.Top, sourceRect, sheet);
    return;
  }
  if (destRect.Width() <= 0 || destRect.Height() <= 0 || sourceRect.Width() <= 0 ||
      sourceRect.Height() <= 0)
    return;
  int firstX = 0, firstY = 0;
  const std::vector<int> cols = scaledAxis(destRect.Left, destRect.Width(), sourceRect.Left,
                                           sourceRect.Width(), FWidth, sheet.Width(), firstX);
  const std::vector<int> rows = scaledAxis(destRect.Top, destRect.Height(), sourceRect.Top,
                                           sourceRect.Height(), FHeight, sheet.Height(), firstY);
  if (cols.empty() || rows.empty()) return;
  TDrawTable table;
  const TDrawRow row = prepareDraw(sheet, Brightness, table);
  for (std::size_t i = 0; i < rows.size(); ++i)
    row(ScanLine(firstY + int(i)) + firstX, sheet.ScanLine(rows[i]), int(cols.size()),
        cols.data(), table);
}

void TVireoBoard::DrawSheetZoomed(double centerX, double centerY, double zoom, int halfWidth,
                                  int halfHeight, TVireoRect sourceRect, TVireoSheet& sheet) {
  auto round = [](double v) { return int(std::nearbyint(v)); };
  if (zoom == 1.0) {
    DrawSheet(round(centerX - halfWidth), round(centerY - halfHeight), sourceRect, sheet);
    return;
  }
  StretchSheet({round(centerX - zoom * halfWidth), round(centerY - zoom * halfHeight),
                round(centerX + zoom * halfWidth), round(centerY + zoom * halfHeight)},
               sheet, sourceRect);
}

// --- TColorBar ---

namespace {

// The colour at one hue (degrees) and row of the strip: dark at the top, light at the bottom.
TVireoPaletteEntry colorBarColor(int hue, int row) {
  TRgb pure = rotateHue({255, 0, 0}, hue);
  auto shade = [row](int c) {
    if (row < 8) return c * (row + 8) / 16;
    return c + (255 - c) * (row - 7) / 16;
  };
  return {clampByte(shade(pure.R)), clampByte(shade(pure.G)), clampByte(shade(pure.B)), 0};
}

}  // namespace

TColorBar::TColorBar() {
  // Fifteen hues of three columns by sixteen rows per piece: 240 colours of its own palette.
  for (int piece = 0; piece < 8; ++piece) {
    auto sheet = std::make_unique<TVireoSheet>();
    sheet->SetSize(45, 16);
    for (int step = 0; step < 15; ++step)
      for (int row = 0; row < 16; ++row)
        sheet->Palette[1 + step * 16 + row] = colorBarColor(piece * 45 + step * 3 + 1, row);
    for (int row = 0; row < 16; ++row)
      for (int x = 0; x < 45; ++x) sheet->ScanLine(row)[x] = std::uint8_t(1 + (x / 3) * 16 + row);
    sheet->UpdateColorTable();
    FSheets[piece] = std::move(sheet);
  }
}

void TColorBar::SetLevels(int red, int green, int blue, int saturation) {
  for (auto& sheet : FSheets) sheet->ColorControl1.SetColor(red, green, blue, saturation, true);
}

void TColorBar::Paint(TVireoBoard& board) {
  board.SetSize(360, 96);
  for (int piece = 0; piece < 8; ++piece)
    board.DrawSheet(piece * 45, 0, FSheets[piece]->BoundsRect(), *FSheets[piece]);
}
