// The tile set graphic picker "Gráficos de ChipSet": the sheet at half size.
#pragma once

#include "SelMaterial.h"

class TFormSelChipSet : public TFormSelMaterial {
public:
    explicit TFormSelChipSet(QWidget* owner = nullptr);

protected:
    void DrawPreview(TVireoBoard& board) override;
};
