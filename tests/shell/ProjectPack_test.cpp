#include "ProjectPackFixture.h"

#include "IniFile.h"
#include "ScratchFolder.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int failingUnlha(void*, const char*, char* out, unsigned long size)
{
    if (out && size > 0)
        qstrncpy(out, "disco lleno", size);
    return 3;
}
} // namespace

TEST_F(PackTest, FolderDestinationGetsTheFiveFilesAndTheArchiveListsThePlayableFiles)
{
    const QString dest = Path("disk/");
    TGamePacker packer = Packer(dest);
    ASSERT_TRUE(packer.Run()) << packer.Error().toStdString();

    EXPECT_EQ(FileNames(dest), QStringList({"Game.lzh", "Setup.exe", "Setup.ini", "UNLHA32.DLL", "UNLHA32.TXT"}));
    const IniFile setup(dest + "Setup.ini");
    EXPECT_EQ(setup.ReadString("Setup", "ProjectName", ""), "Game");
    EXPECT_EQ(setup.ReadString("Setup", "GameTitle", ""), QStringLiteral("Mi Juego"));
    EXPECT_EQ(setup.ReadString("Setup", "DiskNumber", ""), "0");
    EXPECT_TRUE(QFileInfo(dest + "Setup.exe").isExecutable());
    EXPECT_EQ(readAll(dest + "UNLHA32.TXT"), readAll(QStringLiteral(TF_PROGRAM_DIR "/UNLHA32.TXT")));
    EXPECT_EQ(ArchiveNames(dest + "Game.lzh"), playable);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_TRUE(told.isEmpty());
    EXPECT_FALSE(FlagInProject());
    EXPECT_FALSE(StagingExists());
}

TEST_F(PackTest, RuntimePackageFoldersJoinTheArchiveAndMissingFoldersAreSkipped)
{
    MakeRuntimePackage();
    // Neither the project nor the run-time package has a "Movie" folder now.
    ASSERT_TRUE(QDir(project + "Movie").removeRecursively());
    const QString dest = Path("disk/");
    TGamePacker packer = Packer(dest, true);
    ASSERT_TRUE(packer.Run()) << packer.Error().toStdString();

    QStringList expected = playable;
    expected.removeOne("Movie/");
    expected << "Music/field.mid" << "System/frame.png";
    expected.sort();
    EXPECT_EQ(ArchiveNames(dest + "Game.lzh"), expected);
    EXPECT_FALSE(FlagInProject());
    EXPECT_FALSE(StagingExists());
}

TEST_F(PackTest, ResponseLinesListBaseFoldersThenWhatExistsInThem)
{
    const QString rtp = MakeRuntimePackage();
    ASSERT_TRUE(QDir(project + "Movie").removeRecursively());
    QStringList expected = {'"' + rtp + '"', "Music", "Sound", "System", '"' + project + '"'};
    for (const char* m : {"Backdrop", "Battle", "CharSet", "ChipSet", "FaceSet", "GameOver", "Monster", "Music",
                             "Panorama", "Picture", "Sound", "System", "Title"})
        expected << m;
    expected << "TFPLAY.exe" << "TFPLAY.ldb" << "TFPLAY.ini" << "TFPLAY.lmt" << "Map????.lmu" << '"' + rtp + '"';
    EXPECT_EQ(PackResponseLines(project, rtp), expected);
    // Without the package: the project part alone.
    EXPECT_EQ(PackResponseLines(project, QString()), expected.mid(4, expected.size() - 5));
    EXPECT_EQ(PackCommandLine("/t/G.lzh", "/t/Response.lst"), "a -+ -r2 -d -jsl \"/t/G.lzh\" @/t/Response.lst");
}

