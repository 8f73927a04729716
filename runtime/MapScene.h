// The map scene: the party's start map drawn at 320 x 240 with both layers, animated water, the
// panorama behind and the events' first-page graphics; the hero walks it with the arrow keys.
#pragma once
#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

#include "GR_CharSet.h"
#include "GR_ChipSet.h"
#include "GameWorld.h"
#include "VireoSheet.h"

struct TGameProject;
class TVudEventPageItem;
class TVudEventItem;

class TMapScene : public QWidget {
    Q_OBJECT
public:
    static constexpr int ScreenWidth = 320;
    static constexpr int ScreenHeight = 240;
    static constexpr int FrameMs = 16;

    // The project must outlive the scene. `fadeIn` lights the map up from black (after a
    // teleport).
    explicit TMapScene(const TGameProject& project, QWidget* parent = nullptr, bool fadeIn = false);

    TGameWorld& World() { return FWorld; }
    // The last frame at screen size (drawn on demand before the first paint).
    QImage Frame();
    int CameraX() const;
    int CameraY() const;
    // How many events the map has (what the summary line reports).
    int EventCount() const;
    bool ChipSetLoaded();

    // The decision key (Enter, Space): speaks to the event in front of the hero, or shows the
    // next message; the last one closes the window.
    void Decide();
    bool Talking() const;
    // Lights the map up from black (a teleport that could not take place).
    void LightUp();
    // The message on screen, one entry per line; empty when none.
    QStringList MessageLines() const;

    QSize sizeHint() const override { return {ScreenWidth * 2, ScreenHeight * 2}; }

signals:
    // An event's teleport: the window loads that map and starts a new scene there.
    void Teleport(int mapID, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct TSprite {
        int X = 0, Y = 0;  // top-left of its cell on the map, in pixels
        int Layer = 1;     // 0 below the hero, 1 with the hero, 2 above
        const TActor* Actor = nullptr;  // null: the hero
    };

    void tick();
    // Runs what the game knows of an event's first page: its messages, then its teleport.
    void startEvent(const TVudEventItem& event);
    void finishEvent();
    void render();
    void drawBackground();
    void drawTiles(bool starTiles);
    void drawSprites(std::vector<TSprite>& sprites, int layer);
    void drawSprite(const TSprite& sprite, int screenX, int screenY);
    void drawCharacter(int screenX, int screenY, const std::string& name, int index, int dir,
                       int pattern, bool seeThrough, int cover);
    // How much of a character standing on the cell its ground hides (0 none .. 3 all).
    int groundCover(TCellPos cell) const;
    void drawTileGraphic(int screenX, int screenY, int tile);
    void drawMessage();
    void drawFade();
    bool isStarTile(int upperID) const;
    // A map pixel position relative to the camera; on wrapping axes the first copy from the
    // screen's top-left edge.
    int screenX(int mapX) const;
    int screenY(int mapY) const;

    const TGameProject& FProject;
    const TVudChipSetItem* FChipRecord = nullptr;
    TGameWorld FWorld;
    TVudChipSetGraphic FChips;
    TVudCharSetGraphic FChars;
    std::unique_ptr<TVireoSheet> FPanorama;
    TVireoBoard FBoard;
    std::string FHeroCharSet;
    int FHeroCharIndex = 0;
    std::vector<TDir> FHeld;  // arrow keys held, the latest last
    QTimer FTimer;
    int FCounter = 0;
    int FCamX = 0, FCamY = 0;
    std::vector<std::vector<std::string>> FMessages;  // of the event spoken to
    int FMessage = 0;                                 // the one on screen
    int FTalkingTo = 0;                               // event turned to the hero, 0 none
    bool FHasTeleport = false;                        // to do once the messages are read
    TTeleport FTeleport;
    int FFadeOut = 0;  // frames until the teleport
    int FFadeIn = 0;   // frames until the map is fully lit
};
