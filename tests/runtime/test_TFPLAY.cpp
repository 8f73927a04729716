// The real run time on a project made the way the editor makes one: the program the project got
// as TFPLAY.exe, started like the editor starts it, and its map scene driven in process.
#include "AudioCoordinator.h"
#include "GameProject.h"
#include "GameWindow.h"
#include "LD_Ground.h"
#include "MapScene.h"
#include "RegistryStore.h"
#include "SampleProject.h"
#include "Settings.h"
#include "TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct TRun {
    int Status = -1;
    QString Out, Err;
};

class TfplayTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        project = Path("Mi Proyecto") + '/';
        QString error;
        ASSERT_TRUE(MakeSampleProject(project, TF_PROGRAM_DIR, error)) << error.toStdString();
        // The game reads the editor's settings from the config folder it is given.
        RegistryStore::SetRootForTests(Path("childconfig/Taleforge/registry"));
        WriteRuntimePackagePathValue(QStringLiteral(TF_PROGRAM_DIR "/RTP"));
        RegistryStore::SetRootForTests(Path("registry"));
        WriteRuntimePackagePathValue(QStringLiteral(TF_PROGRAM_DIR "/RTP"));
    }

    TRun run(const QStringList& args, const QString& exitAfterMs = QStringLiteral("400"), bool display = true,
             const QString& workingFolder = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        if (!display)
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                env.remove(name);
        env.insert("SDL_AUDIODRIVER", "dummy");
        env.insert("XDG_CONFIG_HOME", Path("childconfig"));
        env.insert("TFPLAY_EXIT_AFTER_MS", exitAfterMs);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(workingFolder.isEmpty() ? project : workingFolder);
        p.start(project + "TFPLAY.exe", args);
        TRun r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.Status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.Out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.Err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    QString line(const QString& rest) const
    {
        return QStringLiteral("TFPLAY: project \"%1\", %2\n").arg(project, rest);
    }

    QString project;
};
} // namespace

TEST_F(TfplayTest, ThePlayedProjectReportsItsStartAndEndsWithStatusZero)
{
    const struct {
        QStringList Args;
        QString Line;
    } cases[] = {
        {{"TestPlay", "HideTitle", "Window"}, "map 0001 (30x20), hero at (8,11), 4 events"},
        {{"TestPlay", "ShowTitle", "Window"}, "title screen"},
        {{"BattleTest", "HideTitle", "Window", "1"}, "battle test, troop 0001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        const TRun r = run(c.Args);
        EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
        EXPECT_EQ(r.Out, line(c.Line));
    }
}

TEST_F(TfplayTest, StartedElsewhereByAShortcutItPlaysTheFolderItLiesIn)
{
    QDir().mkpath(Path("elsewhere"));
    const TRun r = run({}, "400", true, Path("elsewhere"));
    EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, line("title screen"));
}

TEST_F(TfplayTest, AFileThatCannotBeLoadedIsNamedAndEndsWithStatusOne)
{
    const struct {
        const char* File;
        QByteArray Content;  // empty: the file is removed
    } cases[] = {
        {"TFPLAY.ldb", {}},
        {"TFPLAY.ldb", "\x0aVudDataBase\x0b\x7f"},
        {"TFPLAY.lmt", {}},
        {"Map0001.lmu", {}},
        {"Map0001.lmu", "\x0aVudMapUnit\x01"},
    };
    QDir().mkpath(Path("keep"));
    for (const char* f : {"TFPLAY.ldb", "TFPLAY.lmt", "Map0001.lmu"})
        ASSERT_TRUE(QFile::copy(project + f, Path("keep/") + f));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.File) + (c.Content.isEmpty() ? " missing" : " broken"));
        QFile::remove(project + c.File);
        if (!c.Content.isEmpty()) {
            QFile f(project + c.File);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.Content);
        }
        const TRun r = run({"TestPlay", "HideTitle", "Window"}, "5000");
        EXPECT_EQ(r.Status, 1);
        EXPECT_TRUE(r.Out.isEmpty()) << r.Out.toStdString();
        EXPECT_TRUE(r.Err.contains(QStringLiteral("No se puede cargar el archivo %1").arg(c.File)))
            << r.Err.toStdString();
        QFile::remove(project + c.File);
        ASSERT_TRUE(QFile::copy(Path("keep/") + c.File, project + c.File));
    }
}

