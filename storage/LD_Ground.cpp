#include "LD_Ground.h"

const TFieldTable TVudGroundItem::Table = {
    String<&TVudGroundItem::Name>(1, "Name", true),
    Integer<&TVudGroundItem::Damage>(2, "Damage", 0),
    Integer<&TVudGroundItem::EncounterRate>(3, "EncounterRate", 100),
    String<&TVudGroundItem::BattleBackName>(4, "BattleBackName", true),
    Byte<&TVudGroundItem::BoatPass>(5, "BoatPass", 0),
    Byte<&TVudGroundItem::ShipPass>(6, "ShipPass", 0),
    Byte<&TVudGroundItem::AirshipPass>(7, "AirshipPass", 1),
    Byte<&TVudGroundItem::AirshipLand>(9, "AirshipLand", 1),
    Bytes<&TVudGroundItem::CharTransparency>(11, "CharTransparency"),
};

void TVudGroundItem::Clear()
{
    Name.clear();
    Damage = 0;
    EncounterRate = 100;
    BattleBackName.clear();
    BoatPass = 0;
    ShipPass = 0;
    AirshipPass = 1;
    AirshipLand = 1;
    CharTransparency = 0;
}
