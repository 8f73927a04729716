// Character and face sets: heroes and villagers from their looks, vehicles, objects for events
// (chests, doors, switches) and small creatures that wander on maps.
#include "People.h"

#include <cmath>
#include <functional>

namespace {

using TFrameFn = std::function<void(TCanvas&, int x, int y, int direction, int pattern)>;

void sheetOf(TCanvas& c, int character, const TFrameFn& draw) {
  const int ox = 72 * (character % 4), oy = 128 * (character / 4);
  for (int dir = 0; dir < 4; ++dir)
    for (int pattern = 0; pattern < 3; ++pattern) draw(c, ox + 24 * pattern, oy + 32 * dir, dir, pattern);
}

void peopleSheet(const std::vector<TPersonLook>& looks, const std::filesystem::path& file) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(288, 256, pal);
  for (int i = 0; i < 8 && i < int(looks.size()); ++i)
    sheetOf(c, i, [&](TCanvas& cv, int x, int y, int d, int p) { DrawPersonFrame(cv, x, y, looks[std::size_t(i)], d, p); });
  c.Save(file);
}

const std::vector<TRgb>& backdrops() {
  static const std::vector<TRgb> colours = {{120, 150, 200}, {200, 150, 120}, {140, 190, 150}, {180, 150, 200},
                                            {210, 190, 120}, {130, 180, 190}, {200, 130, 150}, {160, 160, 170}};
  return colours;
}

void faceSheet(const std::vector<TPersonLook>& looks, const std::filesystem::path& file) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(192, 192, pal);
  // Rows 0-1: everyone calm; rows 2-3: the same faces smiling, then angry or sad.
  for (int i = 0; i < 16; ++i) {
    const int who = i % 8, mood = i < 8 ? 0 : (who < 4 ? 1 : (who % 2 ? 2 : 3));
    DrawFace(c, 48 * (i % 4), 48 * (i / 4), looks[std::size_t(who)], backdrops()[std::size_t(who)], mood);
  }
  c.Save(file);
}

}  // namespace

const std::vector<TPersonLook>& HeroLooks() {
  static const std::vector<TPersonLook> looks = [] {
    std::vector<TPersonLook> v(8);
    // A swordsman, a mage, an archer, a knight; then four more adventurers.
    v[0] = {{240, 196, 160}, {150, 74, 34}, {46, 92, 178}, {70, 60, 54}, {214, 176, 60}, THair::Spiky, TBuild::Adult, true, false, false, true, false, {40, 60, 120}};
    v[1] = {{246, 210, 180}, {214, 186, 96}, {120, 52, 150}, {60, 40, 80}, {238, 200, 90}, THair::Long, TBuild::Adult, false, true, false, false, true, {60, 120, 60}};
    v[2] = {{214, 160, 120}, {40, 36, 40}, {60, 126, 70}, {100, 80, 50}, {170, 110, 50}, THair::Tied, TBuild::Adult, false, false, false, true, false, {60, 40, 30}};
    v[3] = {{232, 190, 150}, {90, 60, 40}, {150, 150, 166}, {90, 90, 100}, {190, 40, 40}, THair::Helmet, TBuild::Broad, true, false, true, true, false, {40, 40, 60}};
    v[4] = {{250, 220, 190}, {200, 60, 50}, {220, 120, 50}, {80, 60, 60}, {250, 230, 120}, THair::Short, TBuild::Adult, false, false, false, false, false, {50, 90, 50}};
    v[5] = {{180, 120, 90}, {230, 230, 235}, {40, 60, 90}, {50, 50, 60}, {90, 160, 200}, THair::Hood, TBuild::Adult, true, true, false, false, true, {120, 40, 40}};
    v[6] = {{240, 200, 170}, {60, 90, 160}, {200, 70, 110}, {60, 50, 70}, {240, 240, 240}, THair::Long, TBuild::Child, false, false, false, false, false, {40, 70, 140}};
    v[7] = {{226, 180, 140}, {120, 120, 120}, {110, 80, 50}, {60, 50, 40}, {120, 140, 60}, THair::HatWide, TBuild::Elder, false, false, true, false, true, {50, 50, 50}};
    return v;
  }();
  return looks;
}

