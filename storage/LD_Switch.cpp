#include "LD_Switch.h"

const TFieldTable TVudSwitchItem::Table = {
    String<&TVudSwitchItem::Name>(1, "Name", true),
};
