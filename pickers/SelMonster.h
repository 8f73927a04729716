// The enemy picker "Gráficos de Enemigo": the battler centred on its transparent colour, with a
// hue slider that recolours it.
#pragma once

#include "SelMaterial.h"

#include <array>

class QSlider;
class THueStrip;

class TFormSelMonster : public TFormSelMaterial {
public:
    explicit TFormSelMonster(QWidget* owner = nullptr);

    // Degrees 0..359; given before showing, read after "Aceptar". Choosing another file turns it
    // back to 0.
    void SetHue(int hue);
    int Hue() const;
    using TFormSelMaterial::Execute;
    bool Execute(QString& name, int& hue);

    // The slider's 37 positions: hue = (position × 10 + 180) mod 360.
    static int HueOfPosition(int position);
    static int PositionOfHue(int hue);

protected:
    void DrawPreview(TVireoBoard& board) override;
    void MaterialLoaded() override;

private:
    void SliderHueChange();

    QSlider* FSlider;
    THueStrip* FStrip;
    std::array<TVireoPaletteEntry, 256> FLoadedPalette{};
    QString FLoadedName;
    bool FFirstLoad = true;
};
