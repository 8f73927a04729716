#include "Materials.h"
#include "NaturalSort.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "TestSandbox.h"

#include <QFile>

namespace {
TEST(NaturalSort, OrdersTrailingNumbersByValue)
{
    const struct {
        QStringList input;
        QStringList expected;
    } cases[] = {
        {{"A10", "A9", "A", "10"}, {"10", "A", "A9", "A10"}},
        {{"Hero10", "hero2", "Hero"}, {"Hero", "hero2", "Hero10"}},
        {{"b", "A", "c"}, {"A", "b", "c"}},
        {{"x007", "x7b", "x6"}, {"x6", "x007", "x7b"}},
        // Runs longer than ten digits still compare by value.
        {{"T100000000000", "T99999999999", "T2"}, {"T2", "T99999999999", "T100000000000"}},
        {{"T18446744073709551617", "T18446744073709551616"},
         {"T18446744073709551616", "T18446744073709551617"}},
    };
    for (const auto& c : cases) {
        QStringList names = c.input;
        NaturalSort(names);
        EXPECT_EQ(names, c.expected) << c.input.join(',').toStdString();
    }
    EXPECT_EQ(NaturalSortKey("Hero"), "Hero0000000000");
    EXPECT_EQ(NaturalSortKey("10"), "100000000000");
    EXPECT_EQ(NaturalSortKey("A9"), "A0000000009");
}

class MaterialTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        WriteRuntimePackagePathValue(Path("rtp"));
        SetCurrentProjectFolder(Path("project"));
    }
    QStringList List(const QString& folder)
    {
        QStringList out;
        ListMaterials(out, folder, MaterialExtensions(folder));
        return out;
    }
};

TEST_F(MaterialTest, ProjectBeatsRuntimePackageAndMarksTheRest)
{
    WriteFile("project/CharSet/Hero.png");
    WriteFile("rtp/CharSet/HERO.bmp");
    WriteFile("rtp/CharSet/Villager.xyz");
    WriteFile("rtp/CharSet/notes.txt");
    WriteFile("rtp/CharSet/.hidden.png");
    QDir().mkpath(Path("rtp/CharSet/Folder.png"));
    EXPECT_EQ(List("CharSet"), QStringList({"Hero", "Villager <RTP>"}));
    EXPECT_EQ(ResolveMaterialFile("Hero", "CharSet", MaterialExtensions("CharSet")),
              Path("project/CharSet/Hero.png"));
    const QString marked = "Villager <RTP>";
    ASSERT_TRUE(IsRtpMaterial(marked));
    EXPECT_EQ(StripRtpMark(marked), "Villager");
    EXPECT_EQ(StripRtpMark("Hero"), "Hero");
    EXPECT_EQ(ResolveMaterialFile(StripRtpMark(marked), "CharSet", MaterialExtensions("CharSet")),
              Path("rtp/CharSet/Villager.xyz"));
}

TEST_F(MaterialTest, ListsEachNameOnceInNaturalOrder)
{
    for (const char* f : {"Music/Battle10.mid", "Music/battle2.MP3", "Music/Battle2.wav",
                          "Music/Town.mid", "Music/Town.mid.bak"})
        WriteFile(QString("project/") + f);
    WriteFile("rtp/Music/Battle1.wav");
    WriteFile("rtp/Music/TOWN.wav");
    const QStringList list = List("Music");
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0].toLower(), "battle2");
    EXPECT_EQ(list.mid(1), QStringList({"Battle10", "Town", "Battle1 <RTP>"}));
}

TEST_F(MaterialTest, ResolutionOrderAndCaseInsensitiveMatch)
{
    const QStringList pics = MaterialExtensions("Picture");
    WriteFile("project/Picture/sky.PNG");
    WriteFile("project/Picture/Sky.xyz");
    WriteFile("rtp/Picture/Sky.bmp");
    // The project wins, and in one folder the extension order decides.
    EXPECT_EQ(ResolveMaterialFile("SKY", "Picture", pics), Path("project/Picture/sky.PNG"));
    WriteFile("rtp/Sound/Door.WAV");
    EXPECT_EQ(ResolveMaterialFile("door", "Sound", {"wav"}), Path("rtp/Sound/Door.WAV"));
    EXPECT_EQ(ResolveMaterialFile("Missing", "Sound", {"wav"}), "Missing");
    EXPECT_EQ(ResolveMaterialFile("", "Sound", {"wav"}), "");
}

TEST_F(MaterialTest, NamesNeverReachOutsideTheirFolder)
{
    WriteFile("project/secret.wav");
    WriteFile("outside.wav");
    for (const char* name : {"../secret", "../../outside", "..", ".", "a/b", "..\\secret"}) {
        EXPECT_EQ(ResolveMaterialFile(name, "Sound", {"wav"}), "") << name;
    }
    EXPECT_FALSE(IsBareMaterialName(QString("a") + QChar(0) + "b"));
    EXPECT_TRUE(IsBareMaterialName("..hero"));
}

TEST_F(MaterialTest, NoProjectNoPackage)
{
    SetCurrentProjectFolder("");
    WriteRuntimePackagePathValue("");
    EXPECT_EQ(RuntimePackagePath(), "");
    EXPECT_TRUE(List("Title").isEmpty());
    EXPECT_EQ(ResolveMaterialFile("Logo", "Title", {"bmp"}), "Logo");
}

TEST_F(SandboxTest, RuntimePackageBesideTheEditorIsAdopted)
{
    QDir().mkpath(Path("program/RTP/Title"));
    EXPECT_EQ(RuntimePackagePath(), ProgramFolder() + "RTP/");
    EXPECT_EQ(ReadRuntimePackagePathValue(), ProgramFolder() + "RTP");
    // A stored path is kept even when its folder is gone.
    WriteRuntimePackagePathValue("/nowhere/rtp");
    EXPECT_EQ(RuntimePackagePath(), "/nowhere/rtp/");
}

TEST_F(SandboxTest, ProjectIniValues)
{
    QDir().mkpath(Path("p"));
    EXPECT_EQ(ReadGameTitle(Path("p")), "Untitled");
    EXPECT_EQ(ReadMapEditMode(Path("p/")), 0);
    ASSERT_TRUE(WriteGameTitle(Path("p/"), QStringLiteral("Aventura €")));
    EXPECT_EQ(ReadGameTitle(Path("p")), QStringLiteral("Aventura €"));
    ASSERT_TRUE(WriteMapEditZoom(Path("p"), 2));
    EXPECT_EQ(ReadMapEditZoom(Path("p")), 2);
    ASSERT_TRUE(SetFullPackageFlag(Path("p"), true));
    QFile f(Path("p/TFPLAY.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("FullPackageFlag=1\r\n"));
    f.close();
    ASSERT_TRUE(SetFullPackageFlag(Path("p"), false));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.readAll().contains("FullPackageFlag"));
}

TEST(MaterialKinds, FoldersAndExtensions)
{
    EXPECT_EQ(MaterialFolders().size(), 14);
    EXPECT_EQ(MaterialFolders().front(), "Backdrop");
    EXPECT_EQ(MaterialFolders().back(), "Title");
    EXPECT_EQ(MaterialExtensions("FaceSet"), QStringList({"bmp", "png", "xyz"}));
    EXPECT_EQ(MaterialExtensions("Music"), QStringList({"mid", "wav", "mp3"}));
    EXPECT_EQ(MaterialExtensions("Sound"), QStringList({"wav"}));
    EXPECT_EQ(MaterialExtensions("Movie"), QStringList({"avi", "mpg"}));
}
} // namespace
