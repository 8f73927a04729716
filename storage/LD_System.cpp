#include "LD_System.h"

#include <algorithm>

const char* const kEraseTransitions[21] = {
    "Disolver", "Bloques Aleatorios", "Bloques Arriba al Azar", "Bloques Abajo al Azar", "Cerrar Aleatorio",
    "Líenas Arriba - Abajo ", "Líneas Izquierda - Derecha", "Fuera - Dentro", "Dentro - Fuera",
    "Scroll Arriba", "Scroll Abajo", "Scroll Izquierda", "Scoll Derecja", "Dividir Izquierda - Derecha",
    "Divisione Sx-Dx", "Combinar Ar-Ab + Izq-Der", "Zoom In", "Mosaico", "Arrugar", "Inmediato", "No Borrar",
};

const char* const kShowTransitions[20] = {
    "Disolver", "Bloques Aleatorios", "Bloques Abajo Al Azar", "Bloques Abajo Al Azar", "Veneziana Aperta",
    "Líneas Arriba - Abajo", "Líneas Derecha - Arriba", "Fuera - Dentro", "Dentro - Fuera", "Scroll Abajo",
    "Scroll Arriba", "Scroll Derecha", "Scroll Izquierda", "Dividir Arriba - Abajo",
    "Dividir Izquierda - Derecha", "Combinar Ar - Ab + Izq - Der", "Zoom Out", "Mosaico", "Arrugar", "Inmediato",
};

// ---- TVudTestPlayerItem ------------------------------------------------------------------

const TFieldTable TVudTestPlayerItem::Table = {
    Integer<&TVudTestPlayerItem::HeroID>(1, "HeroID", 1),
    Integer<&TVudTestPlayerItem::Level>(2, "Level", 1),
    Integer<&TVudTestPlayerItem::Weapon>(11, "Weapon", 0),
    Integer<&TVudTestPlayerItem::Shield>(12, "Shield", 0),
    Integer<&TVudTestPlayerItem::Armor>(13, "Armor", 0),
    Integer<&TVudTestPlayerItem::Helmet>(14, "Helmet", 0),
    Integer<&TVudTestPlayerItem::Accessory>(15, "Accessory", 0),
};

void TVudTestPlayerItem::Clear()
{
    HeroID = 1;
    Level = 1;
    Weapon = Shield = Armor = Helmet = Accessory = 0;
}

int TVudTestPlayerItem::Equipment(int slot) const
{
    const int32_t slots[SlotCount] = {Weapon, Shield, Armor, Helmet, Accessory};
    return (slot >= 0 && slot < SlotCount) ? slots[slot] : 0;
}

void TVudTestPlayerItem::SetEquipment(int slot, int itemID)
{
    int32_t* slots[SlotCount] = {&Weapon, &Shield, &Armor, &Helmet, &Accessory};
    if (slot >= 0 && slot < SlotCount)
        *slots[slot] = int32_t(uint16_t(itemID));
}

void TVudTestPlayer::LoadFromStream(TReader& s)
{
    // Each listed hero may cost far more memory than its two bytes in the file; a party count
    // no editor could have written is a corrupt file, not something to allocate for.
    TReader peek = s;
    if (ReadBerInt(peek) > 5000) {
        Clear();
        throw EReadError();
    }
    TCatalogOf<TVudTestPlayerItem>::LoadFromStream(s);
}

// ---- TVudSystem --------------------------------------------------------------------------

