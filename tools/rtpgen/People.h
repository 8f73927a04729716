// People drawn from a handful of traits: the walking frames of a character set and the
// matching portrait of a face set come from the same look.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

enum class THair { Short, Long, Spiky, Bald, Hood, Tied, Helmet, HatWide };
enum class TBuild { Adult, Child, Elder, Broad };

struct TPersonLook {
  TRgb Skin{240, 196, 160};
  TRgb Hair{90, 56, 30};
  TRgb Top{60, 90, 170};
  TRgb Bottom{70, 60, 50};
  TRgb Accent{220, 190, 70};   // belt, trim, scarf
  THair Hair_ = THair::Short;
  TBuild Build = TBuild::Adult;
  bool Cape = false;
  bool Robe = false;           // a long robe instead of legs
  bool Beard = false;
  bool Weapon = false;         // a sword on the back or a staff in hand
  bool Staff = false;
  TRgb Eyes{40, 40, 60};
};

// Frame pattern 0..2 (left step, standing, right step), direction 0..3 (up, right, down, left)
// into the 24 × 32 rectangle at (x, y).
void DrawPersonFrame(TCanvas& canvas, int x, int y, const TPersonLook& look, int direction, int pattern);
// A 48 × 48 portrait at (x, y) with a backdrop.
void DrawFace(TCanvas& canvas, int x, int y, const TPersonLook& look, TRgb backdrop, int mood);

// The character sets of the package, each 288 × 256 with eight characters.
void MakeHeroCharSet(const std::filesystem::path& file);
void MakeVillagerCharSet(const std::filesystem::path& file);
void MakeVehicleCharSet(const std::filesystem::path& file);
void MakeObjectCharSet(const std::filesystem::path& file);
void MakeCreatureCharSet(const std::filesystem::path& file);
// Face sets of 16 portraits (192 × 192).
void MakeHeroFaceSet(const std::filesystem::path& file);
void MakeVillagerFaceSet(const std::filesystem::path& file);

// The looks shared by the character sets, the face sets and the database.
const std::vector<TPersonLook>& HeroLooks();
const std::vector<TPersonLook>& VillagerLooks();
