// The title and battle test scenes, driven headless: keys and clicks on the title, and the battle
// field read back from the widget's own pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "BattleField.h"
#include "BattleTestScene.h"
#include "DataBase.h"
#include "TitleScene.h"
#include "VireoImageFile.h"

namespace {

QApplication& app()
{
    static int argc = 1;
    static char name[] = "test_runtime_scenes";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

// A picture of one colour with a one-pixel transparent (index 0) border.
void writePicture(const QString& path, int w, int h, TVireoPaletteEntry colour)
{
    TVireoBitmap picture(w, h, 8);
    picture.Palette[0] = {0, 0, 0, 0};
    picture.Palette[1] = colour;
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x)
            picture.ScanLine(y)[x] = 1;
    SaveImageFile(picture, std::filesystem::path(QFile::encodeName(path).toStdString()));
}

QColor pixelAt(QWidget& scene, QPoint framePos)
{
    const QImage shot = scene.grab().toImage();
    auto* view = static_cast<TSceneView*>(&scene);
    const int s = view->Scale();
    const QPoint origin = view->FrameRect().topLeft();
    return shot.pixelColor(origin + framePos * s + QPoint(s / 2, s / 2));
}

// -------------------------------------------------------------------------------------------
// Scaling

TEST(SceneView, ShowsTheFrameAtTheLargestWholeFactorCentred)
{
    app();
    const struct {
        QSize Widget;
        int Scale;
        QRect Frame;
    } cases[] = {
        {{320, 240}, 1, {0, 0, 320, 240}},
        {{639, 479}, 1, {159, 119, 320, 240}},
        {{640, 480}, 2, {0, 0, 640, 480}},
        {{1920, 1080}, 4, {320, 60, 1280, 960}},
        {{200, 100}, 1, {-60, -70, 320, 240}}, // smaller than the frame: still drawn, centred
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Widget.width());
        TTitleScene scene{QImage()};
        scene.resize(c.Widget);
        EXPECT_EQ(scene.Scale(), c.Scale);
        EXPECT_EQ(scene.FrameRect(), c.Frame);
        EXPECT_EQ(scene.ToFrame(c.Frame.topLeft() + QPoint(c.Scale * 11 - 1, c.Scale * 20)), QPoint(10, 20));
    }
    TTitleScene scene{QImage()};
    scene.resize(1920, 1080);
    EXPECT_EQ(scene.ToFrame({10, 10}), QPoint(-1, -1)) << "the border is outside the frame";
}

// -------------------------------------------------------------------------------------------
// Title

struct TKeyCase {
    const char* Name;
    std::vector<int> Keys;
    bool NewGame; // else Quit
};

TEST(TitleScene, KeysMoveTheChoiceAndChooseIt)
{
    app();
    const TKeyCase cases[] = {
        {"enter on the first line", {Qt::Key_Return}, true},
        {"down then enter", {Qt::Key_Down, Qt::Key_Enter}, false},
        {"down wraps back to the first", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}, true},
        {"up wraps to the last", {Qt::Key_Up, Qt::Key_Return}, false},
        {"escape quits from the first line", {Qt::Key_Escape}, false},
    };
    for (const TKeyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTitleScene scene{QImage()};
        QSignalSpy newGame(&scene, &TTitleScene::NewGame);
        QSignalSpy quit(&scene, &TTitleScene::Quit);
        for (int key : c.Keys)
            QTest::keyClick(&scene, Qt::Key(key));
        EXPECT_EQ(newGame.count(), c.NewGame ? 1 : 0);
        EXPECT_EQ(quit.count(), c.NewGame ? 0 : 1);
    }
}

