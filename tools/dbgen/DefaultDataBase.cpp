#include "DefaultDataBase.h"

#include "DataBase.h"
#include "DbText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void sound(TVudSound& s, const char* name, int volume = 100) {
  s.Clear();
  s.Name = name;
  s.Volume = volume;
}

void music(TVudMusic& m, const char* name) {
  m.Clear();
  m.Name = name;
}

// --- Attributes and conditions ---------------------------------------------------------------

void attributes(TVudAttrib& list) {
  list.Clear();
  const char* names[] = {"Espada", "Lanza", "Arco", "Fuego", "Hielo", "Rayo", "Luz", "Oscuridad"};
  for (int i = 0; i < 8; ++i) {
    TVudAttribItem* a = list.Append();
    a->Name = T(names[i]);
    a->AttribType = i < 3 ? 0 : 1;
  }
}

void conditions(TVudStatus& list) {
  list.Clear();
  struct TDef { const char* Name; int Type, Color, Priority, Restriction, Hold, Auto, Hit; const char* Hero; const char* Enemy; const char* Recovery; };
  const TDef defs[] = {
      {"Incapacitado", 1, 5, 100, 1, 0, 0, 0, " ha caído.", " ha sido derrotado.", " se recupera."},
      {"Veneno", 1, 4, 60, 0, 0, 0, 0, " está envenenado.", " está envenenado.", " ya no está envenenado."},
      {"Ceguera", 0, 6, 40, 0, 5, 20, 0, " no ve nada.", " no ve nada.", " recupera la vista."},
      {"Silencio", 0, 3, 40, 0, 5, 20, 0, " no puede hablar.", " no puede hablar.", " recupera la voz."},
      {"Sueño", 0, 2, 50, 1, 3, 40, 60, " se duerme.", " se duerme.", " se despierta."},
      {"Parálisis", 0, 1, 70, 1, 3, 30, 0, " está paralizado.", " está paralizado.", " puede moverse."},
      {"Confusión", 0, 7, 55, 2, 3, 30, 50, " está confundido.", " está confundido.", " vuelve en sí."},
  };
  for (const TDef& d : defs) {
    TVudStatusItem* s = list.Append();
    s->Name = T(d.Name);
    s->StatusType = std::uint8_t(d.Type);
    s->Color = d.Color;
    s->Priority = d.Priority;
    s->Restriction = std::uint8_t(d.Restriction);
    s->HoldTurns = d.Hold;
    s->AutoRecovery = d.Auto;
    s->HitRecovery = d.Hit;
    s->MsgHero = T(d.Hero);
    s->MsgEnemy = T(d.Enemy);
    s->MsgRecovery = T(d.Recovery);
  }
  // Poison takes a little HP every turn and every few steps.
  TVudStatusItem* poison = list.ItemByID(2);
  poison->HpTurnRate = 5;
  poison->HpTurn = 3;
  poison->HpStepRate = 1;
  poison->HpStep = 1;
  poison->LowerAttack = 1;
}

// --- Battle animations -----------------------------------------------------------------------

void animations(TVudAnimation& list) {
  list.Clear();
  struct TDef { const char* Name; const char* Graphic; const char* Sound; int Frames; int Scope; TVudAnimationTimingItem Flash; };
  const struct { const char* Name; const char* Graphic; const char* Sound; int Frames; int Red, Green, Blue; } defs[] = {
      {"Golpe", "Golpes", "Golpe", 10, 31, 31, 31},
      {"Tajo", "Golpes", "Tajo", 12, 31, 28, 24},
      {"Fuego", "Fuego", "Fuego", 16, 31, 16, 4},
      {"Hielo", "Hielo", "Hielo", 16, 16, 24, 31},
      {"Luz", "Luz", "Curar", 14, 31, 31, 20},
      {"Magia", "Luz", "Magia", 12, 24, 16, 31},
  };
  for (const auto& d : defs) {
    TVudAnimationItem* a = list.Append();
    a->Name = T(d.Name);
    a->AnimationName = d.Graphic;
    a->Scope = 0;
    a->Position = 1;
    a->SetFrameCount(d.Frames);
    for (int f = 0; f < d.Frames; ++f) {
      TVudAnimationCellItem* cell = a->Frames.At(f)->Cells.Append();
      cell->PatternIndex = std::min(24, f * 24 / std::max(1, d.Frames - 1));
      cell->Zoom = 100 + (f % 3) * 10;
      cell->Transparency = f > d.Frames - 4 ? (f - (d.Frames - 4)) * 20 : 0;
    }
    TVudAnimationTimingItem* t = a->Timings.Append();
    t->Frame = 1;
    sound(t->Sound, d.Sound);
    t->FlashScope = 1;
    t->FlashRed = d.Red, t->FlashGreen = d.Green, t->FlashBlue = d.Blue;
    t->FlashStrength = 20;
    a->Dirty = true;
  }
}

