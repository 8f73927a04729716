// Setup's installation core and its background window, end to end with our archiver.
#include "InstallerFixture.h"

#include "DriveProbe.h"
#include "FolderTree.h"
#include "FirstDialog.h"
#include "IniFile.h"
#include "InstallPlaces.h"
#include "RegistryStore.h"
#include "ScratchFolder.h"
#include "SetupCore.h"
#include "SetupMain.h"
#include "Sweeper.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {
const QString kInstalled = QStringLiteral("Instalación completada.");
const QString kInterrupted = QStringLiteral("Instalación interrumpida.");

QStringList texts(const ScriptedMessageService& fake)
{
    QStringList out;
    for (const auto& s : fake.shown)
        out << s.text;
    return out;
}

// Answers the disk prompts by "inserting" the next volume, as a player swapping disks would.
class DiskSwapper : public MessageService {
public:
    std::function<MessageAnswer(const QString& text)> onPrompt;
    QStringList shown;
    MessageAnswer Show(MessageIcon, const QString& text, MessageButtons) override
    {
        shown << text;
        return onPrompt ? onPrompt(text) : MessageAnswer::Ok;
    }
};

struct DesktopCheck {
    int exitCode;
    QString output;
};

DesktopCheck validateDesktopFile(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("desktop-file-validate"), {path});
    p.waitForFinished(20000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
}
} // namespace

class SetupInstall : public InstallerTest {
protected:
    // Runs the background window's installation with the start dialog answered: the options
    // and base path are set on the real dialog, then Start.
    bool RunSetup(const QString& disk, const TSetupSettings& settings, const QString& base,
                  TInstallOptions options)
    {
        TFormSetupMain main(settings, disk);
        main.ExecStartDialog = [&](TFormFirstDialog& dialog) {
            dialog.findChild<QCheckBox*>("CheckRegisterProgram")->setChecked(options.RegisterProgram);
            dialog.findChild<QCheckBox*>("CheckPrepareUninstall")->setChecked(options.PrepareUninstall);
            dialog.ChooseFolder = [&](const QString&) { return std::optional<QString>(base); };
            dialog.PathBoxClick();
            return true;
        };
        main.PrepareInstaller = [&](TSetupInstaller& installer) {
            installer.ShortcutPauseMs = 0;
            installer.Progress = [](qint64, qint64) { return true; };
        };
        return main.Installation();
    }

    TSetupSettings Settings(const QString& disk)
    {
        const auto s = ReadSetupSettings(disk + "/Setup.ini");
        EXPECT_TRUE(s.has_value());
        return s.value_or(TSetupSettings{});
    }
};

// ctest picks the installer tests by this prefix.
using test_installer_Setup = SetupInstall;

