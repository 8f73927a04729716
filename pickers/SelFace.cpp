#include "SelFace.h"

TFormSelFace::TFormSelFace(QWidget* owner)
    : TFormSelCellMaterial({QStringLiteral("FormSelFace"), QStringLiteral("Gráfico de cara"), QStringLiteral("FaceSet"),
                            QSize(192, 192), QSize(192, 192), false, 6, false},
                           QSize(48, 48), 4, 4, owner)
{
}

void TFormSelFace::DrawCells(TVireoBoard& board)
{
    board.StretchSheet({0, 0, board.Width(), board.Height()}, Sheet, Sheet.BoundsRect());
}
