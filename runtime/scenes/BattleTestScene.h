// The battle test screen: the test backdrop, the troop's enemies where the troop editor placed
// them, the troop's name and the test party with names and levels. There are no battle rules
// yet, and the screen says so. Esc or Enter leaves.
#pragma once
#include <functional>
#include <vector>

#include "BattleField.h"
#include "DataBase.h"
#include "SceneView.h"

class TBattleTestScene : public TSceneView {
    Q_OBJECT
public:
    // (material folder, bare name) -> file path, empty when there is none.
    using TMaterialResolver = std::function<QString(const QString& folder, const QString& name)>;

    struct TEnemyShown {
        int MemberIndex = 0;
        int MonsterID = 0;
        QString Name;
        QRect Rect; // on the screen; empty when the picture could not be loaded
    };
    struct THeroShown {
        int HeroID = 0;
        QString Name;
        int Level = 1;
        int MaxHp = 0, MaxMp = 0;
    };

    // Everything needed is read here; the database is not kept.
    TBattleTestScene(const TVudDataBase& db, int troopID, TMaterialResolver resolveMaterial,
                     QWidget* parent = nullptr);

    bool TroopFound() const { return FTroopFound; }
    QString TroopName() const { return FTroopName; }
    // Visible members whose enemy exists, in member order.
    const std::vector<TEnemyShown>& Enemies() const { return FShown; }
    const std::vector<THeroShown>& Party() const { return FParty; }
    bool BackdropLoaded() const { return FBackdropLoaded; }
    // The notice shown instead of a battle (unknown troop); empty otherwise.
    QString Message() const { return FMessage; }

signals:
    void Quit();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadParty(const TVudDataBase& db);
    void LoadEnemies(const TVudDataBase& db, const TVudMonGroupItem& troop, const TMaterialResolver& resolve);
    void Render();
    void RenderTopWindow(QPainter& painter);
    void RenderEnemyWindow(QPainter& painter);
    QString enemyWindowTitle() const;
    void RenderPartyWindow(QPainter& painter);
    void RenderMessage(QPainter& painter);

    TVireoSheet FBackdrop;
    bool FBackdropLoaded = false;
    int FTroopID = 0;
    bool FTroopFound = false;
    QString FTroopName;
    QString FMessage;
    QString FLevelWord, FHpWord, FMpWord;
    std::vector<TFieldEnemy> FField;
    std::vector<TEnemyShown> FShown;
    std::vector<THeroShown> FParty;
};
