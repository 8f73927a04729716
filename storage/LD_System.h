// The system settings (database section 22): vehicle graphics, title and system images, the
// starting party, the system music and sounds, screen transitions, and the battle test party.
#pragma once
#include "Catalog.h"
#include "LD_Music.h"

// One hero of the battle test party.
class TVudTestPlayerItem : public TCatalogItem {
public:
    static constexpr int SlotCount = 5; // weapon, shield, armour, helmet, accessory

    int32_t HeroID = 1;
    int32_t Level = 1;
    int32_t Weapon = 0;
    int32_t Shield = 0;
    int32_t Armor = 0;
    int32_t Helmet = 0;
    int32_t Accessory = 0;

    TVudTestPlayerItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;

    // Item ID in slot 0..4; other slots read 0 and ignore stores.
    int Equipment(int slot) const;
    void SetEquipment(int slot, int itemID);
};

// The battle test party, 0 to 4 heroes.
class TVudTestPlayer : public TCatalogOf<TVudTestPlayerItem> {
public:
    static constexpr int MaxHeroes = 4;
    void LoadFromStream(TReader& s) override;
};

class TVudSystem : public TCatalogBaseItem {
public:
    static constexpr int MaxPartySize = 4;

    std::string BoatCharSet, ShipCharSet, AirshipCharSet;
    int32_t BoatCharIndex = 0, ShipCharIndex = 0, AirshipCharIndex = 0;
    std::string TitleName, GameOverName, SystemName;
    // Hero IDs of the starting party, 16-bit little-endian. The block is the party: its
    // stored size (chunk 21) is derived from it on save and ignored on load.
    TBlock PartyMembers;
    TVudMusic TitleMusic, BattleMusic, VictoryMusic, InnMusic, BoatMusic, ShipMusic, AirshipMusic,
        GameOverMusic;
    TVudSound CursorSound, DecisionSound, CancelSound, BuzzerSound, BattleStartSound, EscapeSound,
        EnemyAttackSound, EnemyDamageSound, HeroDamageSound, EvasionSound, EnemyDeathSound, ItemSound;
    // Transitions: indices into the erase list (0..20) and the show list (0..19).
    uint8_t TeleportErase = 0, TeleportShow = 0, BattleStartErase = 0, BattleStartShow = 0,
            BattleEndErase = 0, BattleEndShow = 0;
    int32_t Wallpaper = 0; // 0 stretched, 1 tiled
    int32_t Font = 0;      // 0 "Lucida Console", 1 "Courier New"
    int32_t AnimPreviewEnemy = 1;
    uint8_t AnimSnapToGrid = 1;
    std::string BattleTestBackdrop;
    TVudTestPlayer BattleTestParty;
    // Number of database saves. The database raises it once per save (a deep copy of this
    // record must not count as one).
    int32_t SaveCount = 0;

    TVudSystem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void GetVarData(int ID, TCatalogVarData& vd, bool Reading) override;
    void Clear() override;
    void LoadFromStream(TReader& s) override;

    int PartySize() const { return int(PartyMembers.size() / 2); }
    // Resizes the party; new members are 0.
    void SetPartySize(int n);
    // Hero ID of member i, 0 outside the party.
    int PartyMember(int i) const;
    // Ignored outside the party; hero 0 cuts the party to i members.
    void SetPartyMember(int i, int heroID);

private:
    mutable int32_t StoredPartySize = 1; // chunk 21 as read or about to be written
};

// Transition names of chunks 61..66 (the erase list for 61, 63, 65, the show list for the others).
extern const char* const kEraseTransitions[21];
extern const char* const kShowTransitions[20];
