// The title picture picker "Gráfico del título": the picture at its own size.
#pragma once

#include "SelMaterial.h"

class TFormSelTitle : public TFormSelMaterial {
public:
    explicit TFormSelTitle(QWidget* owner = nullptr);
};
