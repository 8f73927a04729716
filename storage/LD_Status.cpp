#include "LD_Status.h"

using T = TVudStatusItem;

const TFieldTable TVudStatusItem::Table = {
    String<&T::Name>(1, "Name", true),
    Bytes<&T::StatusType>(2, "StatusType"),
    Integer<&T::Color>(3, "Color", 6),
    Integer<&T::Priority>(4, "Priority", 50),
    Bytes<&T::Restriction>(5, "Restriction"),
    Integer<&T::RateA>(11, "RateA", 100),
    Integer<&T::RateB>(12, "RateB", 80),
    Integer<&T::RateC>(13, "RateC", 60),
    Integer<&T::RateD>(14, "RateD", 30),
    Integer<&T::RateE>(15, "RateE", 0),
    Integer<&T::HoldTurns>(21, "HoldTurns", 0),
    Integer<&T::AutoRecovery>(22, "AutoRecovery", 0),
    Integer<&T::HitRecovery>(23, "HitRecovery", 0),
    Byte<&T::LowerAttack>(31, "LowerAttack", 0),
    Byte<&T::LowerDefense>(32, "LowerDefense", 0),
    Byte<&T::LowerSpirit>(33, "LowerSpirit", 0),
    Byte<&T::LowerAgility>(34, "LowerAgility", 0),
    Integer<&T::HitRate>(35, "HitRate", 100),
    Byte<&T::LimitAttack>(41, "LimitAttack", 0),
    Integer<&T::LimitAttackValue>(42, "LimitAttackValue", 0),
    Byte<&T::LimitSkill>(43, "LimitSkill", 0),
    Integer<&T::LimitSkillValue>(44, "LimitSkillValue", 0),
    String<&T::MsgHero>(51, "MsgHero", true),
    String<&T::MsgEnemy>(52, "MsgEnemy", true),
    String<&T::MsgAlready>(53, "MsgAlready", true),
    String<&T::MsgContinue>(54, "MsgContinue", true),
    String<&T::MsgRecovery>(55, "MsgRecovery", true),
    Integer<&T::HpTurnRate>(61, "HpTurnRate", 0),
    Integer<&T::HpTurn>(62, "HpTurn", 0),
    Integer<&T::HpStepRate>(63, "HpStepRate", 0),
    Integer<&T::HpStep>(64, "HpStep", 0),
    Integer<&T::MpTurnRate>(65, "MpTurnRate", 0),
    Integer<&T::MpTurn>(66, "MpTurn", 0),
    Integer<&T::MpStepRate>(67, "MpStepRate", 0),
    Integer<&T::MpStep>(68, "MpStep", 0),
};

void TVudStatusItem::Clear()
{
    Name.clear();
    StatusType = 0;
    Color = 6;
    Priority = 50;
    Restriction = 0;
    RateA = 100;
    RateB = 80;
    RateC = 60;
    RateD = 30;
    RateE = 0;
    HoldTurns = AutoRecovery = HitRecovery = 0;
    LowerAttack = LowerDefense = LowerSpirit = LowerAgility = 0;
    HitRate = 100;
    LimitAttack = 0;
    LimitAttackValue = 0;
    LimitSkill = 0;
    LimitSkillValue = 0;
    MsgHero.clear();
    MsgEnemy.clear();
    MsgAlready.clear();
    MsgContinue.clear();
    MsgRecovery.clear();
    HpTurnRate = HpTurn = HpStepRate = HpStep = 0;
    MpTurnRate = MpTurn = MpStepRate = MpStep = 0;
}

void TVudStatusItem::Create(int id)
{
    TCatalogItem::Create(id);
    Clear();
    if (id == 1) {
        StatusType = 1;
        Color = 5;
        Priority = 100;
        Restriction = 1;
    }
}

int TVudStatusItem::Rate(int rank) const
{
    const int32_t rates[] = {RateA, RateB, RateC, RateD, RateE};
    return (rank >= 0 && rank < 5) ? rates[rank] : 0;
}