TEST_F(PackTest, SplitCutsTheFirstVolumeAtItsSizeAndTheRestAtTheFloppySize)
{
    const struct {
        qint64 size;
        QList<qint64> volumes;
    } cases[] = {
        {640000, {640000}},
        {640001, {640000, 1}},
        {640000 + 1440000, {640000, 1440000}},
        {640000 + 1440000 + 1, {640000, 1440000, 1}},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = NoiseBytes(c.size, quint32(c.size));
        const QString folder = Path(QStringLiteral("split%1/").arg(c.size));
        WriteFile(QStringLiteral("split%1/G.lzh").arg(c.size), bytes);
        const QStringList volumes = SplitArchive(folder + "G.lzh", "G");
        ASSERT_EQ(volumes.size(), c.volumes.size()) << c.size;
        QByteArray joined;
        for (int i = 0; i < volumes.size(); ++i) {
            EXPECT_EQ(QFileInfo(volumes[i]).fileName(), PackVolumeName("G", i + 1));
            EXPECT_EQ(QFileInfo(volumes[i]).size(), c.volumes[i]) << c.size << " volume " << i + 1;
            joined += readAll(volumes[i]);
        }
        EXPECT_TRUE(joined == bytes) << c.size;
    }
    EXPECT_EQ(PackVolumeName("G", 12), "G.012");
}

TEST_F(PackTest, FloppyDisksArePromptedInTurnUntilReadyAndEmpty)
{
    // Large enough for two volumes, whatever the archiver makes of it.
    WriteFile("projects/Game/Movie/intro.avi", NoiseBytes(700000, 7));
    const QString floppy = Path("floppy");
    QDir().mkpath(floppy);
    drives.AddDrive(floppy, FakeDriveProbe::Kind::Floppy, false);
    const QString disk1 = Path("disk1/");
    onAsk = [&](int) {
        const int prompt = int(asked.size());
        if (prompt == 2) // disk 1 is now in the drive
            drives.AddDrive(floppy, FakeDriveProbe::Kind::Floppy, true);
        if (prompt == 4) { // the first prompt for disk 2 was answered with disk 1 still inside
            QDir().rename(floppy, disk1);
            QDir().mkpath(floppy);
        }
        return true;
    };
    TGamePacker packer = Packer(floppy);
    ASSERT_TRUE(packer.Run()) << packer.Error().toStdString();

    EXPECT_EQ(told, QList<int>({2}));
    EXPECT_EQ(asked, QList<int>({1, 1, 2, 2}));
    EXPECT_EQ(FileNames(disk1), QStringList({"Game.001", "Setup.exe", "Setup.ini", "UNLHA32.DLL", "UNLHA32.TXT"}));
    EXPECT_EQ(QFileInfo(disk1 + "Game.001").size(), kFirstVolumeSize);
    EXPECT_EQ(IniFile(disk1 + "Setup.ini").ReadInteger("Setup", "DiskNumber", 0), 2);
    EXPECT_EQ(FileNames(floppy), QStringList({"Game.002"}));
    EXPECT_FALSE(FlagInProject());
    EXPECT_FALSE(StagingExists());
}

TEST_F(PackTest, CancelAtAnyDiskPromptInterruptsAndCleansUp)
{
    WriteFile("projects/Game/Movie/intro.avi", NoiseBytes(700000, 7));
    MakeRuntimePackage();
    const QString floppy = Path("floppy");
    drives.AddDrive(floppy, FakeDriveProbe::Kind::Floppy);
    for (int cancelAt : {1, 2}) {
        QDir(floppy).removeRecursively();
        QDir().mkpath(floppy);
        asked.clear();
        onAsk = [&](int disk) {
            if (disk == 2) { // disk 1 taken out
                QDir(floppy).removeRecursively();
                QDir().mkpath(floppy);
            }
            return disk != cancelAt;
        };
        TGamePacker packer = Packer(floppy, true);
        EXPECT_FALSE(packer.Run()) << cancelAt;
        EXPECT_TRUE(packer.Error().isEmpty()) << packer.Error().toStdString();
        EXPECT_EQ(asked.last(), cancelAt);
        EXPECT_FALSE(FlagInProject()) << cancelAt;
        EXPECT_FALSE(StagingExists()) << cancelAt;
    }
}

