// The picture picker "Gráficos de Imágen": the picture fitted into the preview.
#pragma once

#include "SelMaterial.h"

class TFormSelPicture : public TFormSelMaterial {
public:
    explicit TFormSelPicture(QWidget* owner = nullptr);

protected:
    void DrawPreview(TVireoBoard& board) override;
};