TEST_F(TfplayTest, WithoutADisplayItSaysSoInsteadOfFailingInQt)
{
    const TRun r = run({"TestPlay", "HideTitle", "Window"}, "5000", false);
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(r.Err.contains("no hay pantalla")) << r.Err.toStdString();
    QFile::remove(project + "TFPLAY.ldb");
    const TRun broken = run({"TestPlay", "HideTitle", "Window"}, "5000", false);
    EXPECT_EQ(broken.Status, 1);
    EXPECT_TRUE(broken.Err.contains("No se puede cargar el archivo TFPLAY.ldb")) << broken.Err.toStdString();
}

TEST_F(TfplayTest, ACommandLineItDoesNotUnderstandEndsWithStatusTwo)
{
    for (const QStringList& args : {QStringList{"TestPlay"}, QStringList{"Play", "HideTitle", "Window"},
                                    QStringList{"BattleTest", "HideTitle", "Window"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const TRun r = run(args);
        EXPECT_EQ(r.Status, 2);
        EXPECT_TRUE(r.Out.isEmpty());
        EXPECT_TRUE(r.Err.contains("uso: TFPLAY.exe")) << r.Err.toStdString();
    }
}

// Records what the game asks of the sound library.
class TRecordingAudio : public TAudioControl {
public:
    explicit TRecordingAudio(QStringList& log) : FLog(log) {}
    void OpenMidi() override {}
    void CloseMidi() override {}
    void OpenWaveVoices() override {}
    void PlayMusic(const std::string& file) override { FLog << QString::fromStdString(file); }
    void StopMusic() override { FLog << "stop"; }
    void FadeInMusic(int) override {}
    void FadeOutMusic(int) override {}
    void SetMusicVolume(int v) override { FLog << QStringLiteral("volume %1").arg(v); }
    void SetMusicTempo(int) override {}
    void SetMusicBalance(int) override {}
    void PlaySoundEffect(const std::string&, int, int, int) override {}
    void StopSoundEffects() override {}

private:
    QStringList& FLog;
};

// The recording for one test, taken away however the test ends: a later test must never reach
// a log that is gone.
class TRecordingScope {
public:
    explicit TRecordingScope(QStringList& log) { InstallAudio(std::make_unique<TRecordingAudio>(log)); }
    ~TRecordingScope() { InstallAudio(nullptr); }
    TRecordingScope(const TRecordingScope&) = delete;
    TRecordingScope& operator=(const TRecordingScope&) = delete;
};

class MapSceneTest : public TfplayTest {
protected:
    void SetUp() override
    {
        TfplayTest::SetUp();
        LoadGameProject(game, project, false);
        InstallGameMaterials(project);
    }
    TGameProject game;
};

TEST_F(MapSceneTest, ShowsThePaintedMapAndTheHeroWithTheCameraHeldAtTheEdge)
{
    TMapScene scene(game);
    EXPECT_TRUE(scene.ChipSetLoaded());
    EXPECT_EQ(scene.World().Hero(), (TCellPos{TSampleProject::StartX, TSampleProject::StartY}));
    EXPECT_EQ(scene.EventCount(), TSampleProject::EventCount);
    const QImage before = scene.Frame();
    ASSERT_EQ(before.size(), QSize(320, 240));
    EXPECT_EQ(scene.CameraX(), 0);   // hero at 8: the left edge holds
    EXPECT_EQ(scene.CameraY(), 64);  // hero at 11 of 20 rows: centred
    // The hero's picture stands on its cell: move it away and those pixels change.
    const QRect heroRect(8 * 16 - 4, 11 * 16 - 16 - 64, 24, 32);
    scene.World().PlaceHero({20, 17});
    const QImage after = scene.Frame();
    EXPECT_NE(before.copy(heroRect), after.copy(heroRect));
    EXPECT_GT(scene.CameraX(), 0);
}

TEST_F(MapSceneTest, OnAWrappingMapSmallerThanTheScreenTheHeroStandsWhereTheCameraLooks)
{
    // A hand-made file may hold a map smaller than the screen; wrapped, it repeats across it.
    game.Map.SetWidth(10);
    game.Map.SetHeight(8);
    game.Map.SetScrollType(3);
    auto frameWithHero = [&](const std::string& charSet) {
        game.DataBase->Players().Find(LeadingHeroID(*game.DataBase))->CharSetName = charSet;
        TMapScene scene(game);
        scene.World().PlaceHero({5, 4});
        return scene.Frame();
    };
    const std::string heroSheet =
        game.DataBase->Players().Find(LeadingHeroID(*game.DataBase))->CharSetName;
    ASSERT_FALSE(heroSheet.empty());
    const QImage without = frameWithHero("");
    const QImage with = frameWithHero(heroSheet);
    // The camera is centred on the hero on both axes.
    const QRect heroRect(160 - 8 - 4, 120 - 8 - 16, 24, 32);
    EXPECT_NE(without.copy(heroRect), with.copy(heroRect));
}

TEST_F(MapSceneTest, DeepGroundHidesTheLowerThirdOfTheHero)
{
    // Lower tile index 10 of the field tile set is forest (terrain 2).
    game.Map.SetCell(0, TSampleProject::StartX, TSampleProject::StartY, 4200);
    TVudGroundItem* forest = game.DataBase->Grounds().Find(2);
    ASSERT_NE(forest, nullptr);
    forest->CharTransparency = 0;
    const QImage plain = TMapScene(game).Frame();
    forest->CharTransparency = 1;
    const QImage covered = TMapScene(game).Frame();
    const int left = TSampleProject::StartX * 16 - 4, top = TSampleProject::StartY * 16 - 16 - 64;
    EXPECT_EQ(plain.copy(left, top, 24, 21), covered.copy(left, top, 24, 21));
    EXPECT_NE(plain.copy(left, top + 21, 24, 11), covered.copy(left, top + 21, 24, 11));
}

TEST_F(MapSceneTest, ArrowKeysWalkCellByCellAndEventsWithTheHeroBlock)
{
    TMapScene scene(game);
    scene.show();
    QTest::keyClick(&scene, Qt::Key_Left);
    EXPECT_EQ(scene.World().Hero(), (TCellPos{7, 11}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !scene.World().Moving(); }, 2000));
    // The chest (event 2) stands at (6, 11) "with the hero".
    QTest::keyClick(&scene, Qt::Key_Left);
    EXPECT_EQ(scene.World().Hero(), (TCellPos{7, 11}));
    EXPECT_EQ(scene.World().Facing(), TDir::Left);
    // A held key keeps walking: up three cells and no further than released.
    QTest::keyPress(&scene, Qt::Key_Up);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scene.World().Hero().Y <= 9; }, 3000));
    QTest::keyRelease(&scene, Qt::Key_Up);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !scene.World().Moving(); }, 2000));
    const int y = scene.World().Hero().Y;
    QTest::qWait(100);
    EXPECT_EQ(scene.World().Hero().Y, y);
    EXPECT_EQ(scene.World().Hero().X, 7);
}

