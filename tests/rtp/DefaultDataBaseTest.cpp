// The default database: deterministic, accepted by the strict loader that `tfdata validate`
// uses, and every material and record it names exists.
#include "DataBase.h"
#include "DefaultDataBase.h"
#include "FileKinds.h"
#include "Rtp.h"
#include "VudError.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

namespace {

std::vector<std::uint8_t> image(TVudDataBase& db) {
  TWriter w;
  db.SaveImage(w);
  return w.Buf;
}

class RtpDefaultDataBase : public ::testing::Test {
protected:
  void SetUp() override {
    SetLenientMode(false);
    BuildDefaultDataBase(Db);
  }
  TVudDataBase Db;
};

TEST_F(RtpDefaultDataBase, IsDeterministicAndLoadsStrictlyAsTfdataValidates) {
  const auto bytes = image(Db);
  TVudDataBase other;
  BuildDefaultDataBase(other);
  EXPECT_EQ(bytes, image(other));

  const TFileKind* kind = FindFileKind(TVudDataBase::FormatName);
  ASSERT_NE(kind, nullptr);
  auto doc = kind->Make();
  TReader r(bytes);
  ASSERT_NO_THROW(doc->Load(r));
  EXPECT_EQ(doc->Save(), bytes) << "the file reads back as it was written";

  // The build puts the same file into the program folder.
  std::ifstream built(std::string(TF_PROGRAM_DIR) + "/TFPLAY.ldb.dat", std::ios::binary);
  if (built) {
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(built), std::istreambuf_iterator<char>()};
    EXPECT_EQ(file, bytes);
  }
}

TEST_F(RtpDefaultDataBase, HoldsACompleteGame) {
  EXPECT_GE(Db.Players().Count(), 4);
  EXPECT_GE(Db.Skills().Count(), 8);
  EXPECT_GE(Db.Items().Count(), 15);
  EXPECT_GE(Db.Monsters().Count(), 5);
  EXPECT_GE(Db.MonGroups().Count(), 5);
  EXPECT_GE(Db.Grounds().Count(), 5);
  EXPECT_GE(Db.Attribs().Count(), 4);
  EXPECT_GE(Db.Statuses().Count(), 4);
  EXPECT_GE(Db.Animations().Count(), 4);
  EXPECT_EQ(Db.ChipSets().Count(), 3);
  EXPECT_EQ(Db.System().PartySize(), 4);
  // Every vocabulary text is filled in and fits its edit box.
  for (int id = 1; id < 160; ++id) {
    const std::string* text = Db.Vocabulary().Text(id);
    if (!text) continue;
    EXPECT_FALSE(text->empty()) << "vocabulary " << id;
    EXPECT_LE(int(text->size()), TVudVocabulary::MaxLength(id)) << "vocabulary " << id << ": " << *text;
  }
}

