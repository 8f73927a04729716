// Variable names of the database (section 24). A variable exists for every ID from 1 to the
// list's count; only its name is stored.
#pragma once
#include "Catalog.h"

class TVudVariableItem : public TCatalogItem {
public:
    TVudVariableItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override { Name.clear(); }
};

class TVudVariable : public TCatalogOf<TVudVariableItem> {
public:
    TVudVariable() : TCatalogOf<TVudVariableItem>("Variable no válida.") {}
};
