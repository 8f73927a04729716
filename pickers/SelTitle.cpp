#include "SelTitle.h"

TFormSelTitle::TFormSelTitle(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelTitle"), QStringLiteral("Gráfico del título"), QStringLiteral("Title"), QSize(320, 240), QSize(320, 240)},
                       owner)
{
}