TEST_F(RtpDefaultDataBase, NamesOnlyMaterialsOfThePackageAndRecordsThatExist) {
  std::set<std::pair<std::string, std::string>> rtp;
  for (const auto& m : RtpMaterials()) rtp.insert({m.Folder, m.Name});
  auto expectMaterial = [&](const char* folder, const std::string& name) {
    EXPECT_TRUE(rtp.count({folder, name})) << folder << "/" << name;
  };
  auto expectSound = [&](const TVudSound& s) { expectMaterial("Sound", s.Name); };
  for (int i = 0; i < Db.Players().Count(); ++i) {
    const TVudPlayerItem& h = *Db.Players().At(i);
    expectMaterial("CharSet", h.CharSetName);
    expectMaterial("FaceSet", h.FaceName);
    EXPECT_TRUE(h.CharSetIndex >= 0 && h.CharSetIndex < 8);
    EXPECT_TRUE(h.FaceIndex >= 0 && h.FaceIndex < 16);
    for (int s = 0; s < 5; ++s) {
      if (h.Equipment(s)) { EXPECT_NE(Db.Items().Find(h.Equipment(s)), nullptr) << h.Name; }
    }
    for (int l = 0; l < h.Learning.Count(); ++l) EXPECT_NE(Db.Skills().Find(h.Learning.At(l)->SkillID), nullptr);
    EXPECT_LE(h.Curve(0, 50), 9999);
    EXPECT_LT(h.Curve(0, 1), h.Curve(0, 50));
  }
  for (int i = 0; i < Db.Skills().Count(); ++i) {
    expectSound(Db.Skills().At(i)->Sound);
    EXPECT_NE(Db.Animations().Find(Db.Skills().At(i)->AnimationID), nullptr);
  }
  for (int i = 0; i < Db.Items().Count(); ++i) EXPECT_NE(Db.Animations().Find(Db.Items().At(i)->AnimationID), nullptr);
  for (int i = 0; i < Db.Monsters().Count(); ++i) expectMaterial("Monster", Db.Monsters().At(i)->BattlerName);
  for (int i = 0; i < Db.MonGroups().Count(); ++i) {
    const auto& members = Db.MonGroups().At(i)->Members;
    ASSERT_GT(members.Count(), 0);
    for (int m = 0; m < members.Count(); ++m) EXPECT_NE(Db.Monsters().Find(members.At(m)->MonsterID), nullptr);
  }
  for (int i = 0; i < Db.Grounds().Count(); ++i) expectMaterial("Backdrop", Db.Grounds().At(i)->BattleBackName);
  for (int i = 0; i < Db.Animations().Count(); ++i) {
    const TVudAnimationItem& a = *Db.Animations().At(i);
    expectMaterial("Battle", a.AnimationName);
    for (int t = 0; t < a.Timings.Count(); ++t) expectSound(a.Timings.At(t)->Sound);
  }
  for (int i = 0; i < Db.ChipSets().Count(); ++i) {
    const TVudChipSetItem& c = *Db.ChipSets().At(i);
    expectMaterial("ChipSet", c.ChipSetName);
    for (int k = 0; k < TVudChipSetItem::LowerCount; ++k) EXPECT_NE(Db.Grounds().Find(c.TerrainID(k)), nullptr);
    EXPECT_EQ(c.LowerFlag(0), 0) << "water blocks walking";
    // Grass in the field set, a wooden floor in the town, a tiled floor in the dungeon.
    const int open = c.ChipSetName == "Campo" ? 18 : (c.ChipSetName == "Pueblo" ? 18 + 28 : 18 + 17);
    EXPECT_EQ(c.LowerFlag(open), 15) << c.ChipSetName << ": plain ground is open";
  }
  const TVudSystem& s = Db.System();
  for (const std::string* name : {&s.BoatCharSet, &s.ShipCharSet, &s.AirshipCharSet}) expectMaterial("CharSet", *name);
  expectMaterial("Title", s.TitleName);
  expectMaterial("GameOver", s.GameOverName);
  expectMaterial("System", s.SystemName);
  expectMaterial("Backdrop", s.BattleTestBackdrop);
  for (const TVudMusic* m : {&s.TitleMusic, &s.BattleMusic, &s.VictoryMusic, &s.InnMusic, &s.BoatMusic,
                             &s.ShipMusic, &s.AirshipMusic, &s.GameOverMusic})
    expectMaterial("Music", m->Name);
  for (const TVudSound* x : {&s.CursorSound, &s.DecisionSound, &s.CancelSound, &s.BuzzerSound, &s.BattleStartSound,
                             &s.EscapeSound, &s.EnemyAttackSound, &s.EnemyDamageSound, &s.HeroDamageSound,
                             &s.EvasionSound, &s.EnemyDeathSound, &s.ItemSound})
    expectSound(*x);
  for (int i = 0; i < s.PartySize(); ++i) EXPECT_NE(Db.Players().Find(s.PartyMember(i)), nullptr);
}

}  // namespace
