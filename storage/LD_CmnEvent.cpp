#include "LD_CmnEvent.h"

const TFieldTable TVudCommonEventItem::Table = {
    String<&TVudCommonEventItem::Name>(1, "Name", true),
    Bytes<&TVudCommonEventItem::Trigger>(11, "Trigger"),
    Byte<&TVudCommonEventItem::UseSwitch>(12, "UseSwitch", 0),
    Integer<&TVudCommonEventItem::SwitchID>(13, "SwitchID", 1),
    Integer<&TVudCommonEventItem::ScriptSize>(21, "ScriptSize", 0),
    Block<&TVudCommonEventItem::ScriptData>(22, "ScriptData"),
};

void TVudCommonEventItem::Clear()
{
    Name.clear();
    Trigger = ctCall;
    UseSwitch = 0;
    SwitchID = 1;
    TVudBaseEventPageItem::Clear();
}