TEST_F(PackTest, FailuresInterruptWithTheirReasonAndLeaveNoFlag)
{
    MakeRuntimePackage();
    const struct {
        const char* what;
        std::function<void(TGamePacker&)> prepare;
        QString reason; // part of the message; empty: cancelled, no message
    } cases[] = {
        {"archiver fails", [](TGamePacker& p) { p.Unlha = failingUnlha; }, "disco lleno"},
        {"no archiver", [](TGamePacker& p) { p.Unlha = nullptr; }, "Unlha32.dll"},
        {"copy cancelled",
         [](TGamePacker& p) { p.Copy = [](const QStringList&, const QStringList&, QString&) { return false; }; },
         QString()},
        {"copy fails",
         [](TGamePacker& p) {
             p.Copy = [](const QStringList& from, const QStringList&, QString& failed) {
                 failed = from.first();
                 return false;
             };
         },
         "Setup.ini"},
    };
    for (const auto& c : cases) {
        const QString dest = Path(QStringLiteral("disk-%1/").arg(c.what));
        TGamePacker packer = Packer(dest, true);
        c.prepare(packer);
        EXPECT_FALSE(packer.Run()) << c.what;
        if (c.reason.isEmpty())
            EXPECT_TRUE(packer.Error().isEmpty()) << c.what;
        else
            EXPECT_TRUE(packer.Error().contains(c.reason)) << c.what << ": " << packer.Error().toStdString();
        EXPECT_FALSE(FlagInProject()) << c.what;
        EXPECT_FALSE(StagingExists()) << c.what;
        EXPECT_FALSE(QFileInfo::exists(dest + "Game.lzh")) << c.what;
    }
}

TEST_F(PackTest, RefusedBeforePackingWhenTheDiskCouldNotWork)
{
    const struct {
        const char* what;
        std::function<void()> prepare;
        QString reason;
    } cases[] = {
        {"empty title", [this] { WriteGameTitle(project, "  "); }, QStringLiteral("no tiene título")},
        {"no database", [this] { QFile::remove(project + "TFPLAY.ldb"); }, "TFPLAY.ldb"},
        {"no installer", [this] { QFile::remove(Path("program/Setup.exe.dat")); }, "Setup.exe.dat"},
    };
    const QByteArray database = readAll(project + "TFPLAY.ldb");
    for (const auto& c : cases) {
        // Each case alone: the title and the database back as they were.
        WriteGameTitle(project, QStringLiteral("Mi Juego"));
        WriteFile("projects/Game/TFPLAY.ldb", database);
        c.prepare();
        const QString dest = Path(QStringLiteral("disk-%1/").arg(c.what));
        TGamePacker packer = Packer(dest);
        EXPECT_FALSE(packer.Run()) << c.what;
        EXPECT_TRUE(packer.Error().contains(c.reason)) << c.what << ": " << packer.Error().toStdString();
        EXPECT_FALSE(QFileInfo::exists(dest)) << c.what;
        EXPECT_FALSE(StagingExists()) << c.what;
    }
    // Into the staging folder, which goes at the end: refused rather than reported complete.
    WriteFile("program/Setup.exe.dat", "stand-in");
    TGamePacker packer = Packer(ScratchFolderPath() + "GameDisk/out");
    EXPECT_FALSE(packer.Run());
    EXPECT_EQ(packer.Error(), QStringLiteral("No se puede establecer la ruta especificada."));
}

TEST_F(PackTest, AFlagThatCannotBeWrittenFailsTheRun)
{
    // A folder where the ini should be: neither writing nor removing the key can work.
    QFile::remove(project + "TFPLAY.ini");
    QDir().mkpath(project + "TFPLAY.ini");
    MakeRuntimePackage();
    TGamePacker packer = Packer(Path("disk/"), true);
    EXPECT_FALSE(packer.Run());
    EXPECT_TRUE(packer.Error().contains("TFPLAY.ini")) << packer.Error().toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("disk/Game.lzh")));
    EXPECT_FALSE(StagingExists());
}
