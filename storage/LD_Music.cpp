#include "LD_Music.h"

const TFieldTable TVudMusic::Table = {
    String<&TVudMusic::Name>(1, "Name"),
    Integer<&TVudMusic::FadeIn>(2, "FadeIn", 0),
    Integer<&TVudMusic::Volume>(3, "Volume", 100),
    Integer<&TVudMusic::Tempo>(4, "Tempo", 100),
    Integer<&TVudMusic::Balance>(5, "Balance", 50),
};

void TVudMusic::Clear()
{
    Name = kNoAudioName;
    FadeIn = 0;
    Volume = 100;
    Tempo = 100;
    Balance = 50;
}

// All fields are plain values: a direct copy is enough and much cheaper than the chunk round.
void TVudMusic::Assign(const TCatalogBaseItem& source)
{
    if (const auto* m = dynamic_cast<const TVudMusic*>(&source)) {
        Name = m->Name;
        FadeIn = m->FadeIn;
        Volume = m->Volume;
        Tempo = m->Tempo;
        Balance = m->Balance;
    } else {
        TCatalogBaseItem::Assign(source);
    }
}

const TFieldTable TVudSound::Table = {
    String<&TVudSound::Name>(1, "Name"),
    Integer<&TVudSound::Volume>(3, "Volume", 100),
    Integer<&TVudSound::Tempo>(4, "Tempo", 100),
    Integer<&TVudSound::Balance>(5, "Balance", 50),
};

void TVudSound::Clear()
{
    Name = kNoAudioName;
    Volume = 100;
    Tempo = 100;
    Balance = 50;
}

void TVudSound::Assign(const TCatalogBaseItem& source)
{
    if (const auto* s = dynamic_cast<const TVudSound*>(&source)) {
        Name = s->Name;
        Volume = s->Volume;
        Tempo = s->Tempo;
        Balance = s->Balance;
    } else {
        TCatalogBaseItem::Assign(source);
    }
}
