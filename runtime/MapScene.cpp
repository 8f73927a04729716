#include "MapScene.h"

#include "GameProject.h"
#include "LD_ChipSet.h"
#include "LD_Ground.h"
#include "LD_Player.h"
#include "MapDraw.h"
#include "MapEditUtils.h"
#include "TextCodec.h"
#ifdef TF_HAVE_SCENES
#include "ScenePainter.h"
#endif

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kCell = TGameWorld::CellPixels;
constexpr int kStarMark = 0x10;
constexpr int kCharWidth = 24, kCharHeight = 32;
// Event page animation types that the map shows without running scripts.
constexpr int kAnimStepping = 1, kAnimFixedDirection = 3, kAnimFixedGraphic = 4, kAnimSpinning = 5;
constexpr int kStepCycle[4] = {0, 1, 2, 1};
constexpr int kFadeFrames = 16;

int wrapped(int v, int size)
{
    return size > 0 ? ((v % size) + size) % size : v;
}

bool dirOfKey(int key, TDir& d)
{
    switch (key) {
    case Qt::Key_Up: d = TDir::Up; return true;
    case Qt::Key_Right: d = TDir::Right; return true;
    case Qt::Key_Down: d = TDir::Down; return true;
    case Qt::Key_Left: d = TDir::Left; return true;
    default: return false;
    }
}

bool isDecisionKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}
} // namespace

TMapScene::TMapScene(const TGameProject& project, QWidget* parent, bool fadeIn)
    : QWidget(parent), FProject(project),
      FChipRecord(project.DataBase->ChipSets().Find(project.Map.ChipSetID)),
      FWorld(project.Map, FChipRecord)
{
    setObjectName(QStringLiteral("MapScene"));
    FFadeIn = fadeIn ? kFadeFrames : 0;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FBoard.SetSize(ScreenWidth, ScreenHeight);
    FChips.SetChipSet(FChipRecord);
    if (FChipRecord)
        FChips.LoadChipSetImage(FChipRecord->ChipSetName);
    FPanorama = LoadPanorama(project.Map);
    FWorld.PlaceHero({project.StartX, project.StartY}, TDir::Down);
    if (const TVudPlayerItem* hero = project.DataBase->Players().Find(LeadingHeroID(*project.DataBase))) {
        FHeroCharSet = hero->CharSetName;
        FHeroCharIndex = hero->CharSetIndex;
    }
    connect(&FTimer, &QTimer::timeout, this, &TMapScene::tick);
    FTimer.start(FrameMs);
    render();
}

int TMapScene::EventCount() const { return FProject.Map.Events.Count(); }
bool TMapScene::ChipSetLoaded() { return FChips.Sheet().Width() > 0; }
int TMapScene::CameraX() const { return FCamX; }
int TMapScene::CameraY() const { return FCamY; }

QImage TMapScene::Frame()
{
    render();
    return QImage(FBoard.Bits(), FBoard.Width(), FBoard.Height(), FBoard.BytesPerLine(),
                  QImage::Format_RGB16)
        .copy();
}

QStringList TMapScene::MessageLines() const
{
    QStringList lines;
    if (FMessage < int(FMessages.size()))
        for (const std::string& line : FMessages[std::size_t(FMessage)])
            lines << FromCp1252(line);
    return lines;
}

void TMapScene::LightUp()
{
    FFadeIn = kFadeFrames;
}

bool TMapScene::Talking() const
{
    return FMessage < int(FMessages.size());
}

void TMapScene::Decide()
{
    if (Talking()) {
        if (++FMessage >= int(FMessages.size())) {
            FMessages.clear();
            FMessage = 0;
            FTalkingTo = 0;
            finishEvent();
        }
        update();
        return;
    }
    if (!FWorld.Moving() && !FHasTeleport)
        if (const TVudEventItem* event = FWorld.TalkTarget())
            startEvent(*event);
}

void TMapScene::startEvent(const TVudEventItem& event)
{
    const TVudEventPageItem& page = *FirstPage(event);
    FMessages = EventMessages(page);
    FMessage = 0;
    FHasTeleport = EventTeleport(page, FTeleport);
    if (FMessages.empty()) {
        finishEvent();
        return;
    }
    const int anim = page.AnimationType;
    // The one spoken to turns to the hero, unless its page keeps its direction or picture.
    FTalkingTo = anim == kAnimFixedDirection || anim == kAnimFixedGraphic || anim == kAnimSpinning ? 0 : event.ID;
    update();
}

