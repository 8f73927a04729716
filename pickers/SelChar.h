// The character picker "Gráficos de Cuerpo": the eight characters of a character set, each
// shown by its front-facing middle step at twice its size, one of them chosen.
#pragma once

#include "SelMaterial.h"

class TFormSelChar : public TFormSelCellMaterial {
public:
    explicit TFormSelChar(QWidget* owner = nullptr);

protected:
    void DrawCells(TVireoBoard& board) override;
};
