#include "LD_Vocabulary.h"

#include <algorithm>
#include <iterator>

namespace {
using V = TVudVocabulary;

template <auto M>
TFieldDef Words(int id, const char* name)
{
    return String<M>(id, name, false);
}

template <int S, std::string TVudVocabularyShop::*M>
void* shopText(TCatalogBaseItem& v)
{
    return &(static_cast<V&>(v).Shops[S].*M);
}

template <int S, std::string TVudVocabularyInn::*M>
void* innText(TCatalogBaseItem& v)
{
    return &(static_cast<V&>(v).Inns[S].*M);
}

template <int S, std::string TVudVocabularyShop::*M>
TFieldDef ShopText(int id, const char* name)
{
    return TFieldDef{id, name, vkString, &shopText<S, M>};
}

template <int S, std::string TVudVocabularyInn::*M>
TFieldDef InnText(int id, const char* name)
{
    return TFieldDef{id, name, vkString, &innText<S, M>};
}

using Sh = TVudVocabularyShop;
using In = TVudVocabularyInn;

// The eleven texts of shop S from chunk `first` on, in stored order.
#define SHOP_TEXTS(S, first, tag)                                                                   \
    ShopText<S, &Sh::Greeting>(first + 0, tag "Greeting"),                                          \
        ShopText<S, &Sh::GreetingAgain>(first + 1, tag "GreetingAgain"),                            \
        ShopText<S, &Sh::BuyCommand>(first + 2, tag "BuyCommand"),                                  \
        ShopText<S, &Sh::SellCommand>(first + 3, tag "SellCommand"),                                \
        ShopText<S, &Sh::LeaveCommand>(first + 4, tag "LeaveCommand"),                              \
        ShopText<S, &Sh::BuyWhat>(first + 5, tag "BuyWhat"),                                        \
        ShopText<S, &Sh::BuyHowMany>(first + 6, tag "BuyHowMany"),                                  \
        ShopText<S, &Sh::BuyDone>(first + 7, tag "BuyDone"),                                        \
        ShopText<S, &Sh::SellWhat>(first + 8, tag "SellWhat"),                                      \
        ShopText<S, &Sh::SellHowMany>(first + 9, tag "SellHowMany"),                                \
        ShopText<S, &Sh::SellDone>(first + 10, tag "SellDone")

#define INN_TEXTS(S, first, tag)                                                                    \
    InnText<S, &In::GreetingBefore>(first + 0, tag "GreetingBefore"),                               \
        InnText<S, &In::GreetingAfter>(first + 1, tag "GreetingAfter"),                             \
        InnText<S, &In::Question>(first + 2, tag "Question"),                                       \
        InnText<S, &In::StayCommand>(first + 3, tag "StayCommand"),                                 \
        InnText<S, &In::LeaveCommand>(first + 4, tag "LeaveCommand")

// Maximum lengths accepted by the editor, by chunk ID.
struct TMaxLen {
    int ID, Max;
};
const TMaxLen kMaxLen[] = {
    {1, 30}, {2, 50}, {3, 50}, {4, 50}, {5, 50}, {6, 50}, {7, 38}, {8, 10}, {9, 24}, {10, 30},
    {11, 30}, {12, 50}, {13, 50}, {14, 30}, {15, 30}, {16, 30}, {17, 30}, {18, 30}, {19, 30},
    {20, 24}, {21, 32}, {22, 24}, {23, 32}, {24, 32}, {25, 32}, {26, 32}, {27, 32}, {28, 14},
    {29, 12}, {30, 12}, {31, 12}, {32, 12}, {33, 12}, {34, 20}, {35, 20}, {36, 16}, {37, 26},
    {92, 16}, {93, 16}, {95, 6}, {101, 10}, {102, 10}, {103, 10}, {104, 10}, {105, 10}, {106, 10},
    {107, 10}, {108, 12}, {110, 12}, {112, 12}, {114, 16}, {115, 16}, {117, 16}, {123, 10},
    {124, 10}, {125, 10}, {126, 8}, {127, 2}, {128, 2}, {129, 2}, {130, 2}, {131, 10}, {132, 10},
    {133, 10}, {134, 10}, {135, 10}, {136, 10}, {137, 10}, {138, 10}, {139, 10}, {140, 10},
    {146, 50}, {147, 50}, {148, 10}, {151, 50}, {152, 10}, {153, 10},
};
// Shop texts by position within a shop; inn texts by position within an inn.
const int kShopMax[11] = {50, 50, 12, 12, 12, 50, 50, 50, 50, 50, 50};
const int kInnMax[5] = {16, 20, 50, 12, 12};
} // namespace

