// 8-bit palette sheets and the 16-bit board they are drawn on.
//
// A TVireoSheet is an indexed picture plus a table that maps every palette index to an
// adjusted RGB 5-6-5 colour, so drawing is one table look-up per pixel. Palette index 0 is the
// transparent colour. A TVireoBoard is a 16-bit 5-6-5 surface; the widget code wraps it
// without copying as
//   QImage(board.Bits(), board.Width(), board.Height(), board.BytesPerLine(),
//          QImage::Format_RGB16)
// and paints text, lines and the final copy to the window through that image.
#pragma once

#include "VireoBitmap.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

class TVireoSheet;

// One set of colour adjustments: channel levels and saturation (0..200, 100 neutral) and a
// tint colour (0..31 per channel) with its strength (0..32, in 32nds). Values are kept within
// those ranges.
class TVireoColorControl {
public:
  explicit TVireoColorControl(TVireoSheet* sheet) : FSheet(sheet) {}

  // Each setter does nothing when every value is unchanged; otherwise it stores the values
  // and, when update is true, rebuilds the sheet's colour table.
  void SetAll(int red, int green, int blue, int saturation, int tintRed, int tintGreen,
              int tintBlue, int tintLevel, bool update);
  void SetColor(int red, int green, int blue, int saturation, bool update);
  void SetTint(int tintRed, int tintGreen, int tintBlue, int tintLevel, bool update);
  void Reset(bool update) { SetAll(100, 100, 100, 100, 0, 0, 0, 0, update); }

  int Red() const { return FRed; }
  int Green() const { return FGreen; }
  int Blue() const { return FBlue; }
  int Saturation() const { return FSaturation; }
  int TintRed() const { return FTintRed; }
  int TintGreen() const { return FTintGreen; }
  int TintBlue() const { return FTintBlue; }
  int TintLevel() const { return FTintLevel; }

private:
  TVireoSheet* FSheet;
  int FRed = 100, FGreen = 100, FBlue = 100, FSaturation = 100;
  int FTintRed = 0, FTintGreen = 0, FTintBlue = 0, FTintLevel = 0;
};

class TVireoSheet {
public:
  TVireoSheet();
  TVireoSheet(const TVireoSheet&) = delete;
  TVireoSheet& operator=(const TVireoSheet&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Width × Height palette indices, rows top to bottom; null when the sheet is 0 × 0.
  std::uint8_t* Pixels() { return FPixels.get(); }
  const std::uint8_t* Pixels() const { return FPixels.get(); }
  // Row start; no bounds check.
  std::uint8_t* ScanLine(int row) { return FPixels.get() + std::size_t(row) * FWidth; }
  const std::uint8_t* ScanLine(int row) const {
    return FPixels.get() + std::size_t(row) * FWidth;
  }
  TVireoRect BoundsRect() const { return {0, 0, FWidth, FHeight}; }

  // New zero-filled pixels when the size changes; the same pixels when it does not.
  void SetSize(int width, int height);
  void FreeImage();
  // Pixels, palette and colour table to zero; the size stays.
  void Clear();

  // Rebuild after changing Palette directly.
  void UpdateColorTable();
  // Turns the hue of palette entries 1..255 (entry 0 keeps its colour) and rebuilds the table.
  void RotateHue(int degrees);

  // Takes pixels and palette from an 8-bit picture, from Origin on; other depths raise
  // "Formato de imagen no válido". Resizes first when AutoSize is set.
  void LoadFromBitmap(const TVireoBitmap& bitmap, TVireoPoint origin = {});
  // Clears, then loads through LoadImageFile. Errors are raised only when asked for;
  // otherwise the sheet stays cleared.
  void LoadFromFileAt(const std::filesystem::path& fileName, TVireoPoint origin,
                      bool raiseErrors);
  void LoadFromFile(const std::filesystem::path& fileName, bool raiseErrors) {
    LoadFromFileAt(fileName, {0, 0}, raiseErrors);
  }
  // An 8-bit copy with the 256-entry palette, ready for SaveImageFile.
  TVireoBitmap ToBitmap() const;

  void MirrorHorizontally();
  // Same size and same bytes; false when either rectangle reaches outside the sheet.
  bool SameContent(TVireoRect a, TVireoRect b) const;
  // Answers for the part of the rectangle inside the sheet (true when that part is empty).
  bool IsAllTransparent(TVireoRect rect) const;
  bool IsAllOpaque(TVireoRect rect) const;

  int Brightness() const { return FBrightness; }
  // 0..200, 100 neutral; rebuilds the table when it changes.
  void SetBrightness(int brightness);

  std::array<TVireoPaletteEntry, 256> Palette{};
  std::array<std::uint16_t, 256> ColorTable{};
  bool Transparent = false;  // index 0 is not drawn
  int Opacity = 255;         // 255 opaque; lower values blend with the board
  bool AutoSize = false;     // loading resizes the sheet to the picture
  TVireoColorControl ColorControl1{this};
  TVireoColorControl ColorControl2{this};

private:
  int FWidth = 0, FHeight = 0;
  int FBrightness = 100;
  std::unique_ptr<std::uint8_t[]> FPixels;
};

// A 16-bit RGB 5-6-5 drawing surface, top row first, every row 4-byte aligned.
class TVireoBoard {
public:
  TVireoBoard() = default;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetWidth(int width) { Resize(width, FHeight); }
  void SetHeight(int height) { Resize(FWidth, height); }
  // Resizes when needed; always clears.
  void SetSize(int width, int height);
  void Clear();

