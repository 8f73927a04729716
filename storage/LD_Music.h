// Music and sound effect references with their playback settings, shared by the map tree and
// the database.
#pragma once
#include "Catalog.h"

class TVudMusic : public TCatalogBaseItem {
public:
    std::string Name; // base name in the Music folder; "(OFF)" means none
    int32_t FadeIn = 0;
    int32_t Volume = 100;
    int32_t Tempo = 100;
    int32_t Balance = 50;

    TVudMusic() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
    void Assign(const TCatalogBaseItem& source) override;
};

class TVudSound : public TCatalogBaseItem {
public:
    std::string Name; // base name in the Sound folder; "(OFF)" means none
    int32_t Volume = 100;
    int32_t Tempo = 100;
    int32_t Balance = 50;

    TVudSound() { Clear(); }
    static const TFieldTable Table;
    const TFieldTable* Fields() const override { return &Table; }
    void Clear() override;
    void Assign(const TCatalogBaseItem& source) override;
};

// The name that stands for "no music" / "no sound".
inline constexpr const char* kNoAudioName = "(OFF)";
