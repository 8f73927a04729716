#include "LD_Attrib.h"

using T = TVudAttribItem;

const TFieldTable TVudAttribItem::Table = {
    String<&T::Name>(1, "Name", true),
    Bytes<&T::AttribType>(2, "AttribType"),
    Integer<&T::RateA>(11, "RateA", 300),
    Integer<&T::RateB>(12, "RateB", 200),
    Integer<&T::RateC>(13, "RateC", 100),
    Integer<&T::RateD>(14, "RateD", 50),
    Integer<&T::RateE>(15, "RateE", 0),
};

void TVudAttribItem::Clear()
{
    Name.clear();
    AttribType = 0;
    RateA = 300;
    RateB = 200;
    RateC = 100;
    RateD = 50;
    RateE = 0;
}

int TVudAttribItem::Rate(int rank) const
{
    const int32_t rates[] = {RateA, RateB, RateC, RateD, RateE};
    return (rank >= 0 && rank < 5) ? rates[rank] : 0;
}