const TFieldTable TVudSystem::Table = {
    String<&TVudSystem::BoatCharSet>(11, "BoatCharSet", true),
    String<&TVudSystem::ShipCharSet>(12, "ShipCharSet", true),
    String<&TVudSystem::AirshipCharSet>(13, "AirshipCharSet", true),
    Integer<&TVudSystem::BoatCharIndex>(14, "BoatCharIndex", 0),
    Integer<&TVudSystem::ShipCharIndex>(15, "ShipCharIndex", 0),
    Integer<&TVudSystem::AirshipCharIndex>(16, "AirshipCharIndex", 0),
    String<&TVudSystem::TitleName>(17, "TitleName", true),
    String<&TVudSystem::GameOverName>(18, "GameOverName", true),
    String<&TVudSystem::SystemName>(19, "SystemName", true),
    Integer<&TVudSystem::StoredPartySize>(21, "PartySize", 1),
    Block<&TVudSystem::PartyMembers>(22, "PartyMembers", 2),
    Nested<&TVudSystem::TitleMusic>(31, "TitleMusic"),
    Nested<&TVudSystem::BattleMusic>(32, "BattleMusic"),
    Nested<&TVudSystem::VictoryMusic>(33, "VictoryMusic"),
    Nested<&TVudSystem::InnMusic>(34, "InnMusic"),
    Nested<&TVudSystem::BoatMusic>(35, "BoatMusic"),
    Nested<&TVudSystem::ShipMusic>(36, "ShipMusic"),
    Nested<&TVudSystem::AirshipMusic>(37, "AirshipMusic"),
    Nested<&TVudSystem::GameOverMusic>(38, "GameOverMusic"),
    Nested<&TVudSystem::CursorSound>(41, "CursorSound"),
    Nested<&TVudSystem::DecisionSound>(42, "DecisionSound"),
    Nested<&TVudSystem::CancelSound>(43, "CancelSound"),
    Nested<&TVudSystem::BuzzerSound>(44, "BuzzerSound"),
    Nested<&TVudSystem::BattleStartSound>(45, "BattleStartSound"),
    Nested<&TVudSystem::EscapeSound>(46, "EscapeSound"),
    Nested<&TVudSystem::EnemyAttackSound>(47, "EnemyAttackSound"),
    Nested<&TVudSystem::EnemyDamageSound>(48, "EnemyDamageSound"),
    Nested<&TVudSystem::HeroDamageSound>(49, "HeroDamageSound"),
    Nested<&TVudSystem::EvasionSound>(50, "EvasionSound"),
    Nested<&TVudSystem::EnemyDeathSound>(51, "EnemyDeathSound"),
    Nested<&TVudSystem::ItemSound>(52, "ItemSound"),
    Bytes<&TVudSystem::TeleportErase>(61, "TeleportErase"),
    Bytes<&TVudSystem::TeleportShow>(62, "TeleportShow"),
    Bytes<&TVudSystem::BattleStartErase>(63, "BattleStartErase"),
    Bytes<&TVudSystem::BattleStartShow>(64, "BattleStartShow"),
    Bytes<&TVudSystem::BattleEndErase>(65, "BattleEndErase"),
    Bytes<&TVudSystem::BattleEndShow>(66, "BattleEndShow"),
    Integer<&TVudSystem::Wallpaper>(71, "Wallpaper", 0),
    Integer<&TVudSystem::Font>(72, "Font", 0),
    Integer<&TVudSystem::AnimPreviewEnemy>(81, "AnimPreviewEnemy", 1),
    Bytes<&TVudSystem::AnimSnapToGrid>(82, "AnimSnapToGrid"),
    String<&TVudSystem::BattleTestBackdrop>(84, "BattleTestBackdrop", true),
    Nested<&TVudSystem::BattleTestParty>(85, "BattleTestParty"),
    Integer<&TVudSystem::SaveCount>(91, "SaveCount", 0),
};

void TVudSystem::Clear()
{
    BoatCharSet.clear();
    ShipCharSet.clear();
    AirshipCharSet.clear();
    BoatCharIndex = ShipCharIndex = AirshipCharIndex = 0;
    TitleName.clear();
    GameOverName.clear();
    SystemName.clear();
    StoredPartySize = 1;
    PartyMembers = {1, 0};
    for (TVudMusic* m : {&TitleMusic, &BattleMusic, &VictoryMusic, &InnMusic, &BoatMusic, &ShipMusic,
                         &AirshipMusic, &GameOverMusic})
        m->Clear();
    for (TVudSound* s : {&CursorSound, &DecisionSound, &CancelSound, &BuzzerSound, &BattleStartSound,
                         &EscapeSound, &EnemyAttackSound, &EnemyDamageSound, &HeroDamageSound, &EvasionSound,
                         &EnemyDeathSound, &ItemSound})
        s->Clear();
    TeleportErase = TeleportShow = BattleStartErase = BattleStartShow = BattleEndErase = BattleEndShow = 0;
    Wallpaper = 0;
    Font = 0;
    AnimPreviewEnemy = 1;
    AnimSnapToGrid = 1;
    BattleTestBackdrop.clear();
    BattleTestParty.Clear();
    SaveCount = 0;
}

void TVudSystem::GetVarData(int ID, TCatalogVarData& vd, bool Reading)
{
    // The stored party size always follows the member block on the way out.
    if (ID == 21 && !Reading)
        StoredPartySize = PartySize();
    TCatalogBaseItem::GetVarData(ID, vd, Reading);
}

void TVudSystem::LoadFromStream(TReader& s)
{
    TCatalogBaseItem::LoadFromStream(s);
    // The member block wins over a party size that disagrees with it; a stray odd byte is dropped.
    PartyMembers.resize(PartyMembers.size() & ~size_t(1));
    StoredPartySize = PartySize();
}

void TVudSystem::SetPartySize(int n)
{
    PartyMembers.resize(size_t(std::clamp(n, 0, 0xFFFF)) * 2, 0);
    StoredPartySize = PartySize();
}

int TVudSystem::PartyMember(int i) const
{
    if (i < 0 || i >= PartySize())
        return 0;
    return PartyMembers[size_t(i) * 2] | (PartyMembers[size_t(i) * 2 + 1] << 8);
}

void TVudSystem::SetPartyMember(int i, int heroID)
{
    if (i < 0 || i >= PartySize())
        return;
    if (heroID == 0) {
        SetPartySize(i);
        return;
    }
    PartyMembers[size_t(i) * 2] = uint8_t(heroID);
    PartyMembers[size_t(i) * 2 + 1] = uint8_t(heroID >> 8);
}