TEST_F(test_installer_Setup, WithBothOptionsThenSweeperRemovesEverythingButOtherGames)
{
    const QString project = MakeProject(Path("projects"), "Mi Aventura");
    const QString disk = MakeDisk(project, QStringLiteral("La Aventura: ¿Quién?"));
    const QString base = Path("Mis Juegos/");
    const QString game = base + "Mi Aventura/";
    const QString apps = ApplicationsFolder();
    // Another game's shortcut in the same menu folder.
    WriteFile(apps + "/Taleforge Studio/Juegos/Otro.desktop", "[Desktop Entry]\n");

    ASSERT_TRUE(RunSetup(disk, Settings(disk), base, {true, true}));
    EXPECT_EQ(texts(messages.fake), QStringList{kInstalled});

    // The game folder holds exactly the packed files, and the run time can be started.
    QStringList expected = PlayableTree(project) + QStringList{"TFPLAY.ind"};
    expected.sort();
    EXPECT_EQ(Tree(game), expected);
    EXPECT_EQ(ReadFile(game + "Map0001.lmu"), ReadFile(project + "/Map0001.lmu"));
    EXPECT_EQ(ReadFile(game + "CharSet/Heroe.png"), ReadFile(project + "/CharSet/Heroe.png"));
    EXPECT_TRUE(QFileInfo(game + "TFPLAY.exe").isExecutable());
    EXPECT_EQ(QProcess::execute(game + "TFPLAY.exe", {}), 0);

    // The options were remembered.
    const TInstallOptions stored = ReadInstallOptions();
    EXPECT_TRUE(stored.RegisterProgram);
    EXPECT_TRUE(stored.PrepareUninstall);

    // The shortcut: cleaned file name, valid entry, the game's program and folder.
    const QString shortcutName = "Taleforge Studio/Juegos/La Aventura_ ¿Quién_.desktop";
    const QString desktop = apps + '/' + shortcutName;
    ASSERT_TRUE(QFileInfo(desktop).isFile());
    const DesktopCheck check = validateDesktopFile(desktop);
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    EXPECT_TRUE(check.output.trimmed().isEmpty()) << check.output.toStdString();
    const QString entry = QString::fromUtf8(ReadFile(desktop));
    EXPECT_TRUE(entry.contains("Name=La Aventura: ¿Quién?\n"));
    EXPECT_TRUE(entry.contains(QStringLiteral("Exec=\"%1TFPLAY.exe\"\n").arg(game)));
    EXPECT_TRUE(entry.contains(QStringLiteral("Path=%1\n").arg(QDir::cleanPath(game))));

    // The record and the uninstall entry.
    const QString key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Taleforge Studio Mi Aventura";
    const IniFile record(game + "TFPLAY.ind");
    EXPECT_EQ(record.ReadString("Install Data", "Title", ""), "La Aventura: ¿Quién?");
    EXPECT_EQ(record.ReadString("Install Data", "UninstallKeyName", ""), key);
    EXPECT_EQ(record.ReadString("Install Data", "ShortcutName", ""), shortcutName);
    const QString sweeper = Home() + "/.local/bin/sweeper.exe";
    const RegistryStore entryKey(RegistryStore::Hive::Machine, key);
    EXPECT_EQ(entryKey.ReadString("DisplayName"), "Taleforge Studio - La Aventura: ¿Quién?");
    EXPECT_EQ(entryKey.ReadString("DisplayIcon"), game + "TFPLAY.exe");
    EXPECT_EQ(entryKey.ReadString("UninstallString"),
              QStringLiteral("\"%1\" \"%2TFPLAY.ind\"").arg(sweeper, game));

    // The uninstaller is the embedded Sweeper, dated like Setup.
    EXPECT_EQ(ReadFile(sweeper), ReadFile(TF_SWEEPER_PROGRAM));
    EXPECT_TRUE(QFileInfo(sweeper).isExecutable());
    EXPECT_EQ(QFileInfo(sweeper).lastModified(), QFileInfo(QCoreApplication::applicationFilePath()).lastModified());
    EXPECT_FALSE(QFileInfo::exists(ScratchFolderPath()));

    // Uninstall with the record: the game, its shortcut and its key go; the other game stays.
    QString asked;
    EXPECT_EQ(SweeperRun({game + "TFPLAY.ind"},
                         [&](const QString&, const QString& text) { asked = text; return true; }),
              0);
    EXPECT_EQ(asked, "Are you sure you want to uninstall La Aventura: ¿Quién??");
    EXPECT_FALSE(QFileInfo::exists(game));
    EXPECT_TRUE(QFileInfo::exists(base));
    EXPECT_FALSE(QFileInfo::exists(desktop));
    EXPECT_TRUE(QFileInfo::exists(apps + "/Taleforge Studio/Juegos/Otro.desktop"));
    EXPECT_FALSE(QFileInfo::exists(entryKey.FilePath()));
    EXPECT_TRUE(QFileInfo::exists(sweeper)); // the uninstaller does not delete itself
}