// --- Skills and items ------------------------------------------------------------------------

enum : int { anHit = 1, anSlash, anFire, anIce, anLight, anMagic };

void skills(TVudSkill& list) {
  list.Clear();
  struct TDef { const char* Name; const char* Text; int Type, Mp, Scope, Anim, Base, Magic, Attr; bool Heal, Map; };
  // Attr: attribute ID (0 none).
  const TDef defs[] = {
      {"Curar", "Recupera PV de un aliado.", 0, 4, 3, anLight, 40, 5, 0, true, true},
      {"Curación total", "Recupera PV de todo el grupo.", 0, 12, 4, anLight, 80, 6, 0, true, true},
      {"Llama", "Fuego contra un enemigo.", 0, 5, 0, anFire, 30, 4, 4, false, false},
      {"Llamarada", "Fuego contra todos los enemigos.", 0, 14, 1, anFire, 60, 5, 4, false, false},
      {"Escarcha", "Hielo contra un enemigo.", 0, 5, 0, anIce, 30, 4, 5, false, false},
      {"Ventisca", "Hielo contra todos los enemigos.", 0, 14, 1, anIce, 60, 5, 5, false, false},
      {"Relámpago", "Rayo contra un enemigo.", 0, 8, 0, anMagic, 45, 5, 6, false, false},
      {"Luz sagrada", "Luz contra todos los enemigos.", 0, 20, 1, anLight, 90, 6, 7, false, false},
      {"Tajo doble", "Dos golpes de espada seguidos.", 0, 6, 0, anSlash, 40, 0, 1, false, false},
      {"Flecha certera", "Un disparo que nunca falla.", 0, 5, 0, anHit, 35, 0, 3, false, false},
      {"Antídoto", "Cura el veneno de un aliado.", 0, 3, 3, anLight, 0, 0, 0, false, true},
      {"Regreso", "Vuelve al último lugar seguro.", 1, 8, 2, anMagic, 0, 0, 0, false, true},
      {"Huida", "Escapa del laberinto.", 2, 6, 2, anMagic, 0, 0, 0, false, true},
  };
  for (const TDef& d : defs) {
    TVudSkillItem* s = list.Append();
    s->Name = T(d.Name);
    s->Description = T(d.Text);
    s->UseMessage1 = T(d.Type == 0 && !d.Heal && d.Magic > 0 ? " lanza " : " usa ");
    s->UseMessage1 += s->Name + "!";
    s->SkillType = std::uint8_t(d.Type);
    s->MpCost = d.Mp;
    s->Scope = std::uint8_t(d.Scope);
    s->AnimationID = d.Anim;
    sound(s->Sound, "Magia");
    s->UsableOnMap = d.Map ? 1 : 0;
    s->UsableInBattle = d.Type == 0 ? 1 : 0;
    s->BaseEffect = d.Base;
    s->MagicInfluence = d.Magic;
    s->AttackInfluence = d.Magic == 0 && d.Base > 0 ? 5 : 0;
    s->AffectHp = d.Base > 0 ? 1 : 0;
    s->HitRate = 100;
    if (d.Attr > 0) {
      s->Attributes.SetCount(8);
      s->Attributes.Set(d.Attr, 1);
    }
  }
  // The antidote skill clears poison.
  TVudSkillItem* antidote = list.ItemByID(11);
  antidote->Conditions.SetCount(2);
  antidote->Conditions.Set(2, 1);
}

