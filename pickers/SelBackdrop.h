// The battle backdrop picker "Gráfico de fondo de batalla": the backdrop at its own size.
#pragma once

#include "SelMaterial.h"

class TFormSelBackdrop : public TFormSelMaterial {
public:
    explicit TFormSelBackdrop(QWidget* owner = nullptr);
};
