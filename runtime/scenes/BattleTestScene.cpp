#include "BattleTestScene.h"

#include <QKeyEvent>
#include <algorithm>
#include <map>

#include "ScenePainter.h"
#include "TextCodec.h"

namespace {
const QString kNoRules = QStringLiteral("Prueba de batalla: sin reglas de combate todavía");
constexpr int kPartyMax = TVudSystem::MaxPartySize;
constexpr int kWindowTop = BattleFieldHeight;
constexpr int kEnemyWindowWidth = 124;
constexpr int kLineHeight = 16;
// Same opacity as the troop editor gives a see-through enemy.
constexpr int kSeeThroughOpacity = 160;

QString orDefault(const std::string& text, const char* fallback)
{
    const QString s = FromCp1252(text).trimmed();
    return s.isEmpty() ? QString::fromUtf8(fallback) : s;
}

QString resolved(const TBattleTestScene::TMaterialResolver& resolve, const char* folder, const std::string& name)
{
    if (!resolve || name.empty())
        return {};
    return resolve(QString::fromLatin1(folder), FromCp1252(name));
}
} // namespace

TBattleTestScene::TBattleTestScene(const TVudDataBase& db, int troopID, TMaterialResolver resolveMaterial,
                                   QWidget* parent)
    : TSceneView(parent), FTroopID(troopID)
{
    setObjectName(QStringLiteral("BattleTestScene"));
    const TVudVocabulary& words = db.Vocabulary();
    FLevelWord = orDefault(words.LevelShort, "N");
    FHpWord = orDefault(words.HP, "PV");
    FMpWord = orDefault(words.MP, "PM");
    LoadParty(db);
    FBackdropLoaded =
        LoadPictureSheet(FBackdrop, resolved(resolveMaterial, "Backdrop", db.System().BattleTestBackdrop));
    const TVudMonGroupItem* troop = troopID > 0 ? db.MonGroups().Find(troopID) : nullptr;
    if (troop) {
        FTroopFound = true;
        FTroopName = FromCp1252(troop->Name);
        LoadEnemies(db, *troop, resolveMaterial);
    } else {
        FMessage = QStringLiteral("No existe el grupo enemigo %1.").arg(troopID);
    }
    Render();
}

void TBattleTestScene::LoadParty(const TVudDataBase& db)
{
    const TVudTestPlayer& party = db.System().BattleTestParty;
    for (int i = 0; i < party.Count() && int(FParty.size()) < kPartyMax; ++i) {
        const TVudTestPlayerItem* member = party.At(i);
        THeroShown shown;
        shown.HeroID = member->HeroID;
        shown.Level = std::clamp(int(member->Level), 1, int(TVudPlayerItem::LevelCount));
        if (const TVudPlayerItem* hero = db.Players().Find(member->HeroID)) {
            shown.Name = FromCp1252(hero->Name);
            shown.MaxHp = hero->Curve(0, shown.Level);
            shown.MaxMp = hero->Curve(1, shown.Level);
        } else {
            shown.Name = QStringLiteral("?");
        }
        FParty.push_back(shown);
    }
}

void TBattleTestScene::LoadEnemies(const TVudDataBase& db, const TVudMonGroupItem& troop,
                                   const TMaterialResolver& resolve)
{
    // Members of one enemy share its picture, so a long member list decodes each file once.
    std::map<int, std::shared_ptr<TVireoSheet>> sheets;
    for (int i = 0; i < troop.Members.Count(); ++i) {
        const TVudMonGroupMonsterItem* member = troop.Members.At(i);
        const TVudMonsterItem* monster = db.Monsters().Find(member->MonsterID);
        // Hidden members only enter through battle events, which do not run here.
        if (!monster || member->Invisible)
            continue;
        TFieldEnemy enemy;
        enemy.MemberIndex = i;
        enemy.X = member->X;
        enemy.Y = member->Y;
        enemy.Opacity = monster->Transparent ? kSeeThroughOpacity : 255;
        std::shared_ptr<TVireoSheet>& sheet = sheets[member->MonsterID];
        if (!sheet) {
            sheet = std::make_shared<TVireoSheet>();
            const int hue = ((monster->Hue % 360) + 360) % 360; // a stored value may lie outside 0..359
            if (LoadPictureSheet(*sheet, resolved(resolve, "Monster", monster->BattlerName)) && hue)
                sheet->RotateHue(hue);
        }
        enemy.Sheet = sheet;
        FField.push_back(enemy);
        FShown.push_back({i, member->MonsterID, FromCp1252(monster->Name), enemy.Rect()});
    }
}

void TBattleTestScene::Render()
{
    TVireoBoard board;
    board.SetSize(FrameWidth, FrameHeight);
    if (FBackdropLoaded)
        DrawBattleBackdrop(board, FBackdrop);
    else
        DrawPlainBackdrop(board);
    DrawBattleEnemies(board, FField);
    FFrame = BoardToImage(board);
    QPainter painter(&FFrame);
    painter.fillRect(QRect(0, kWindowTop, FrameWidth, FrameHeight - kWindowTop), QColor(4, 6, 16));
    RenderTopWindow(painter);
    RenderEnemyWindow(painter);
    RenderPartyWindow(painter);
    if (!FMessage.isEmpty())
        RenderMessage(painter);
    painter.end();
    update();
}

