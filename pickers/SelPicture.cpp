#include "SelPicture.h"

#include "SelPanorama.h"

TFormSelPicture::TFormSelPicture(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelPicture"), QStringLiteral("Gráficos de Imágen"),
                        QStringLiteral("Picture"), QSize(320, 240), QSize()},
                       owner)
{
}

void TFormSelPicture::DrawPreview(TVireoBoard& board)
{
    DrawFittedPreview(board, Sheet);
}
