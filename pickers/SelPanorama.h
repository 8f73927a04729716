// The panorama picker "Gráficos de panorama": the picture fitted into the preview.
#pragma once

#include "SelMaterial.h"

class TFormSelPanorama : public TFormSelMaterial {
public:
    explicit TFormSelPanorama(QWidget* owner = nullptr);

protected:
    void DrawPreview(TVireoBoard& board) override;
};

// Draws the whole sheet scaled down to fit the board (never up), centred.
void DrawFittedPreview(TVireoBoard& board, TVireoSheet& sheet);