TEST(TitleScene, ClickingALineChoosesIt)
{
    app();
    TTitleScene scene{QImage()};
    scene.resize(700, 500); // factor 2, frame centred with borders
    QSignalSpy newGame(&scene, &TTitleScene::NewGame);
    QSignalSpy quit(&scene, &TTitleScene::Quit);
    const QRect frame = scene.FrameRect();
    ASSERT_EQ(scene.Scale(), 2);
    ASSERT_EQ(frame.topLeft(), QPoint(30, 10));

    QTest::mouseClick(&scene, Qt::LeftButton, {}, frame.topLeft() + scene.OptionRect(1).center() * 2);
    EXPECT_EQ(quit.count(), 1);
    EXPECT_EQ(scene.Choice(), TTitleScene::chQuit);
    QTest::mouseClick(&scene, Qt::LeftButton, {}, frame.topLeft() + scene.OptionRect(0).center() * 2);
    EXPECT_EQ(newGame.count(), 1);
    // Outside the window, and in the black border, nothing happens.
    QTest::mouseClick(&scene, Qt::LeftButton, {}, frame.topLeft() + QPoint(20, 20));
    QTest::mouseClick(&scene, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(newGame.count() + quit.count(), 2);
}

TEST(TitleScene, ShowsThePictureOrThePlainScreenWithTheTitle)
{
    app();
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    TTitleScene withPicture(picture);
    withPicture.resize(640, 480);
    EXPECT_EQ(pixelAt(withPicture, {10, 10}), QColor(200, 40, 40));
    // The choice window sits over the picture, and the cursor marks the first line.
    EXPECT_NE(pixelAt(withPicture, withPicture.OptionRect(0).topLeft() + QPoint(2, 2)), QColor(200, 40, 40));

    TTitleScene plain{QImage()};
    plain.resize(640, 480);
    const QImage before = plain.Frame();
    plain.SetTitleText(QStringLiteral("Mi Juego"));
    EXPECT_EQ(plain.TitleText(), QStringLiteral("Mi Juego"));
    EXPECT_NE(plain.Frame(), before) << "the title text is drawn";
    EXPECT_NE(pixelAt(plain, {2, 2}), QColor(200, 40, 40));
}

// -------------------------------------------------------------------------------------------
// Battle test

class BattleScene : public testing::Test {
protected:
    void SetUp() override
    {
        app();
        ASSERT_TRUE(Dir.isValid());
        QDir(Dir.path()).mkpath(QStringLiteral("Monster"));
        QDir(Dir.path()).mkpath(QStringLiteral("Backdrop"));
        writePicture(Dir.filePath(QStringLiteral("Backdrop/Azul.png")), 330, 170, {0, 0, 255, 0});
        writePicture(Dir.filePath(QStringLiteral("Monster/Rojo.png")), 40, 30, {255, 0, 0, 0});
        writePicture(Dir.filePath(QStringLiteral("Monster/Blanco.png")), 24, 24, {255, 255, 255, 0});

        Db.Reset();
        Db.System().BattleTestBackdrop = "Azul";
        TVudMonsterItem* red = Db.Monsters().Obtain(1);
        red->Name = "Limo";
        red->BattlerName = "Rojo";
        TVudMonsterItem* turned = Db.Monsters().Obtain(2);
        turned->Name = "Limo verde";
        turned->BattlerName = "Rojo";
        turned->Hue = 120;
        TVudMonsterItem* ghost = Db.Monsters().Obtain(3);
        ghost->Name = "Espectro";
        ghost->BattlerName = "Blanco";
        ghost->Transparent = 1;

        TVudMonGroupItem* troop = Db.MonGroups().Obtain(1);
        troop->Name = "Limos";
        addMember(*troop, 1, 80, 60);
        addMember(*troop, 2, 220, 100);

        TVudPlayerItem* aldo = Db.Players().Obtain(1);
        aldo->Name = "Aldo";
        aldo->SetCurve(0, 3, 77);
        aldo->SetCurve(1, 3, 12);
        Db.Players().Obtain(2)->Name = "Berta";
        addHero(1, 3);
        addHero(2, 7);
    }

    static TVudMonGroupMonsterItem* addMember(TVudMonGroupItem& troop, int monster, int x, int y)
    {
        TVudMonGroupMonsterItem* m = troop.Members.Append();
        m->MonsterID = monster, m->X = x, m->Y = y;
        return m;
    }
    void addHero(int hero, int level)
    {
        TVudTestPlayerItem* t = Db.System().BattleTestParty.Append();
        t->HeroID = hero, t->Level = level;
    }
    TBattleTestScene::TMaterialResolver resolver()
    {
        const QString root = Dir.path();
        return [root](const QString& folder, const QString& name) {
            const QString path = root + '/' + folder + '/' + name + QStringLiteral(".png");
            return QFile::exists(path) ? path : QString();
        };
    }

    QTemporaryDir Dir;
    TVudDataBase Db;
};

TEST_F(BattleScene, DrawsTheEnemiesAtTheirPositionsOnTheBackdrop)
{
    TBattleTestScene scene(Db, 1, resolver());
    scene.resize(640, 480);
    ASSERT_TRUE(scene.TroopFound());
    EXPECT_TRUE(scene.BackdropLoaded());
    EXPECT_TRUE(scene.Message().isEmpty());
    EXPECT_EQ(scene.TroopName(), QStringLiteral("Limos"));
    ASSERT_EQ(scene.Enemies().size(), 2u);
    EXPECT_EQ(scene.Enemies()[0].Rect, QRect(60, 45, 40, 30));
    EXPECT_EQ(scene.Enemies()[1].Rect, QRect(200, 85, 40, 30));
    EXPECT_EQ(scene.Enemies()[1].Name, QStringLiteral("Limo verde"));

    // Centres: the first enemy red, the second turned green by its hue; the transparent border
    // of each picture and the field between them show the backdrop.
    EXPECT_EQ(pixelAt(scene, {80, 60}), QColor(255, 0, 0));
    EXPECT_EQ(pixelAt(scene, {220, 100}), QColor(0, 255, 0));
    EXPECT_EQ(pixelAt(scene, {60, 45}), QColor(0, 0, 255));
    EXPECT_EQ(pixelAt(scene, {150, 120}), QColor(0, 0, 255));
    // Only the backdrop's top 160 rows are the field; the windows lie below.
    EXPECT_NE(pixelAt(scene, {160, 165}), QColor(0, 0, 255));
}

TEST_F(BattleScene, TheEnemysHueTurnsItsPicture)
{
    const struct {
        int Hue;
        QColor Centre;
    } cases[] = {
        {0, QColor(255, 0, 0)},   {120, QColor(0, 255, 0)}, {240, QColor(0, 0, 255)},
        {360, QColor(255, 0, 0)}, {480, QColor(0, 255, 0)}, {-120, QColor(0, 0, 255)},
    };
    Db.System().BattleTestBackdrop.clear(); // the plain field has no pure colours
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Hue);
        Db.Monsters().Obtain(2)->Hue = c.Hue;
        TBattleTestScene scene(Db, 1, resolver());
        EXPECT_EQ(scene.Frame().pixelColor(220, 100), c.Centre);
    }
}

