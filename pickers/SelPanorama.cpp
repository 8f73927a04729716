#include "SelPanorama.h"

TFormSelPanorama::TFormSelPanorama(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelPanorama"), QStringLiteral("Gráficos de panorama"),
                        QStringLiteral("Panorama"), QSize(320, 240), QSize()},
                       owner)
{
}

void TFormSelPanorama::DrawPreview(TVireoBoard& board)
{
    DrawFittedPreview(board, Sheet);
}

void DrawFittedPreview(TVireoBoard& board, TVireoSheet& sheet)
{
    const TVireoRect dest = PickerDraw::FitRect(sheet.Width(), sheet.Height(), board.Width(), board.Height());
    board.StretchSheet(dest, sheet, sheet.BoundsRect());
}
