#include "SelChipSet.h"

TFormSelChipSet::TFormSelChipSet(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelChipSet"), QStringLiteral("Gráficos de ChipSet"), QStringLiteral("ChipSet"), QSize(240, 128), QSize(480, 256)},
                       owner)
{
}

void TFormSelChipSet::DrawPreview(TVireoBoard& board)
{
    board.StretchSheet({0, 0, Sheet.Width() / 2, Sheet.Height() / 2}, Sheet, Sheet.BoundsRect());
}