enum : int { itNormal, itWeapon, itShield, itArmour, itHelmet, itAccessory, itMedicine, itBook, itMaterial, itUnique, itSwitch };

void items(TVudItem& list) {
  list.Clear();
  struct TDef { const char* Name; const char* Text; int Type, Price, Atk, Def, Spi, Agi, HpR, Hp, MpR, Mp; unsigned Heroes; int Anim; };
  // Heroes: bit n set when hero n + 1 may use or equip the item.
  const unsigned all = 0xFF;
  const TDef defs[] = {
      {"Poción", "Recupera 50 PV.", itMedicine, 30, 0, 0, 0, 0, 0, 50, 0, 0, all, 0},
      {"Poción mayor", "Recupera 200 PV.", itMedicine, 120, 0, 0, 0, 0, 0, 200, 0, 0, all, 0},
      {"Éter", "Recupera 30 PM.", itMedicine, 150, 0, 0, 0, 0, 0, 0, 0, 30, all, 0},
      {"Antídoto", "Cura el veneno.", itMedicine, 20, 0, 0, 0, 0, 0, 0, 0, 0, all, 0},
      {"Pluma de fénix", "Devuelve la vida a un aliado.", itMedicine, 300, 0, 0, 0, 0, 20, 0, 0, 0, all, 0},
      {"Espada corta", "Una espada ligera y fiable.", itWeapon, 100, 12, 0, 0, 0, 0, 0, 0, 0, 0x19, anSlash},
      {"Espada larga", "Hoja de acero templado.", itWeapon, 400, 26, 0, 0, 0, 0, 0, 0, 0, 0x19, anSlash},
      {"Vara de roble", "Bastón que canaliza la magia.", itWeapon, 90, 6, 0, 8, 0, 0, 0, 0, 0, 0xA2, anHit},
      {"Arco de caza", "Arco corto de madera.", itWeapon, 120, 14, 0, 0, 2, 0, 0, 0, 0, 0x44, anHit},
      {"Lanza", "Larga y certera.", itWeapon, 260, 20, 0, 0, 0, 0, 0, 0, 0, 0x0C, anHit},
      {"Escudo de madera", "Protección sencilla.", itShield, 60, 0, 6, 0, 0, 0, 0, 0, 0, 0x19, 0},
      {"Escudo de hierro", "Pesado, pero resistente.", itShield, 300, 0, 14, 0, -2, 0, 0, 0, 0, 0x09, 0},
      {"Túnica", "Ropa de tela encantada.", itArmour, 80, 0, 4, 4, 0, 0, 0, 0, 0, all, 0},
      {"Cota de cuero", "Armadura ligera de cuero.", itArmour, 150, 0, 10, 0, 0, 0, 0, 0, 0, 0x5D, 0},
      {"Cota de malla", "Anillas de acero entrelazadas.", itArmour, 500, 0, 22, 0, -3, 0, 0, 0, 0, 0x09, 0},
      {"Gorro", "Un gorro de lana.", itHelmet, 40, 0, 2, 0, 0, 0, 0, 0, 0, all, 0},
      {"Casco de hierro", "Protege la cabeza.", itHelmet, 220, 0, 8, 0, 0, 0, 0, 0, 0, 0x09, 0},
      {"Anillo de vigor", "Aumenta el ataque.", itAccessory, 600, 8, 0, 0, 0, 0, 0, 0, 0, all, 0},
      {"Amuleto", "Aumenta la mente.", itAccessory, 600, 0, 0, 8, 0, 0, 0, 0, 0, all, 0},
      {"Llave vieja", "Abre una puerta olvidada.", itNormal, 0, 0, 0, 0, 0, 0, 0, 0, 0, all, 0},
      {"Libro de llamas", "Enseña el conjuro Llama.", itBook, 500, 0, 0, 0, 0, 0, 0, 0, 0, all, 0},
  };
  for (const TDef& d : defs) {
    TVudItemItem* it = list.Append();
    it->Name = T(d.Name);
    it->Description = T(d.Text);
    it->ItemType = std::uint8_t(d.Type);
    it->Price = d.Price;
    it->AttackBonus = d.Atk, it->DefenseBonus = d.Def, it->SpiritBonus = d.Spi, it->AgilityBonus = d.Agi;
    it->HpRecoveryRate = d.HpR, it->HpRecovery = d.Hp, it->MpRecoveryRate = d.MpR, it->MpRecovery = d.Mp;
    it->AnimationID = d.Anim > 0 ? d.Anim : 1;
    it->Uses = d.Type == itMedicine || d.Type == itBook ? 1 : 0;
    it->UsableInBattle = d.Type == itMedicine ? 1 : 0;
    it->HeroUsable.SetCount(8);
    for (int h = 1; h <= 8; ++h) it->HeroUsable.Set(h, (d.Heroes >> (h - 1)) & 1);
  }
  list.ItemByID(4)->Conditions.SetCount(2);
  list.ItemByID(4)->Conditions.Set(2, 1);
  list.ItemByID(5)->DeadOnly = 1;
  list.ItemByID(21)->SkillID = 3;
}

