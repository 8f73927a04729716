#include "SceneView.h"

#include <QPainter>
#include <algorithm>

TSceneView::TSceneView(QWidget* parent) : QWidget(parent), FFrame(FrameWidth, FrameHeight, QImage::Format_RGB32)
{
    FFrame.fill(Qt::black);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

int TSceneView::Scale() const
{
    return std::max(1, std::min(width() / FrameWidth, height() / FrameHeight));
}

QRect TSceneView::FrameRect() const
{
    const int s = Scale();
    const QSize size(FrameWidth * s, FrameHeight * s);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QPoint TSceneView::ToFrame(QPoint widgetPos) const
{
    const QRect r = FrameRect();
    if (!r.contains(widgetPos))
        return {-1, -1};
    const int s = Scale();
    return {(widgetPos.x() - r.left()) / s, (widgetPos.y() - r.top()) / s};
}

void TSceneView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = FrameRect();
    // Only the borders around the frame need clearing.
    const QRegion borders = QRegion(rect()).subtracted(QRegion(r));
    for (const QRect& b : borders)
        painter.fillRect(b, Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(r, FFrame);
}
