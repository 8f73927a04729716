// tfdata pack: the same disk from the command line.
#include "ProjectPackFixture.h"

#include "IniFile.h"
#include "RegistryStore.h"
#include "Settings.h"

#include <QDir>
#include <QProcess>

namespace {
class PackCommandTest : public PackTest {
protected:
    void SetUp() override
    {
        PackTest::SetUp();
        // tfdata reads the registry where any program of ours would: under XDG_CONFIG_HOME.
        RegistryStore::SetRootForTests(Path("config/Taleforge/registry"));
        QDir().mkpath(Path("tmp"));
    }
    struct TRun {
        int rc;
        QString err;
    };
    TRun Run(const QStringList& args)
    {
        QProcess tfdata;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", Path("config"));
        env.insert("TMPDIR", Path("tmp"));
        tfdata.setProcessEnvironment(env);
        tfdata.setProcessChannelMode(QProcess::SeparateChannels);
        tfdata.start(QStringLiteral(TF_TFDATA), QStringList{"pack"} + args);
        tfdata.closeWriteChannel();
        EXPECT_TRUE(tfdata.waitForFinished(60000));
        return {tfdata.exitCode(), QString::fromUtf8(tfdata.readAllStandardError())};
    }
};
} // namespace

TEST_F(PackCommandTest, PacksLikeTheDialog)
{
    const TRun plain = Run({project, Path("disk")});
    ASSERT_EQ(plain.rc, 0) << plain.err.toStdString();
    EXPECT_EQ(FileNames(Path("disk")), QStringList({"Game.lzh", "Setup.exe", "Setup.ini", "UNLHA32.DLL", "UNLHA32.TXT"}));
    EXPECT_EQ(IniFile(Path("disk/Setup.ini")).ReadString("Setup", "DiskNumber", ""), "0");
    EXPECT_EQ(ArchiveNames(Path("disk/Game.lzh")), playable);

    MakeRuntimePackage();
    const TRun rtp = Run({"--rtp", project, Path("disk-rtp")});
    ASSERT_EQ(rtp.rc, 0) << rtp.err.toStdString();
    EXPECT_TRUE(ArchiveNames(Path("disk-rtp/Game.lzh")).contains("Music/field.mid"));
    EXPECT_FALSE(FlagInProject());
    // The staging folder and the TF_WORK it made are gone.
    EXPECT_TRUE(QDir(Path("tmp")).isEmpty());
}

TEST_F(PackCommandTest, FailuresExitWithOneAndAReason)
{
    WriteGameTitle(project, QString());
    const TRun untitled = Run({project, Path("disk")});
    EXPECT_EQ(untitled.rc, 1);
    EXPECT_TRUE(untitled.err.contains(GamePackTitleProblem(project))) << untitled.err.toStdString();
    EXPECT_TRUE(untitled.err.contains(QStringLiteral("interrumpida")));
    EXPECT_FALSE(QDir(Path("disk")).exists());
    for (const QStringList& args : {QStringList{project}, QStringList{project, Path("d"), "--floppy"}}) {
        const TRun bad = Run(args);
        EXPECT_EQ(bad.rc, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(bad.err.isEmpty());
    }
}
