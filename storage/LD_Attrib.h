// Attributes (database section 17): elements of weapons and skills with their damage rates.
#pragma once
#include "Catalog.h"

class TVudAttribItem : public TCatalogItem {
public:
    uint8_t AttribType = 0;
    // Damage rate in percent for resistance ranks 0..4.
    int32_t RateA = 300;
    int32_t RateB = 200;
    int32_t RateC = 100;
    int32_t RateD = 50;
    int32_t RateE = 0;

    TVudAttribItem() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
    // Rate of rank 0..4 (chunk 11 + rank); 0 outside.
    int Rate(int rank) const;
};

class TVudAttrib : public TCatalogOf<TVudAttribItem> {
public:
    TVudAttrib() : TCatalogOf("Atributo no válido") {}
};
