#include "SelBackdrop.h"

TFormSelBackdrop::TFormSelBackdrop(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelBackdrop"), QStringLiteral("Gráfico de fondo de batalla"), QStringLiteral("Backdrop"), QSize(320, 160), QSize(320, 160)},
                       owner)
{
}