TEST_F(MapSceneTest, TheDecisionKeyShowsTheMessagesOfTheEventInFront)
{
    TMapScene scene(game);
    scene.show();
    auto walk = [&](Qt::Key key) {
        QTest::keyClick(&scene, key);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !scene.World().Moving(); }, 2000));
    };
    QTest::keyClick(&scene, Qt::Key_Return);
    EXPECT_FALSE(scene.Talking()) << "nobody in front of the hero";
    walk(Qt::Key_Up);
    walk(Qt::Key_Right);
    walk(Qt::Key_Right);  // the villager at (10, 10) stands in the way
    ASSERT_EQ(scene.World().Hero(), (TCellPos{9, 10}));
    QTest::keyClick(&scene, Qt::Key_Return);
    EXPECT_EQ(scene.MessageLines(),
              (QStringList{QStringLiteral("¡Hola, viajero!"), QStringLiteral("El faro está al otro lado del lago.")}));
    QTest::keyClick(&scene, Qt::Key_Left);
    EXPECT_EQ(scene.World().Hero(), (TCellPos{9, 10})) << "no walking while a message shows";
    QTest::keyClick(&scene, Qt::Key_Space);
    EXPECT_EQ(scene.MessageLines(), QStringList{"Buen viaje."});
    QTest::keyClick(&scene, Qt::Key_Return);
    EXPECT_FALSE(scene.Talking());
    walk(Qt::Key_Left);
    EXPECT_EQ(scene.World().Hero(), (TCellPos{8, 10}));
}