const std::vector<TPersonLook>& VillagerLooks() {
  static const std::vector<TPersonLook> looks = [] {
    std::vector<TPersonLook> v(8);
    v[0] = {{236, 190, 150}, {110, 70, 40}, {160, 120, 70}, {80, 70, 60}, {100, 70, 40}, THair::Short, TBuild::Adult, false, false, false, false, false, {40, 40, 40}};
    v[1] = {{246, 206, 176}, {180, 100, 50}, {200, 90, 90}, {240, 230, 210}, {240, 240, 230}, THair::Long, TBuild::Adult, false, true, false, false, false, {60, 90, 60}};
    v[2] = {{224, 180, 140}, {210, 210, 210}, {120, 110, 140}, {80, 70, 80}, {160, 140, 90}, THair::Bald, TBuild::Elder, false, true, true, false, false, {40, 40, 40}};
    v[3] = {{236, 196, 164}, {190, 190, 196}, {90, 130, 110}, {70, 60, 50}, {200, 180, 150}, THair::Tied, TBuild::Elder, false, true, false, false, false, {50, 50, 50}};
    v[4] = {{244, 204, 170}, {60, 40, 30}, {70, 140, 200}, {90, 70, 50}, {230, 200, 80}, THair::Spiky, TBuild::Child, false, false, false, false, false, {40, 40, 40}};
    v[5] = {{244, 210, 180}, {230, 170, 60}, {230, 160, 190}, {160, 100, 130}, {250, 250, 250}, THair::Tied, TBuild::Child, false, true, false, false, false, {60, 100, 170}};
    v[6] = {{214, 170, 130}, {60, 40, 30}, {90, 60, 120}, {60, 50, 40}, {220, 180, 60}, THair::HatWide, TBuild::Broad, false, false, true, false, false, {30, 30, 30}};
    v[7] = {{232, 188, 150}, {70, 50, 40}, {170, 40, 40}, {70, 70, 80}, {200, 200, 210}, THair::Helmet, TBuild::Adult, false, false, false, true, false, {40, 40, 40}};
    return v;
  }();
  return looks;
}

void MakeHeroCharSet(const std::filesystem::path& file) { peopleSheet(HeroLooks(), file); }
void MakeVillagerCharSet(const std::filesystem::path& file) { peopleSheet(VillagerLooks(), file); }
void MakeHeroFaceSet(const std::filesystem::path& file) { faceSheet(HeroLooks(), file); }
void MakeVillagerFaceSet(const std::filesystem::path& file) { faceSheet(VillagerLooks(), file); }

namespace {

constexpr TRgb kInk{30, 24, 30};

// A hull seen from the side (directions 1, 3) or end-on (0, 2), rocking with the pattern.
void drawBoat(TCanvas& c, int x, int y, int dir, int pattern, int kind) {
  TCanvas f(24, 32, c.Pal());
  const std::uint8_t wood = f.Idx({150, 96, 50}), woodD = f.Idx({100, 60, 30}), woodL = f.Idx({196, 140, 80});
  const std::uint8_t sail = f.Idx({240, 236, 220}), sailD = f.Idx({200, 190, 170}), flag = f.Idx({200, 50, 50});
  const std::uint8_t balloon = f.Idx({220, 120, 60}), balloonL = f.Idx({250, 170, 90}), balloonD = f.Idx({160, 70, 40});
  const int bob = pattern == 1 ? 0 : 1;
  const bool side = dir == 1 || dir == 3;
  if (kind == 2) {
    // Airship: a balloon above a gondola.
    f.FillEllipse(12, 10 + bob, side ? 11 : 8, 8, balloon);
    f.FillEllipse(side ? 9 : 10, 7 + bob, side ? 6 : 4, 4, balloonL);
    f.FillRect(side ? 3 : 6, 13 + bob, side ? 18 : 12, 2, balloonD);
    f.Line(7, 17 + bob, 9, 22 + bob, woodD), f.Line(17, 17 + bob, 15, 22 + bob, woodD);
    f.FillRect(side ? 5 : 8, 22 + bob, side ? 14 : 8, 5, wood);
    f.FillRect(side ? 5 : 8, 22 + bob, side ? 14 : 8, 1, woodL);
    if (side) f.FillRect(19, 22 + bob + (pattern == 2 ? 1 : 0), 3, 3, woodD);
  } else {
    const int hullTop = kind == 0 ? 20 : 18;
    for (int yy = hullTop; yy < 29; ++yy) {
      const int inset = (yy - hullTop) / 2;
      if (side) f.FillRect(1 + inset + (yy == hullTop ? 0 : 1), yy + bob, 22 - 2 * inset - 1, 1, yy == hullTop ? woodL : (yy > 25 ? woodD : wood));
      else f.FillRect(6 + inset, yy + bob, 12 - 2 * inset, 1, yy == hullTop ? woodL : (yy > 25 ? woodD : wood));
    }
    if (kind == 1) {
      f.FillRect(11, 3 + bob, 2, 16, woodD);
      if (side) f.FillRect(5, 5 + bob, 14, 11, sail), f.FillRect(5, 13 + bob, 14, 3, sailD);
      else f.FillRect(4, 5 + bob, 16, 10, sail), f.FillRect(4, 12 + bob, 16, 3, sailD);
      f.FillRect(13, 2 + bob, 4, 2, flag);
    } else {
      f.FillRect(side ? 10 : 11, 17 + bob, 2, 3, woodD);
    }
  }
  f.Outline(0, 0, 24, 32, f.Idx(kInk));
  for (int j = 0; j < 32; ++j)
    for (int i = 0; i < 24; ++i) {
      const std::uint8_t v = f.Get(dir == 3 ? 23 - i : i, j);
      if (v) c.Set(x + i, y + j, v);
    }
}

}  // namespace

