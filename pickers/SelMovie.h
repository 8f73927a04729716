// The movie picker "Archivo de Vídeo": the list alone, no preview.
#pragma once

#include "SelMaterial.h"

class TFormSelMovie : public TFormSelMaterial {
public:
    explicit TFormSelMovie(QWidget* owner = nullptr);
};