TEST_F(MapSceneTest, ATeleportUnderfootTakesThePartyToItsMapAndABrokenOneLeavesItThere)
{
    // A teleport to a map the project does not have, on the road just below the hero, and a
    // copy of the sample's own teleport (made like the editor makes one) to the right of it.
    TVudEventItem* broken = game.Map.Events.Insert(5);
    broken->X = 8;
    broken->Y = 12;
    broken->Pages.At(0)->Trigger = 1;
    broken->Pages.At(0)->Script.Lines = {{10810, 0, "", {77, 1, 1}}, {0, 0}};
    TVudEventItem* door = game.Map.Events.Insert(6);
    door->X = 9;
    door->Y = 12;
    door->Pages.At(0)->Assign(*game.Map.Events.Find(4)->Pages.At(0));
    for (int id : {1, 2}) {
        game.Tree.Find(id)->MusicType = 2;
        game.Tree.Find(id)->Music.Name = "Campo";
    }
    QStringList played;
    TRecordingScope recording(played);
    TPlayArgs args;
    args.Mode = TPlayArgs::TMode::TestPlay;
    args.ShowTitle = args.FullScreen = false;
    TGameWindow window(game, args);
    QSignalSpy ready(&window, &TGameWindow::SceneReady);
    window.Start();
    window.show();
    TMapScene* first = window.MapScene();
    auto walk = [&](Qt::Key key) {
        QTest::keyClick(window.MapScene(), key);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.MapScene()->World().Moving(); }, 2000));
        QTest::qWait(50);
    };
    walk(Qt::Key_Down);
    EXPECT_EQ(window.MapScene(), first);
    EXPECT_EQ(first->World().Hero(), (TCellPos{8, 12}));
    // The broken teleport darkens the screen before it fails; only then does the party go on.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QTest::keyClick(window.MapScene(), Qt::Key_Right);
            return first->World().Hero().X == 9;
        },
        2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return game.MapID == 2; }, 2000));
    ASSERT_NE(window.MapScene(), nullptr);
    EXPECT_EQ(window.MapScene()->World().Hero(), (TCellPos{5, 7}));
    EXPECT_EQ(window.MapScene()->World().Facing(), TDir::Right) << "arriving the way it went";
    EXPECT_EQ(ready.last().at(0).toString() + '\n', line("map 0002 (20x15), hero at (5,7), 1 events"));
    InstallAudio(nullptr);
    EXPECT_EQ(played.filter(".mid").size(), 1) << "the same music plays on across the teleport";
}