TEST_F(BattleScene, SeeThroughEnemiesBlendAndHiddenOrMissingOnesAreLeftOut)
{
    TVudMonGroupItem* troop = Db.MonGroups().Obtain(1);
    addMember(*troop, 3, 160, 120);
    addMember(*troop, 1, 40, 130)->Invisible = 1;
    addMember(*troop, 42, 280, 130); // no such enemy
    TBattleTestScene scene(Db, 1, resolver());
    scene.resize(320, 240);

    ASSERT_EQ(scene.Enemies().size(), 3u);
    EXPECT_EQ(scene.Enemies()[2].MonsterID, 3);
    const QColor ghost = pixelAt(scene, {160, 120});
    EXPECT_GT(ghost.red(), 60);
    EXPECT_LT(ghost.red(), 220);
    EXPECT_EQ(ghost.blue(), 255);
    EXPECT_EQ(pixelAt(scene, {40, 130}), QColor(0, 0, 255));
    EXPECT_EQ(pixelAt(scene, {280, 130}), QColor(0, 0, 255));
}

TEST_F(BattleScene, OverlappingEnemiesFollowTheTroopEditorsOrder)
{
    // Same bottom edge: the lower member index stands in front.
    TVudMonGroupItem* troop = Db.MonGroups().Obtain(1);
    troop->Members.Clear();
    addMember(*troop, 1, 100, 80);
    addMember(*troop, 2, 110, 80);
    TBattleTestScene sameLine(Db, 1, resolver());
    EXPECT_EQ(pixelAt(sameLine, {105, 80}), QColor(255, 0, 0));
    // Lower on the screen is in front, whatever the index.
    troop->Members.At(0)->Y = 70;
    TBattleTestScene deeper(Db, 1, resolver());
    EXPECT_EQ(pixelAt(deeper, {105, 75}), QColor(0, 255, 0));
}

