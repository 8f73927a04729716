// "Información de la versión de Taleforge Studio": the splash picture, the program icon and the
// version line.
#pragma once
#include "VudBase.h"

class QPushButton;

class TFormAboutBox : public TFormVudBase {
    Q_OBJECT
public:
    explicit TFormAboutBox(QWidget* owner = nullptr);
    QPushButton* ButtonOk;
};
