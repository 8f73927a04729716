// The real run time on a project made the way the editor makes one: the program the project got
// as TFPLAY.exe, started like the editor starts it, and its map scene driven in process.
#include "GameProject.h"
#include "GameWindow.h"
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

    TRun run(const QStringList& args, const QString& exitAfterMs = QStringLiteral("400"))
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("SDL_AUDIODRIVER", "dummy");
        env.insert("XDG_CONFIG_HOME", Path("childconfig"));
        env.insert("TFPLAY_EXIT_AFTER_MS", exitAfterMs);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(project);
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
        {{"TestPlay", "HideTitle", "Window"}, "map 0001 (30x20), hero at (8,11), 3 events"},
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

TEST_F(MapSceneTest, ArrowKeysWalkCellByCellAndEventsWithTheHeroBlock)
{
    TMapScene scene(game);
    scene.show();
    QTest::keyClick(&scene, Qt::Key_Left);
    EXPECT_EQ(scene.World().Hero(), (TCellPos{7, 11}));
    QTRY_VERIFY_WITH_TIMEOUT(!scene.World().Moving(), 2000);
    // The chest (event 2) stands at (6, 11) "with the hero".
    QTest::keyClick(&scene, Qt::Key_Left);
    EXPECT_EQ(scene.World().Hero(), (TCellPos{7, 11}));
    EXPECT_EQ(scene.World().Facing(), TDir::Left);
    // A held key keeps walking: up three cells and no further than released.
    QTest::keyPress(&scene, Qt::Key_Up);
    QTRY_VERIFY_WITH_TIMEOUT(scene.World().Hero().Y <= 9, 3000);
    QTest::keyRelease(&scene, Qt::Key_Up);
    QTRY_VERIFY_WITH_TIMEOUT(!scene.World().Moving(), 2000);
    const int y = scene.World().Hero().Y;
    QTest::qWait(100);
    EXPECT_EQ(scene.World().Hero().Y, y);
    EXPECT_EQ(scene.World().Hero().X, 7);
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
    QTRY_VERIFY_WITH_TIMEOUT(window.MapScene() != nullptr, 2000);
    EXPECT_EQ(ready.last().at(0).toString() + '\n', line("map 0001 (30x20), hero at (8,11), 3 events"));
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(window.MapScene(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}