TEST_F(test_installer_Setup, WithoutOptionsOnlyTheGameFiles)
{
    const QString project = MakeProject(Path("projects"), "Sólo Ñandú");
    const QString disk = MakeDisk(project, "Sólo");
    WriteInstallOptions({true, true});
    // An editor running beside Setup keeps its work copies in TF_WORK.
    WriteFile(ScratchFolderPath() + "Map0001.lmu", "work copy");
    ASSERT_TRUE(RunSetup(disk, Settings(disk), Path("Juegos"), {false, false}));
    EXPECT_EQ(ReadFile(ScratchFolderPath() + "Map0001.lmu"), "work copy");
    EXPECT_FALSE(QFileInfo::exists(ScratchFolderPath() + "GameDisk"));
    EXPECT_EQ(texts(messages.fake), QStringList{kInstalled});
    EXPECT_EQ(Tree(Path("Juegos/Sólo Ñandú")), PlayableTree(project));
    EXPECT_FALSE(ReadInstallOptions().RegisterProgram);
    EXPECT_FALSE(ReadInstallOptions().PrepareUninstall);
    EXPECT_FALSE(QFileInfo::exists(ApplicationsFolder() + "/Taleforge Studio"));
    EXPECT_FALSE(QFileInfo::exists(Home() + "/.local/bin/sweeper.exe"));
    EXPECT_TRUE(RegistryStore(RegistryStore::Hive::Machine, kUninstallKeyPrefix + "Taleforge Studio Sólo Ñandú")
                    .ValueNames()
                    .isEmpty());
}

TEST_F(test_installer_Setup, ShortcutNameIsRecordedOnlyWithAShortcut)
{
    const QString project = MakeProject(Path("projects"), "Juego");
    const QString disk = MakeDisk(project, "Juego");
    ASSERT_TRUE(RunSetup(disk, Settings(disk), Path("Juegos"), {false, true}));
    const IniFile record(Path("Juegos/Juego/TFPLAY.ind"));
    EXPECT_EQ(record.ReadString("Install Data", "Title", ""), "Juego");
    EXPECT_FALSE(record.ValueExists("Install Data", "ShortcutName"));

    // A shortcut without the uninstall option leaves no record at all.
    ASSERT_TRUE(DeleteFolderTree(Path("Juegos")));
    ASSERT_TRUE(RunSetup(disk, Settings(disk), Path("Juegos"), {true, false}));
    EXPECT_FALSE(QFileInfo::exists(Path("Juegos/Juego/TFPLAY.ind")));
    EXPECT_TRUE(QFileInfo::exists(ApplicationsFolder() + "/Taleforge Studio/Juegos/Juego.desktop"));
}

TEST_F(test_installer_Setup, ThreeFloppyVolumesAskForDisksTwoAndThreeOnly)
{
    const QString project = MakeProject(Path("projects"), "Disquetes");
    const QString disk = MakeDisk(project, "Disquetes", 3);
    // Only the first disk is in the drive; the others wait aside until the player swaps.
    QDir().mkpath(Path("aside"));
    for (const char* v : {"/Disquetes.002", "/Disquetes.003"})
        ASSERT_TRUE(QFile::rename(disk + v, Path("aside") + v));
    FakeDriveProbe drives;
    drives.AddDrive(disk, FakeDriveProbe::Kind::Floppy);
    SetDriveProbe(&drives);
    DiskSwapper swapper;
    int prompts = 0;
    swapper.onPrompt = [&](const QString& text) {
        ++prompts;
        if (text.startsWith("Introduce el disco 2")) {
            QFile::rename(Path("aside/Disquetes.002"), disk + "/Disquetes.002");
        } else if (text.startsWith("Introduce el disco 3") && prompts == 3) {
            QFile::rename(Path("aside/Disquetes.003"), disk + "/Disquetes.003");
        }
        // The first prompt for disk 3 is answered before the disk is in.
        return MessageAnswer::Ok;
    };
    SetMessageService(&swapper);
    TSetupInstaller installer(Settings(disk), disk, Unlha());
    installer.Progress = [](qint64, qint64) { return true; };
    EXPECT_TRUE(installer.Install(Path("Juegos"), {}));
    SetMessageService(&messages.fake);
    EXPECT_EQ(swapper.shown, (QStringList{"Introduce el disco 2 en al unidad.",
                                          "Introduce el disco 3 en al unidad.",
                                          "Introduce el disco 3 en al unidad.", kInstalled}));
    EXPECT_EQ(Tree(Path("Juegos/Disquetes")), PlayableTree(project));
}

