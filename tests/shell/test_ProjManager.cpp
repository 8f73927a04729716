#include "Materials.h"
#include "ProgramFolder.h"
#include "ProjManager.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"
#include "TestSandbox.h"
#include "VudError.h"
#include "storage/LD_Map.h"
#include "storage/LD_MapTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
class ProjectManagerTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        base = Path("projects/");
        QDir().mkpath(base);
        WriteProjectBasePath(base);
        WriteTemplates(Path("program"));
        ASSERT_TRUE(ResetScratchFolder());
    }
    // What the new-project dialog does before the manager runs.
    void Create(TProjectManager& manager, const QString& name, const QString& title)
    {
        ASSERT_TRUE(QDir().mkdir(base + name));
        manager.CreateProject(name, title);
    }
    QString base;
};

TEST_F(ProjectManagerTest, CreatesTheProjectTheWayTheMainWindowFillsIt)
{
    TEditorHarness editor;
    TProjectManager manager(nullptr);
    editor.Connect(manager);
    Create(manager, "Proyecto1", QStringLiteral("La Búsqueda"));
    ASSERT_TRUE(manager.Opened());
    const QString p = base + "Proyecto1/";
    EXPECT_EQ(CurrentProjectFolder(), p);
    EXPECT_EQ(QDir::currentPath() + '/', p);
    EXPECT_EQ(ReadOpenedProjectFolder(), "Proyecto1");
    for (const QString& m : MaterialFolders())
        EXPECT_TRUE(QFileInfo(p + m).isDir()) << m.toStdString();
    EXPECT_TRUE(QFileInfo(p + "TFPLAY.exe").isExecutable()) << "template had no exec bit";
    EXPECT_TRUE(QFileInfo(p + "TFPLAY.ldb").isFile());
    EXPECT_EQ(ReadGameTitle(p), QStringLiteral("La Búsqueda"));
    EXPECT_FALSE(QFileInfo::exists(ScratchFolderPath() + "Map0001.lmu")) << "work copy committed";

    // Read back what a later start would read.
    TVudMapTree tree;
    tree.LoadFromFile();
    ASSERT_NE(tree.Find(0), nullptr);
    EXPECT_EQ(tree.Find(0)->Name, "La B\xFAsqueda");
    EXPECT_EQ(tree.Find(0)->NodeType, ntRoot);
    const TVudMapTreeItem* node = tree.Find(1);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Name, "MAP0001");
    EXPECT_EQ(node->NodeType, ntMap);
    EXPECT_EQ(node->ParentID, 0);
    EXPECT_EQ(node->MusicType, 1);
    EXPECT_EQ(node->BattleBackType, 1);
    EXPECT_EQ(node->Teleport + node->Escape + node->Save, 3);
    EXPECT_EQ(node->EncounterSteps, 25);
    EXPECT_FALSE(node->Modified);
    EXPECT_EQ(tree.ActiveMapID, 1);
    TVudMap map;
    map.LoadFromFileStrict(ToStoragePath(p + "Map0001.lmu"));
    EXPECT_EQ(map.Width, 100);
    EXPECT_EQ(map.Height, 100);
}

TEST_F(ProjectManagerTest, MissingTemplateFailsAndLeavesNoFolder)
{
    for (const char* missing : {"TFPLAY.exe.dat", "TFPLAY.ldb.dat"}) {
        WriteTemplates(Path("program"));
        ASSERT_TRUE(QFile::remove(Path("program/") + missing));
        TEditorHarness editor;
        TProjectManager manager(nullptr);
        editor.Connect(manager);
        try {
            Create(manager, "Nuevo", "T");
            ADD_FAILURE() << "created without " << missing;
        } catch (const EVudError& e) {
            EXPECT_STREQ(e.what(), "No se pudo crear el proyecto.");
        }
        EXPECT_FALSE(QFileInfo::exists(base + "Nuevo")) << missing;
        EXPECT_FALSE(manager.Opened());
        EXPECT_EQ(CurrentProjectFolder(), "");
        EXPECT_EQ(manager.ProjectFolderName(), "");
        EXPECT_EQ(QDir::currentPath() + '/', base);
    }
}

TEST_F(ProjectManagerTest, FailureInsideOpeningAlsoUndoesTheCreation)
{
    TProjectManager manager(nullptr);
    manager.OnCreateProject = [](TProjectManager&, const QString&, bool&) {};
    manager.OnOpenProject = [](TProjectManager&, bool&) { throw EVudError("roto"); };
    ASSERT_TRUE(QDir().mkdir(base + "P"));
    EXPECT_THROW(manager.CreateProject("P", "T"), EVudError);
    EXPECT_FALSE(QFileInfo::exists(base + "P"));
    // An open that reports failure without an error is a failed creation too.
    manager.OnOpenProject = [](TProjectManager&, bool& ok) { ok = false; };
    ASSERT_TRUE(QDir().mkdir(base + "P"));
    EXPECT_THROW(manager.CreateProject("P", "T"), EVudError);
    EXPECT_FALSE(QFileInfo::exists(base + "P"));
}

