#include "GameMaterials.h"

#include "IniFile.h"
#include "RegistryStore.h"
#include "Settings.h"
#include "TestSandbox.h"
#include "VireoImageFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
class GameMaterialsTest : public SandboxTest {
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        WriteFile("game/CharSet/Heroe.png");
        WriteFile("game/Music/Campo.MID");
        WriteFile("rtp/CharSet/Heroe.png");
        WriteFile("rtp/CharSet/Aldeanos.bmp");
        WriteFile("rtp/CharSet/Aldeanos.png");
        WriteFile("rtp/Title/Titulo.xyz");
        WriteFile("rtp/Music/Batalla.mp3");
        WriteFile("rtp/Music/Batalla.wav");
        WriteRuntimePackagePathValue(Path("rtp"));
    }
    TGameMaterialRoots roots() { return GameMaterialRootsOf(Path("game")); }
};

void writePicture(const QString& file, int width, int height)
{
    TVireoBitmap picture(width, height, 8);
    picture.Palette[1] = {200, 10, 20, 0};
    picture.Palette[2] = {0, 0, 255, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.ScanLine(y)[x] = std::uint8_t(x == 0 ? 0 : x == 1 ? 1 : 2);
    SaveImageFile(picture, file.toStdString());
}
} // namespace

TEST_F(GameMaterialsTest, ProjectFirstThenRunTimePackageInExtensionOrder)
{
    struct TCase {
        const char* Folder;
        const char* Name;
        const char* Expected;  // relative to the sandbox, empty for none
    };
    const TCase cases[] = {
        {"CharSet", "Heroe", "game/CharSet/Heroe.png"},
        {"CharSet", "aldeanos", "rtp/CharSet/Aldeanos.bmp"},
        {"Title", "Titulo", "rtp/Title/Titulo.xyz"},
        {"Music", "campo", "game/Music/Campo.MID"},
        {"Music", "Batalla", "rtp/Music/Batalla.wav"},
        {"CharSet", "Nadie", ""},
        {"CharSet", "../CharSet/Heroe", ""},
        {"CharSet", "", ""},
        {"NoFolder", "Heroe", ""},
    };
    const TGameMaterialRoots where = roots();
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Folder) + "/" + c.Name);
        const QString expected = *c.Expected ? Path(c.Expected) : QString();
        EXPECT_EQ(ResolveGameMaterialIn(where, c.Folder, c.Name), expected);
    }
}

TEST_F(GameMaterialsTest, AGamePackedWithThePackageNeverLooksOutside)
{
    ASSERT_TRUE(SetFullPackageFlag(Path("game"), true));
    const TGameMaterialRoots where = roots();
    EXPECT_TRUE(where.RuntimePackage.isEmpty());
    EXPECT_EQ(ResolveGameMaterialIn(where, "CharSet", "Heroe"), Path("game/CharSet/Heroe.png"));
    EXPECT_EQ(ResolveGameMaterialIn(where, "CharSet", "Aldeanos"), QString());

    ASSERT_TRUE(SetFullPackageFlag(Path("game"), false));
    EXPECT_EQ(roots().RuntimePackage, Path("rtp/"));
}

TEST_F(GameMaterialsTest, WithoutAStoredPathThePackageBesideTheEditorIsUsedAndNothingIsWritten)
{
    RegistryStore(RegistryStore::Hive::User, kSharedKey).DeleteValue("RuntimePackagePath");
    EXPECT_TRUE(InstalledRuntimePackage().isEmpty());
    WriteFile("editor/RTP/CharSet/Heroe.png");
    RegistryStore(RegistryStore::Hive::User, kEditorKey).WriteString("ApplicationPath", Path("editor/"));
    EXPECT_EQ(InstalledRuntimePackage(), Path("editor/RTP/"));
    EXPECT_TRUE(ReadRuntimePackagePathValue().isEmpty());
}

TEST_F(GameMaterialsTest, PicturesLoadThroughOurCodecsWithIndexZeroTransparentOnRequest)
{
    for (const char* ext : {"png", "bmp", "xyz"}) {
        SCOPED_TRACE(ext);
        const QString file = Path(QStringLiteral("pic.") + ext);
        writePicture(file, 3, 2);
        const QImage sprite = LoadGameImage(file, true);
        ASSERT_EQ(sprite.size(), QSize(3, 2));
        EXPECT_EQ(qAlpha(sprite.pixel(0, 1)), 0);
        EXPECT_EQ(sprite.pixel(1, 1), qRgb(200, 10, 20));
        EXPECT_EQ(sprite.pixel(2, 0), qRgb(0, 0, 255));
        const QImage backdrop = LoadGameImage(file, false);
        EXPECT_EQ(backdrop.pixel(0, 0), qRgb(0, 0, 0));
    }
    WriteFile("broken.png", "\x89PNG\r\n\x1a\n-not really");
    QString error;
    EXPECT_TRUE(LoadGameImage(Path("broken.png"), true, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(LoadGameImage(Path("missing.png")).isNull());
}