TEST_F(test_installer_Setup, VolumeFailuresInterrupt)
{
    const QString project = MakeProject(Path("projects"), "Vol");
    const QString disk = MakeDisk(project, "Vol", 2);
    TSetupInstaller installer(Settings(disk), disk, Unlha());
    installer.Progress = [](qint64, qint64) { return true; };

    // Cancel at the prompt for disk 2.
    messages.fake.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(installer.Install(Path("Juegos"), {}));
    EXPECT_EQ(texts(messages.fake), (QStringList{"Introduce el disco 2 en al unidad.", kInterrupted}));
    EXPECT_FALSE(QFileInfo::exists(Path("Juegos/Vol")));
    EXPECT_FALSE(QFileInfo::exists(installer.StagingFolder()));

    // The first volume missing: its own message first.
    messages.fake.shown.clear();
    QFile::remove(disk + "/Vol.001");
    EXPECT_FALSE(installer.Install(Path("Juegos"), {}));
    EXPECT_EQ(texts(messages.fake),
              (QStringList{QStringLiteral("No se puede abrir el archivo %1/Vol.001.").arg(disk), kInterrupted}));
}

TEST_F(test_installer_Setup, BrokenArchiveInterruptsAndLeavesNoStaging)
{
    const QString project = MakeProject(Path("projects"), "Roto");
    const QString disk = MakeDisk(project, "Roto");
    QByteArray data = ReadFile(disk + "/Roto.lzh");
    data.truncate(data.size() / 2);
    WriteFile(disk + "/Roto.lzh", data);
    TSetupInstaller installer(Settings(disk), disk, Unlha());
    installer.Progress = [](qint64, qint64) { return true; };
    EXPECT_FALSE(installer.Install(Path("Juegos"), {true, true}));
    EXPECT_EQ(texts(messages.fake), QStringList{kInterrupted});
    EXPECT_FALSE(QFileInfo::exists(installer.StagingFolder()));
    EXPECT_FALSE(QFileInfo::exists(Home() + "/.local/bin/sweeper.exe"));
}

