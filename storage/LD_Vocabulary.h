// The game's own texts (database section 21): battle messages, shop and inn dialogue,
// command, statistic and equipment names, save and load screens. Every text is always
// written, also when empty.
#pragma once
#include "Catalog.h"

class TVudVocabularyShop {
public:
    std::string Greeting, GreetingAgain, BuyCommand, SellCommand, LeaveCommand, BuyWhat, BuyHowMany,
        BuyDone, SellWhat, SellHowMany, SellDone;
};

class TVudVocabularyInn {
public:
    std::string GreetingBefore, GreetingAfter, Question, StayCommand, LeaveCommand;
};

class TVudVocabulary : public TCatalogBaseItem {
public:
    // Battle messages (chunks 1..37).
    std::string BattleStart, FirstStrike, EscapeSuccess, EscapeFailure, Victory, Defeat, ExpGained,
        MoneyGainedBefore, MoneyGainedAfter, ItemObtained, NormalAttack, HeroDies, EnemyDies, Defend,
        EnemyChecks, EnemyGathers, EnemySelfDestructs, EnemyEscapes, EnemyTransforms, EnemyDamaged,
        HeroAttackMisses, HeroDamaged, EnemyAttackMisses, SkillFailsA, SkillFailsB, SkillFailsC,
        AttackDodged, ItemUsed, HPRestored, ParamRaised, ParamLowered, ParamAbsorbedAlly,
        ParamAbsorbedEnemy, AttribDefenceRaised, AttribDefenceLowered, LevelUp, SkillLearned;
    // Shops A, B, C (chunks 41.., 54.., 67..) and inns A, B (80.., 85..).
    TVudVocabularyShop Shops[3];
    TVudVocabularyInn Inns[2];
    std::string ItemsPossessed, ItemsEquipped, Currency;
    // Commands, statistics and equipment (chunks 101..140).
    std::string CommandFight, CommandAuto, CommandEscape, CommandAttack, CommandDefend, CommandItems,
        CommandSkills, CommandEquipment, CommandSave, CommandQuit, NewGame, LoadGame, EndGame, Level,
        HP, MP, NormalCondition, ExpShort, LevelShort, HPShort, MPShort, MPCost, AttackPower,
        DefencePower, Spirit, Agility, Weapon, Shield, Armour, Helmet, Accessory;
    // Save and load screens (chunks 146..153).
    std::string SaveWhichFile, LoadWhichFile, FileLabel, ConfirmQuit, Yes, No;

    TVudVocabulary() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;

    // The text stored under a chunk ID, or null for an ID that holds none.
    std::string* Text(int id);
    // Characters the editor's edit box accepts for that text (0 for an ID that holds none).
    static int MaxLength(int id);
};