void MakeVehicleCharSet(const std::filesystem::path& file) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(288, 256, pal);
  for (int kind = 0; kind < 3; ++kind)
    sheetOf(c, kind, [&](TCanvas& cv, int x, int y, int d, int p) { drawBoat(cv, x, y, d, p, kind); });
  c.Save(file);
}

void MakeObjectCharSet(const std::filesystem::path& file) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(288, 256, pal);
  const std::uint8_t ink = c.Idx(kInk), gold = c.Idx({236, 196, 70}), goldD = c.Idx({170, 120, 40});
  // Each object's four rows are its animation (closed, opening, open); the patterns are equal.
  struct TObjectDraw { std::function<void(TCanvas&, int step)> Draw; };
  const std::vector<std::function<void(TCanvas&, int)>> objects = {
      [&](TCanvas& f, int step) {  // wooden chest
        const std::uint8_t w = f.Idx({160, 96, 44}), wd = f.Idx({110, 62, 28}), wl = f.Idx({200, 136, 70});
        f.FillRect(4, 17, 16, 11, w), f.FillRect(4, 17, 16, 1, wl), f.FillRect(4, 24, 16, 1, wd);
        const int lid = step == 0 ? 0 : step * 2;
        f.FillRect(4, 11 - lid, 16, 6 - std::min(lid, 4), step == 3 ? wd : wl);
        f.FillRect(11, 16, 2, 4, gold);
        if (step > 1) f.FillRect(6, 16, 12, 2, f.Idx({30, 20, 16}));
      },
      [&](TCanvas& f, int step) {  // treasure chest (red and gold)
        const std::uint8_t r = f.Idx({180, 40, 50}), rl = f.Idx({220, 80, 80});
        f.FillRect(4, 17, 16, 11, r), f.FillRect(4, 17, 16, 1, rl), f.FillRect(4, 21, 16, 1, gold), f.FillRect(11, 17, 2, 11, gold);
        const int lid = step * 2;
        f.FillRect(4, 11 - lid, 16, 6 - std::min(lid, 4), step == 3 ? goldD : rl);
        if (step > 1) f.FillRect(6, 16, 12, 2, gold);
      },
      [&](TCanvas& f, int step) {  // a door that swings open
        const std::uint8_t w = f.Idx({130, 80, 40}), wl = f.Idx({170, 110, 60});
        const std::uint8_t dark = f.Idx({24, 18, 20});
        f.FillRect(3, 0, 18, 32, dark);
        const int width = 18 - step * 5;
        if (width > 0) {
          f.FillRect(3, 0, width, 32, w);
          for (int i = 3; i < 3 + width; i += 4) f.FillRect(i, 0, 1, 32, wl);
          if (width > 6) f.FillRect(3 + width - 4, 16, 2, 2, gold);
        }
      },
      [&](TCanvas& f, int step) {  // a floor switch
        const std::uint8_t base = f.Idx({120, 120, 130}), on = f.Idx({80, 200, 120}), off = f.Idx({200, 70, 60});
        f.FillRect(5, 22, 14, 7, base);
        f.FillRect(8, step >= 2 ? 24 : 19, 8, step >= 2 ? 3 : 5, step >= 2 ? on : off);
      },
      [&](TCanvas& f, int step) {  // a glowing crystal
        const std::uint8_t a = f.Idx({90, 160, 240}), b = f.Idx({180, 230, 255}), d = f.Idx({50, 90, 170});
        const int lift = step % 2;
        for (int yy = 0; yy < 18; ++yy) {
          const int w = yy < 8 ? yy : 17 - yy;
          f.FillRect(12 - w / 2 - 1, 8 + yy - lift, w + 2, 1, yy < 6 ? b : (yy < 12 ? a : d));
        }
        f.FillEllipse(12, 29, 5, 1.5, d);
      },
      [&](TCanvas& f, int step) {  // a lit torch on a wall
        const std::uint8_t w = f.Idx({110, 70, 40}), fl = f.Idx({250, 160, 40}), fy = f.Idx({255, 236, 120});
        f.FillRect(11, 14, 3, 12, w);
        f.FillEllipse(12.5, 10 - (step % 2), 3.5, 5, fl);
        f.FillEllipse(12.5, 11 - (step % 2), 1.5, 2.5, fy);
      },
      [&](TCanvas& f, int step) {  // a signpost with a notice (static)
        (void)step;
        const std::uint8_t w = f.Idx({150, 100, 56}), paper = f.Idx({240, 232, 200});
        f.FillRect(11, 14, 2, 16, w), f.FillRect(3, 6, 18, 10, w), f.FillRect(5, 8, 14, 6, paper);
      },
      [&](TCanvas& f, int step) {  // a pot
        const std::uint8_t p = f.Idx({170, 100, 70}), pl = f.Idx({210, 140, 100});
        f.FillEllipse(12, 22, 7, 7, p), f.FillEllipse(10, 20, 3, 3, pl), f.FillRect(8, 13, 8, 3, p);
        if (step == 3) f.FillRect(9, 13, 6, 2, f.Idx({40, 30, 30}));
      },
  };
  for (int i = 0; i < 8; ++i)
    sheetOf(c, i, [&](TCanvas& cv, int x, int y, int d, int) {
      TCanvas f(24, 32, cv.Pal());
      objects[std::size_t(i)](f, d);
      f.Outline(0, 0, 24, 32, ink);
      cv.CopyFrom(f, 0, 0, 24, 32, x, y, true);
    });
  c.Save(file);
}