TEST_F(test_installer_Setup, SettingsFileWithoutTitleOrNameEndsSilently)
{
    struct Case {
        QByteArray ini;
        bool installs;
    };
    const Case cases[] = {
        {"[Setup]\r\nProjectName=Juego\r\nDiskNumber=0\r\n", false},
        {"[Setup]\r\nGameTitle=Juego\r\n", false},
        {"[Otro]\r\nProjectName=Juego\r\nGameTitle=Juego\r\n", false},
        {"[setup]\r\nprojectname=Juego\r\ngametitle=El Juego\r\n", true},
    };
    for (const Case& c : cases) {
        WriteFile(Path("d/Setup.ini"), c.ini);
        EXPECT_EQ(ReadSetupSettings(Path("d/Setup.ini")).has_value(), c.installs) << c.ini.constData();
    }
    EXPECT_EQ(SetupIniPath("/disco/Setup.exe"), "/disco/Setup.ini");
    EXPECT_EQ(SetupIniPath("/bin/Setup.exe.dat"), "/bin/Setup.exe.ini");

    // The real program: no window, no message, nothing written, exit code 0.
    const QString disk = Path("silent");
    QDir().mkpath(disk);
    QFile::copy(TF_SETUP_PROGRAM, disk + "/Setup.exe");
    WriteFile(disk + "/Setup.ini", cases[0].ini);
    // Fonts and the display may leave a cache and a runtime folder behind; anything else would be Setup's doing.
    auto outsideCache = [&] {
        QStringList t = Tree(Path(""));
        t.removeIf([](const QString& e) {
            return e.startsWith("home/.cache/") || e.startsWith("home/tmp/runtime-");
        });
        return t;
    };
    const QStringList before = outsideCache();
    QProcess setup;
    setup.start(disk + "/Setup.exe", {});
    ASSERT_TRUE(setup.waitForFinished(20000));
    EXPECT_EQ(setup.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(setup.exitCode(), 0);
    EXPECT_EQ(outsideCache(), before);
}

TEST_F(test_installer_Setup, BadProjectNamesAreRefusedBeforeAnythingIsWritten)
{
    const char* bad[] = {"..", ".", "../Fuera", "a/b", "a\\b", "/tmp/x", "C:", "Juego\"x",
                         "tab\there", "line\nbreak", "\x7f", "a*b", "a?b", "a|b"};
    for (const char* name : bad) {
        TSetupSettings s{QString::fromLatin1(name), "Juego", 0};
        EXPECT_FALSE(CheckSetupSettings(s).isEmpty()) << name;
    }
    for (const char* name : {"Juego", "Mi Juego", "Juego_2", "Ñandú"}) {
        TSetupSettings s{QString::fromUtf8(name), "Juego", 0};
        EXPECT_TRUE(CheckSetupSettings(s).isEmpty()) << name;
    }
    EXPECT_FALSE(CheckSetupSettings({"Juego", "Juego", 1000}).isEmpty());
    EXPECT_FALSE(CheckSetupSettings({"Juego", "Juego", -1}).isEmpty());

    // The installer itself refuses too, whoever calls it.
    const QString project = MakeProject(Path("projects"), "Juego");
    const QString disk = MakeDisk(project, "Juego");
    const QStringList before = Tree(Path(""));
    TSetupInstaller installer({"..", "Juego", 0}, disk, Unlha());
    EXPECT_FALSE(installer.Install(Path("Juegos/Dentro"), {true, true}));
    EXPECT_EQ(texts(messages.fake),
              (QStringList{"La ruta de instalación no es válida.", kInterrupted}));
    QStringList after = Tree(Path(""));
    after.removeAll("home/.config/Taleforge/");
    after.removeAll("home/.config/Taleforge/registry/");
    after.removeAll("home/.config/Taleforge/registry/user/");
    after.removeAll("home/.config/Taleforge/registry/user/Software/");
    after.removeAll("home/.config/Taleforge/registry/user/Software/Halvane/");
    after.removeAll("home/.config/Taleforge/registry/user/Software/Halvane/Taleforge.ini");
    EXPECT_EQ(after, before);
}

TEST_F(test_installer_Setup, MissingOrInvalidArchiverIsToldBeforeClosing)
{
    struct Case {
        QString folder;
        QString message;
    };
    const Case cases[] = {
        {Path("empty"), "No se puede abrir el archivo UNLHA32.DLL."},
        {TF_NOUNLHA_FOLDER, "El archivo UNLHA32.DLL no es válido."},
    };
    for (const Case& c : cases) {
        QDir().mkpath(c.folder);
        messages.fake.shown.clear();
        try {
            TArchiverLibrary lib(c.folder);
            ADD_FAILURE() << "loaded from " << c.folder.toStdString();
        } catch (const ESetupError& e) {
            EXPECT_EQ(e.Message, c.message);
        }
        TFormSetupMain main({"Juego", "Juego", 0}, c.folder);
        bool asked = false;
        main.ExecStartDialog = [&](TFormFirstDialog&) { return asked = true; };
        EXPECT_FALSE(main.Installation());
        EXPECT_FALSE(asked);
        EXPECT_EQ(texts(messages.fake), QStringList{c.message});
    }
}

TEST_F(test_installer_Setup, UninstallerIsWrittenOnlyWhenSetupIsNewer)
{
    const QString setup = Path("Setup.exe");
    WriteFile(setup, "setup");
    const QDateTime setupDate = QDateTime::currentDateTime().addDays(-10).addMSecs(-QDateTime::currentDateTime().time().msec());
    {
        QFile f(setup);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(setupDate, QFileDevice::FileModificationTime));
    }
    const QString target = Home() + "/.local/bin/sweeper.exe";
    struct Case {
        const char* what;
        int existingAgeDays; // relative to Setup; 0 = no file
        bool replaced;
    };
    const Case cases[] = {{"missing", 0, true}, {"older", -5, true}, {"same date", 1000, false},
                          {"newer", 3, false}};
    for (const Case& c : cases) {
        QFile::remove(target);
        if (c.existingAgeDays != 0) {
            WriteFile(target, "someone else's");
            QFile f(target);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.setFileTime(c.existingAgeDays == 1000 ? setupDate : setupDate.addDays(c.existingAgeDays),
                          QFileDevice::FileModificationTime);
        }
        TSetupInstaller installer({"Juego", "Juego", 0}, Path("disk"), nullptr);
        installer.SetupProgramFile = setup;
        EXPECT_EQ(installer.WriteUninstaller(), target);
        EXPECT_EQ(ReadFile(target) == SweeperProgram(), c.replaced) << c.what;
        if (c.replaced) {
            EXPECT_EQ(QFileInfo(target).lastModified(), setupDate) << c.what;
        }
    }
    EXPECT_GT(SweeperProgram().size(), 1000);
    EXPECT_EQ(SweeperProgram(), ReadFile(TF_SWEEPER_PROGRAM));
}