// --- Heroes ----------------------------------------------------------------------------------

void heroes(TVudPlayer& list) {
  list.Clear();
  struct TDef {
    const char* Name; const char* Title; int Char; int Face;
    int Hp, HpG, Mp, MpG, Atk, AtkG, Def, DefG, Spi, SpiG, Agi, AgiG;
    int Weapon, Shield, Armour, Helmet, Accessory;
    std::vector<std::pair<int, int>> Learn;  // level, skill
  };
  const TDef defs[] = {
      {"Darío", "Espadachín", 0, 0, 48, 36, 6, 3, 14, 5, 12, 4, 8, 2, 11, 3, 6, 11, 14, 16, 0, {{1, 9}, {8, 10}}},
      {"Elena", "Maga", 1, 1, 32, 22, 24, 9, 7, 2, 8, 2, 16, 6, 10, 3, 8, 0, 13, 16, 0, {{1, 3}, {1, 1}, {6, 5}, {10, 7}, {16, 4}, {20, 6}, {30, 8}}},
      {"Nuria", "Arquera", 2, 2, 40, 28, 10, 4, 12, 4, 10, 3, 10, 3, 16, 5, 9, 0, 14, 16, 0, {{1, 10}, {12, 11}}},
      {"Bruno", "Caballero", 3, 3, 60, 44, 4, 2, 13, 5, 16, 6, 7, 2, 8, 2, 6, 12, 15, 17, 0, {{1, 9}, {14, 12}}},
      {"Lucas", "Aprendiz", 4, 4, 36, 26, 12, 5, 9, 3, 9, 3, 11, 3, 12, 4, 6, 11, 13, 16, 0, {{1, 1}}},
      {"Sabela", "Hechicera", 5, 5, 30, 20, 28, 10, 6, 2, 7, 2, 18, 7, 11, 3, 8, 0, 13, 16, 19, {{1, 5}, {1, 13}, {12, 6}}},
      {"Mía", "Exploradora", 6, 6, 34, 24, 8, 3, 10, 3, 8, 2, 9, 3, 18, 6, 9, 0, 14, 16, 0, {{1, 12}}},
      {"Anselmo", "Sabio", 7, 7, 38, 24, 30, 9, 8, 2, 9, 3, 20, 7, 7, 2, 8, 0, 13, 16, 19, {{1, 1}, {1, 11}, {18, 2}, {26, 8}}},
  };
  for (const TDef& d : defs) {
    TVudPlayerItem* h = list.Append();
    h->Name = T(d.Name);
    h->Title = T(d.Title);
    h->CharSetName = "Heroes";
    h->CharSetIndex = d.Char;
    h->FaceName = "CarasHeroes";
    h->FaceIndex = d.Face;
    h->InitialLevel = 1;
    h->MaxLevel = 50;
    const int base[6] = {d.Hp, d.Mp, d.Atk, d.Def, d.Spi, d.Agi}, grow[6] = {d.HpG, d.MpG, d.AtkG, d.DefG, d.SpiG, d.AgiG};
    const int cap[6] = {9999, 999, 999, 999, 999, 999};
    for (int c = 0; c < 6; ++c)
      for (int level = 1; level <= 50; ++level) {
        // Slightly faster growth at higher levels, as players expect.
        const double v = base[c] + grow[c] * (level - 1) * (1.0 + (level - 1) / 60.0);
        h->SetCurve(c, level, std::min(cap[c], int(std::lround(v))));
      }
    h->ExpBase = 25 + 5 * (h->ID % 3);
    h->ExpExtra = 30;
    const int equipment[5] = {d.Weapon, d.Shield, d.Armour, d.Helmet, d.Accessory};
    for (int s = 0; s < 5; ++s) h->SetEquipment(s, equipment[s]);
    h->UnarmedAnimation = anHit;
    for (auto [level, skill] : d.Learn) {
      TVudPlayerLearningItem* l = h->Learning.Append();
      l->Level = level;
      l->SkillID = skill;
    }
    h->Learning.SortByLevel();
  }
}

