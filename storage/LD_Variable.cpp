#include "LD_Variable.h"

const TFieldTable TVudVariableItem::Table = {
    String<&TVudVariableItem::Name>(1, "Name", true),
};
