#include "SelGameOver.h"

TFormSelGameOver::TFormSelGameOver(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelGameOver"), QStringLiteral("Gráficos de Game Over"), QStringLiteral("GameOver"), QSize(320, 240), QSize(320, 240)},
                       owner)
{
}