TEST_F(ProjectManagerTest, NamesThatAreNoSingleFolderAreNeverUsed)
{
    WriteFile("projects/keep.txt");
    TProjectManager manager(nullptr);
    manager.OnCreateProject = [](TProjectManager&, const QString&, bool& ok) { ok = false; };
    bool opened = false;
    manager.OnOpenProject = [&](TProjectManager&, bool& ok) { ok = opened = true; };
    for (const char* name : {"", ".", "..", "../projects", "a/b"}) {
        EXPECT_THROW(manager.CreateProject(name, "T"), EVudError) << name;
        manager.OpenProject(name);
    }
    EXPECT_FALSE(opened);
    EXPECT_TRUE(QFileInfo::exists(base + "keep.txt")) << "the base folder was never deleted";
}

TEST_F(ProjectManagerTest, ReopensAfterExitButNotAfterClose)
{
    MakeProject("Juego", "J");
    TEditorHarness editor;
    {
        TProjectManager first(nullptr);
        editor.Connect(first);
        first.OpenProject("Juego");
        ASSERT_TRUE(first.Opened());
        // The editor ends without closing the project.
    }
    {
        TProjectManager second(nullptr);
        editor.Connect(second);
        second.ReopenLastProject();
        EXPECT_TRUE(second.Opened());
        EXPECT_EQ(second.ProjectFolderName(), "Juego");
        second.CloseProject();
        EXPECT_EQ(editor.Closes, 1);
        EXPECT_EQ(ReadOpenedProjectFolder(), "");
        EXPECT_EQ(CurrentProjectFolder(), "");
        EXPECT_EQ(QDir::currentPath() + '/', base);
    }
    TProjectManager third(nullptr);
    editor.Connect(third);
    third.ReopenLastProject();
    EXPECT_FALSE(third.Opened());
}

TEST_F(ProjectManagerTest, FailedOpenPassesTheErrorOnAndStaysClosed)
{
    MakeProject("Roto", "R");
    TProjectManager manager(nullptr);
    manager.OnOpenProject = [](TProjectManager&, bool&) { throw EVudError("Error leyendo flujo"); };
    EXPECT_THROW(manager.OpenProject("Roto"), EVudError);
    EXPECT_FALSE(manager.Opened());
    EXPECT_EQ(CurrentProjectFolder(), "");
    EXPECT_EQ(QDir::currentPath() + '/', base);
    // Reopening at start-up swallows the same failure.
    WriteOpenedProjectFolder("Roto");
    manager.ReopenLastProject();
    EXPECT_FALSE(manager.Opened());
    // A folder that is gone: nothing happens, no error.
    manager.OpenProject("Desaparecido");
    EXPECT_FALSE(manager.Opened());
}

TEST_F(ProjectManagerTest, ListsOnlyFoldersWithTheRunTime)
{
    WriteFile("projects/zeta/TFPLAY.exe");
    WriteFile("projects/zeta/TFPLAY.ini", "[TFPLAY]\r\nGameTitle=Final\r\n");
    WriteFile("projects/Alfa/TFPLAY.exe");
    WriteFile("projects/beta/TFPLAY.ldb");
    WriteFile("projects/.oculto/TFPLAY.exe");
    WriteFile("projects/TFPLAY.exe");
    const QList<TProjectEntry> list = ListProjects(base);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].Folder, "Alfa");
    EXPECT_EQ(list[0].Title, "Untitled");
    EXPECT_EQ(list[1].Folder, "zeta");
    EXPECT_EQ(list[1].Title, "Final");
}

TEST_F(ProjectManagerTest, ProposesTheFirstFreeProjectName)
{
    EXPECT_EQ(ProposeProjectFolderName(base), "Proyecto1");
    QDir().mkdir(base + "Proyecto2");
    EXPECT_EQ(ProposeProjectFolderName(base), "Proyecto1");
    QDir().mkdir(base + "Proyecto1");
    EXPECT_EQ(ProposeProjectFolderName(base), "Proyecto3");
}

TEST(ProjectFolderNames, ForbiddenCharacters)
{
    for (const char* bad : {"a\\b", "a/b", "a:b", "a?b", "a*b", "a<b", "a>b", "a|b", "a\"b"})
        EXPECT_TRUE(HasForbiddenCharacter(bad)) << bad;
    for (const char* good : {"Proyecto 1", "Año-2", ".x", "a.b"})
        EXPECT_FALSE(HasForbiddenCharacter(QString::fromUtf8(good))) << good;
}
} // namespace
