#include "ScenePainter.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <algorithm>

QFont SceneFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void DrawGameWindow(QPainter& painter, const QRect& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(44, 62, 140, 230));
    fill.setColorAt(1, QColor(16, 22, 70, 230));
    painter.fillRect(rect.adjusted(2, 2, -2, -2), fill);
    // Outer dark line, light frame, inner dark line: reads on bright and dark backgrounds.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QColor(10, 12, 30));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.setPen(QColor(224, 228, 246));
    painter.drawRect(rect.adjusted(1, 1, -2, -2));
    painter.setPen(QColor(120, 130, 190));
    painter.drawRect(rect.adjusted(2, 2, -3, -3));
    painter.restore();
}

void DrawChoiceCursor(QPainter& painter, const QRect& rect, int glow)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int alpha = 110 + std::clamp(glow, 0, 100) * 80 / 100;
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(150, 170, 255, alpha));
    fill.setColorAt(1, QColor(90, 110, 220, alpha));
    painter.fillRect(rect.adjusted(1, 1, -1, -1), fill);
    painter.setPen(QColor(236, 240, 255));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

void DrawShadowText(QPainter& painter, const QRect& rect, int flags, const QString& text,
                    const QColor& color)
{
    painter.save();
    painter.setPen(QColor(0, 0, 0, 200));
    painter.drawText(rect.translated(1, 1), flags, text);
    painter.setPen(color);
    painter.drawText(rect, flags, text);
    painter.restore();
}

QString FitText(const QFont& font, const QString& text, int width)
{
    return QFontMetrics(font).elidedText(text, Qt::ElideRight, width);
}