const TFieldTable TVudVocabulary::Table = {
    Words<&V::BattleStart>(1, "BattleStart"),
    Words<&V::FirstStrike>(2, "FirstStrike"),
    Words<&V::EscapeSuccess>(3, "EscapeSuccess"),
    Words<&V::EscapeFailure>(4, "EscapeFailure"),
    Words<&V::Victory>(5, "Victory"),
    Words<&V::Defeat>(6, "Defeat"),
    Words<&V::ExpGained>(7, "ExpGained"),
    Words<&V::MoneyGainedBefore>(8, "MoneyGainedBefore"),
    Words<&V::MoneyGainedAfter>(9, "MoneyGainedAfter"),
    Words<&V::ItemObtained>(10, "ItemObtained"),
    Words<&V::NormalAttack>(11, "NormalAttack"),
    Words<&V::HeroDies>(12, "HeroDies"),
    Words<&V::EnemyDies>(13, "EnemyDies"),
    Words<&V::Defend>(14, "Defend"),
    Words<&V::EnemyChecks>(15, "EnemyChecks"),
    Words<&V::EnemyGathers>(16, "EnemyGathers"),
    Words<&V::EnemySelfDestructs>(17, "EnemySelfDestructs"),
    Words<&V::EnemyEscapes>(18, "EnemyEscapes"),
    Words<&V::EnemyTransforms>(19, "EnemyTransforms"),
    Words<&V::EnemyDamaged>(20, "EnemyDamaged"),
    Words<&V::HeroAttackMisses>(21, "HeroAttackMisses"),
    Words<&V::HeroDamaged>(22, "HeroDamaged"),
    Words<&V::EnemyAttackMisses>(23, "EnemyAttackMisses"),
    Words<&V::SkillFailsA>(24, "SkillFailsA"),
    Words<&V::SkillFailsB>(25, "SkillFailsB"),
    Words<&V::SkillFailsC>(26, "SkillFailsC"),
    Words<&V::AttackDodged>(27, "AttackDodged"),
    Words<&V::ItemUsed>(28, "ItemUsed"),
    Words<&V::HPRestored>(29, "HPRestored"),
    Words<&V::ParamRaised>(30, "ParamRaised"),
    Words<&V::ParamLowered>(31, "ParamLowered"),
    Words<&V::ParamAbsorbedAlly>(32, "ParamAbsorbedAlly"),
    Words<&V::ParamAbsorbedEnemy>(33, "ParamAbsorbedEnemy"),
    Words<&V::AttribDefenceRaised>(34, "AttribDefenceRaised"),
    Words<&V::AttribDefenceLowered>(35, "AttribDefenceLowered"),
    Words<&V::LevelUp>(36, "LevelUp"),
    Words<&V::SkillLearned>(37, "SkillLearned"),
    SHOP_TEXTS(0, 41, "ShopA."),
    SHOP_TEXTS(1, 54, "ShopB."),
    SHOP_TEXTS(2, 67, "ShopC."),
    INN_TEXTS(0, 80, "InnA."),
    INN_TEXTS(1, 85, "InnB."),
    Words<&V::ItemsPossessed>(92, "ItemsPossessed"),
    Words<&V::ItemsEquipped>(93, "ItemsEquipped"),
    Words<&V::Currency>(95, "Currency"),
    Words<&V::CommandFight>(101, "CommandFight"),
    Words<&V::CommandAuto>(102, "CommandAuto"),
    Words<&V::CommandEscape>(103, "CommandEscape"),
    Words<&V::CommandAttack>(104, "CommandAttack"),
    Words<&V::CommandDefend>(105, "CommandDefend"),
    Words<&V::CommandItems>(106, "CommandItems"),
    Words<&V::CommandSkills>(107, "CommandSkills"),
    Words<&V::CommandEquipment>(108, "CommandEquipment"),
    Words<&V::CommandSave>(110, "CommandSave"),
    Words<&V::CommandQuit>(112, "CommandQuit"),
    Words<&V::NewGame>(114, "NewGame"),
    Words<&V::LoadGame>(115, "LoadGame"),
    Words<&V::EndGame>(117, "EndGame"),
    Words<&V::Level>(123, "Level"),
    Words<&V::HP>(124, "HP"),
    Words<&V::MP>(125, "MP"),
    Words<&V::NormalCondition>(126, "NormalCondition"),
    Words<&V::ExpShort>(127, "ExpShort"),
    Words<&V::LevelShort>(128, "LevelShort"),
    Words<&V::HPShort>(129, "HPShort"),
    Words<&V::MPShort>(130, "MPShort"),
    Words<&V::MPCost>(131, "MPCost"),
    Words<&V::AttackPower>(132, "AttackPower"),
    Words<&V::DefencePower>(133, "DefencePower"),
    Words<&V::Spirit>(134, "Spirit"),
    Words<&V::Agility>(135, "Agility"),
    Words<&V::Weapon>(136, "Weapon"),
    Words<&V::Shield>(137, "Shield"),
    Words<&V::Armour>(138, "Armour"),
    Words<&V::Helmet>(139, "Helmet"),
    Words<&V::Accessory>(140, "Accessory"),
    Words<&V::SaveWhichFile>(146, "SaveWhichFile"),
    Words<&V::LoadWhichFile>(147, "LoadWhichFile"),
    Words<&V::FileLabel>(148, "FileLabel"),
    Words<&V::ConfirmQuit>(151, "ConfirmQuit"),
    Words<&V::Yes>(152, "Yes"),
    Words<&V::No>(153, "No"),
};

#undef SHOP_TEXTS
#undef INN_TEXTS

void TVudVocabulary::Clear()
{
    for (const TFieldDef& f : Table.All())
        static_cast<std::string*>(f.Addr(*this))->clear();
}

std::string* TVudVocabulary::Text(int id)
{
    const TFieldDef* f = Table.Find(id);
    return f ? static_cast<std::string*>(f->Addr(*this)) : nullptr;
}

int TVudVocabulary::MaxLength(int id)
{
    for (int first : {41, 54, 67})
        if (id >= first && id < first + 11)
            return kShopMax[id - first];
    for (int first : {80, 85})
        if (id >= first && id < first + 5)
            return kInnMax[id - first];
    const auto* it = std::find_if(std::begin(kMaxLen), std::end(kMaxLen), [id](const TMaxLen& m) { return m.ID == id; });
    return it != std::end(kMaxLen) ? it->Max : 0;
}