TEST_F(test_installer_Setup, DesktopEntriesValidateForAwkwardTitlesAndFolders)
{
    struct Case {
        QString title;
        QString folder;
        QString fileName;
    };
    const Case cases[] = {
        {"Normal", "/juegos/Normal/", "Normal"},
        {"../../etc/passwd", "/juegos/a b/", "_.._etc_passwd"},
        {"...", "/juegos/x/", "Proyecto"},
        {"Tabla\tcon\x01" "control", "/juegos/100% $HOME `x` \\/", "Tabla_con_control"},
        {"Comillas \"dobles\" y 'simples'", "/juegos/q/", "Comillas _dobles_ y 'simples'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TitleAsFileName(c.title, "Proyecto"), c.fileName) << c.title.toStdString();
        const QString file = Path("entries/") + c.fileName + ".desktop";
        WriteFile(file, DesktopEntry(c.title, c.folder));
        const DesktopCheck check = validateDesktopFile(file);
        EXPECT_EQ(check.exitCode, 0) << c.title.toStdString() << check.output.toStdString();
    }
    // The program path survives the desktop entry's quoting.
    const QString entry = QString::fromUtf8(DesktopEntry("x", "/juegos/100% $HOME `x` \\/"));
    EXPECT_TRUE(entry.contains(R"(Exec="/juegos/100%% \\$HOME \\`x\\` \\\\/TFPLAY.exe")"))
        << entry.toStdString();
}

// Disk 1 of a floppy set carries the installer set and a 640000-byte volume; a 1.44 MB disk
// holds 1457664 bytes of files.
TEST(test_installer_DiskSet, InstallerSetAndFirstVolumeFitOnOneFloppy)
{
#ifndef NDEBUG
    GTEST_SKIP() << "debug builds keep their debug information";
#endif
    qint64 bytes = 640000 + 512; // the volume and Setup.ini
    for (const char* name : {"Setup.exe.dat", "UNLHA32.DLL", "UNLHA32.TXT"}) {
        const QFileInfo file(QStringLiteral(TF_PROGRAM_DIR "/") + QLatin1String(name));
        ASSERT_TRUE(file.exists()) << name;
        bytes += file.size();
    }
    EXPECT_LE(bytes, 1457664);
}
