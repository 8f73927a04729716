// The game-over picture picker "Gráficos de Game Over": the picture at its own size.
#pragma once

#include "SelMaterial.h"

class TFormSelGameOver : public TFormSelMaterial {
public:
    explicit TFormSelGameOver(QWidget* owner = nullptr);
};