// --- Enemies and troops ----------------------------------------------------------------------

void monsters(TVudMonster& list) {
  list.Clear();
  struct TDef { const char* Name; const char* Graphic; int Hue, Hp, Mp, Atk, Def, Spi, Agi, Exp, Gold, Drop, Skill; bool Fly; };
  const TDef defs[] = {
      {"Limo", "Limo", 0, 24, 0, 10, 6, 4, 6, 4, 6, 1, 0, false},
      {"Limo azul", "Limo", 160, 40, 10, 14, 10, 10, 8, 8, 10, 3, 5, false},
      {"Murciélago", "Murcielago", 0, 30, 0, 14, 6, 6, 18, 7, 8, 0, 0, true},
      {"Seta andante", "Seta", 0, 55, 12, 18, 14, 10, 8, 14, 20, 4, 0, false},
      {"Gólem", "Golem", 0, 220, 0, 42, 40, 10, 6, 60, 80, 2, 0, false},
      {"Espectro", "Espectro", 0, 120, 40, 28, 20, 30, 20, 45, 60, 3, 7, true},
      {"Dragón", "Dragon", 0, 1200, 200, 90, 60, 70, 40, 600, 1000, 7, 4, true},
  };
  for (const TDef& d : defs) {
    TVudMonsterItem* m = list.Append();
    m->Name = T(d.Name);
    m->BattlerName = d.Graphic;
    m->Hue = d.Hue;
    m->MaxHp = d.Hp, m->MaxMp = d.Mp, m->Attack = d.Atk, m->Defense = d.Def, m->Spirit = d.Spi, m->Agility = d.Agi;
    m->Exp = d.Exp, m->Gold = d.Gold;
    m->DropItemID = d.Drop;
    m->DropChance = d.Drop ? 25 : 100;
    m->Flying = d.Fly ? 1 : 0;
    m->Actions.Clear();
    TVudMonsterActItem* attack = m->Actions.Append();
    attack->ActionKind = 0, attack->BasicAction = 0, attack->Rating = 50;
    if (d.Skill) {
      TVudMonsterActItem* skill = m->Actions.Append();
      skill->ActionKind = 1, skill->SkillID = d.Skill, skill->Rating = 40;
    }
    TVudMonsterActItem* defend = m->Actions.Append();
    defend->ActionKind = 0, defend->BasicAction = 2, defend->Rating = 20;
  }
  // Slimes fear fire; the spectre fears light and shrugs off swords.
  for (int id : {1, 2}) list.ItemByID(id)->AttributeRanks.SetCount(8), list.ItemByID(id)->AttributeRanks.Set(4, 1);
  TVudMonsterItem* spectre = list.ItemByID(6);
  spectre->AttributeRanks.SetCount(8);
  spectre->AttributeRanks.Set(1, 4);
  spectre->AttributeRanks.Set(7, 0);
}

