// The record sections of the database file: heroes ... battle animations inside TFPLAY.ldb.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AtomicFile.h"
#include "DataBase.h"
#include "LD_Animation.h"
#include "LD_Attrib.h"
#include "LD_Item.h"
#include "LD_MonGroup.h"
#include "LD_Monster.h"
#include "LD_Player.h"
#include "LD_Skill.h"
#include "LD_Status.h"
#include "RecordChunks.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRichFixture = fs::path(TF_TEST_DATA) / "storage/records/rich.ldb";

struct TempDir {
    fs::path Path;
    TempDir()
    {
        Path = fs::temp_directory_path() / ("tf-records-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(Path);
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::remove_all(Path, ec);
    }
};

Bytes_ Save_(TVudDataBase& db)
{
    TWriter w;
    db.SaveToStream(w);
    return w.Buf;
}

TVudPlayer& heroes(TVudDataBase& db) { return db.SectionAs<TVudPlayer>(dsPlayers); }
TVudAnimation& animations(TVudDataBase& db) { return db.SectionAs<TVudAnimation>(dsAnimations); }

// Every section holds something beyond its defaults.
void fillRich(TVudDataBase& db)
{
    db.Reset();
    auto& status = db.SectionAs<TVudStatus>(dsStatuses);
    status.At(0)->Name = "Muerte";
    for (int i = 2; i <= 4; ++i) {
        auto* s = status.Append();
        s->Name = "Estado" + std::to_string(i);
        s->Color = i;
        s->MsgHero = " est\xE1 mal";
        s->HpStep = i;
    }
    auto& attribs = db.SectionAs<TVudAttrib>(dsAttribs);
    attribs.At(0)->Name = "Espada";
    attribs.Append()->Name = "Fuego";
    attribs.At(1)->AttribType = 1;
    attribs.At(1)->RateA = 1000;

    auto& h = heroes(db);
    for (int i = 1; i <= 3; ++i) {
        auto* hero = i == 1 ? h.At(0) : h.Append();
        hero->Name = "H\xE9roe\x80" + std::to_string(i);
        hero->CharSetName = "Hero";
        hero->CharSetIndex = i;
        hero->SetCurve(i, 7, 777);
        hero->SetEquipment(0, 1);
        hero->Learning.Append()->Level = i + 1;
        hero->ConditionRanks.Bytes = {0, 1, 2, 3};
        hero->AttributeRanks.Bytes = {4};
        hero->ExpCorrection = -i;
    }
    auto& skills = db.SectionAs<TVudSkill>(dsSkills);
    skills.At(0)->Name = "Cura";
    skills.At(0)->Sound.Name = "Heal";
    skills.At(0)->Conditions.Bytes = {0, 1};
    skills.Append()->Attributes.Bytes = {0, 1};
    auto& items = db.SectionAs<TVudItem>(dsItems);
    items.At(0)->Name = "Espada\x9C";
    items.At(0)->ItemType = 1;
    items.At(0)->HeroUsable.Bytes = {1, 0, 1};
    items.At(0)->Attributes.Bytes = {1};
    items.Append()->Price = 500;
    auto& enemies = db.SectionAs<TVudMonster>(dsMonsters);
    enemies.At(0)->Name = "Limo";
    enemies.At(0)->ConditionRanks.Bytes = {1, 4};
    enemies.At(0)->Actions.Append()->ActionKind = 1;
    auto& troops = db.SectionAs<TVudMonGroup>(dsMonGroups);
    auto* troop = troops.At(0);
    troop->Name = "Limos";
    troop->Members.Append()->X = 160;
    troop->TerrainAllowed.Bytes = {1, 0};
    troop->Pages.At(0)->Trigger.Flags = TVudBattleEventTrigger::tfTurn;
    troop->Pages.At(0)->Script.Lines.insert(troop->Pages.At(0)->Script.Lines.begin(),
                                            TVudEventScriptLine(10110, 0, "\xA1" "Ataque!"));
    auto& anims = animations(db);
    for (int i = 1; i <= 3; ++i) {
        auto* a = i == 1 ? anims.At(0) : anims.Append();
        a->Name = "Golpe" + std::to_string(i);
        a->AnimationName = "Hit";
        a->SetFrameCount(5 + i);
        auto* cell = a->Frames.At(1)->Cells.Append();
        cell->X = -16 * i;
        cell->Zoom = 150;
        auto* t = a->Timings.Append();
        t->Frame = 2;
        t->Sound.Name = "Blow";
        t->FlashScope = 1;
        t->Reserved8 = 9;
    }

    db.SectionAs<TVudGround>(dsGrounds).At(0)->Name = "Llanura";
    db.ChipSets().At(0)->Name = "Campo";
    db.Vocabulary().BattleStart = " aparece";
    db.System().TitleName = "Title";
    db.System().SetPartySize(2);
    db.System().SetPartyMember(1, 3);
    db.Switches().At(0)->Name = "Puerta";
    db.Variables().At(0)->Name = "Oro";
    db.CommonEvents().At(0)->Name = "Inicio";
}

// Top-level sections of a database image, after the format name.
std::map<int, Bytes_> sectionsOf(const Bytes_& file)
{
    std::map<int, Bytes_> out;
    TReader r(file);
    std::string name;
    ReadBerString(r, name);
    while (!r.AtEnd()) {
        const int id = int(ReadBerInt(r));
        TReader c = r.Sub(ReadBerInt(r));
        out[id] = Bytes_(c.Ptr(), c.Ptr() + c.Size());
    }
    return out;
}

// Equal but for the save counter (chunk 91 of the system record), which must be one higher.
void expectSameButSaveCount(const Bytes_& before, const Bytes_& after)
{
    auto a = sectionsOf(before), b = sectionsOf(after);
    ASSERT_EQ(a.size(), b.size());
    for (auto& [id, bytes] : a) {
        if (id == dsSystem)
            continue;
        EXPECT_EQ(bytes, b.at(id)) << "section " << id;
    }
    auto sa = ChunksOf(a.at(dsSystem)), sb = ChunksOf(b.at(dsSystem));
    TVudSystem x, y;
    Load(x, a.at(dsSystem));
    Load(y, b.at(dsSystem));
    EXPECT_EQ(y.SaveCount, x.SaveCount + 1);
    sa.erase(91);
    sb.erase(91);
    EXPECT_EQ(sa, sb);
}

} // namespace

