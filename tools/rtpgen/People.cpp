#include "People.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TRgb kOutline{36, 26, 34};

struct TShades {
  std::uint8_t Dark, Mid, Light;
};

TShades shades(TCanvas& c, TRgb base) {
  return {c.Idx(ShadeRgb(base, 0.72)), c.Idx(base), c.Idx(ShadeRgb(base, 1.18))};
}

struct TBody {
  int HeadCy, HeadRx, HeadRy, BodyTop, LegTop, Half;
};

TBody bodyOf(const TPersonLook& l) {
  switch (l.Build) {
    case TBuild::Child: return {14, 6, 6, 20, 26, 3};
    case TBuild::Elder: return {11, 6, 6, 17, 25, 4};
    case TBuild::Broad: return {10, 6, 6, 16, 25, 5};
    default: return {10, 6, 6, 16, 25, 4};
  }
}

// One frame facing down (2), up (0) or right (1); left frames are mirrored right ones.
void drawFrame(TCanvas& c, const TPersonLook& l, int dir, int pattern) {
  const TBody b = bodyOf(l);
  const TShades skin = shades(c, l.Skin), hair = shades(c, l.Hair), top = shades(c, l.Top),
                bottom = shades(c, l.Bottom), accent = shades(c, l.Accent);
  const std::uint8_t shoe = c.Idx(ShadeRgb(l.Bottom, 0.45)), eye = c.Idx(l.Eyes);
  const int step = pattern == 0 ? -1 : (pattern == 2 ? 1 : 0);
  const int cx = 12;
  const bool side = dir == 1;
  // Cape behind the body.
  if (l.Cape) {
    const TShades cape = shades(c, l.Accent);
    if (dir == 0) c.FillRect(cx - b.Half - 1, b.BodyTop, 2 * b.Half + 2, 30 - b.BodyTop, cape.Mid);
    else if (dir == 2) c.FillRect(cx - b.Half - 1, b.BodyTop + 1, 2 * b.Half + 2, 27 - b.BodyTop, cape.Dark);
    else c.Paint(cx - b.Half - 2, b.BodyTop, 4, 30 - b.BodyTop, [&](int x, int y) { return (x - (cx - b.Half - 2)) * 3 < (y - b.BodyTop) / 2 + 4 ? cape.Dark : -1; });
  }
  // Legs or robe.
  if (l.Robe) {
    for (int y = b.BodyTop + 2; y <= 30; ++y) {
      const int half = b.Half + (y - b.BodyTop) / 4;
      for (int x = cx - half; x < cx + half; ++x)
        c.Set(x, y, x < cx - half + 2 ? top.Light : (x >= cx + half - 2 ? top.Dark : top.Mid));
    }
    if (step != 0) c.FillRect(step < 0 ? cx - 3 : cx + 1, 30, 2, 1, shoe);
  } else if (!side) {
    // The lifted foot rises two pixels, so the step reads at map scale.
    const int lh = 30 - (step > 0 ? 2 : 0), rh = 30 - (step < 0 ? 2 : 0);
    c.FillRect(cx - 3, b.LegTop, 2, lh - b.LegTop, bottom.Mid);
    c.FillRect(cx + 1, b.LegTop, 2, rh - b.LegTop, bottom.Dark);
    c.FillRect(cx - 3, lh - 1, 2, 2, shoe);
    c.FillRect(cx + 1, rh - 1, 2, 2, shoe);
  } else {
    const int front = cx + 3 * step, back = cx - 3 * step;
    c.FillRect(back - 1, b.LegTop, 2, 30 - b.LegTop, bottom.Dark);
    c.FillRect(front - 1, b.LegTop, 2, 30 - b.LegTop, bottom.Mid);
    c.FillRect(back - 1, 29, 3, 2, shoe);
    c.FillRect(front - 1, 29, 3, 2, shoe);
  }
  // Torso with a belt.
  const int half = side ? b.Half - 1 : b.Half;
  for (int y = b.BodyTop; y < b.LegTop; ++y)
    for (int x = cx - half; x < cx + half; ++x)
      c.Set(x, y, x == cx - half ? top.Light : (x == cx + half - 1 ? top.Dark : top.Mid));
  if (!l.Robe) c.FillRect(cx - half, b.LegTop - 1, 2 * half, 1, accent.Mid);
  // Arms.
  if (!side) {
    const int swing = dir == 2 ? step : -step;
    c.FillRect(cx - half - 2, b.BodyTop + 1, 2, 5 + std::max(0, swing), top.Mid);
    c.FillRect(cx - half - 2, b.BodyTop + 6 + std::max(0, swing), 2, 1, skin.Mid);
    c.FillRect(cx + half, b.BodyTop + 1, 2, 5 + std::max(0, -swing), top.Dark);
    c.FillRect(cx + half, b.BodyTop + 6 + std::max(0, -swing), 2, 1, skin.Dark);
  } else {
    const int ax = cx + step;
    c.FillRect(ax - 1, b.BodyTop + 1, 2, 5, top.Light);
    c.FillRect(ax - 1 + step, b.BodyTop + 6, 2, 1, skin.Mid);
  }
  // Staff in the leading hand.
  if (l.Staff) {
    const int sx = side ? cx + 4 : cx + half + 2;
    c.FillRect(sx, b.HeadCy - 4, 1, 30 - (b.HeadCy - 4), c.Idx({120, 80, 40}));
    c.FillEllipse(sx + 0.5, b.HeadCy - 5, 2, 2, accent.Light);
  }
  // Head.
  const double hx = cx + (side ? 1 : 0);
  c.FillEllipse(hx, b.HeadCy, b.HeadRx, b.HeadRy, skin.Mid);
  c.Paint(int(hx) - 7, b.HeadCy - 7, 14, 14, [&](int x, int y) {
    return c.Get(x, y) == skin.Mid && (x - hx) > b.HeadRx - 2.5 ? int(skin.Dark) : -1;
  });
  // Hair by style; the face shows only when facing down or sideways.
  const double hy = b.HeadCy;
  auto hairCap = [&](double below) {
    c.Paint(int(hx) - 8, int(hy) - 8, 16, 16, [&](int x, int y) {
      const double dx = (x + 0.5 - hx) / (b.HeadRx + 0.8), dy = (y + 0.5 - hy) / (b.HeadRy + 0.8);
      if (dx * dx + dy * dy > 1) return -1;
      const double fringe = dir == 0 ? 99 : (side ? (x + 0.5 < hx ? 99 : below - 2) : below);
      if (y + 0.5 - hy > fringe) return -1;
      if (side && x + 0.5 > hx + 2 && y + 0.5 - hy > -2) return -1;
      return int(dx < -0.35 ? hair.Light : (dx > 0.45 ? hair.Dark : hair.Mid));
    });
  };
  switch (l.Hair_) {
    case THair::Bald:
      if (dir != 2) c.FillRect(int(hx) - 5, int(hy) + 1, side ? 4 : 10, 2, hair.Mid);
      break;
    case THair::Hood: {
      const TShades hood = shades(c, l.Top);
      c.Paint(int(hx) - 8, int(hy) - 8, 16, 16, [&](int x, int y) {
        const double dx = (x + 0.5 - hx) / (b.HeadRx + 1.2), dy = (y + 0.5 - hy) / (b.HeadRy + 1.2);
        if (dx * dx + dy * dy > 1) return -1;
        const bool faceHole = dir == 2 ? (std::abs(x + 0.5 - hx) < 4 && y + 0.5 > hy - 3)
                                       : (side && x + 0.5 > hx && y + 0.5 > hy - 3);
        if (faceHole) return -1;
        return int(dx < -0.3 ? hood.Light : (dx > 0.4 ? hood.Dark : hood.Mid));
      });
      break;
    }
    case THair::Helmet: {
      const TShades metal = shades(c, {170, 176, 190});
      hairCap(-1);
      c.Paint(int(hx) - 8, int(hy) - 8, 16, 16, [&](int x, int y) {
        return c.Get(x, y) == hair.Mid || c.Get(x, y) == hair.Light || c.Get(x, y) == hair.Dark
                   ? int(x + 0.5 < hx - 1 ? metal.Light : (x + 0.5 > hx + 3 ? metal.Dark : metal.Mid)) : -1;
      });
      c.FillRect(int(hx) - 1, int(hy) - 7, 2, 2, accent.Mid);
      break;
    }
    case THair::HatWide: {
      hairCap(0);
      const TShades hat = shades(c, l.Accent);
      c.FillEllipse(hx, hy - 2, b.HeadRx + 3, 2, hat.Dark);
      c.FillEllipse(hx, hy - 4, b.HeadRx - 1, 3, hat.Mid);
      c.FillRect(int(hx) - 4, int(hy) - 3, 8, 1, hat.Light);
      break;
    }
    default: {
      hairCap(l.Hair_ == THair::Spiky ? -2 : -1);
      if (l.Hair_ == THair::Spiky)
        for (int i = -2; i <= 2; ++i) {
          const int sx = int(hx) + i * 3 - 1;
          c.Line(sx, int(hy) - 5, sx + (i < 0 ? -1 : 1), int(hy) - 7, i < 0 ? hair.Light : hair.Mid);
          c.Set(sx + 1, int(hy) - 6, hair.Mid);
        }
      if (l.Hair_ == THair::Long) {
        if (dir == 0) c.FillRect(int(hx) - 5, int(hy), 10, 7, hair.Mid);
        else if (dir == 2) c.FillRect(int(hx) - 7, int(hy) - 1, 2, 7, hair.Mid), c.FillRect(int(hx) + 5, int(hy) - 1, 2, 7, hair.Dark);
        else c.FillRect(int(hx) - 6, int(hy) - 1, 4, 7, hair.Mid);
      }
      if (l.Hair_ == THair::Tied) {
        if (dir == 0) c.FillRect(int(hx) - 1, int(hy) + 2, 3, 5, hair.Dark);
        else if (side) c.FillRect(int(hx) - 8, int(hy) - 1, 3, 5, hair.Dark);
      }
    }
  }
  // Face details.
  if (dir == 2) {
    c.FillRect(int(hx) - 3, int(hy) + 1, 1, 2, eye);
    c.FillRect(int(hx) + 2, int(hy) + 1, 1, 2, eye);
    if (l.Beard) c.FillRect(int(hx) - 3, int(hy) + 3, 6, 3, hair.Light);
  } else if (side) {
    c.FillRect(int(hx) + 3, int(hy) + 1, 1, 2, eye);
    c.Set(int(hx) + 6, int(hy) + 2, skin.Mid);
    if (l.Beard) c.FillRect(int(hx) + 1, int(hy) + 3, 4, 3, hair.Light);
  }
  // A sword hilt over the shoulder.
  if (l.Weapon && !l.Staff) {
    const std::uint8_t steel = c.Idx({200, 206, 220});
    if (dir == 0) c.Line(cx - 4, b.BodyTop + 7, cx + 4, b.BodyTop - 1, steel), c.FillRect(cx + 3, b.BodyTop - 2, 3, 2, accent.Dark);
    else if (dir == 2) c.FillRect(cx + half, b.BodyTop - 3, 2, 3, accent.Dark);
    else c.FillRect(cx - half - 2, b.BodyTop - 2, 2, 3, accent.Dark);
  }
}

}  // namespace

