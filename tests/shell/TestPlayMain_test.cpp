// "Prueba" (F9) in the main window: a painted map is saved after the question, and the project's
// own TFPLAY.exe runs in the project folder with the menu's two flags.
#include "MainUnit.h"
#include "MainUnitFixture.h"
#include "MapEditor.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "ProjManager.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"
#include "TestPlayFixture.h"
#include "storage/LD_Map.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWindow>

namespace {
constexpr std::uint16_t kGrass = 5010;

class TestPlayMainTest : public TestPlayTest {
protected:
    void SetUp() override
    {
        TestPlayTest::SetUp();
        base = Path("mis proyectos/");
        QDir().mkpath(base);
        WriteProjectBasePath(base);
        WriteTemplates(Path("program"));
        ASSERT_TRUE(ResetScratchFolder());
    }
    QString base;
};
} // namespace

TEST_F(TestPlayMainTest, F9SavesThePaintedMapAndRunsTheProjectsGame)
{
    TFormVudMain w(nullptr, false);
    w.show();
    w.UpdateActions();
    EXPECT_FALSE(w.Action_GameTestPlay->isEnabled()) << "no project open";
    CreateProjectThroughDialog(w, QStringLiteral("Prueba"));
    ASSERT_TRUE(w.ProjectManager().Opened());
    project = CurrentProjectFolder();
    ASSERT_TRUE(QFile::remove(project + "TFPLAY.exe"));
    InstallFakeGame();
    w.UpdateActions();
    EXPECT_TRUE(w.Action_GameTestPlay->isEnabled());

    w.MapMode(1);
    w.MapEditor()->Brush(w.MapEditor()->EditMode()).SetSingle(kGrass);
    PaintCellWithMouse(w, {3, 4});
    ASSERT_TRUE(w.MapsChanged());
    w.Action_GameShowTitle->setChecked(true);
    w.Action_GameFullScreen->setChecked(false);

    ScopedMessageService boxes;
    boxes.fake.answers = {MessageAnswer::Yes};
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F9);

    ASSERT_EQ(boxes.fake.shown.size(), 1);
    EXPECT_EQ(boxes.fake.shown[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(w.MapsChanged());
    TVudMap saved;
    saved.LoadFromFileStrict(ToStoragePath(project + "Map0001.lmu"));
    EXPECT_EQ(saved.LowerLayer.Get(3, 4), kGrass);

    const TFakeGameRecord record = Record();
    ASSERT_TRUE(record.Ran);
    EXPECT_EQ(record.Arguments,
              QStringList({project + "TFPLAY.exe", "TestPlay", "ShowTitle", "Window"}));
    EXPECT_EQ(QFileInfo(record.WorkingFolder).canonicalFilePath(), QFileInfo(project).canonicalFilePath());
}

TEST_F(TestPlayMainTest, EditorStaysOpenWhileTheGameRuns)
{
    TFormVudMain w(nullptr, false);
    w.show();
    CreateProjectThroughDialog(w, QStringLiteral("Prueba"));
    ASSERT_TRUE(w.ProjectManager().Opened());
    project = CurrentProjectFolder();
    ASSERT_TRUE(QFile::remove(project + "TFPLAY.exe"));
    InstallFakeGame();
    HoldGame();

    ScopedMessageService boxes;
    bool editorStayed = false;
    WhenModalShows([&](QWidget*) {
        // What the window system's close button and Alt+F4 on the editor amount to.
        w.windowHandle()->close();
        QTest::qWait(100);
        editorStayed = w.isVisible() && w.ProjectManager().Opened();
        ReleaseGame();
    });
    w.Action_GameTestPlay->trigger();
    EXPECT_TRUE(editorStayed);
    EXPECT_TRUE(Record().Ran);
    EXPECT_TRUE(boxes.fake.shown.isEmpty());
}