TEST(DataBaseRecords, ResetSectionsHoldOneNewRecordEach)
{
    TVudDataBase db;
    const auto sections = sectionsOf(Save_(db));
    EXPECT_EQ(sections.at(dsAttribs), (Bytes_{0x01, 0x01, 0x02, 0x01, 0x00, 0x00}));
    // Condition 1 with its creation values: type 1, colour 5, priority 100, restriction 1.
    EXPECT_EQ(sections.at(dsStatuses),
              (Bytes_{0x01, 0x01, 0x02, 0x01, 0x01, 0x03, 0x01, 0x05, 0x04, 0x01, 0x64, 0x05, 0x01, 0x01, 0x00}));
    TVudAnimationItem fresh;
    Bytes_ anim = {0x01, 0x01};
    const Bytes_ one = Save(fresh);
    anim.insert(anim.end(), one.begin(), one.end());
    EXPECT_EQ(sections.at(dsAnimations), anim);
}

TEST(DataBaseRecords, ArraysAreTrimmedToTheDatabaseLists)
{
    TVudDataBase db;
    auto* hero = heroes(db).At(0);
    hero->ConditionRanks.Bytes = {0, 4, 4};
    hero->AttributeRanks.Bytes = {0, 4, 4};
    db.SectionAs<TVudAttrib>(dsAttribs).Append();
    const Bytes_ section = sectionsOf(Save_(db)).at(dsPlayers); // count 1, ID 1, the hero
    const auto chunks = ChunksOf(Bytes_(section.begin() + 2, section.end()));
    EXPECT_EQ(chunks.at(72), Bytes_{0}); // one condition in the database
    EXPECT_EQ(chunks.at(74), (Bytes_{0, 4}));
}

TEST(DataBaseRecords, UnchangedReloadSkipsAnimationsAndSavesTheSameBytes)
{
    TempDir dir;
    const fs::path file = dir.Path / "TFPLAY.ldb";
    {
        TVudDataBase writer;
        fillRich(writer);
        writer.SaveToFile(file);
    }
    const Bytes_ before = ReadWholeFile(file);

    TVudDataBase db;
    db.LoadFromFile(file);
    ASSERT_EQ(animations(db).Count(), 3);
    const auto* frame = animations(db).At(1)->Frames.At(0);
    animations(db).At(0)->Name = "sin avisar"; // not reported: proves the skip below
    db.LoadFromFile(file);
    EXPECT_EQ(animations(db).At(1)->Frames.At(0), frame);
    EXPECT_EQ(animations(db).At(0)->Name, "sin avisar");
    animations(db).At(0)->Dirty = true;
    db.LoadFromFile(file);
    EXPECT_EQ(animations(db).At(0)->Name, "Golpe1");

    const fs::path again = dir.Path / "again.ldb";
    db.SaveToFile(again);
    expectSameButSaveCount(before, ReadWholeFile(again));
}

TEST(DataBaseRecords, SameSizeChangeWithOldTimeIsSeen)
{
    TempDir dir;
    const fs::path file = dir.Path / "TFPLAY.ldb";
    TVudDataBase db;
    fillRich(db);
    db.SaveToFile(file);
    db.LoadFromFile(file);
    const auto time = fs::last_write_time(file);

    Bytes_ bytes = ReadWholeFile(file);
    const Bytes_ name = {'G', 'o', 'l', 'p', 'e', '2'};
    auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    ASSERT_NE(at, bytes.end());
    at[5] = '7';
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    fs::last_write_time(file, time);
    db.LoadFromFile(file);
    EXPECT_EQ(animations(db).At(1)->Name, "Golpe7");
}

TEST(DataBaseRecords, RichFixtureLoadsAndSavesUnchanged)
{
    const Bytes_ fixture = ReadWholeFile(kRichFixture);
    TVudDataBase db;
    TReader r(fixture);
    db.LoadFromStream(r);
    EXPECT_EQ(heroes(db).Count(), 3);
    EXPECT_EQ(heroes(db).At(2)->Name, "H\xE9roe\x80" "3");
    EXPECT_EQ(animations(db).At(2)->FrameCount(), 8);
    EXPECT_EQ(db.SectionAs<TVudMonGroup>(dsMonGroups).At(0)->Pages.At(0)->Script.Line(0)->Text, "\xA1" "Ataque!");
    TWriter w;
    db.SaveToStream(w);
    expectSameButSaveCount(fixture, w.Buf);
}

// Run with --gtest_also_run_disabled_tests to write the fixture again after a format change.
TEST(DataBaseRecords, DISABLED_WriteRichFixture)
{
    TVudDataBase db;
    fillRich(db);
    TWriter w;
    db.SaveToStream(w);
    SaveFileAtomic(kRichFixture, w.Buf);
}
