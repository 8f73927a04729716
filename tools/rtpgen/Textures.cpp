#include "Textures.h"

#include <algorithm>
#include <cmath>
#include <map>

std::uint8_t Speckle(const TRamp& ramp, int x, int y, int seed, int lo, int hi, double grain) {
  const double n = SmoothNoise(x, y, 8, seed, 16) * (1 - grain) + Noise01(x & 15, y & 15, seed + 1) * grain;
  const int i = lo + std::clamp(int(n * (hi - lo + 1)), 0, hi - lo);
  return ramp[std::size_t(i)];
}

TTexture GrassTexture(const TRamp& g, int seed) {
  return [g, seed](int x, int y) {
    std::uint8_t v = Speckle(g, x, y, seed, 1, 3);
    const std::uint32_t h = Hash3(x & 15, y & 15, seed + 9) % 29;
    if (h == 0) v = g[4];                         // a lit blade
    else if (h == 1) v = g[0];                    // a shadowed one
    else if (Hash3(x & 15, (y + 1) & 15, seed + 9) % 29 == 0) v = g[1];
    return v;
  };
}

TTexture DirtTexture(const TRamp& d, int seed) {
  return [d, seed](int x, int y) {
    std::uint8_t v = Speckle(d, x, y, seed, 1, 3, 0.45);
    const std::uint32_t h = Hash3(x & 15, y & 15, seed + 3) % 37;
    if (h == 0) v = d[4];
    else if (Hash3((x - 1) & 15, (y - 1) & 15, seed + 3) % 37 == 0) v = d[0];
    return v;
  };
}

TTexture SandTexture(const TRamp& s, int seed) {
  return [s, seed](int x, int y) {
    const double ripple = std::sin((x * 2 + y * 3) * 3.14159265358979 * 2 / 16.0);
    std::uint8_t v = Speckle(s, x, y, seed, 1, 3, 0.5);
    if (ripple > 0.85) v = s[4];
    return v;
  };
}

TTexture RockTexture(const TRamp& r, int seed) {
  return [r, seed](int x, int y) {
    // Facets: cells of a coarse grid shaded by their own tilt.
    const int cx = (x + (y / 6) * 3) / 6, cy = y / 6;
    const double tilt = Noise01(cx & 3, cy & 3, seed);
    const bool crack = ((x + (y / 6) * 3) % 6 == 0 && Noise01(cx, cy, seed + 1) > 0.4) || y % 6 == 0;
    if (crack) return r[0];
    int i = 1 + int(tilt * 3);
    if (Noise01(x & 15, y & 15, seed + 2) > 0.85) i = std::min(i + 1, 4);
    return r[std::size_t(i)];
  };
}

TTexture CanopyTexture(const TRamp& l, int seed) {
  return [l, seed](int x, int y) {
    // Overlapping crowns on a staggered 8-pixel grid, lit from the top left.
    double best = 1e9;
    double bx = 0, by = 0;
    for (int gy = -1; gy <= 2; ++gy)
      for (int gx = -1; gx <= 2; ++gx) {
        const double cx = gx * 8 + ((gy & 1) ? 4 : 0) + 4, cy = gy * 8 + 4;
        const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
        const double d = dx * dx + dy * dy - (cy * 0.01);
        if (d < best) best = d, bx = dx, by = dy;
      }
    const double r = std::sqrt(best);
    double light = 0.5 - (bx + by) / 14.0 - r / 12.0;
    light += (Noise01(x & 15, y & 15, seed) - 0.5) * 0.25;
    if (r > 5.2) return l[0];
    return l[std::size_t(std::clamp(int(light * 5 + 1.5), 1, 4))];
  };
}

TTexture FlowerTexture(TTexture ground, std::uint8_t a, std::uint8_t b, std::uint8_t centre, int seed) {
  return [=](int x, int y) {
    // Flowers sit on a jittered 5-pixel lattice that repeats every 16 pixels.
    for (int gy = 0; gy < 3; ++gy)
      for (int gx = 0; gx < 3; ++gx) {
        const int fx = gx * 5 + 2 + int(Hash3(gx, gy, seed) % 2), fy = gy * 5 + 2 + int(Hash3(gy, gx, seed) % 2);
        const int dx = (x & 15) - fx, dy = (y & 15) - fy;
        const std::uint8_t petal = Hash3(gx, gy, seed + 5) % 3 == 0 ? b : a;
        if (dx == 0 && dy == 0) return centre;
        if (std::abs(dx) + std::abs(dy) == 1) return petal;
      }
    return ground(x, y);
  };
}

TTexture CobbleTexture(const TRamp& s, std::uint8_t mortar, int seed) {
  return [s, mortar, seed](int x, int y) {
    const int row = (y & 15) / 4, shift = (row & 1) * 3;
    const int col = (((x & 15) + shift) % 16) / 5;
    const int lx = ((x & 15) + shift) % 16 % 5, ly = (y & 15) % 4;
    if (ly == 3 || lx == 4) return mortar;
    const int base = 1 + int(Hash3(col, row, seed) % 3);
    if (ly == 0 && lx < 3) return s[std::size_t(std::min(base + 1, 4))];
    if (ly == 2 && lx > 1) return s[std::size_t(base - 1)];
    return s[std::size_t(base)];
  };
}

