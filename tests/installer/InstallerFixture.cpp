#include "InstallerFixture.h"

#include "DriveProbe.h"
#include "IniFile.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "ScratchFolder.h"
#include "TextCodec.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
const char* const kEnv[][2] = {{"HOME", ""},
                               {"XDG_CONFIG_HOME", "/.config"},
                               {"XDG_DATA_HOME", "/.local/share"},
                               {"XDG_CACHE_HOME", "/.cache"},
                               {"XDG_STATE_HOME", "/.local/state"},
                               {"TMPDIR", "/tmp"}};

void pointHomeAt(const QString& home)
{
    for (const auto& [name, sub] : kEnv) {
        const QString path = home + QLatin1String(sub);
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    }
    qputenv("XDG_RUNTIME_DIR", QByteArray());
}

// Before anything else runs, even test discovery: nothing may reach the real home.
const bool sandboxed = [] {
    pointHomeAt(QStringLiteral(TF_INSTALLER_SANDBOX));
    return true;
}();

class Application : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_installer";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    void TearDown() override { delete app; }

private:
    QApplication* app = nullptr;
};
const auto* registered = ::testing::AddGlobalTestEnvironment(new Application);

const QStringList kMaterialFolders = {"Backdrop", "Battle",   "CharSet", "ChipSet", "FaceSet",
                                      "GameOver", "Monster",  "Movie",   "Music",   "Panorama",
                                      "Picture",  "Sound",    "System",  "Title"};
} // namespace

void InstallerTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFileInfo(dir.path()).canonicalFilePath().startsWith(
        QFileInfo(QStringLiteral(TF_INSTALLER_SANDBOX)).canonicalFilePath()));
    pointHomeAt(Home());
    RegistryStore::SetRootForTests(QString());
    SetScratchParentForTests(QString());
}

void InstallerTest::TearDown()
{
    SetDriveProbe(nullptr);
    pointHomeAt(QStringLiteral(TF_INSTALLER_SANDBOX));
}

void InstallerTest::WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(content);
}

QByteArray InstallerTest::ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString InstallerTest::MakeProject(const QString& parent, const QString& name)
{
    const QString p = parent + '/' + name;
    for (const QString& m : kMaterialFolders)
        QDir().mkpath(p + '/' + m);
    WriteFile(p + "/TFPLAY.exe", "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(p + "/TFPLAY.exe", QFile::permissions(p + "/TFPLAY.exe") | QFile::ExeOwner);
    WriteFile(p + "/TFPLAY.ldb", QByteArray(3000, '\x11'));
    WriteFile(p + "/TFPLAY.lmt", QByteArray(400, '\x22'));
    WriteFile(p + "/TFPLAY.ini", "[TFPLAY]\r\nGameTitle=Prueba\r\n");
    WriteFile(p + "/Map0001.lmu", QByteArray(20000, 'm'));
    WriteFile(p + "/Map0002.lmu", "map two");
    WriteFile(p + "/CharSet/Heroe.png", QByteArray(5000, 'c'));
    WriteFile(p + "/Music/Tema.mid", QByteArray(1200, 'q'));
    WriteFile(p + "/ChipSet/Mundo/Extra.png", "sub folder");
    // Left out by the pack list.
    WriteFile(p + "/Notas.txt", "notes");
    WriteFile(p + "/Map0003.lmu.bak", "backup");
    return p;
}

QStringList InstallerTest::Tree(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString rel = QDir(folder).relativeFilePath(it.filePath());
        out << (it.fileInfo().isDir() ? rel + '/' : rel);
    }
    out.sort();
    return out;
}

QStringList InstallerTest::PlayableTree(const QString& project)
{
    QStringList out;
    for (const QString& entry : Tree(project)) {
        const QString top = entry.section('/', 0, 0);
        if (kMaterialFolders.contains(top) || entry.startsWith(QLatin1String("TFPLAY.")) ||
            QRegularExpression(QStringLiteral("^Map....\\.lmu$")).match(entry).hasMatch())
            out << entry;
    }
    return out;
}

TUnlhaFn InstallerTest::Unlha()
{
    static QLibrary lib(QStringLiteral(TF_PROGRAM_DIR "/UNLHA32.DLL"));
    if (!lib.isLoaded())
        lib.load();
    return reinterpret_cast<TUnlhaFn>(lib.resolve("Unlha"));
}

void InstallerTest::Pack(const QString& project, const QString& archive)
{
    // The response file of a game disk without the run-time package.
    // Response files and command lines are Windows-1252, like the editor writes them.
    QByteArray list = "\"" + ToCp1252Bytes(project) + "/\"\r\n";
    for (const QString& m : kMaterialFolders)
        list += m.toLatin1() + "\r\n";
    list += "TFPLAY.exe\r\nTFPLAY.ldb\r\nTFPLAY.ini\r\nTFPLAY.lmt\r\nMap????.lmu\r\n";
    const QString response = Path("staging/Response.lst");
    WriteFile(response, list);
    const QByteArray command =
        ToCp1252Bytes(QStringLiteral("a -+ -r2 -d -jsl \"%1\" @%2").arg(archive, response));
    TUnlhaFn unlha = Unlha();
    ASSERT_NE(unlha, nullptr);
    ASSERT_EQ(unlha(nullptr, command.constData(), nullptr, 0), 0);
}

QString InstallerTest::MakeDisk(const QString& project, const QString& title, int volumes)
{
    const QString name = QFileInfo(project).fileName();
    const QString disk = Path("disk");
    QDir().mkpath(disk);
    const QString archive = Path("staging/") + name + ".lzh";
    Pack(project, archive);
    QFile::copy(QStringLiteral(TF_SETUP_PROGRAM), disk + "/Setup.exe");
    QFile::copy(QStringLiteral(TF_PROGRAM_DIR "/UNLHA32.DLL"), disk + "/UNLHA32.DLL");
    IniFile ini(disk + "/Setup.ini");
    ini.WriteString("Setup", "ProjectName", name);
    ini.WriteString("Setup", "GameTitle", title);
    ini.WriteInteger("Setup", "DiskNumber", volumes);
    if (volumes == 0) {
        QFile::copy(archive, disk + '/' + name + ".lzh");
        return disk;
    }
    const QByteArray data = ReadFile(archive);
    const qsizetype piece = data.size() / volumes + 1;
    for (int i = 1; i <= volumes; ++i)
        WriteFile(disk + QStringLiteral("/%1.%2").arg(name).arg(i, 3, 10, QChar('0')),
                  data.mid((i - 1) * piece, piece));
    return disk;
}
