#include "BattleField.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "VireoImageFile.h"

QRect TFieldEnemy::Rect() const
{
    if (!Sheet || Sheet->Width() <= 0 || Sheet->Height() <= 0)
        return {};
    const int w = Sheet->Width(), h = Sheet->Height();
    return QRect(X - w / 2, Y - h / 2, w, h);
}

bool LoadPictureSheet(TVireoSheet& sheet, const QString& path)
{
    sheet.AutoSize = true;
    if (path.isEmpty()) {
        sheet.SetSize(0, 0);
        return false;
    }
    try {
        TVireoBitmap bitmap;
        LoadImageFile(bitmap, std::filesystem::path(QFile::encodeName(path).toStdString()));
        // Sheets are 8-bit: a truecolour file with few colours still loads.
        sheet.LoadFromBitmap(bitmap.BitCount() == 8 ? bitmap : bitmap.ConvertedTo8Bit());
        return true;
    } catch (const EVireoError&) {
        sheet.SetSize(0, 0);
        return false;
    }
}

std::vector<int> BattleDrawOrder(const std::vector<TFieldEnemy>& enemies)
{
    std::vector<int> order(enemies.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    auto bottom = [&](int i) {
        const TFieldEnemy& e = enemies[size_t(i)];
        return e.Y + (e.Sheet ? e.Sheet->Height() / 2 : 0);
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int ba = bottom(a), bb = bottom(b);
        if (ba != bb)
            return ba < bb;
        return enemies[size_t(a)].MemberIndex > enemies[size_t(b)].MemberIndex;
    });
    return order;
}

void DrawBattleBackdrop(TVireoBoard& board, TVireoSheet& backdrop)
{
    const int w = std::min(backdrop.Width(), board.Width());
    const int h = std::min({backdrop.Height(), BattleFieldHeight, board.Height()});
    backdrop.Transparent = false;
    backdrop.Opacity = 255;
    board.DrawSheet(0, 0, {0, 0, w, h}, backdrop);
}

void DrawPlainBackdrop(TVireoBoard& board)
{
    QImage image(board.Bits(), board.Width(), board.Height(), board.BytesPerLine(), QImage::Format_RGB16);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 112);
    sky.setColorAt(0, QColor(22, 28, 64));
    sky.setColorAt(1, QColor(92, 84, 132));
    painter.fillRect(QRect(0, 0, board.Width(), 112), sky);
    QLinearGradient ground(0, 112, 0, BattleFieldHeight);
    ground.setColorAt(0, QColor(58, 52, 76));
    ground.setColorAt(1, QColor(26, 24, 36));
    painter.fillRect(QRect(0, 112, board.Width(), BattleFieldHeight - 112), ground);
}

void DrawBattleEnemies(TVireoBoard& board, const std::vector<TFieldEnemy>& enemies)
{
    for (int i : BattleDrawOrder(enemies)) {
        const TFieldEnemy& e = enemies[size_t(i)];
        const QRect r = e.Rect();
        if (r.isEmpty())
            continue;
        e.Sheet->Transparent = true;
        e.Sheet->Opacity = e.Opacity;
        board.DrawSheet(r.left(), r.top(), e.Sheet->BoundsRect(), *e.Sheet);
    }
}

QImage BoardToImage(const TVireoBoard& board)
{
    const QImage wrapped(board.Bits(), board.Width(), board.Height(), board.BytesPerLine(),
                         QImage::Format_RGB16);
    return wrapped.convertToFormat(QImage::Format_RGB32);
}
