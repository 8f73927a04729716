#include "SelChar.h"

TFormSelChar::TFormSelChar(QWidget* owner)
    : TFormSelCellMaterial({QStringLiteral("FormSelChar"), QStringLiteral("Gráficos de Cuerpo"), QStringLiteral("CharSet"),
                            QSize(192, 128), QSize(288, 256), true, 6, false},
                           QSize(48, 64), 4, 2, owner)
{
}

void TFormSelChar::DrawCells(TVireoBoard& board)
{
    PickerDraw::FillBoard(board, Sheet.ColorTable[0]);
    for (int i = 0; i < 8; ++i) {
        const int sx = 72 * (i % 4) + 24, sy = 128 * (i / 4) + 64;
        const int dx = 48 * (i % 4), dy = 64 * (i / 4);
        board.StretchSheet({dx, dy, dx + 48, dy + 64}, Sheet, {sx, sy, sx + 24, sy + 32});
    }
}
