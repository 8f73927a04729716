// The look shared by the scenes: message windows, the choice cursor and outlined text, all in
// frame pixels.
#pragma once
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

// The game's text face at a pixel size.
QFont SceneFont(int pixelSize, bool bold = false);
// A framed, slightly see-through window.
void DrawGameWindow(QPainter& painter, const QRect& rect);
// The highlight behind the chosen line of a window; `glow` 0..100 brightens it (for a pulse).
void DrawChoiceCursor(QPainter& painter, const QRect& rect, int glow = 50);
// Text with a dark shadow, so it reads on windows and pictures alike.
void DrawShadowText(QPainter& painter, const QRect& rect, int flags, const QString& text,
                    const QColor& color = QColor(255, 255, 255));
// Text cut with an ellipsis to the width of the rectangle.
QString FitText(const QFont& font, const QString& text, int width);