void troops(TVudMonGroup& list) {
  list.Clear();
  struct TDef { const char* Name; std::vector<std::pair<int, std::pair<int, int>>> Members; };
  const TDef defs[] = {
      {"Limo x2", {{1, {120, 110}}, {1, {200, 110}}}},
      {"Limos", {{1, {100, 120}}, {2, {160, 100}}, {1, {220, 120}}}},
      {"Murciélagos", {{3, {120, 80}}, {3, {200, 90}}}},
      {"Seta y limo", {{4, {130, 110}}, {1, {210, 120}}}},
      {"Gólem", {{5, {160, 100}}}},
      {"Espectros", {{6, {120, 90}}, {6, {210, 90}}}},
      {"Dragón", {{7, {160, 90}}}},
  };
  for (const TDef& d : defs) {
    TVudMonGroupItem* g = list.Append();
    g->Name = T(d.Name);
    g->Members.Clear();
    for (const auto& [monster, pos] : d.Members) {
      TVudMonGroupMonsterItem* m = g->Members.Append();
      m->MonsterID = monster, m->X = pos.first, m->Y = pos.second;
    }
  }
}

// --- Terrains and tile sets ------------------------------------------------------------------

enum : int { tgGrass = 1, tgForest, tgMountain, tgSand, tgSnow, tgWater, tgSea, tgMarsh, tgFloor, tgRoad, tgLava };

void terrains(TVudGround& list) {
  list.Clear();
  struct TDef { const char* Name; const char* Back; int Damage, Rate, Boat, Ship, Air, Land, Transp; };
  const TDef defs[] = {
      {"Pradera", "Pradera", 0, 100, 0, 0, 1, 1, 0},
      {"Bosque", "Bosque", 0, 150, 0, 0, 1, 0, 1},
      {"Montaña", "Cueva", 0, 120, 0, 0, 1, 0, 0},
      {"Arena", "Playa", 0, 100, 0, 0, 1, 1, 0},
      {"Nieve", "Nieve", 0, 120, 0, 0, 1, 1, 0},
      {"Agua", "Playa", 0, 100, 1, 1, 1, 0, 0},
      {"Mar profundo", "Playa", 0, 100, 0, 1, 1, 0, 0},
      {"Pantano", "Bosque", 1, 130, 0, 0, 1, 0, 1},
      {"Suelo", "Cueva", 0, 100, 0, 0, 1, 0, 0},
      {"Camino", "Pradera", 0, 60, 0, 0, 1, 1, 0},
      {"Lava", "Cueva", 10, 100, 0, 0, 1, 0, 0},
  };
  for (const TDef& d : defs) {
    TVudGroundItem* g = list.Append();
    g->Name = T(d.Name);
    g->BattleBackName = d.Back;
    g->Damage = d.Damage, g->EncounterRate = d.Rate;
    g->BoatPass = std::uint8_t(d.Boat), g->ShipPass = std::uint8_t(d.Ship);
    g->AirshipPass = std::uint8_t(d.Air), g->AirshipLand = std::uint8_t(d.Land);
    g->CharTransparency = std::uint8_t(d.Transp);
  }
}

// Lower tile index of plain tile k.
constexpr int plain(int k) { return 18 + k; }
constexpr std::uint8_t kStar = 16;  // drawn above characters

