#include "ProjectPackFixture.h"

#include "IniFile.h"
#include "Materials.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "ShellFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

QByteArray NoiseBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = char(random.generate() & 0xff);
    return bytes;
}

void PackTest::SetUp()
{
    SandboxTest::SetUp();
    const QString base = Path("projects/");
    QDir().mkpath(base);
    WriteProjectBasePath(base);
    WriteTemplates(Path("program"));
    // The installer set as the build made it; links keep the sandbox small.
    for (const QString& f : kInstallerFiles) {
        if (!QFileInfo::exists(QStringLiteral(TF_PROGRAM_DIR "/") + f))
            GTEST_SKIP() << f.toStdString() << " is not built (a build without archiver or installer)";
    }
    for (const QString& f : kInstallerFiles)
        ASSERT_TRUE(QFile::link(QStringLiteral(TF_PROGRAM_DIR "/") + f, Path("program/") + f)) << f.toStdString();
    ASSERT_TRUE(ResetScratchFolder());
    MakeProject("Game", QStringLiteral("Mi Juego"));
    project = base + "Game/";
    WriteFile("projects/Game/Music/theme.mid", "MThd");
    WriteFile("projects/Game/CharSet/hero.png", "png");
    // Not part of the game.
    WriteFile("projects/Game/notes.txt", "notes");
    WriteFile("projects/Game/Map0001.lmu.bak", "old");
    WriteFile("projects/Game/Backup/Map0001.lmu", "old");
    for (const QString& m : MaterialFolders())
        playable << m + '/';
    playable << "CharSet/hero.png" << "Music/theme.mid" << "Map0001.lmu" << "TFPLAY.exe" << "TFPLAY.ini"
             << "TFPLAY.ldb" << "TFPLAY.lmt";
    playable.sort();
    onAsk = [](int) { return true; };
    SetDriveProbe(&drives);
}

void PackTest::TearDown()
{
    SetDriveProbe(nullptr);
    SandboxTest::TearDown();
}

TGamePacker PackTest::Packer(const QString& destination, bool includeRtp)
{
    TGamePacker packer({project, destination, includeRtp, RuntimePackagePath(), Path("program")});
    packer.Unlha = LoadUnlha(Path("program"));
    packer.Copy = CopyWithoutProgress;
    packer.AskDisk = [this](int disk) {
        asked << disk;
        return onAsk(disk);
    };
    packer.TellDiskCount = [this](int count) { told << count; };
    return packer;
}

QString PackTest::MakeRuntimePackage()
{
    WriteFile("rtp/System/frame.png", "png");
    WriteFile("rtp/Music/field.mid", "MThd");
    QDir().mkpath(Path("rtp/Sound"));
    WriteRuntimePackagePathValue(Path("rtp"));
    return Path("rtp/");
}

QStringList PackTest::ArchiveNames(const QString& archive)
{
    QProcess lhasa;
    lhasa.start(QStringLiteral("lhasa"), {QStringLiteral("l"), archive});
    EXPECT_TRUE(lhasa.waitForFinished(30000));
    EXPECT_EQ(lhasa.exitCode(), 0) << lhasa.readAllStandardError().toStdString();
    // The members sit between the two dashed rules; the name is the last column.
    QStringList names;
    int rules = 0;
    for (const QString& line : QString::fromUtf8(lhasa.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QLatin1String("----------"))) {
            ++rules;
            continue;
        }
        if (rules == 1 && !line.trimmed().isEmpty())
            names << line.section(' ', -1);
    }
    names.sort();
    return names;
}

QStringList PackTest::FileNames(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

bool PackTest::FlagInProject() const
{
    return IniFile(ProjectIniPath(project)).ValueExists(QStringLiteral("TFPLAY"), QStringLiteral("FullPackageFlag"));
}

bool PackTest::StagingExists() const
{
    return QFileInfo::exists(ScratchFolderPath() + QStringLiteral("GameDisk"));
}
