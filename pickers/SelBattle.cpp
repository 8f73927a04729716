#include "SelBattle.h"

TFormSelBattle::TFormSelBattle(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelBattle"), QStringLiteral("Gráficos de Animación de Batalla"), QStringLiteral("Battle"), QSize(240, 240), QSize(480, 480)},
                       owner)
{
}

void TFormSelBattle::DrawPreview(TVireoBoard& board)
{
    board.StretchSheet({0, 0, Sheet.Width() / 2, Sheet.Height() / 2}, Sheet, Sheet.BoundsRect());
}