void fieldChipSet(TVudChipSetItem& c) {
  c.Name = T("Campo");
  c.ChipSetName = "Campo";
  const int waterTerrain[3] = {tgWater, tgWater, tgSea};
  for (int k = 0; k < 3; ++k) c.SetTerrainID(k, waterTerrain[k]), c.SetLowerFlag(k, 0);
  for (int k = 3; k < 6; ++k) c.SetTerrainID(k, tgWater), c.SetLowerFlag(k, 0);
  c.SetTerrainID(5, tgGrass);
  const int autoTerrain[12] = {tgGrass, tgRoad, tgSand, tgGrass, tgForest, tgGrass, tgMountain, tgSnow, tgMarsh, tgRoad, tgGrass, tgGrass};
  for (int i = 0; i < 12; ++i) c.SetTerrainID(6 + i, autoTerrain[i]);
  c.SetLowerFlag(6 + 6, 0);  // mountains
  // Plain tiles: cliffs block except the cave and the steps; bridges run one way.
  for (int k : {6, 7, 8, 9, 12, 13, 14, 15}) c.SetLowerFlag(plain(k), 0), c.SetTerrainID(plain(k), tgMountain);
  c.SetLowerFlag(plain(10), 0);
  c.SetTerrainID(plain(16), tgFloor);
  for (int k = 18; k < 21; ++k) c.SetLowerFlag(plain(k), cpLeft | cpRight), c.SetTerrainID(plain(k), tgRoad);
  for (int k = 21; k < 24; ++k) c.SetLowerFlag(plain(k), cpUp | cpDown), c.SetTerrainID(plain(k), tgRoad);
  c.SetTerrainID(plain(5), tgRoad), c.SetTerrainID(plain(24), tgSand), c.SetTerrainID(plain(25), tgSnow);
  for (int k : {30, 31, 32, 33, 34, 35}) c.SetLowerFlag(plain(k), 0);
  c.SetLowerFlag(plain(27), cpAll);
  for (int k = 36; k < 144; ++k) {
    const int kind = ((k - 36) / 6) % 5;
    static constexpr int terrainOf[5] = {tgGrass, tgRoad, tgSand, tgSnow, tgMountain};
    c.SetTerrainID(plain(k), terrainOf[kind]);
    if (k % 6 == 5) c.SetLowerFlag(plain(k), 0);
  }
  // Upper layer: objects block, tree tops and lamp heads stand above characters.
  for (int u : {1, 2, 5, 6, 7, 8, 9, 10, 11, 24, 25, 20, 21, 22, 23, 26, 27, 28, 29, 32, 42, 43, 44}) c.SetUpperFlag(u, 0);
  for (int u : {12, 13, 18, 19, 14, 15, 16, 17, 36, 37, 38}) c.SetUpperFlag(u, cpAll | kStar);
}

void townChipSet(TVudChipSetItem& c) {
  c.Name = T("Pueblo");
  c.ChipSetName = "Pueblo";
  for (int k = 0; k < 6; ++k) c.SetLowerFlag(k, 0), c.SetTerrainID(k, tgWater);
  const int autoTerrain[12] = {tgGrass, tgRoad, tgRoad, tgFloor, tgGrass, tgFloor, tgFloor, tgGrass, tgSand, tgFloor, tgFloor, tgFloor};
  for (int i = 0; i < 12; ++i) c.SetTerrainID(6 + i, autoTerrain[i]);
  c.SetLowerFlag(6 + 4, 0);   // hedge
  c.SetLowerFlag(6 + 10, 0);  // darkness
  c.SetLowerFlag(6 + 11, 0);  // wall top
  // Roofs and walls block; doorways, floors and stairs do not.
  for (int k = 0; k < 28; ++k) c.SetLowerFlag(plain(k), 0);
  for (int k : {14, 17, 20, 21, 23}) c.SetLowerFlag(plain(k), cpAll);
  for (int k = 28; k < 144; ++k) c.SetTerrainID(plain(k), tgFloor);
  for (int k : {31, 32}) c.SetTerrainID(plain(k), tgGrass);
  c.SetLowerFlag(plain(34), 0), c.SetLowerFlag(plain(35), 0);
  for (int u = 1; u < 36; ++u) c.SetUpperFlag(u, 0);
  for (int u : {24, 25, 26, 27, 34, 35}) c.SetUpperFlag(u, cpAll | kStar);
  c.SetUpperFlag(8, cpAll), c.SetUpperFlag(14, cpAll);  // the bed can be walked into
}

void dungeonChipSet(TVudChipSetItem& c) {
  c.Name = T("Mazmorra");
  c.ChipSetName = "Mazmorra";
  for (int k = 0; k < TVudChipSetItem::LowerCount; ++k) c.SetTerrainID(k, tgFloor);
  for (int k = 0; k < 6; ++k) c.SetLowerFlag(k, 0);
  for (int k = 0; k < 3; ++k) c.SetTerrainID(k, tgWater);
  c.SetTerrainID(3, tgLava), c.SetTerrainID(6 + 3, tgLava), c.SetTerrainID(6 + 10, tgMarsh);
  for (int i : {2, 3, 4, 7}) c.SetLowerFlag(6 + i, 0);  // pit, lava, rock and brick masses
  for (int k = 0; k < 12; ++k) c.SetLowerFlag(plain(k), 0), c.SetTerrainID(plain(k), tgMountain);
  c.SetLowerFlag(plain(15), 0);  // barred gate
  for (int u = 1; u < 12; ++u) c.SetUpperFlag(u, 0);
  c.SetUpperFlag(4, cpAll), c.SetUpperFlag(5, cpAll), c.SetUpperFlag(6, cpAll | kStar);
}

