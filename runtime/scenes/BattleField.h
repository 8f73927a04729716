// The battle field: the backdrop and the troop's enemies composed on a 16-bit board with the
// image layer's sheets, so hue shifts and see-through enemies look as they do in the editor.
#pragma once
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

#include "VireoSheet.h"

// Height of the field at the top of the 320 x 240 screen; the windows sit below it.
inline constexpr int BattleFieldHeight = 160;

struct TFieldEnemy {
    int MemberIndex = 0;
    int X = 0, Y = 0; // centre of the picture
    int Opacity = 255;
    std::shared_ptr<TVireoSheet> Sheet; // null or empty: nothing to draw

    // The picture's rectangle on the field; empty without a picture.
    QRect Rect() const;
};

// Loads a picture of any depth as an 8-bit sheet sized to it. False, and the sheet emptied, when
// the file cannot be read or has more colours than a palette holds.
bool LoadPictureSheet(TVireoSheet& sheet, const QString& path);

// Indices into `enemies` in drawing order: by the bottom edge of the picture, and of two on one
// line the lower member index last, so it stands in front.
std::vector<int> BattleDrawOrder(const std::vector<TFieldEnemy>& enemies);

// Draws the backdrop's top-left 320 x 160 pixels at the top of the board.
void DrawBattleBackdrop(TVireoBoard& board, TVireoSheet& backdrop);
// A dusk-coloured field for a test without a backdrop.
void DrawPlainBackdrop(TVireoBoard& board);
void DrawBattleEnemies(TVireoBoard& board, const std::vector<TFieldEnemy>& enemies);

// A 32-bit copy of the board.
QImage BoardToImage(const TVireoBoard& board);