TEST_F(MapSceneTest, TheWindowGoesFromTheTitleToTheMapAndEscCloses)
{
    TPlayArgs args;
    args.Mode = TPlayArgs::TMode::TestPlay;
    args.FullScreen = false;
    TGameWindow window(game, args);
    QSignalSpy ready(&window, &TGameWindow::SceneReady);
    window.Start();
    window.show();
    ASSERT_EQ(ready.count(), 1);
    EXPECT_EQ(ready.at(0).at(0).toString() + '\n', line("title screen"));
    EXPECT_EQ(window.Scene()->objectName(), "TitleScene");
    EXPECT_EQ(window.windowTitle(), "La Pradera");
    QTest::keyClick(window.Scene(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.MapScene() != nullptr; }, 2000));
    EXPECT_EQ(ready.last().at(0).toString() + '\n', line("map 0001 (30x20), hero at (8,11), 4 events"));
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(window.MapScene(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());

    // "Salir" on the title ends the game as well.
    TGameWindow again(game, args);
    again.Start();
    again.show();
    QTest::keyClick(again.Scene(), Qt::Key_Down);
    QTest::keyClick(again.Scene(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !again.isVisible(); }, 2000));
    EXPECT_EQ(again.MapScene(), nullptr);
}

TEST(MapMusic, AMapPlaysItsOwnMusicOrItsParentsUpTheTree)
{
    TVudMapTree tree;
    tree.AddMap(0, 0)->NodeType = ntRoot;
    auto add = [&](int parent, int id, int type, const char* name) {
        TVudMapTreeItem* node = tree.AddMap(parent, id);
        node->NodeType = ntMap;
        node->MusicType = uint8_t(type);
        node->Music.Name = name;
    };
    add(0, 1, 2, "Campo");
    add(1, 2, 0, "");
    add(2, 3, 1, "Campo");
    add(3, 4, 0, "");
    add(1, 5, 2, "(OFF)");
    add(0, 6, 0, "");
    const struct {
        int Map;
        const char* Music;  // empty: none
    } cases[] = {{1, "Campo"}, {2, "Campo"}, {3, ""}, {4, ""}, {5, ""}, {6, ""}, {99, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Map);
        const TVudMusic* music = MapMusic(tree, c.Map);
        EXPECT_EQ(music ? music->Name : std::string(), c.Music);
    }
}

TEST_F(MapSceneTest, TheTitleAndTheMapPlayTheirMusicFromTheRunTimePackage)
{
    QStringList played;
    TRecordingScope recording(played);
    TVudMapTreeItem* node = game.Tree.Find(1);
    node->MusicType = 2;
    node->Music.Name = "Campo";
    node->Music.Volume = 80;
    {
        TPlayArgs args;
        TGameWindow window(game, args);
        window.Start();
        QTest::keyClick(window.Scene(), Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.MapScene() != nullptr; }, 2000));
    }
    InstallAudio(nullptr);
    const QString rtp = QStringLiteral(TF_PROGRAM_DIR "/RTP/Music/");
    EXPECT_EQ(played.filter(".mid"), (QStringList{rtp + "Titulo.mid", rtp + "Campo.mid"}));
    EXPECT_TRUE(played.contains("volume 80"));
    EXPECT_EQ(played.last(), "stop") << "the music ends with the game";
}

TEST_F(MapSceneTest, WaterMovesAndThePanoramaShowsWhereTilesLeaveRoom)
{
    // The lake's left part is on screen at rows 4..8 (camera at 0, 64).
    const QRect lake(14 * 16, 0, 96, 80);
    {
        TMapScene scene(game);
        const QImage first = scene.Frame();
        scene.show();
        QTest::qWait(700);
        EXPECT_NE(first.copy(lake), scene.Frame().copy(lake));
    }
    const QPoint gap(9 * 16 + 8, 14 * 16 + 8 - 64);
    game.Map.SetCell(0, 9, 14, 4600);  // an ID that draws nothing
    TMapScene plain(game);
    EXPECT_EQ(plain.Frame().pixel(gap), qRgb(0, 0, 0));
    game.Map.UsePanorama = 1;
    game.Map.PanoramaName = "Cielo";
    TMapScene withSky(game);
    EXPECT_NE(withSky.Frame().pixel(gap), qRgb(0, 0, 0));
}
