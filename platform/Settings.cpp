#include "Settings.h"

#include "IniFile.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "storage/LD_Map.h"

#include <QDir>
#include <QFileInfo>

namespace {
RegistryStore editorKey()
{
    return RegistryStore(RegistryStore::Hive::User, kEditorKey);
}

RegistryStore sharedKey()
{
    return RegistryStore(RegistryStore::Hive::User, kSharedKey);
}

QString& currentProject()
{
    static QString folder;
    return folder;
}

const QString kSection = QStringLiteral("TFPLAY");

IniFile projectIni(const QString& folder)
{
    return IniFile(ProjectIniPath(folder));
}

// An installed editor cannot write beside itself: projects then go to the user's home.
QString defaultBasePath()
{
    const QString program = ProgramFolder();
    if (QFileInfo(program).isWritable())
        return program;
    const QString home = WithTrailingSeparator(QDir::homePath()) + QStringLiteral("Taleforge/");
    QDir().mkpath(home);
    return home;
}
} // namespace

bool ReadFullScreenFlag() { return editorKey().ReadBool(QStringLiteral("FullScreenFlag"), true); }
void WriteFullScreenFlag(bool v) { editorKey().WriteBool(QStringLiteral("FullScreenFlag"), v); }
bool ReadShowTitleFlag() { return editorKey().ReadBool(QStringLiteral("ShowTitleFlag"), false); }
void WriteShowTitleFlag(bool v) { editorKey().WriteBool(QStringLiteral("ShowTitleFlag"), v); }

QString ReadProjectBasePath()
{
    const QString stored = editorKey().ReadString(QStringLiteral("ProjectBasePath"));
    return stored.isEmpty() ? defaultBasePath() : WithTrailingSeparator(stored);
}

void WriteProjectBasePath(const QString& folder)
{
    editorKey().WriteString(QStringLiteral("ProjectBasePath"), WithTrailingSeparator(folder));
}

QString ReadOpenedProjectFolder()
{
    return editorKey().ReadString(QStringLiteral("OpenedProjectFolder"));
}

void WriteOpenedProjectFolder(const QString& name)
{
    editorKey().WriteString(QStringLiteral("OpenedProjectFolder"), name);
}

void WriteApplicationPath()
{
    editorKey().WriteString(QStringLiteral("ApplicationPath"), ProgramFolder());
}

bool ReadIncludeRtpOption()
{
    return editorKey().ReadBool(QStringLiteral("IncludeRtpOption"), false);
}

void WriteIncludeRtpOption(bool v)
{
    editorKey().WriteBool(QStringLiteral("IncludeRtpOption"), v);
}

QString ReadMaterialPath() { return editorKey().ReadString(QStringLiteral("MaterialPath")); }
void WriteMaterialPath(const QString& f) { editorKey().WriteString(QStringLiteral("MaterialPath"), f); }

QString ReadRuntimePackagePathValue()
{
    return sharedKey().ReadString(QStringLiteral("RuntimePackagePath"));
}

void WriteRuntimePackagePathValue(const QString& folder)
{
    sharedKey().WriteString(QStringLiteral("RuntimePackagePath"), folder);
}

QByteArray ReadWindowPlacement(const QString& formName)
{
    return sharedKey().ReadBinary(formName + QStringLiteral("_Placement"));
}

void WriteWindowPlacement(const QString& formName, const QByteArray& geometry)
{
    sharedKey().WriteBinary(formName + QStringLiteral("_Placement"), geometry);
}

QString RuntimePackagePath()
{
    QString path = ReadRuntimePackagePathValue();
    if (path.isEmpty()) {
        const QString beside = ProgramFolder() + QStringLiteral("RTP");
        if (QFileInfo(beside).isDir()) {
            path = beside;
            WriteRuntimePackagePathValue(path);
        }
    }
    // A stored path is taken as it is, even when the folder has gone.
    return WithTrailingSeparator(path);
}

QString CurrentProjectFolder()
{
    return currentProject();
}

void SetCurrentProjectFolder(const QString& folder)
{
    currentProject() = WithTrailingSeparator(folder);
    // Storage reads and writes the map files there: one folder for both layers.
    SetProjectFolder(ToStoragePath(currentProject()));
}

QString ProjectIniPath(const QString& projectFolder)
{
    return WithTrailingSeparator(projectFolder) + QStringLiteral("TFPLAY.ini");
}

QString ReadGameTitle(const QString& f)
{
    return projectIni(f).ReadString(kSection, QStringLiteral("GameTitle"), QStringLiteral("Untitled"));
}

bool WriteGameTitle(const QString& f, const QString& title)
{
    return projectIni(f).WriteString(kSection, QStringLiteral("GameTitle"), title);
}

int ReadMapEditMode(const QString& f)
{
    return projectIni(f).ReadInteger(kSection, QStringLiteral("MapEditMode"), 0);
}

bool WriteMapEditMode(const QString& f, int mode)
{
    return projectIni(f).WriteInteger(kSection, QStringLiteral("MapEditMode"), mode);
}

int ReadMapEditZoom(const QString& f)
{
    return projectIni(f).ReadInteger(kSection, QStringLiteral("MapEditZoom"), 0);
}

bool WriteMapEditZoom(const QString& f, int zoom)
{
    return projectIni(f).WriteInteger(kSection, QStringLiteral("MapEditZoom"), zoom);
}

bool SetFullPackageFlag(const QString& f, bool value)
{
    IniFile ini = projectIni(f);
    return value ? ini.WriteBool(kSection, QStringLiteral("FullPackageFlag"), true)
                 : ini.DeleteKey(kSection, QStringLiteral("FullPackageFlag"));
}
