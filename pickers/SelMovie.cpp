#include "SelMovie.h"

TFormSelMovie::TFormSelMovie(QWidget* owner)
    : TFormSelMaterial({QStringLiteral("FormSelMovie"), QStringLiteral("Archivo de Vídeo"), QStringLiteral("Movie"),
                        QSize(), QSize(), false, 4},
                       owner)
{
}
