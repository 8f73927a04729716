// Common events (database section 25): scripts that can run from anywhere in the game.
#pragma once
#include "LD_Event.h"

class TVudCommonEventItem : public TVudBaseEventPageItem {
public:
    // Triggers: 3 automatic start, 4 parallel process, 5 only when called.
    enum : uint8_t {
        ctAutoStart = 3,
        ctParallel = 4,
        ctCall = 5,
    };
    uint8_t Trigger = ctCall;
    uint8_t UseSwitch = 0;
    int32_t SwitchID = 1;

    TVudCommonEventItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
};

class TVudCommonEvent : public TCatalogOf<TVudCommonEventItem> {
public:
    TVudCommonEvent() : TCatalogOf<TVudCommonEventItem>("Evento común no válido.") {}
};