void TMapScene::finishEvent()
{
    if (!FHasTeleport)
        return;
    FHeld.clear();
    // The screen goes dark first; the teleport follows when it is black.
    FFadeOut = kFadeFrames;
}

void TMapScene::tick()
{
    ++FCounter;
    if (FFadeIn > 0)
        --FFadeIn;
    if (FFadeOut > 0 && --FFadeOut == 0 && FHasTeleport) {
        FHasTeleport = false;
        emit Teleport(FTeleport.MapID, FTeleport.X, FTeleport.Y);
        return;
    }
    const bool wasMoving = FWorld.Moving();
    FWorld.Tick();
    FWorld.TickActors(Talking());
    if (wasMoving && !FWorld.Moving() && !Talking())
        if (const TVudEventItem* event = FWorld.TouchTarget(false))
            startEvent(*event);
    if (!FWorld.Moving() && !FHeld.empty() && !Talking() && !FHasTeleport)
        FWorld.TryStep(FHeld.back());
    update();
}

void TMapScene::keyPressEvent(QKeyEvent* event)
{
    if (isDecisionKey(event->key())) {
        if (!event->isAutoRepeat())
            Decide();
        return;
    }
    TDir d;
    if (!dirOfKey(event->key(), d)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat())
        return;
    FHeld.erase(std::remove(FHeld.begin(), FHeld.end(), d), FHeld.end());
    FHeld.push_back(d);
    if (Talking() || FWorld.Moving() || FHasTeleport)
        return;
    // Walking into someone started by touch starts them, once per key press.
    if (!FWorld.TryStep(d))
        if (const TVudEventItem* event = FWorld.TouchTarget(true))
            startEvent(*event);
}