void DrawPersonFrame(TCanvas& canvas, int x, int y, const TPersonLook& look, int direction, int pattern) {
  TCanvas frame(24, 32, canvas.Pal());
  drawFrame(frame, look, direction == 3 ? 1 : direction, pattern);
  frame.Outline(0, 0, 24, 32, frame.Idx(kOutline));
  for (int j = 0; j < 32; ++j)
    for (int i = 0; i < 24; ++i) {
      const std::uint8_t v = frame.Get(direction == 3 ? 23 - i : i, j);
      if (v) canvas.Set(x + i, y + j, v);
    }
}

void DrawFace(TCanvas& c, int x0, int y0, const TPersonLook& l, TRgb backdrop, int mood) {
  const TShades skin = shades(c, l.Skin), hair = shades(c, l.Hair), top = shades(c, l.Top), accent = shades(c, l.Accent);
  const std::uint8_t bgA = c.Idx(backdrop), bgB = c.Idx(ShadeRgb(backdrop, 0.85)), outline = c.Idx(kOutline);
  const std::uint8_t white = c.Idx({246, 246, 240}), iris = c.Idx(l.Eyes), mouth = c.Idx(ShadeRgb(l.Skin, 0.55));
  TCanvas f(48, 48, c.Pal());
  const bool child = l.Build == TBuild::Child;
  const double cx = 24, cy = child ? 27 : 24, rx = child ? 13 : 12.5, ry = child ? 13.5 : 15;
  // Shoulders.
  f.Paint(0, 36, 48, 12, [&](int x, int y) {
    const double w = 12 + (y - 36) * 1.3;
    if (std::abs(x + 0.5 - 24) > w) return -1;
    return int(x < 24 - w + 3 ? top.Light : (x > 24 + w - 4 ? top.Dark : top.Mid));
  });
  if (l.Cape) f.FillRect(8, 40, 6, 8, accent.Mid), f.FillRect(34, 40, 6, 8, accent.Mid);
  f.FillRect(20, 34, 8, 5, skin.Dark);
  // Long hair falls behind the head.
  if (l.Hair_ == THair::Long) f.FillEllipse(cx, cy + 6, rx + 3, ry + 4, hair.Dark);
  if (l.Hair_ == THair::Hood) f.FillEllipse(cx, cy, rx + 5, ry + 4, top.Dark);
  f.FillEllipse(cx, cy, rx, ry, skin.Mid);
  f.Paint(0, 0, 48, 48, [&](int x, int y) {
    return f.Get(x, y) == skin.Mid && (x + 0.5 - cx) > rx * 0.45 ? int(skin.Dark) : -1;
  });
  f.FillEllipse(cx - rx + 1, cy + 2, 2, 3, skin.Mid);
  f.FillEllipse(cx + rx - 1, cy + 2, 2, 3, skin.Dark);
  // Eyes, brows, nose, mouth.
  const int ey = int(cy) + 1;
  for (int side : {-1, 1}) {
    const int ex = int(cx) + side * 6 - (side > 0 ? 2 : 0);
    f.FillRect(ex - 1, ey - 2, 5, 4, white);
    f.FillRect(ex + (side > 0 ? 0 : 1), ey - 2, 2, 4, iris);
    f.FillRect(ex - 1, ey - 3, 5, 1, outline);
    const int tilt = mood == 2 ? side : (mood == 3 ? -side : 0);
    f.Line(ex - 1, ey - 6 - (tilt < 0 ? 1 : 0), ex + 3, ey - 6 - (tilt > 0 ? 1 : 0) + (mood == 2 ? 2 * (side > 0 ? 0 : 1) : 0), hair.Dark);
  }
  f.FillRect(int(cx), ey + 4, 2, 2, skin.Dark);
  if (mood == 1) f.Line(int(cx) - 4, ey + 8, int(cx) - 2, ey + 10, mouth), f.Line(int(cx) - 2, ey + 10, int(cx) + 3, ey + 10, mouth), f.Line(int(cx) + 3, ey + 10, int(cx) + 5, ey + 8, mouth);
  else if (mood == 3) f.Line(int(cx) - 3, ey + 10, int(cx) + 4, ey + 10, mouth), f.Set(int(cx) - 4, ey + 11, mouth), f.Set(int(cx) + 5, ey + 11, mouth);
  else f.FillRect(int(cx) - 3, ey + 9, 7 - (mood == 2 ? 2 : 0), 1, mouth);
  if (l.Beard) f.Paint(0, 0, 48, 48, [&](int x, int y) {
      const double dx = (x + 0.5 - cx) / (rx + 1), dy = (y + 0.5 - cy - 4) / (ry - 2);
      return (y > ey + 6 && dx * dx + dy * dy < 1 && !(y == ey + 9 && std::abs(x - cx) < 4)) ? int((x + y) % 3 ? hair.Light : hair.Mid) : -1;
    });
  // Hair on top.
  auto cap = [&](double fringeY, bool spikes) {
    f.Paint(0, 0, 48, 48, [&](int x, int y) {
      const double dx = (x + 0.5 - cx) / (rx + 2), dy = (y + 0.5 - cy + 1) / (ry + 2);
      if (dx * dx + dy * dy > 1) return -1;
      const double edge = fringeY + 3 * std::sin(x * 0.9) + (std::abs(x + 0.5 - cx) > rx - 3 ? 8 : 0);
      if (y + 0.5 > cy + edge) return -1;
      return int(dx < -0.3 ? hair.Light : (dx > 0.4 ? hair.Dark : ((x + y) % 7 == 0 ? hair.Light : hair.Mid)));
    });
    if (spikes)
      for (int i = 0; i < 6; ++i) {
        const int sx = 10 + i * 5;
        for (int t = 0; t < 6; ++t) f.FillRect(sx + t / 2 - 1, int(cy - ry) - 5 + t, 4 - t / 2, 1, t < 2 ? hair.Light : hair.Mid);
      }
  };
  switch (l.Hair_) {
    case THair::Bald: f.FillEllipse(cx - rx + 1, cy - 2, 2, 5, hair.Mid); f.FillEllipse(cx + rx - 1, cy - 2, 2, 5, hair.Dark); break;
    case THair::Hood: cap(-ry * 0.55, false); f.Paint(0, 0, 48, 48, [&](int x, int y) {
        const std::uint8_t v = f.Get(x, y);
        return v == hair.Mid || v == hair.Light || v == hair.Dark ? int(x < cx ? top.Light : top.Mid) : -1; }); break;
    case THair::Helmet: {
      const TShades metal = shades(c, {170, 176, 190});
      cap(-ry * 0.35, false);
      f.Paint(0, 0, 48, 48, [&](int x, int y) {
        const std::uint8_t v = f.Get(x, y);
        return v == hair.Mid || v == hair.Light || v == hair.Dark ? int(x < cx - 4 ? metal.Light : (x > cx + 5 ? metal.Dark : metal.Mid)) : -1; });
      f.FillRect(int(cx) - 1, int(cy - ry) - 1, 3, 10, accent.Mid);
      break;
    }
    case THair::HatWide:
      cap(-ry * 0.3, false);
      f.FillEllipse(cx, cy - ry * 0.45, rx + 9, 3.5, accent.Dark);
      f.FillEllipse(cx, cy - ry * 0.75, rx - 2, 6, accent.Mid);
      f.FillRect(int(cx - rx + 3), int(cy - ry * 0.6), int(2 * rx - 6), 2, accent.Light);
      break;
    case THair::Spiky: cap(-ry * 0.45, true); break;
    case THair::Tied: cap(-ry * 0.5, false); f.FillEllipse(cx + rx + 1, cy - ry * 0.6, 3, 4, hair.Dark); break;
    default: cap(-ry * 0.4, false);
  }
  f.Outline(0, 0, 48, 48, outline);
  // Backdrop: a soft vertical dither.
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      std::uint8_t v = f.Get(x, y);
      if (!v) v = ((y * 2 + (x + y) % 4 / 2) > 52) ? bgB : bgA;
      c.Set(x0 + x, y0 + y, v);
    }
}
