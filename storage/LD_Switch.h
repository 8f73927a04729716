// Switch names of the database (section 23). A switch exists for every ID from 1 to the
// list's count; only its name is stored.
#pragma once
#include "Catalog.h"

class TVudSwitchItem : public TCatalogItem {
public:
    TVudSwitchItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override { Name.clear(); }
};

class TVudSwitch : public TCatalogOf<TVudSwitchItem> {
public:
    TVudSwitch() : TCatalogOf<TVudSwitchItem>("Interruptor no válido.") {}
};
