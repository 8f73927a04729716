// The face picker "Gráfico de cara": a face set of 4 × 4 faces, one of them chosen.
#pragma once

#include "SelMaterial.h"

class TFormSelFace : public TFormSelCellMaterial {
public:
    explicit TFormSelFace(QWidget* owner = nullptr);

protected:
    void DrawCells(TVireoBoard& board) override;
};