void TMapScene::keyReleaseEvent(QKeyEvent* event)
{
    TDir d;
    if (!dirOfKey(event->key(), d) || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    FHeld.erase(std::remove(FHeld.begin(), FHeld.end(), d), FHeld.end());
}

void TMapScene::focusOutEvent(QFocusEvent* event)
{
    // A key released in another window never reaches us: stop walking.
    FHeld.clear();
    QWidget::focusOutEvent(event);
}

int TMapScene::screenX(int mapX) const
{
    int x = mapX - FCamX;
    if (FWorld.WrapsX()) {
        const int span = FProject.Map.Width * kCell;
        x = wrapped(x + kCell * 2, span) - kCell * 2;
    }
    return x;
}

int TMapScene::screenY(int mapY) const
{
    int y = mapY - FCamY;
    if (FWorld.WrapsY()) {
        const int span = FProject.Map.Height * kCell;
        y = wrapped(y + kCell * 2, span) - kCell * 2;
    }
    return y;
}

void TMapScene::render()
{
    const TVudMap& map = FProject.Map;
    FCamX = CameraAxis(FWorld.HeroPixelX() + kCell / 2, map.Width * kCell, ScreenWidth, FWorld.WrapsX());
    FCamY = CameraAxis(FWorld.HeroPixelY() + kCell / 2, map.Height * kCell, ScreenHeight, FWorld.WrapsY());
    drawBackground();
    drawTiles(false);
    std::vector<TSprite> sprites;
    for (const TActor& actor : FWorld.Actors())
        sprites.push_back({actor.PixelX(), actor.PixelY(), std::min<int>(actor.Page->Priority, 2), &actor});
    sprites.push_back({FWorld.HeroPixelX(), FWorld.HeroPixelY(), 1, nullptr});
    // Characters further down stand in front.
    std::stable_sort(sprites.begin(), sprites.end(),
                     [](const TSprite& a, const TSprite& b) { return a.Y < b.Y; });
    drawSprites(sprites, 0);
    drawSprites(sprites, 1);
    drawTiles(true);
    drawSprites(sprites, 2);
    if (Talking())
        drawMessage();
    drawFade();
}

void TMapScene::drawFade()
{
    // Dark while a teleport is about to happen, light again as a map comes up.
    const int dark = FHasTeleport ? kFadeFrames - FFadeOut : FFadeIn;
    if (dark <= 0)
        return;
    QImage frame(FBoard.Bits(), FBoard.Width(), FBoard.Height(), FBoard.BytesPerLine(), QImage::Format_RGB16);
    QPainter p(&frame);
    p.fillRect(frame.rect(), QColor(0, 0, 0, std::min(255, 255 * dark / kFadeFrames)));
}

void TMapScene::drawMessage()
{
    QImage frame(FBoard.Bits(), FBoard.Width(), FBoard.Height(), FBoard.BytesPerLine(), QImage::Format_RGB16);
    QPainter p(&frame);
    const QRect window(6, ScreenHeight - 78, ScreenWidth - 12, 72);
    const QStringList lines = MessageLines();
#ifdef TF_HAVE_SCENES
    DrawGameWindow(p, window);
    p.setFont(SceneFont(12));
    for (int i = 0; i < lines.size() && i < 4; ++i)
        DrawShadowText(p, QRect(window.left() + 10, window.top() + 6 + 15 * i, window.width() - 20, 15),
                       Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
#else
    p.fillRect(window, QColor(20, 30, 90));
    p.setPen(Qt::white);
    p.drawRect(window.adjusted(0, 0, -1, -1));
    for (int i = 0; i < lines.size() && i < 4; ++i)
        p.drawText(QRect(window.left() + 10, window.top() + 6 + 15 * i, window.width() - 20, 15),
                   Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
#endif
}

void TMapScene::drawBackground()
{
    FillBoardRect(FBoard, {0, 0, ScreenWidth, ScreenHeight}, 0);
    const TVudMap& map = FProject.Map;
    TVireoSheet* pano = FPanorama.get();
    if (!map.UsePanorama || !pano || pano->Width() <= 0 || pano->Height() <= 0)
        return;
    // A scrolling panorama moves at half the map's pace, plus its own drift when automatic.
    int ox = map.PanoramaHScroll ? FCamX / 2 : FCamX;
    int oy = map.PanoramaVScroll ? FCamY / 2 : FCamY;
    if (map.PanoramaHScroll && map.PanoramaHAuto)
        ox += FCounter * map.PanoramaHSpeed / 8;
    if (map.PanoramaVScroll && map.PanoramaVAuto)
        oy += FCounter * map.PanoramaVSpeed / 8;
    const int w = pano->Width(), h = pano->Height();
    pano->Transparent = false;
    for (int y = -wrapped(oy, h); y < ScreenHeight; y += h)
        for (int x = -wrapped(ox, w); x < ScreenWidth; x += w)
            FBoard.DrawSheet(x, y, pano->BoundsRect(), *pano);
}

bool TMapScene::isStarTile(int upperID) const
{
    if (!FChipRecord || TileKindOf(upperID) != TTileKind::Upper)
        return false;
    const int tile = std::min(upperID - kUpperFirst, kPlainTileCount - 1);
    return tile != 0 && (FChipRecord->UpperFlag(tile) & kStarMark);
}

void TMapScene::drawTiles(bool starTiles)
{
    const TVudMap& map = FProject.Map;
    const bool panorama = map.UsePanorama && FPanorama && FPanorama->Width() > 0;
    const int firstCol = FCamX >= 0 ? FCamX / kCell : -((-FCamX + kCell - 1) / kCell);
    const int firstRow = FCamY >= 0 ? FCamY / kCell : -((-FCamY + kCell - 1) / kCell);
    for (int row = firstRow; row * kCell < FCamY + ScreenHeight; ++row) {
        for (int col = firstCol; col * kCell < FCamX + ScreenWidth; ++col) {
            TCellPos cell{col, row};
            if (!FWorld.Normalise(cell))
                continue;
            const int x = col * kCell - FCamX, y = row * kCell - FCamY;
            const int upper = map.UpperLayer.Get(cell.X, cell.Y);
            if (!starTiles) {
                const int lower = map.LowerLayer.Get(cell.X, cell.Y);
                FChips.SetTransparentMode(panorama);
                FChips.DrawTile(FBoard, x, y, lower, FCounter, false, kCell);
            }
            if (isStarTile(upper) != starTiles)
                continue;
            FChips.SetTransparentMode(true);
            if (!FChips.SkipsTile(upper))
                FChips.DrawTile(FBoard, x, y, upper, FCounter, false, kCell);
        }
    }
}

void TMapScene::drawSprites(std::vector<TSprite>& sprites, int layer)
{
    // A wrapping axis shorter than the screen shows the map more than once: everyone on it too.
    const int spanX = FWorld.WrapsX() ? FProject.Map.Width * kCell : 0;
    const int spanY = FWorld.WrapsY() ? FProject.Map.Height * kCell : 0;
    for (const TSprite& s : sprites) {
        if (s.Layer != layer)
            continue;
        for (int y = screenY(s.Y); y < ScreenHeight + kCharHeight; y += spanY) {
            for (int x = screenX(s.X); x < ScreenWidth + kCell; x += spanX) {
                drawSprite(s, x, y);
                if (spanX <= 0)
                    break;
            }
            if (spanY <= 0)
                break;
        }
    }
}

void TMapScene::drawSprite(const TSprite& s, int x, int y)
{
    if (x <= -kCharWidth || y <= -kCell || x >= ScreenWidth + kCell || y >= ScreenHeight + kCharHeight)
        return;
    if (!s.Actor) {
        if (!FHeroCharSet.empty())
            drawCharacter(x, y, FHeroCharSet, FHeroCharIndex, int(FWorld.Facing()), FWorld.WalkPattern(), false,
                          groundCover(FWorld.Hero()));
    } else if (s.Actor->Page->CharSetName.empty()) {
        drawTileGraphic(x, y, s.Actor->Page->CharSetIndex);
    } else {
        const TActor& actor = *s.Actor;
        const TVudEventPageItem& page = *actor.Page;
        int dir = int(actor.Facing), pattern = page.Pattern;
        // No event script runs yet, but the map should not look frozen: walkers walk,
        // steppers step in place and spinners turn.
        if (actor.Event->ID == FTalkingTo && FTalkingTo != 0)
            dir = int(Opposite(FWorld.Facing()));
        else if (actor.StepLeft > TGameWorld::StepTicks / 4)
            pattern = actor.Steps % 2 ? 0 : 2;
        else if (actor.Walks())
            pattern = 1;
        else if (page.AnimationType == kAnimStepping)
            pattern = kStepCycle[FCounter / 12 % 4];
        else if (page.AnimationType == kAnimSpinning)
            dir = (dir + FCounter / 16) % 4;
        drawCharacter(x, y, page.CharSetName, page.CharSetIndex, dir, pattern, page.Transparent != 0,
                      groundCover(actor.Cell));
    }
}

int TMapScene::groundCover(TCellPos cell) const
{
    const TVudGroundItem* ground = FProject.DataBase->Grounds().Find(FWorld.TerrainAt(cell));
    return ground ? std::clamp<int>(ground->CharTransparency, 0, 3) : 0;
}

void TMapScene::drawCharacter(int x, int y, const std::string& name, int index, int dir, int pattern,
                              bool seeThrough, int cover)
{
    TVireoSheet& sheet = FChars.CharSetSheet(FChars.AcquireCharSet(name));
    if (sheet.Width() <= 0)
        return;
    const TVireoPoint o = TVudCharSetGraphic::CharacterOrigin(index);
    const int sx = o.X + kCharWidth * std::clamp(pattern, 0, 2);
    const int sy = o.Y + kCharHeight * std::clamp(dir, 0, 3);
    sheet.Transparent = true;
    const int opacity = seeThrough ? 160 : 255;
    // Characters are taller than a cell: feet on the cell, head above it. Deep grass or a swamp
    // hides the lower third or half of the body, and some ground all of it.
    const int left = x - (kCharWidth - kCell) / 2, top = y - (kCharHeight - kCell);
    const int cut = cover == 1 ? kCharHeight * 2 / 3 : cover == 2 ? kCharHeight / 2 : cover == 3 ? 0 : kCharHeight;
    sheet.Opacity = opacity;
    if (cut > 0)
        FBoard.DrawSheet(left, top, {sx, sy, sx + kCharWidth, sy + cut}, sheet);
    sheet.Opacity = std::min(opacity, 128);
    if (cut < kCharHeight)
        FBoard.DrawSheet(left, top + cut, {sx, sy + cut, sx + kCharWidth, sy + kCharHeight}, sheet);
    sheet.Opacity = 255;
}

void TMapScene::drawTileGraphic(int x, int y, int tile)
{
    FChips.SetTransparentMode(true);
    FChips.DrawTile(FBoard, x, y, kUpperFirst + std::clamp(tile, 0, kPlainTileCount - 1), FCounter, false, kCell);
}

void TMapScene::paintEvent(QPaintEvent*)
{
    render();
    const QImage frame(FBoard.Bits(), FBoard.Width(), FBoard.Height(), FBoard.BytesPerLine(),
                       QImage::Format_RGB16);
    // A whole factor keeps the pixels square and sharp; the rest of the window stays black.
    const int scale = std::max(1, std::min(width() / ScreenWidth, height() / ScreenHeight));
    const QRect target((width() - ScreenWidth * scale) / 2, (height() - ScreenHeight * scale) / 2,
                       ScreenWidth * scale, ScreenHeight * scale);
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawImage(target, frame);
}
