#include "TileKit.h"

#include <algorithm>
#include <cmath>

namespace {

double roundBox(double px, double py, double cx, double cy, double hx, double hy, double r) {
  const double qx = std::abs(px - cx) - (hx - r), qy = std::abs(py - cy) - (hy - r);
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

// Edge wander, repeating every 16 pixels so that pieces join.
double wander(double x, double y, const TTerrainStyle& s) {
  return s.Wave * (SmoothNoise(x, y, 4, s.Seed, 16) - 0.5) * 2.0;
}

using TShape = std::function<double(double, double)>;

// Terrain fills the 48 × 48 border set except a margin: the island every border cell is cut from.
TShape islandShape(const TTerrainStyle& s, double size) {
  return [&s, size](double px, double py) {
    const double half = size / 2;
    return roundBox(px, py, half, half, half - s.Margin, half - s.Margin, s.Radius) +
           wander(px, py, s);
  };
}

// Terrain everywhere but small notches at the four corners: the inner corner pieces.
TShape notchShape(const TTerrainStyle& s) {
  return [&s](double px, double py) {
    double best = 1e9;
    for (double cx : {0.0, 16.0})
      for (double cy : {0.0, 16.0})
        best = std::min(best, roundBox(px, py, cx, cy, s.Margin, s.Margin,
                                       std::min(s.Radius * 0.5, s.Margin)));
    return -best + wander(px, py, s);
  };
}

// A strip of terrain between two shores (vertical when `vertical`).
TShape stripShape(const TTerrainStyle& s, bool vertical) {
  return [&s, vertical](double px, double py) {
    const double v = vertical ? px : py;
    return std::abs(v - 8) - (8 - s.Margin) + wander(px, py, s);
  };
}

// Draws a w × h area whose pixel (i, j) sits at shape coordinate (sx + i, sy + j).
void renderArea(TCanvas& canvas, int x, int y, int w, int h, int sx, int sy, const TShape& shape,
                const TTerrainStyle& s) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const double px = sx + i + 0.5, py = sy + j + 0.5;
      const int tx = (sx + i) & 15, ty = (sy + j) & 15;
      const double d = shape(px, py);
      std::uint8_t v;
      if (d >= 0) {
        const bool shadow = s.OutsideShadow && shape(px - 1, py - 2) < 0;
        v = shadow ? s.OutsideShadow(tx, ty) : s.Outside(tx, ty);
      } else if (d > -1.0) {
        if (s.EdgeIndex >= 0) v = std::uint8_t(s.EdgeIndex);
        else v = ((tx + ty) & 1) ? s.Inside(tx, ty) : s.Outside(tx, ty);
      } else if (s.Face && shape(px, py + s.FaceHeight) >= 0) {
        v = s.Face(tx, ty);
      } else if (s.HighlightIndex >= 0 && shape(px, py - 1.5) >= 0) {
        v = std::uint8_t(s.HighlightIndex);
      } else {
        v = s.Inside(tx, ty);
      }
      canvas.Set(x + i, y + j, v);
    }
}

}  // namespace

void DrawAutotileBlock(TCanvas& canvas, int x, int y, const TTerrainStyle& s) {
  const TShape island = islandShape(s, 48), notch = notchShape(s);
  // Border set: the island at rows 2..7.
  renderArea(canvas, x, y + 16, 48, 48, 0, 0, island, s);
  // Inner corners at the block's top-right cell.
  renderArea(canvas, x + 32, y, 16, 16, 0, 0, notch, s);
  // Icon: a small island of the terrain.
  TTerrainStyle iconStyle = s;
  iconStyle.Margin = std::min(s.Margin, 2.0);
  iconStyle.Radius = 4;
  renderArea(canvas, x, y, 16, 16, 0, 0, islandShape(iconStyle, 16), iconStyle);
  // The cell beside the icon: plain terrain, unlike any icon, so no block merges by accident.
  renderArea(canvas, x + 16, y, 16, 16, 0, 0, [](double, double) { return -100.0; }, s);
}

void DrawWater(TCanvas& canvas, const TWaterStyle& w) {
  for (int frame = 0; frame < 3; ++frame) {
    const int fx = 16 * frame;
    for (int kind = 0; kind < 2; ++kind) {
      const TTerrainStyle s = kind == 0 ? w.Shallow(frame) : w.ShoreB(frame);
      const int ox = kind == 0 ? fx : 48 + fx;
      TTerrainStyle pond = s;
      pond.Radius = std::min(s.Radius, 8 - s.Margin);
      renderArea(canvas, ox, 0, 16, 16, 0, 0, islandShape(pond, 16), pond);
      renderArea(canvas, ox, 16, 16, 16, 0, 0, stripShape(s, true), s);
      renderArea(canvas, ox, 32, 16, 16, 0, 0, stripShape(s, false), s);
      renderArea(canvas, ox, 48, 16, 16, 0, 0, notchShape(s), s);
    }
    const TTerrainStyle a = w.Shallow(frame);
    // Open water, then the deep-corner cells and the open sea.
    canvas.Paint(fx, 64, 16, 16, [&](int i, int j) { return a.Inside((i - fx) & 15, j & 15); });
    auto blend = [&](int i, int j, bool deepOutside) {
      const double d = roundBox(i + 0.5, j + 0.5, 8, 8, 4.5, 4.5, 4) +
                       (SmoothNoise(i, j, 4, 77, 16) - 0.5) * 2;
      const bool dither = std::abs(d) < 1.0 && ((i + j) & 1);
      const bool outside = (d >= 0) != dither;
      const bool deep = outside == deepOutside;
      return deep ? w.Deep(i, j, frame) : a.Inside(i, j);
    };
    canvas.Paint(fx, 80, 16, 16, [&](int i, int j) { return blend((i - fx) & 15, j & 15, true); });
    canvas.Paint(fx, 96, 16, 16, [&](int i, int j) { return blend((i - fx) & 15, j & 15, false); });
    canvas.Paint(fx, 112, 16, 16, [&](int i, int j) { return w.Deep((i - fx) & 15, j & 15, frame); });
  }
}

TVireoPoint PlainOrigin(int k) {
  return {192 + 96 * (k / 96) + 16 * (k % 6), 16 * ((k % 96) / 6)};
}

TVireoPoint UpperOrigin(int k) {
  const int j = k + 48;
  return {288 + 96 * (j / 96) + 16 * (j % 6), 16 * ((j % 96) / 6)};
}

void TTileObject::PlaceLower(TCanvas& sheet, int k) const {
  for (int ty = 0; ty < H; ++ty)
    for (int tx = 0; tx < W; ++tx) {
      const TVireoPoint o = PlainOrigin(k + ty * 6 + tx);
      sheet.CopyFrom(Canvas, tx * 16, ty * 16, 16, 16, o.X, o.Y, false);
    }
}

void TTileObject::PlaceUpper(TCanvas& sheet, int k) const {
  for (int ty = 0; ty < H; ++ty)
    for (int tx = 0; tx < W; ++tx) {
      const TVireoPoint o = UpperOrigin(k + ty * 6 + tx);
      sheet.CopyFrom(Canvas, tx * 16, ty * 16, 16, 16, o.X, o.Y, false);
    }
}
