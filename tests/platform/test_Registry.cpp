#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "TestSandbox.h"

#include <QDir>
#include <QFile>

namespace {
using RegistryTest = SandboxTest;

TEST_F(RegistryTest, StoresValuesPerKeyUnderTheTestRoot)
{
    RegistryStore editor(RegistryStore::Hive::User, kEditorKey);
    RegistryStore shared(RegistryStore::Hive::User, kSharedKey);
    RegistryStore machine(RegistryStore::Hive::Machine, kEditorKey);
    editor.WriteString("ProjectBasePath", "/a/b/");
    shared.WriteBinary("FormVudMain_Placement", QByteArray("\x00\x01\xFF", 3));
    EXPECT_EQ(editor.ReadString("ProjectBasePath"), "/a/b/");
    EXPECT_EQ(shared.ReadBinary("FormVudMain_Placement"), QByteArray("\x00\x01\xFF", 3));
    EXPECT_FALSE(machine.ValueExists("ProjectBasePath"));
    EXPECT_TRUE(editor.FilePath().startsWith(Path("registry/user/")));
    EXPECT_TRUE(QFile::exists(Path("registry/user/Software/Halvane/Taleforge.ini")));
    EXPECT_EQ(editor.ReadString("Missing", "def"), "def");
    editor.DeleteValue("ProjectBasePath");
    EXPECT_FALSE(editor.ValueExists("ProjectBasePath"));
}

TEST_F(RegistryTest, BooleansAreZeroOneStringsReadAsIntegers)
{
    RegistryStore key(RegistryStore::Hive::User, kEditorKey);
    key.WriteBool("FullScreenFlag", false);
    EXPECT_EQ(key.ReadString("FullScreenFlag"), "0");
    EXPECT_FALSE(key.ReadBool("FullScreenFlag", true));
    key.WriteString("FullScreenFlag", "7"); // anything but 0 is true
    EXPECT_TRUE(key.ReadBool("FullScreenFlag", false));
    key.WriteString("FullScreenFlag", "junk");
    EXPECT_TRUE(key.ReadBool("FullScreenFlag", true));
    EXPECT_TRUE(ReadFullScreenFlag()) << "missing or unreadable: default true";
    EXPECT_FALSE(ReadShowTitleFlag());
    WriteShowTitleFlag(true);
    EXPECT_TRUE(ReadShowTitleFlag());
}

TEST_F(RegistryTest, KeyPathCannotLeaveTheRoot)
{
    RegistryStore evil(RegistryStore::Hive::User, "..\\..\\escape");
    evil.WriteString("A", "1");
    EXPECT_TRUE(evil.FilePath().startsWith(Path("registry/user/")));
}

TEST_F(RegistryTest, EditorValuesAndDefaults)
{
    EXPECT_EQ(ReadProjectBasePath(), ProgramFolder()) << "default: the program folder";
    WriteProjectBasePath(Path("base"));
    EXPECT_EQ(ReadProjectBasePath(), Path("base/"));
    EXPECT_EQ(ReadOpenedProjectFolder(), "");
    WriteOpenedProjectFolder("Proyecto1");
    EXPECT_EQ(ReadOpenedProjectFolder(), "Proyecto1");
    WriteApplicationPath();
    EXPECT_EQ(RegistryStore(RegistryStore::Hive::User, kEditorKey).ReadString("ApplicationPath"),
              ProgramFolder());
    EXPECT_FALSE(ReadIncludeRtpOption());
    WriteIncludeRtpOption(true);
    EXPECT_TRUE(ReadIncludeRtpOption());
    EXPECT_EQ(ReadMaterialPath(), "");
}

TEST_F(RegistryTest, BasePathFallsBackToHomeWhenProgramFolderIsNotWritable)
{
    // An installed editor: its folder cannot take projects (here: not even there).
    SetProgramFolderForTests(Path("installed/editor"));
    const QString base = ReadProjectBasePath();
    EXPECT_EQ(base, QDir::homePath() + "/Taleforge/");
    EXPECT_TRUE(QFileInfo(base).isDir());
    EXPECT_TRUE(base.startsWith(qEnvironmentVariable("TF_SANDBOX")));
}
} // namespace
