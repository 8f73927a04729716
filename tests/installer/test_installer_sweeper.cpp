// Sweeper: removes what the install record describes, and refuses records that point elsewhere.
#include "InstallerFixture.h"

#include "IniFile.h"
#include "InstallPlaces.h"
#include "RegistryStore.h"
#include "Sweeper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {
const QString kKey = kUninstallKeyPrefix + "Taleforge Studio Juego";

void writeRecord(const QString& path, const QString& title, const QString& key,
                 const QString& shortcut)
{
    IniFile record(path);
    if (!title.isNull())
        record.WriteString("Install Data", "Title", title);
    if (!key.isNull())
        record.WriteString("Install Data", "UninstallKeyName", key);
    if (!shortcut.isNull())
        record.WriteString("Install Data", "ShortcutName", shortcut);
}
} // namespace

class SweeperTest : public InstallerTest {
protected:
    // An installed game "Juego" in <tmp>/Juegos with its shortcut and key.
    QString Install()
    {
        const QString game = Path("Juegos/Juego");
        WriteFile(game + "/TFPLAY.exe", "x");
        WriteFile(game + "/Music/Tema.mid", "x");
        QDir().mkpath(game + "/Movie");
        WriteFile(ApplicationsFolder() + "/Taleforge Studio/Juegos/Juego.desktop", "[Desktop Entry]\n");
        RegistryStore(RegistryStore::Hive::Machine, kKey).WriteString("DisplayName", "Juego");
        writeRecord(game + "/TFPLAY.ind", "Juego", kKey, "Taleforge Studio/Juegos/Juego.desktop");
        return game;
    }
    int Run(const QStringList& args)
    {
        return SweeperRun(args, [this](const QString& caption, const QString& text) {
            questions << caption + " | " + text;
            return answer;
        });
    }
    QStringList questions;
    bool answer = true;
};

// ctest picks the installer tests by this prefix.
using test_installer_Sweeper = SweeperTest;

TEST_F(test_installer_Sweeper, RemovesGameShortcutFoldersAndKey)
{
    const QString game = Install();
    EXPECT_EQ(Run({game + "/TFPLAY.ind"}), 0);
    EXPECT_EQ(questions, QStringList{"Are you sure you want to uninstall? | "
                                     "Are you sure you want to uninstall Juego?"});
    EXPECT_FALSE(QFileInfo::exists(game));
    EXPECT_TRUE(QFileInfo::exists(Path("Juegos")));
    // Its menu folders were empty afterwards, so they went too; the applications folder stays.
    EXPECT_FALSE(QFileInfo::exists(ApplicationsFolder() + "/Taleforge Studio"));
    EXPECT_TRUE(QFileInfo::exists(ApplicationsFolder()));
    EXPECT_FALSE(QFileInfo::exists(RegistryStore(RegistryStore::Hive::Machine, kKey).FilePath()));
}

TEST_F(test_installer_Sweeper, NoAnswerNoTitleNoArgumentDeleteNothing)
{
    const QString game = Install();
    answer = false;
    Run({game + "/TFPLAY.ind"});
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(Run({}), 0);
    QDir().mkpath(Path("Otro"));
    writeRecord(Path("Otro/TFPLAY.ind"), QString(), kKey, "Taleforge Studio/Juegos/Juego.desktop");
    Run({Path("Otro/TFPLAY.ind")});
    Run({Path("nothing/TFPLAY.ind")});
    EXPECT_EQ(questions.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(game + "/Music/Tema.mid"));
    EXPECT_TRUE(QFileInfo::exists(Path("Otro/TFPLAY.ind")));
    EXPECT_TRUE(QFileInfo::exists(ApplicationsFolder() + "/Taleforge Studio/Juegos/Juego.desktop"));
    EXPECT_TRUE(QFileInfo::exists(RegistryStore(RegistryStore::Hive::Machine, kKey).FilePath()));
}

