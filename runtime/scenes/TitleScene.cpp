#include "TitleScene.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadialGradient>

#include "ScenePainter.h"

namespace {
const QString kOptions[] = {QStringLiteral("Nueva partida"), QStringLiteral("Salir")};
constexpr int kOptionCount = 2;
constexpr int kLineHeight = 18;
constexpr int kWindowWidth = 120;
constexpr int kPulseSteps = 16;
constexpr int kPulseMs = 70;
const QRect kWindow((TSceneView::FrameWidth - kWindowWidth) / 2, 176, kWindowWidth,
                    kOptionCount * kLineHeight + 12);
} // namespace

TTitleScene::TTitleScene(const QImage& title, QWidget* parent) : TSceneView(parent), FTitle(title)
{
    setObjectName(QStringLiteral("TitleScene"));
    setMouseTracking(true);
    FPulseTimer.setInterval(kPulseMs);
    connect(&FPulseTimer, &QTimer::timeout, this, [this] {
        FPulse = (FPulse + 1) % kPulseSteps;
        Render();
    });
    Render();
}

void TTitleScene::showEvent(QShowEvent* event)
{
    TSceneView::showEvent(event);
    FPulseTimer.start();
}

void TTitleScene::hideEvent(QHideEvent* event)
{
    FPulseTimer.stop();
    TSceneView::hideEvent(event);
}

void TTitleScene::SetTitleText(const QString& text)
{
    FTitleText = text;
    Render();
}

void TTitleScene::SetChoice(int choice)
{
    // Wraps, so Up on the first line reaches the last.
    FChoice = ((choice % kOptionCount) + kOptionCount) % kOptionCount;
    Render();
}

QRect TTitleScene::OptionRect(int choice) const
{
    return QRect(kWindow.left() + 6, kWindow.top() + 6 + choice * kLineHeight, kWindow.width() - 12,
                 kLineHeight);
}

void TTitleScene::Render()
{
    QPainter painter(&FFrame);
    RenderBackground(painter);
    DrawGameWindow(painter, kWindow);
    // Up and down again: a triangle wave over the pulse steps.
    const int half = kPulseSteps / 2;
    const int glow = (FPulse < half ? FPulse : kPulseSteps - FPulse) * 100 / half;
    DrawChoiceCursor(painter, OptionRect(FChoice), glow);
    painter.setFont(SceneFont(11));
    for (int i = 0; i < kOptionCount; ++i)
        DrawShadowText(painter, OptionRect(i), Qt::AlignCenter, kOptions[i]);
    painter.end();
    update();
}

void TTitleScene::RenderBackground(QPainter& painter)
{
    painter.fillRect(FFrame.rect(), QColor(8, 10, 24));
    if (!FTitle.isNull()) {
        // A picture of another size keeps its proportions, centred.
        const QSize size = FTitle.size().scaled(FFrame.size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((FrameWidth - size.width()) / 2, (FrameHeight - size.height()) / 2), size);
        painter.drawImage(target, FTitle);
        return;
    }
    QRadialGradient glow(QPointF(160, 80), 190);
    glow.setColorAt(0, QColor(40, 52, 110));
    glow.setColorAt(1, QColor(6, 8, 22));
    painter.fillRect(FFrame.rect(), glow);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QFont font = SceneFont(24, true);
    painter.setFont(font);
    DrawShadowText(painter, QRect(8, 60, FrameWidth - 16, 48), Qt::AlignCenter,
                   FitText(font, FTitleText, FrameWidth - 16), QColor(255, 236, 170));
}

void TTitleScene::Choose()
{
    if (FChoice == chNewGame)
        emit NewGame();
    else
        emit Quit();
}

int TTitleScene::OptionAt(QPoint widgetPos) const
{
    const QPoint p = ToFrame(widgetPos);
    for (int i = 0; i < kOptionCount; ++i)
        if (OptionRect(i).contains(p))
            return i;
    return -1;
}

void TTitleScene::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        SetChoice(FChoice - 1);
        break;
    case Qt::Key_Down:
        SetChoice(FChoice + 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            Choose();
        break;
    case Qt::Key_Escape:
        emit Quit();
        break;
    default:
        TSceneView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TTitleScene::mousePressEvent(QMouseEvent* event)
{
    const int option = OptionAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || option < 0)
        return;
    SetChoice(option);
    Choose();
}

void TTitleScene::mouseMoveEvent(QMouseEvent* event)
{
    const int option = OptionAt(event->position().toPoint());
    if (option >= 0 && option != FChoice)
        SetChoice(option);
}