void TBattleTestScene::RenderTopWindow(QPainter& painter)
{
    const QRect window(4, 4, FrameWidth - 8, 20);
    DrawGameWindow(painter, window);
    const QFont font = SceneFont(10);
    painter.setFont(font);
    DrawShadowText(painter, window.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   FitText(font, kNoRules, window.width() - 70), QColor(255, 230, 150));
    DrawShadowText(painter, window.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignRight,
                   QStringLiteral("Esc: salir"), QColor(190, 200, 230));
}

QString TBattleTestScene::enemyWindowTitle() const
{
    if (!FTroopFound)
        return QStringLiteral("—");
    return FTroopName.isEmpty() ? QStringLiteral("Grupo %1").arg(FTroopID) : FTroopName;
}

void TBattleTestScene::RenderEnemyWindow(QPainter& painter)
{
    const QRect window(0, kWindowTop, kEnemyWindowWidth, FrameHeight - kWindowTop);
    DrawGameWindow(painter, window);
    const QRect inner = window.adjusted(8, 6, -8, -6);
    const QFont bold = SceneFont(11, true);
    painter.setFont(bold);
    DrawShadowText(painter, QRect(inner.topLeft(), QSize(inner.width(), kLineHeight)), Qt::AlignVCenter | Qt::AlignLeft,
                   FitText(bold, enemyWindowTitle(), inner.width()),
                   QColor(255, 236, 170));
    // One line per kind of enemy, in the order they first appear, with a count for repeats.
    std::vector<std::pair<QString, int>> kinds;
    for (const TEnemyShown& e : FShown) {
        auto it = std::find_if(kinds.begin(), kinds.end(), [&](const auto& k) { return k.first == e.Name; });
        if (it == kinds.end())
            kinds.push_back({e.Name, 1});
        else
            ++it->second;
    }
    const QFont font = SceneFont(10);
    painter.setFont(font);
    const int maxLines = (inner.height() - kLineHeight) / kLineHeight;
    if (kinds.empty())
        kinds.push_back({QStringLiteral("Sin enemigos"), 1});
    for (int i = 0; i < int(kinds.size()) && i < maxLines; ++i) {
        QString text = kinds[size_t(i)].second > 1
                           ? QStringLiteral("%1 x%2").arg(kinds[size_t(i)].first).arg(kinds[size_t(i)].second)
                           : kinds[size_t(i)].first;
        if (i == maxLines - 1 && int(kinds.size()) > maxLines)
            text = QStringLiteral("…");
        const QRect line(inner.left(), inner.top() + (i + 1) * kLineHeight, inner.width(), kLineHeight);
        DrawShadowText(painter, line, Qt::AlignVCenter | Qt::AlignLeft, FitText(font, text, inner.width()));
    }
}

void TBattleTestScene::RenderPartyWindow(QPainter& painter)
{
    const QRect window(kEnemyWindowWidth, kWindowTop, FrameWidth - kEnemyWindowWidth, FrameHeight - kWindowTop);
    DrawGameWindow(painter, window);
    const QRect inner = window.adjusted(8, 6, -8, -6);
    const QFont font = SceneFont(10);
    painter.setFont(font);
    if (FParty.empty()) {
        DrawShadowText(painter, inner, Qt::AlignCenter, QStringLiteral("Sin héroes de prueba"));
        return;
    }
    const QColor label(150, 190, 255);
    for (size_t i = 0; i < FParty.size(); ++i) {
        const THeroShown& hero = FParty[i];
        const int y = inner.top() + int(i) * (kLineHeight + 1);
        DrawShadowText(painter, QRect(inner.left(), y, 64, kLineHeight), Qt::AlignVCenter | Qt::AlignLeft,
                       FitText(font, hero.Name, 64));
        DrawShadowText(painter, QRect(inner.left() + 66, y, 14, kLineHeight), Qt::AlignVCenter | Qt::AlignLeft,
                       FitText(font, FLevelWord, 14), label);
        DrawShadowText(painter, QRect(inner.left() + 78, y, 16, kLineHeight), Qt::AlignVCenter | Qt::AlignRight,
                       QString::number(hero.Level));
        DrawShadowText(painter, QRect(inner.left() + 100, y, 20, kLineHeight), Qt::AlignVCenter | Qt::AlignLeft,
                       FitText(font, FHpWord, 20), label);
        DrawShadowText(painter, QRect(inner.left() + 116, y, 26, kLineHeight), Qt::AlignVCenter | Qt::AlignRight,
                       QString::number(hero.MaxHp));
        DrawShadowText(painter, QRect(inner.left() + 148, y, 20, kLineHeight), Qt::AlignVCenter | Qt::AlignLeft,
                       FitText(font, FMpWord, 20), label);
        DrawShadowText(painter, QRect(inner.left() + 162, y, 18, kLineHeight), Qt::AlignVCenter | Qt::AlignRight,
                       QString::number(hero.MaxMp));
    }
}

void TBattleTestScene::RenderMessage(QPainter& painter)
{
    const QRect window(40, 56, FrameWidth - 80, 48);
    DrawGameWindow(painter, window);
    painter.setFont(SceneFont(11, true));
    DrawShadowText(painter, window.adjusted(8, 6, -8, -24), Qt::AlignCenter, FMessage, QColor(255, 200, 180));
    painter.setFont(SceneFont(10));
    DrawShadowText(painter, window.adjusted(8, 24, -8, -6), Qt::AlignCenter, QStringLiteral("Pulse Esc para salir."));
}

void TBattleTestScene::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit Quit();
        return;
    default:
        TSceneView::keyPressEvent(event);
    }
}