void chipSets(TVudChipSet& list) {
  list.Clear();
  fieldChipSet(*list.Append());
  townChipSet(*list.Append());
  dungeonChipSet(*list.Append());
  list.ItemByID(1)->WaterSpeed = 0;
}

// --- System, switches, variables, common events ---------------------------------------------

void systemRecord(TVudSystem& s) {
  s.Clear();
  s.BoatCharSet = s.ShipCharSet = s.AirshipCharSet = "Vehiculos";
  s.BoatCharIndex = 0, s.ShipCharIndex = 1, s.AirshipCharIndex = 2;
  s.TitleName = "Titulo";
  s.GameOverName = "FinDelJuego";
  s.SystemName = "Sistema";
  s.SetPartySize(4);
  for (int i = 0; i < 4; ++i) s.SetPartyMember(i, i + 1);
  music(s.TitleMusic, "Titulo");
  music(s.BattleMusic, "Batalla");
  music(s.VictoryMusic, "Victoria");
  music(s.InnMusic, "Posada");
  music(s.BoatMusic, "Barco");
  music(s.ShipMusic, "Barco");
  music(s.AirshipMusic, "Campo");
  music(s.GameOverMusic, "FinDelJuego");
  sound(s.CursorSound, "Cursor");
  sound(s.DecisionSound, "Decision");
  sound(s.CancelSound, "Cancelar");
  sound(s.BuzzerSound, "Zumbido");
  sound(s.BattleStartSound, "Batalla");
  sound(s.EscapeSound, "Escapar");
  sound(s.EnemyAttackSound, "AtaqueEnemigo");
  sound(s.EnemyDamageSound, "Golpe");
  sound(s.HeroDamageSound, "Dano");
  sound(s.EvasionSound, "Esquivar");
  sound(s.EnemyDeathSound, "MuerteEnemigo");
  sound(s.ItemSound, "Objeto");
  s.BattleTestBackdrop = "Pradera";
  s.BattleTestParty.Clear();
  for (int i = 1; i <= 4; ++i) {
    TVudTestPlayerItem* t = s.BattleTestParty.Append();
    t->HeroID = i;
    t->Level = 5;
  }
  TVudTestPlayerItem* first = s.BattleTestParty.ItemByID(1);
  first->Weapon = 6, first->Shield = 11, first->Armor = 14;
}

void names(TCatalog& list, std::initializer_list<const char*> texts, int count) {
  list.Clear();
  auto it = texts.begin();
  for (int i = 0; i < count; ++i) {
    TCatalogItem* item = list.Append();
    if (it != texts.end()) item->Name = T(*it++);
  }
}

void commonEvents(TVudCommonEvent& list) {
  list.Clear();
  for (const char* name : {"Posada", "Tienda", "Cofre", "Fin de la partida"}) {
    TVudCommonEventItem* e = list.Append();
    e->Name = T(name);
  }
}

}  // namespace

void BuildDefaultDataBase(TVudDataBase& db) {
  db.Reset();
  attributes(db.Attribs());
  conditions(db.Statuses());
  animations(db.Animations());
  skills(db.Skills());
  items(db.Items());
  heroes(db.Players());
  monsters(db.Monsters());
  troops(db.MonGroups());
  terrains(db.Grounds());
  chipSets(db.ChipSets());
  BuildDefaultVocabulary(db.Vocabulary());
  systemRecord(db.System());
  names(db.Switches(), {"Cofre abierto", "Puerta abierta", "Jefe vencido", "Barco conseguido"}, 20);
  names(db.Variables(), {"Oro donado", "Pasos", "Misiones"}, 20);
  commonEvents(db.CommonEvents());
}
