#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "LD_System.h"
#include "TestRecords.h"

using ByteVec = std::vector<uint8_t>;

namespace {
// The payload of chunk `id` in a record image (top level only), or nothing when absent.
std::optional<ByteVec> chunkOf(const ByteVec& rec, uint32_t id)
{
    TReader r(rec);
    for (;;) {
        const uint32_t cid = ReadBerInt(r);
        if (cid == 0)
            return std::nullopt;
        const uint32_t len = ReadBerInt(r);
        TReader c = r.Sub(len);
        if (cid == id)
            return ByteVec(c.Ptr(), c.Ptr() + len);
    }
}
} // namespace

TEST(System, StartingPartyChunks)
{
    const struct {
        std::vector<int> heroes;
        std::optional<ByteVec> size, members;
    } cases[] = {
        {{3, 7}, ByteVec{0x02}, ByteVec{0x03, 0x00, 0x07, 0x00}},
        {{1}, std::nullopt, ByteVec{0x01, 0x00}},
        {{}, ByteVec{0x00}, ByteVec{}},
        {{300, 2, 3, 4}, ByteVec{0x04}, ByteVec{0x2C, 0x01, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00}},
    };
    for (const auto& c : cases) {
        TVudSystem sys;
        sys.SetPartySize(int(c.heroes.size()));
        for (size_t i = 0; i < c.heroes.size(); ++i)
            sys.SetPartyMember(int(i), c.heroes[i]);
        const ByteVec out = Save(sys);
        EXPECT_EQ(chunkOf(out, 21), c.size) << c.heroes.size();
        EXPECT_EQ(chunkOf(out, 22), c.members) << c.heroes.size();
        TVudSystem back;
        Load(back, out);
        EXPECT_EQ(back.PartySize(), int(c.heroes.size()));
        for (size_t i = 0; i < c.heroes.size(); ++i)
            EXPECT_EQ(back.PartyMember(int(i)), c.heroes[i]);
    }
}

TEST(System, PartyMemberEdits)
{
    TVudSystem sys;
    sys.SetPartySize(3);
    sys.SetPartyMember(0, 4);
    sys.SetPartyMember(2, 6);
    sys.SetPartyMember(5, 9); // outside: ignored
    EXPECT_EQ(sys.PartyMember(2), 6);
    EXPECT_EQ(sys.PartyMember(3), 0);
    EXPECT_EQ(sys.PartyMember(-1), 0);
    sys.SetPartyMember(1, 0); // cuts the party after member 0
    EXPECT_EQ(sys.PartySize(), 1);
    EXPECT_EQ(sys.PartyMember(0), 4);
}

TEST(System, MemberBlockWinsOverADisagreeingPartySize)
{
    const struct {
        const char* what;
        ByteVec in;
        std::vector<int> party;
    } cases[] = {
        {"size 3, one member", {0x15, 0x01, 0x03, 0x16, 0x02, 0x05, 0x00, 0x00}, {5}},
        {"size 0, two members", {0x15, 0x01, 0x00, 0x16, 0x04, 0x02, 0x00, 0x08, 0x00, 0x00}, {2, 8}},
        {"odd byte dropped", {0x16, 0x03, 0x09, 0x00, 0x07, 0x00}, {9}},
        {"size 4, no block: Clear's hero 1", {0x15, 0x01, 0x04, 0x00}, {1}},
    };
    for (const auto& c : cases) {
        TVudSystem sys;
        Load(sys, c.in);
        ASSERT_EQ(sys.PartySize(), int(c.party.size())) << c.what;
        for (size_t i = 0; i < c.party.size(); ++i)
            EXPECT_EQ(sys.PartyMember(int(i)), c.party[i]) << c.what;
        const ByteVec out = Save(sys);
        const auto size = chunkOf(out, 21);
        EXPECT_EQ(size.value_or(ByteVec{0x01}), ByteVec{uint8_t(c.party.size())}) << c.what;
    }
}

TEST(System, ClearedRecordAlwaysWritesItsNestedAndByteChunks)
{
    TVudSystem sys;
    const ByteVec out = Save(sys);
    const ByteVec off = {0x01, 0x05, '(', 'O', 'F', 'F', ')', 0x00};
    EXPECT_EQ(chunkOf(out, 31), off); // music
    EXPECT_EQ(chunkOf(out, 52), off); // sound
    for (uint32_t id = 61; id <= 66; ++id)
        EXPECT_EQ(chunkOf(out, id), ByteVec{0x00}) << id;
    EXPECT_EQ(chunkOf(out, 82), ByteVec{0x01});
    EXPECT_EQ(chunkOf(out, 85), ByteVec{0x00}); // empty test party
    for (uint32_t id : {11u, 17u, 21u, 71u, 81u, 84u, 91u})
        EXPECT_FALSE(chunkOf(out, id)) << id;
}

TEST(System, SaveCountIsNotRaisedByTheRecordOrByCopies)
{
    TVudSystem sys;
    sys.SaveCount = 4;
    TVudSystem copy;
    copy.Assign(sys);
    copy.Assign(sys);
    Save(sys);
    EXPECT_EQ(sys.SaveCount, 4);
    EXPECT_EQ(copy.SaveCount, 4);
    EXPECT_EQ(chunkOf(Save(copy), 91), ByteVec{0x04});
}

TEST(System, TestPartyEquipment)
{
    TVudTestPlayerItem hero;
    hero.SetEquipment(1, 5);
    hero.SetEquipment(5, 9);  // no such slot
    hero.SetEquipment(-1, 9);
    EXPECT_EQ(Save(hero), (ByteVec{0x0C, 0x01, 0x05, 0x00}));
    EXPECT_EQ(hero.Equipment(1), 5);
    EXPECT_EQ(hero.Equipment(0), 0);
    EXPECT_EQ(hero.Equipment(7), 0);

    TVudSystem sys;
    auto* member = sys.BattleTestParty.Append();
    member->HeroID = 2;
    member->Level = 50;
    member->SetEquipment(4, 70000); // 16-bit item IDs
    TVudSystem back;
    Load(back, Save(sys));
    ASSERT_EQ(back.BattleTestParty.Count(), 1);
    EXPECT_EQ(back.BattleTestParty.At(0)->Level, 50);
    EXPECT_EQ(back.BattleTestParty.At(0)->Equipment(4), 70000 & 0xFFFF);
}

TEST(System, AbsurdTestPartyCountIsAReadError)
{
    // 6000 heroes of two bytes each are really there, but no editor writes such a party.
    ByteVec party = {0xAF, 0x70};
    for (int i = 0; i < 6000; ++i)
        party.insert(party.end(), {0x01, 0x00});
    TVudTestPlayer list;
    EXPECT_THROW(Load(list, party), EReadError);
    EXPECT_EQ(list.Count(), 0);
}

TEST(System, TransitionLists)
{
    EXPECT_STREQ(kEraseTransitions[0], "Disolver");
    EXPECT_STREQ(kEraseTransitions[20], "No Borrar");
    EXPECT_STREQ(kShowTransitions[19], "Inmediato");
}
