// The battle animation graphic picker "Gráficos de Animación de Batalla": the sheet at half size.
#pragma once

#include "SelMaterial.h"

class TFormSelBattle : public TFormSelMaterial {
public:
    explicit TFormSelBattle(QWidget* owner = nullptr);

protected:
    void DrawPreview(TVireoBoard& board) override;
};
