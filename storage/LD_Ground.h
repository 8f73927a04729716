// Terrains (database section 16): battle background, encounter rate, damage and vehicle
// permissions of each kind of ground.
#pragma once
#include "Catalog.h"

class TVudGroundItem : public TCatalogItem {
public:
    int32_t Damage = 0;
    int32_t EncounterRate = 100;
    std::string BattleBackName;
    uint8_t BoatPass = 0;
    uint8_t ShipPass = 0;
    uint8_t AirshipPass = 1;
    uint8_t AirshipLand = 1;
    // 0 normal, 1 a third transparent, 2 half, 3 fully transparent.
    uint8_t CharTransparency = 0;

    TVudGroundItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

// Terrains are looked up by index only.
class TVudGround : public TCatalogOf<TVudGroundItem> {
public:
    TVudGround() : TCatalogOf<TVudGroundItem>("Terreno no válido.") {}
};
