// The title screen: the game's title picture with a small window offering "Nueva partida" and
// "Salir". Up and Down move the choice, Enter or Space take it, Esc quits; a click takes the
// line under the pointer.
#pragma once
#include <QTimer>

#include "SceneView.h"

class TTitleScene : public TSceneView {
    Q_OBJECT
public:
    enum TChoice { chNewGame = 0, chQuit = 1 };

    // An empty picture gives a plain dark screen with the title text.
    explicit TTitleScene(const QImage& title, QWidget* parent = nullptr);

    // Drawn only over the plain screen that stands in for a missing picture.
    void SetTitleText(const QString& text);
    QString TitleText() const { return FTitleText; }
    int Choice() const { return FChoice; }
    void SetChoice(int choice);
    // The two lines' rectangles in frame pixels.
    QRect OptionRect(int choice) const;

signals:
    void NewGame();
    void Quit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Render();
    void RenderBackground(QPainter& painter);
    void Choose();
    int OptionAt(QPoint widgetPos) const;

    QImage FTitle;
    QString FTitleText;
    int FChoice = chNewGame;
    // The cursor pulses while the screen is shown.
    QTimer FPulseTimer;
    int FPulse = 0;
};