TEST_F(test_installer_Sweeper, RefusesRecordsThatReachOutsideTheirPlace)
{
    const QString shortcut = "Taleforge Studio/Juegos/Juego.desktop";
    QFile::link(Home(), Path("enlace"));
    QDir().mkpath(ApplicationsFolder());
    ASSERT_TRUE(QFile::link(Path("fuera"), ApplicationsFolder() + "/Enlazada"));
    struct Case {
        const char* what;
        QString record;
        QString key;
        QString shortcut;
    };
    const Case cases[] = {
        {"home folder", Home() + "/TFPLAY.ind", kKey, shortcut},
        {"home through a link", Path("enlace/TFPLAY.ind"), kKey, shortcut},
        {"data folder", Home() + "/.local/share/TFPLAY.ind", kKey, shortcut},
        {"an ancestor of home", Path("TFPLAY.ind"), kKey, shortcut},
        {"not a record", Path("Juegos/Juego/Notas.ini"), kKey, shortcut},
        {"shortcut climbing out", Path("Juegos/Juego/TFPLAY.ind"), kKey, "../../../Juegos/Juego/TFPLAY.exe.desktop"},
        {"shortcut with ..", Path("Juegos/Juego/TFPLAY.ind"), kKey, "Taleforge Studio/../../x.desktop"},
        {"absolute shortcut", Path("Juegos/Juego/TFPLAY.ind"), kKey, Path("x.desktop")},
        {"not a desktop entry", Path("Juegos/Juego/TFPLAY.ind"), kKey, "Taleforge Studio/Juegos/Juego.lnk"},
        {"shortcut through a link", Path("Juegos/Juego/TFPLAY.ind"), kKey, "Enlazada/x.desktop"},
        {"key elsewhere", Path("Juegos/Juego/TFPLAY.ind"), "Software\\Halvane\\Taleforge", shortcut},
        {"key climbing out", Path("Juegos/Juego/TFPLAY.ind"), kUninstallKeyPrefix + "..\\..\\Run", shortcut},
        {"bare prefix", Path("Juegos/Juego/TFPLAY.ind"), kUninstallKeyPrefix, shortcut},
    };
    for (const Case& c : cases) {
        Install();
        WriteFile(Path("fuera/x.desktop"), "outside");
        writeRecord(c.record, "Juego", c.key, c.shortcut);
        QString why;
        EXPECT_FALSE(ReadSweepPlan(c.record, &why).has_value()) << c.what;
        EXPECT_FALSE(why.isEmpty()) << c.what;
        Run({c.record});
        EXPECT_TRUE(questions.isEmpty()) << c.what;
        EXPECT_TRUE(QFileInfo::exists(c.record)) << c.what;
        EXPECT_TRUE(QFileInfo::exists(Path("Juegos/Juego/TFPLAY.exe"))) << c.what;
        EXPECT_TRUE(QFileInfo::exists(Path("fuera/x.desktop"))) << c.what;
        EXPECT_TRUE(QFileInfo::exists(RegistryStore(RegistryStore::Hive::Machine, kKey).FilePath())) << c.what;
        QFile::remove(c.record);
    }
}

TEST_F(test_installer_Sweeper, LinksInsideTheGameAreRemovedNotFollowed)
{
    const QString game = Install();
    WriteFile(Path("valioso/carta.txt"), "keep");
    QFile::link(Path("valioso"), game + "/Picture");
    QFile::link(Path("valioso/carta.txt"), game + "/carta.txt");
    // Another game keeps the menu folders alive.
    WriteFile(ApplicationsFolder() + "/Taleforge Studio/Juegos/Otro.desktop", "[Desktop Entry]\n");
    Run({game + "/TFPLAY.ind"});
    EXPECT_FALSE(QFileInfo::exists(game));
    EXPECT_EQ(ReadFile(Path("valioso/carta.txt")), "keep");
    EXPECT_FALSE(QFileInfo::exists(ApplicationsFolder() + "/Taleforge Studio/Juegos/Juego.desktop"));
    EXPECT_TRUE(QFileInfo::exists(ApplicationsFolder() + "/Taleforge Studio/Juegos/Otro.desktop"));
}

TEST_F(test_installer_Sweeper, TheProgramEndsQuietlyWithoutWorkToAsk)
{
    // The built uninstaller, as Setup writes it out: no argument, no title, a refused record.
    const QString sweeper = TF_SWEEPER_PROGRAM;
    writeRecord(Path("a/TFPLAY.ind"), QString(), kKey, QString());
    writeRecord(Home() + "/TFPLAY.ind", "Juego", kKey, QString());
    struct Case {
        QStringList args;
        QString error;
    };
    const Case cases[] = {{{}, ""}, {{Path("a/TFPLAY.ind")}, ""}, {{Home() + "/TFPLAY.ind"}, "refusing"}};
    for (const Case& c : cases) {
        QProcess p;
        p.start(sweeper, c.args);
        ASSERT_TRUE(p.waitForFinished(20000)) << c.args.join(' ').toStdString();
        EXPECT_EQ(p.exitCode(), 0);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_EQ(err.contains("sweeper: " + c.error), !c.error.isEmpty()) << err.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(Home() + "/TFPLAY.ind"));
}
