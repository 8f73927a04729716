#include "DriveProbe.h"
#include "FileCopier.h"
#include "FolderTree.h"
#include "ScratchFolder.h"
#include "TestSandbox.h"
#include "storage/LD_Map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
using FileSystemTest = SandboxTest;

TEST_F(FileSystemTest, FolderTreeDeletionStaysInsideAndRemovesDotFolders)
{
    WriteFile("outside/keep.txt");
    WriteFile("tree/a.txt");
    WriteFile("tree/.git/objects/x");
    WriteFile("tree/sub/deeper/b.txt");
    WriteFile("tree/ro.txt");
    QFile::setPermissions(Path("tree/ro.txt"), QFile::ReadOwner);
    QFile::setPermissions(Path("tree/sub/deeper"), QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_TRUE(QFile::link(Path("outside"), Path("tree/linkdir")));
    ASSERT_TRUE(QFile::link(Path("outside/keep.txt"), Path("tree/linkfile")));
    EXPECT_TRUE(DeleteFolderTree(Path("tree")));
    EXPECT_FALSE(QFileInfo::exists(Path("tree")));
    EXPECT_TRUE(QFile::exists(Path("outside/keep.txt")));
    // A link given as the tree itself goes, its target stays.
    ASSERT_TRUE(QFile::link(Path("outside"), Path("alias")));
    EXPECT_TRUE(DeleteFolderTree(Path("alias")));
    EXPECT_TRUE(QFile::exists(Path("outside/keep.txt")));
    EXPECT_FALSE(DeleteFolderTree(""));
}

TEST_F(FileSystemTest, ScratchFolderIsPrivateAndRefusesLinks)
{
    ASSERT_TRUE(ResetScratchFolder());
    const QString scratch = ScratchFolderPath();
    EXPECT_EQ(QString::fromStdString(ScratchFolder().string()), scratch.chopped(1)) << "storage uses it";
    EXPECT_TRUE(scratch.startsWith(Path("scratch/TF_WORK-")));
    EXPECT_EQ(QFileInfo(scratch).permissions() & 0x0077, 0) << "no access for group or others";
    WriteFile(QString(scratch).remove(0, dir.path().size() + 1) + "Map0001.lmu");
    ASSERT_TRUE(ResetScratchFolder());
    EXPECT_TRUE(QDir(scratch).isEmpty()) << "emptied at start-up";
    RemoveScratchFolder();
    EXPECT_FALSE(QFileInfo::exists(scratch));

    QDir().mkpath(Path("elsewhere"));
    ASSERT_TRUE(QFile::link(Path("elsewhere"), scratch.chopped(1)));
    WriteFile("elsewhere/precious");
    EXPECT_FALSE(ResetScratchFolder());
    EXPECT_TRUE(QFile::exists(Path("elsewhere/precious")));
}

TEST_F(FileSystemTest, CopierKeepsModeOverwritesAndCreatesFolders)
{
    WriteFile("src/TFPLAY.exe.dat", "#!/bin/sh\n");
    QFile::setPermissions(Path("src/TFPLAY.exe.dat"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    WriteFile("src/TFPLAY.ldb.dat", QByteArray(600 * 1024, 'd'));
    WriteFile("dst/TFPLAY.ldb", "old");
    FileCopier copier;
    int calls = 0;
    copier.Progress = [&](qint64 done, qint64 total) {
        ++calls;
        EXPECT_LE(done, total);
        return true;
    };
    ASSERT_TRUE(copier.Copy({Path("src/TFPLAY.exe.dat"), Path("src/TFPLAY.ldb.dat")},
                            {Path("dst/new/TFPLAY.exe"), Path("dst/TFPLAY.ldb")}));
    EXPECT_GT(calls, 2);
    EXPECT_TRUE(QFileInfo(Path("dst/new/TFPLAY.exe")).isExecutable());
    EXPECT_EQ(QFileInfo(Path("dst/TFPLAY.ldb")).size(), 600 * 1024);
}

TEST_F(FileSystemTest, CancelOrMissingSourceIsFailureWithoutPartialTarget)
{
    WriteFile("src/big", QByteArray(1024 * 1024, 'b'));
    FileCopier copier;
    copier.Progress = [](qint64 done, qint64) { return done < 300 * 1024; };
    EXPECT_FALSE(copier.Copy({Path("src/big")}, {Path("dst/big")}));
    EXPECT_TRUE(copier.FailedFile().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("dst/big")));
    EXPECT_FALSE(CopyFileKeepingMode(Path("src/none"), Path("dst/none")));
    EXPECT_FALSE(QFileInfo::exists(Path("dst/none")));
}

TEST_F(FileSystemTest, DriveProbes)
{
    FakeDriveProbe fake;
    fake.AddDrive("/media/floppy", FakeDriveProbe::Kind::Floppy);
    fake.AddDrive("/media/cdrom", FakeDriveProbe::Kind::CdRom, false);
    EXPECT_TRUE(fake.IsFloppy("/media/floppy"));
    EXPECT_TRUE(fake.IsFloppy("/media/floppy/GAME/"));
    EXPECT_FALSE(fake.IsFloppy("/media/floppyx"));
    EXPECT_TRUE(fake.IsCdRom("/media/cdrom/x"));
    EXPECT_FALSE(fake.IsReady("/media/cdrom"));
    EXPECT_TRUE(fake.IsReady(Path("")));
    EXPECT_EQ(fake.DriveRoot("/media/floppy/a/b"), "/media/floppy");
    SetDriveProbe(&fake);
    EXPECT_TRUE(Drives().IsFloppy("/media/floppy"));
    SetDriveProbe(nullptr);
    // The real probe on the sandbox: a ready disk that is neither floppy nor CD-ROM.
    EXPECT_TRUE(Drives().IsReady(Path("not/yet/created")));
    EXPECT_FALSE(Drives().IsFloppy(Path("")));
    EXPECT_FALSE(Drives().IsCdRom(Path("")));
    EXPECT_FALSE(Drives().DriveRoot(Path("")).isEmpty());
}
} // namespace