TTexture PlankTexture(const TRamp& w, std::uint8_t gap, bool vertical) {
  return [w, gap, vertical](int x, int y) {
    const int across = vertical ? (x & 15) : (y & 15), along = vertical ? (y & 15) : (x & 15);
    const int plank = across / 4, in = across % 4;
    if (in == 3) return gap;
    const int joint = (plank * 7 + 3) % 16;
    if (along == joint) return w[0];
    if (in == 0) return w[3];
    const bool grain = Hash3(plank, along / 3, 4) % 5 == 0 && in == 1;
    return grain ? w[1] : w[2];
  };
}

TTexture BrickTexture(const TRamp& b, std::uint8_t mortar, int seed) {
  return [b, mortar, seed](int x, int y) {
    const int row = (y & 15) / 4, ly = (y & 15) % 4;
    const int shift = (row & 1) * 4, lx = ((x & 15) + shift) % 8;
    if (ly == 3 || lx == 7) return mortar;
    const int brick = (((x & 15) + shift) % 16) / 8;
    const int base = 1 + int(Hash3(brick, row, seed) % 2);
    if (ly == 0) return b[std::size_t(base + 1)];
    return b[std::size_t(base)];
  };
}

TTexture TilesTexture(std::uint8_t a, std::uint8_t b, std::uint8_t line) {
  return [=](int x, int y) {
    if ((x & 7) == 7 || (y & 7) == 7) return line;
    return (((x & 15) / 8 + (y & 15) / 8) & 1) ? a : b;
  };
}

TTexture RowsTexture(const TRamp& soil, std::uint8_t crop, int seed) {
  return [soil, crop, seed](int x, int y) {
    const int ly = (y & 15) % 4;
    if (ly == 0) return soil[0];
    if (ly == 1) {
      const bool sprout = ((x & 15) % 4 == 1) && Hash3(x & 15, y & 15, seed) % 3 != 0;
      return sprout ? crop : soil[3];
    }
    return Speckle(soil, x, y, seed, 1, 2, 0.5);
  };
}

TTexture WaterTexture(const TRamp& w, std::uint8_t sparkle, int frame, int seed) {
  return [w, sparkle, frame, seed](int x, int y) {
    constexpr double tau = 6.283185307179586;
    const double phase = frame * tau / 3;
    const double a = std::sin(tau * (2 * (x & 15) + (y & 15)) / 16 + phase);
    const double b = std::sin(tau * ((x & 15) - 2 * (y & 15)) / 16 - phase * 2 + 1.3);
    const double v = a * 0.6 + b * 0.4 + (Noise01(x & 15, y & 15, seed) - 0.5) * 0.3;
    if (v > 0.92) return sparkle;
    if (v > 0.55) return w[3];
    if (v < -0.75) return w[1];
    return w[2];
  };
}

TTexture Darker(TTexture base, TPaletteBuilder& pal, double factor) {
  auto memo = std::make_shared<std::map<std::uint8_t, std::uint8_t>>();
  return [base, &pal, factor, memo](int x, int y) {
    const std::uint8_t v = base(x, y);
    auto it = memo->find(v);
    if (it != memo->end()) return it->second;
    const std::uint8_t d = pal.Index(ShadeRgb(pal.Colors()[v], factor));
    (*memo)[v] = d;
    return d;
  };
}

void FillTile(TCanvas& c, TVireoPoint o, const TTexture& t) {
  c.Paint(o.X, o.Y, 16, 16, [&](int x, int y) { return t(x - o.X, y - o.Y); });
}

TTexture PeaksTexture(const TRamp& r, std::uint8_t snow, std::uint8_t outline) {
  return [=](int x, int y) {
    x &= 15, y &= 15;
    // A staggered lattice of peaks; the one whose apex is lowest stands in front.
    int bestAy = -1000, bestAx = 0;
    double bestHalf = 0;
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 2; ++i)
        for (int kind = 0; kind < 2; ++kind) {
          const int ax = kind == 0 ? 8 + 16 * i : 16 * i, ay = kind == 0 ? 1 + 16 * j : -7 + 16 * j;
          const int dy = y - ay;
          if (dy < 0 || dy > 16) continue;
          const double half = dy * 0.62 + 0.5;
          if (std::abs(x + 0.5 - ax) > half) continue;
          if (ay > bestAy) bestAy = ay, bestAx = ax, bestHalf = half;
        }
    if (bestAy == -1000) return r[1];
    const double off = x + 0.5 - bestAx;
    if (std::abs(off) > bestHalf - 1.0) return outline;
    const int dy = y - bestAy;
    if (dy < 4 && std::abs(off) < dy * 0.62) return off < 0 ? snow : r[3];
    if (off < -0.5) return (dy + x) % 5 == 0 ? r[2] : r[3];
    if (off < 0.5) return r[4];
    return (dy * 3 + x) % 7 == 0 ? r[0] : r[1];
  };
}