  std::uint16_t* ScanLine(int row) { return FPixels.data() + std::size_t(row) * FPitch; }
  const std::uint16_t* ScanLine(int row) const {
    return FPixels.data() + std::size_t(row) * FPitch;
  }
  // Byte distance between rows as the drawing code sees it (0 with fewer than 2 rows).
  int Stride() const { return FHeight < 2 ? 0 : BytesPerLine(); }
  // Always the row size in bytes: use this for wrapping the board in an image.
  int BytesPerLine() const { return int(FPitch * 2); }
  std::uint8_t* Bits() { return reinterpret_cast<std::uint8_t*>(FPixels.data()); }
  const std::uint8_t* Bits() const { return reinterpret_cast<const std::uint8_t*>(FPixels.data()); }

  // Handed to every sheet drawn onto the board.
  int Brightness = 100;

  // Copies a rectangle of another board (or of this one) to (x, y), clipped.
  void CopyRect(int x, int y, TVireoRect sourceRect, const TVireoBoard& source);
  // Draws a rectangle of a sheet at (x, y) unscaled, clipped.
  void DrawSheet(int x, int y, TVireoRect sourceRect, TVireoSheet& sheet);
  // Draws a rectangle of a sheet scaled (nearest neighbour) into destRect, clipped without
  // shifting the picture.
  void StretchSheet(TVireoRect destRect, TVireoSheet& sheet, TVireoRect sourceRect);
  // Scales around a centre: unscaled when zoom is exactly 1.
  void DrawSheetZoomed(double centerX, double centerY, double zoom, int halfWidth,
                       int halfHeight, TVireoRect sourceRect, TVireoSheet& sheet);

private:
  void Resize(int width, int height);
  int FWidth = 0, FHeight = 0;
  std::size_t FPitch = 0;  // in pixels
  std::vector<std::uint16_t> FPixels;
};

// A 360 × 16 hue strip in eight 45 × 16 pieces that shows the effect of four levels (red,
// green, blue, saturation; 0..200, 100 neutral). Each piece is an 8-bit sheet of its own.
class TColorBar {
public:
  TColorBar();
  void SetLevels(int red, int green, int blue, int saturation);
  // Sizes the board to 360 × 96 and draws the pieces along its top.
  void Paint(TVireoBoard& board);
  TVireoSheet& Piece(int index) { return *FSheets[index]; }

private:
  std::array<std::unique_ptr<TVireoSheet>, 8> FSheets;
};
