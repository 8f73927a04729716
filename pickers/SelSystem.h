// The system graphic picker "Gráficos del sistema": the graphic at its own size, with the
// wallpaper and message font choices that belong with it.
#pragma once

#include "SelMaterial.h"

class QButtonGroup;

class TFormSelSystem : public TFormSelMaterial {
public:
    explicit TFormSelSystem(QWidget* owner = nullptr);

    // 0 "Agrandar en Mapa", 1 "Disminuir en Mapa"; given before showing, read after "Aceptar".
    void SetWallpaper(int value);
    int Wallpaper() const { return FWallpaper; }
    // 0 "Lucida Console", 1 "Courier New".
    void SetMessageFont(int value);
    int MessageFont() const { return FMessageFont; }
    using TFormSelMaterial::Execute;
    bool Execute(QString& name, int& wallpaper, int& messageFont);

private:
    QButtonGroup* FWallpaperGroup;
    QButtonGroup* FFontGroup;
    int FWallpaper = 0;
    int FMessageFont = 0;
};
