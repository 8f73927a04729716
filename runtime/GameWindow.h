// The game's window: one scene at a time (title, map or battle test), 320 x 240 shown twice as
// large in a window or filling the screen. Esc or closing the window ends the game.
#pragma once
#include <QWidget>

#include "GameWorld.h"
#include "PlayArgs.h"

struct TGameProject;
class TVudMusic;
class TMapScene;

class TGameWindow : public QWidget {
    Q_OBJECT
public:
    // The project must outlive the window; a teleport changes its map.
    TGameWindow(TGameProject& project, const TPlayArgs& args, QWidget* parent = nullptr);
    ~TGameWindow() override;

    // Shows the first scene the command line asks for.
    void Start();
    void ShowTitle();
    void ShowMap();
    void ShowBattleTest();

    QWidget* Scene() const { return FScene; }
    TMapScene* MapScene() const;

signals:
    // One line describing the scene just shown (see SceneSummary lines in main.cpp).
    void SceneReady(const QString& summary);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setScene(QWidget* scene);
    void teleport(int mapID, int x, int y);
    void playMusic(const TVudMusic* music);
    QString projectLabel() const;

    TGameProject& FProject;
    TPlayArgs FArgs;
    QWidget* FScene = nullptr;
    QString FMusicFile;  // what plays now, empty for silence
    TDir FArrivalFacing = TDir::Down;
    bool FArrivalFade = false;
};
