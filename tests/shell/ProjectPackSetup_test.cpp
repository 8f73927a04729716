// Setup installs what the packer wrote, from a folder and from floppy volumes.
#include "ProjectPackFixture.h"

#include "IniFile.h"
#include "MessageService.h"
#include "SetupCore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
class PackSetupTest : public PackTest {
protected:
    // Runs Setup's installation from `disk` into "<sandbox>/games/" with both options off.
    bool Install(const QString& disk)
    {
        const auto settings = ReadSetupSettings(SetupIniPath(disk + "Setup.exe"));
        EXPECT_TRUE(settings.has_value());
        if (!settings)
            return false;
        TArchiverLibrary library(disk); // the disk's own copy
        TSetupInstaller installer(*settings, disk, library.Unlha());
        installer.Progress = [](qint64, qint64) { return true; };
        return installer.Install(Path("games/"), TInstallOptions{});
    }
    QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    ScopedMessageService messages;
};
} // namespace

TEST_F(PackSetupTest, SetupInstallsAFolderDiskWithTheRunTimePackage)
{
    MakeRuntimePackage();
    TGamePacker packer = Packer(Path("disk/"), true);
    ASSERT_TRUE(packer.Run()) << packer.Error().toStdString();
    ASSERT_TRUE(Install(Path("disk/")));

    const QString game = Path("games/Game/");
    EXPECT_TRUE(QFileInfo(game + "TFPLAY.exe").isExecutable());
    EXPECT_EQ(Read(game + "TFPLAY.ldb"), Read(project + "TFPLAY.ldb"));
    EXPECT_EQ(Read(game + "Map0001.lmu"), Read(project + "Map0001.lmu"));
    EXPECT_EQ(Read(game + "System/frame.png"), "png");
    EXPECT_FALSE(QFileInfo::exists(game + "notes.txt"));
    // The installed game knows it carries the run-time package; the project does not keep it.
    EXPECT_TRUE(IniFile(game + "TFPLAY.ini").ReadBool("TFPLAY", "FullPackageFlag", false));
    EXPECT_FALSE(FlagInProject());
    EXPECT_EQ(messages.fake.shown.last().text, QStringLiteral("Instalación completada."));
}

TEST_F(PackSetupTest, SetupJoinsTheFloppyVolumes)
{
    const QByteArray movie = NoiseBytes(2200000, 11);
    WriteFile("projects/Game/Movie/intro.avi", movie);
    const QString floppy = Path("floppy");
    QDir().mkpath(floppy);
    drives.AddDrive(floppy, FakeDriveProbe::Kind::Floppy);
    // Each disk is taken out after its copy and kept in a folder of its own.
    onAsk = [&](int disk) {
        if (disk > 1)
            QDir().rename(floppy, Path(QStringLiteral("disk%1").arg(disk - 1)));
        QDir().mkpath(floppy);
        return true;
    };
    TGamePacker packer = Packer(floppy);
    ASSERT_TRUE(packer.Run()) << packer.Error().toStdString();
    ASSERT_EQ(packer.DiskCount(), 3);
    QDir().rename(floppy, Path("disk3"));
    // One folder with every volume stands for the drive with the right disk in it each time.
    const QString disk = Path("disk1/");
    for (int i : {2, 3})
        ASSERT_TRUE(QFile::rename(Path(QStringLiteral("disk%1/").arg(i)) + PackVolumeName("Game", i),
                                  disk + PackVolumeName("Game", i)));
    messages.fake.answers = {MessageAnswer::Ok, MessageAnswer::Ok}; // disks 2 and 3 are "inserted"
    ASSERT_TRUE(Install(disk));
    EXPECT_TRUE(Read(Path("games/Game/Movie/intro.avi")) == movie);
}