void MakeCreatureCharSet(const std::filesystem::path& file) {
  TPaletteBuilder pal({0, 0, 0});
  TCanvas c(288, 256, pal);
  const std::uint8_t ink = c.Idx(kInk), white = c.Idx({250, 250, 250});
  const std::vector<TRgb> tints = {{90, 190, 90}, {90, 130, 220}, {200, 80, 80}, {200, 170, 60},
                                   {150, 90, 190}, {220, 220, 230}, {110, 90, 70}, {240, 140, 180}};
  for (int i = 0; i < 8; ++i)
    sheetOf(c, i, [&](TCanvas& cv, int x, int y, int d, int p) {
      TCanvas f(24, 32, cv.Pal());
      const TRgb t = tints[std::size_t(i)];
      const std::uint8_t m = f.Idx(t), l = f.Idx(ShadeRgb(t, 1.25)), dk = f.Idx(ShadeRgb(t, 0.7));
      const int squash = p == 1 ? 0 : 1;
      if (i % 2 == 0) {
        // A hopping blob.
        f.FillEllipse(12, 24 + squash, 8 + squash, 6 - squash, m);
        f.FillEllipse(9, 21 + squash, 3, 2, l);
        f.FillRect(4, 28, 16, 1, dk);
      } else {
        // A flapping flyer.
        f.FillEllipse(12, 16, 5, 5, m);
        const int wing = p == 1 ? 0 : (p == 0 ? -3 : 3);
        f.FillEllipse(4, 14 + wing, 4, 2, dk), f.FillEllipse(20, 14 + wing, 4, 2, dk);
        f.FillEllipse(11, 14, 2, 2, l);
      }
      if (d != 0) {
        const int ey = i % 2 == 0 ? 23 + squash : 15;
        const int shift = d == 1 ? 2 : (d == 3 ? -2 : 0);
        f.FillRect(9 + shift, ey, 2, 2, white), f.FillRect(13 + shift, ey, 2, 2, white);
        f.Set(10 + shift, ey + 1, ink), f.Set(14 + shift, ey + 1, ink);
      }
      f.Outline(0, 0, 24, 32, ink);
      cv.CopyFrom(f, 0, 0, 24, 32, x, y, true);
    });
  c.Save(file);
}
