// Conditions (database section 18): states such as poison, with their effects.
#pragma once
#include "Catalog.h"

class TVudStatusItem : public TCatalogItem {
public:
    uint8_t StatusType = 0;
    int32_t Color = 6;
    int32_t Priority = 50;
    uint8_t Restriction = 0;
    // Chance in percent that the condition takes hold for resistance ranks 0..4.
    int32_t RateA = 100;
    int32_t RateB = 80;
    int32_t RateC = 60;
    int32_t RateD = 30;
    int32_t RateE = 0;
    int32_t HoldTurns = 0;
    int32_t AutoRecovery = 0;
    int32_t HitRecovery = 0;
    uint8_t LowerAttack = 0;
    uint8_t LowerDefense = 0;
    uint8_t LowerSpirit = 0;
    uint8_t LowerAgility = 0;
    int32_t HitRate = 100;
    uint8_t LimitAttack = 0;
    int32_t LimitAttackValue = 0;
    uint8_t LimitSkill = 0;
    int32_t LimitSkillValue = 0;
    std::string MsgHero;
    std::string MsgEnemy;
    std::string MsgAlready;
    std::string MsgContinue;
    std::string MsgRecovery;
    int32_t HpTurnRate = 0;
    int32_t HpTurn = 0;
    int32_t HpStepRate = 0;
    int32_t HpStep = 0;
    int32_t MpTurnRate = 0;
    int32_t MpTurn = 0;
    int32_t MpStepRate = 0;
    int32_t MpStep = 0;

    TVudStatusItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
    // A new condition 1 starts as the movement-limiting state. Only creation does this: a stored
    // condition 1 is loaded over Clear's values, so colour 6 and priority 50 (left out of the
    // file as write defaults) come back as they were saved.
    void Create(int id) override;
    int Rate(int rank) const;
};

class TVudStatus : public TCatalogOf<TVudStatusItem> {
public:
    TVudStatus() : TCatalogOf("Estado no válido.") {}
};