TEST(BattleDrawOrder, SortsByBottomEdgeThenDescendingIndex)
{
    auto sheet = [](int h) {
        auto s = std::make_shared<TVireoSheet>();
        s->SetSize(10, h);
        return s;
    };
    struct TCase {
        const char* Name;
        std::vector<std::pair<int, int>> YAndHeight; // member i
        std::vector<int> Order;
    };
    const TCase cases[] = {
        {"by bottom edge", {{100, 20}, {50, 20}, {80, 20}}, {1, 2, 0}},
        {"taller picture reaches lower", {{100, 10}, {90, 40}}, {0, 1}},
        {"equal bottoms: lower index last", {{100, 20}, {100, 20}, {100, 20}}, {2, 1, 0}},
        {"empty", {}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<TFieldEnemy> enemies;
        for (size_t i = 0; i < c.YAndHeight.size(); ++i) {
            TFieldEnemy e;
            e.MemberIndex = int(i);
            e.Y = c.YAndHeight[i].first;
            e.Sheet = sheet(c.YAndHeight[i].second);
            enemies.push_back(e);
        }
        EXPECT_EQ(BattleDrawOrder(enemies), c.Order);
    }
}

TEST_F(BattleScene, ShowsTheTestPartyWithNamesAndLevels)
{
    addHero(9, 80); // a hero that does not exist, with a level beyond the range
    TBattleTestScene scene(Db, 1, resolver());
    const auto& party = scene.Party();
    ASSERT_EQ(party.size(), 3u);
    EXPECT_EQ(party[0].Name, QStringLiteral("Aldo"));
    EXPECT_EQ(party[0].Level, 3);
    EXPECT_EQ(party[0].MaxHp, 77);
    EXPECT_EQ(party[0].MaxMp, 12);
    EXPECT_EQ(party[1].Name, QStringLiteral("Berta"));
    EXPECT_EQ(party[1].Level, 7);
    EXPECT_EQ(party[2].Name, QStringLiteral("?"));
    EXPECT_EQ(party[2].Level, 50);

    // Each hero's line carries light text; the row below the last hero stays plain window.
    auto hasText = [&](int top) {
        for (int y = top; y < top + 14; ++y)
            for (int x = 132; x < 312; ++x)
                if (scene.Frame().pixelColor(x, y).lightness() > 200)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasText(166));
    EXPECT_TRUE(hasText(183));
    EXPECT_TRUE(hasText(200));
    EXPECT_FALSE(hasText(217));
}

TEST_F(BattleScene, AnUnknownTroopShowsAMessageInsteadOfABattle)
{
    for (int id : {99, 0, -3}) {
        SCOPED_TRACE(id);
        TBattleTestScene scene(Db, id, resolver());
        scene.resize(640, 480);
        EXPECT_FALSE(scene.TroopFound());
        EXPECT_TRUE(scene.Enemies().empty());
        EXPECT_EQ(scene.Message(), QStringLiteral("No existe el grupo enemigo %1.").arg(id));
        EXPECT_NE(pixelAt(scene, {160, 80}), QColor(0, 0, 255)) << "the message window is drawn";
        QSignalSpy quit(&scene, &TBattleTestScene::Quit);
        QTest::keyClick(&scene, Qt::Key_Escape);
        EXPECT_EQ(quit.count(), 1);
    }
}

TEST_F(BattleScene, MissingOrBrokenMaterialsLeaveAPlainField)
{
    QFile broken(Dir.filePath(QStringLiteral("Monster/Roto.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\nthis is not a picture");
    broken.close();
    Db.Monsters().Obtain(1)->BattlerName = "Roto";
    Db.Monsters().Obtain(2)->BattlerName = "NoExiste";
    Db.System().BattleTestBackdrop = "NoExiste";

    for (bool withResolver : {true, false}) {
        SCOPED_TRACE(withResolver);
        TBattleTestScene scene(Db, 1, withResolver ? resolver() : TBattleTestScene::TMaterialResolver());
        EXPECT_FALSE(scene.BackdropLoaded());
        ASSERT_EQ(scene.Enemies().size(), 2u);
        EXPECT_TRUE(scene.Enemies()[0].Rect.isEmpty());
        EXPECT_TRUE(scene.Enemies()[1].Rect.isEmpty());
        EXPECT_EQ(scene.Party().size(), 2u);
    }
}

TEST_F(BattleScene, EscapeAndEnterQuit)
{
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        TBattleTestScene scene(Db, 1, resolver());
        QSignalSpy quit(&scene, &TBattleTestScene::Quit);
        QTest::keyClick(&scene, Qt::Key_Down);
        EXPECT_EQ(quit.count(), 0);
        QTest::keyClick(&scene, key);
        EXPECT_EQ(quit.count(), 1);
    }
}

} // namespace
