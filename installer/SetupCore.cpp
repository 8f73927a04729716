#include "SetupCore.h"

#include "DriveProbe.h"
#include "FileCopier.h"
#include "FolderTree.h"
#include "Hourglass.h"
#include "IniFile.h"
#include "InstallPlaces.h"
#include "MessageService.h"
#include "ProgramFolder.h"
#include "RegistryStore.h"
#include "ScratchFolder.h"
#include "TextCodec.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

// The resource lives in this library; naming it keeps the linker from dropping it.
static void initSweeperResource()
{
    Q_INIT_RESOURCE(sweeper);
}

namespace {
const QString kSetup = QStringLiteral("Setup");
const QString kRecordSection = QStringLiteral("Install Data");
constexpr qint64 kJoinBlock = 8192;

[[noreturn]] void fail(const QString& message)
{
    throw ESetupError{message};
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString cannotOpen(const QString& path)
{
    return QStringLiteral("No se puede abrir el archivo %1.").arg(native(path));
}

QString cannotWrite(const QString& path)
{
    return QStringLiteral("No se puede escribir el archivo %1.").arg(native(path));
}

// A path that the archiver's command line and the desktop entry can carry as it is.
bool usablePath(const QString& path)
{
    return QDir::isAbsolutePath(path) && !HasControlCharacter(path) && !path.contains('"') &&
           IsCp1252Text(path);
}

// Desktop entry string values: backslash and line breaks escaped.
QString entryString(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c == '\\') out += QLatin1String("\\\\");
        else if (c == '\n') out += QLatin1String("\\n");
        else if (c == '\r') out += QLatin1String("\\r");
        else if (c == '\t') out += QLatin1String("\\t");
        else out += c;
    }
    return out;
}

// One quoted argument of Exec=, then '%' kept from being read as a field code.
QString execArgument(const QString& path)
{
    QString quoted = QStringLiteral("\"");
    for (QChar c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return entryString(quoted.replace('%', QLatin1String("%%")));
}

QString displayName(const QString& title, const QString& fallback)
{
    QString name;
    for (QChar c : title)
        name += HasControlCharacter(QString(c)) ? QChar(' ') : c;
    name = name.simplified();
    return name.isEmpty() ? fallback : name;
}
} // namespace

QString SetupIniPath(const QString& programFile)
{
    const QFileInfo info(programFile);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf('.');
    return info.absolutePath() + '/' + (dot > 0 ? name.left(dot) : name) + QStringLiteral(".ini");
}

std::optional<TSetupSettings> ReadSetupSettings(const QString& iniPath)
{
    const IniFile ini(iniPath);
    TSetupSettings s;
    s.ProjectName = ini.ReadString(kSetup, QStringLiteral("ProjectName"), QString());
    s.GameTitle = ini.ReadString(kSetup, QStringLiteral("GameTitle"), QString());
    s.DiskNumber = ini.ReadInteger(kSetup, QStringLiteral("DiskNumber"), 0);
    if (s.ProjectName.isEmpty() || s.GameTitle.isEmpty())
        return std::nullopt;
    return s;
}

QString CheckSetupSettings(const TSetupSettings& s)
{
    if (!IsSafeFolderName(s.ProjectName))
        return QStringLiteral("El nombre del proyecto \"%1\" de Setup.ini no es válido.")
            .arg(displayName(s.ProjectName, QString()));
    // Volume names have three digits.
    if (s.DiskNumber < 0 || s.DiskNumber > 999)
        return QStringLiteral("El número de discos de Setup.ini no es válido.");
    return {};
}

TInstallOptions ReadInstallOptions()
{
    const RegistryStore key(RegistryStore::Hive::User, kEditorKey);
    return {key.ReadBool(QStringLiteral("RegisterProgramOption"), false),
            key.ReadBool(QStringLiteral("PrepareUninstallOption"), false)};
}

void WriteInstallOptions(const TInstallOptions& options)
{
    RegistryStore key(RegistryStore::Hive::User, kEditorKey);
    key.WriteBool(QStringLiteral("RegisterProgramOption"), options.RegisterProgram);
    key.WriteBool(QStringLiteral("PrepareUninstallOption"), options.PrepareUninstall);
}

QString DefaultInstallBasePath()
{
    const QString path =
        RegistryStore(RegistryStore::Hive::User, kEditorKey).ReadString(QStringLiteral("ApplicationPath"));
    if (!path.isEmpty())
        return WithTrailingSeparator(path);
    return QDir::homePath() + QStringLiteral("/Taleforge/Juegos/");
}

TArchiverLibrary::TArchiverLibrary(const QString& folder)
    : library(WithTrailingSeparator(folder) + QStringLiteral("UNLHA32.DLL"))
{
    if (!library.load())
        fail(QStringLiteral("No se puede abrir el archivo UNLHA32.DLL."));
    unlha = reinterpret_cast<TUnlhaFunction>(library.resolve("Unlha"));
    if (!unlha) {
        library.unload();
        fail(QStringLiteral("El archivo UNLHA32.DLL no es válido."));
    }
}

TArchiverLibrary::~TArchiverLibrary()
{
    library.unload();
}

QByteArray DesktopEntry(const QString& title, const QString& gameFolder)
{
    const QString folder = QDir::cleanPath(gameFolder);
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.0\n");
    text += QStringLiteral("Name=%1\n").arg(entryString(displayName(title, QFileInfo(folder).fileName())));
    text += QStringLiteral("Exec=%1\n").arg(execArgument(folder + QStringLiteral("/TFPLAY.exe")));
    text += QStringLiteral("Path=%1\n").arg(entryString(folder));
    text += QStringLiteral("Terminal=false\n"
                           "Categories=Game;RolePlaying;\n");
    return text.toUtf8();
}

QByteArray SweeperProgram()
{
    initSweeperResource();
    QFile f(QStringLiteral(":/installer/sweeper.exe"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TSetupInstaller::TSetupInstaller(const TSetupSettings& settings, const QString& sourceFolder,
                                 TUnlhaFunction unlha)
    : SetupProgramFile(QCoreApplication::applicationFilePath()), settings(settings),
      source(WithTrailingSeparator(sourceFolder)), unlha(unlha)
{
}

QString TSetupInstaller::StagingFolder() const
{
    return TStagingFolder::Path();
}

QString TSetupInstaller::GameFolder(const QString& basePath) const
{
    return WithTrailingSeparator(QDir::cleanPath(basePath)) + settings.ProjectName + '/';
}

QString TSetupInstaller::UninstallKeyName() const
{
    return kUninstallKeyPrefix + QStringLiteral("Taleforge Studio ") + settings.ProjectName;
}

void TSetupInstaller::prepareStaging()
{
    const QString failed = staging.Prepare();
    if (!failed.isEmpty())
        fail(QStringLiteral("No se puede crear la carpeta temporal %1.").arg(native(failed)));
}

void TSetupInstaller::removeStaging()
{
    staging.Remove();
}

bool TSetupInstaller::copyFile(const QString& from, const QString& to)
{
    FileCopier copier(Owner);
    copier.Progress = Progress;
    return copier.Copy({from}, {to});
}

bool TSetupInstaller::FetchArchive()
{
    if (settings.DiskNumber > 0)
        return fetchVolumes();
    const QString name = settings.ProjectName + QStringLiteral(".lzh");
    return copyFile(source + name, StagingFolder() + name);
}

bool TSetupInstaller::fetchVolumes()
{
    for (int i = 1; i <= settings.DiskNumber; ++i) {
        const QString name = settings.ProjectName + QStringLiteral(".%1").arg(i, 3, 10, QChar('0'));
        const QString volume = source + name;
        if (i == 1) {
            if (!QFileInfo(volume).isFile())
                fail(cannotOpen(volume));
        } else {
            do {
                const MessageAnswer answer = Messages().Show(
                    MessageIcon::Information,
                    QStringLiteral("Introduce el disco %1 en al unidad.").arg(i),
                    MessageButtons::OkCancel);
                if (answer != MessageAnswer::Ok)
                    return false;
            } while (!Drives().IsReady(source) || !QFileInfo(volume).isFile());
        }
        if (!copyFile(volume, StagingFolder() + name))
            return false;
    }
    joinVolumes();
    return true;
}

void TSetupInstaller::joinVolumes()
{
    const QString target = StagingFolder() + settings.ProjectName + QStringLiteral(".lzh");
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        fail(cannotWrite(target));
    QByteArray block;
    for (int i = 1; i <= settings.DiskNumber; ++i) {
        const QString volume =
            StagingFolder() + settings.ProjectName + QStringLiteral(".%1").arg(i, 3, 10, QChar('0'));
        QFile in(volume);
        if (!in.open(QIODevice::ReadOnly))
            fail(cannotOpen(volume));
        while (!(block = in.read(kJoinBlock)).isEmpty()) {
            if (out.write(block) != block.size())
                fail(cannotWrite(target));
        }
        if (in.error() != QFileDevice::NoError)
            fail(cannotOpen(volume));
        in.close();
        QFile::remove(volume); // the joined copy is enough; the staging folder stays small
    }
    if (!out.commit())
        fail(cannotWrite(target));
}

bool TSetupInstaller::Extract(const QString& gameFolder)
{
    const QString archive = StagingFolder() + settings.ProjectName + QStringLiteral(".lzh");
    if (!usablePath(archive) || !usablePath(gameFolder))
        fail(QStringLiteral("La ruta de instalación no es válida."));
    const QByteArray command =
        ToCp1252Bytes(QStringLiteral("x -+ \"%1\" \"%2\"").arg(archive, gameFolder));
    if (!unlha || unlha(nullptr, command.constData(), nullptr, 0) != 0)
        return false;
    // Archives made elsewhere may not carry the exec bit; the game must start from the menu.
    const QString program = gameFolder + QStringLiteral("TFPLAY.exe");
    if (QFileInfo(program).isFile() && !QFileInfo(program).isSymLink())
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner |
                                           QFile::ExeUser | QFile::ReadOwner);
    return true;
}

QString TSetupInstaller::WriteUninstaller()
{
    const QString target = UninstallerFolder() + QStringLiteral("/sweeper.exe");
    const QDateTime setupDate = QFileInfo(SetupProgramFile).lastModified();
    const QFileInfo existing(target);
    if (existing.isFile() && existing.lastModified() >= setupDate)
        return target;
    const QByteArray program = SweeperProgram();
    QDir().mkpath(UninstallerFolder());
    QSaveFile out(target);
    if (program.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(program) != program.size() ||
        !out.commit())
        fail(cannotWrite(target));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::ExeOther);
    QFile dated(target);
    if (dated.open(QIODevice::ReadWrite))
        dated.setFileTime(setupDate, QFileDevice::FileModificationTime);
    return target;
}

QString TSetupInstaller::WriteInstallRecord(const QString& gameFolder)
{
    const QString path = gameFolder + QStringLiteral("TFPLAY.ind");
    IniFile record(path);
    if (!record.WriteString(kRecordSection, QStringLiteral("Title"), settings.GameTitle) ||
        !record.WriteString(kRecordSection, QStringLiteral("UninstallKeyName"), UninstallKeyName()))
        fail(cannotWrite(path));
    return path;
}

void TSetupInstaller::WriteUninstallEntry(const QString& gameFolder, const QString& recordPath,
                                          const QString& uninstallerPath)
{
    RegistryStore key(RegistryStore::Hive::Machine, UninstallKeyName());
    key.WriteString(QStringLiteral("DisplayName"),
                    QStringLiteral("Taleforge Studio - ") + settings.GameTitle);
    key.WriteString(QStringLiteral("DisplayIcon"), gameFolder + QStringLiteral("TFPLAY.exe"));
    // Both paths quoted: homes and game folders may hold spaces.
    key.WriteString(QStringLiteral("UninstallString"),
                    QStringLiteral("\"%1\" \"%2\"").arg(uninstallerPath, recordPath));
}

QString TSetupInstaller::CreateShortcut(const QString& gameFolder)
{
    const QString relative = kShortcutFolder + '/' +
                             TitleAsFileName(settings.GameTitle, settings.ProjectName) +
                             QStringLiteral(".desktop");
    const QString path = ApplicationsFolder() + '/' + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    const QByteArray entry = DesktopEntry(settings.GameTitle, gameFolder);
    if (!out.open(QIODevice::WriteOnly) || out.write(entry) != entry.size() || !out.commit())
        fail(cannotWrite(path));
    if (ShortcutPauseMs > 0)
        QThread::msleep(ShortcutPauseMs);
    return relative;
}

void TSetupInstaller::runSteps(const QString& gameFolder, const TInstallOptions& options)
{
    QString record;
    if (options.PrepareUninstall) {
        const QString uninstaller = WriteUninstaller();
        record = WriteInstallRecord(gameFolder);
        WriteUninstallEntry(gameFolder, record, uninstaller);
    }
    if (options.RegisterProgram) {
        const QString shortcut = CreateShortcut(gameFolder);
        // Named in the record only once it exists, so uninstalling never takes another game's.
        if (!record.isEmpty() &&
            !IniFile(record).WriteString(kRecordSection, QStringLiteral("ShortcutName"), shortcut))
            fail(cannotWrite(record));
    }
}

bool TSetupInstaller::Install(const QString& basePath, const TInstallOptions& options)
{
    WriteInstallOptions(options);
    bool finished = false;
    QString error;
    {
        HourglassGuard hourglass;
        try {
            const QString game = GameFolder(basePath);
            if (!CheckSetupSettings(settings).isEmpty() || !usablePath(game))
                fail(QStringLiteral("La ruta de instalación no es válida."));
            prepareStaging();
            if (FetchArchive() && Extract(game)) {
                runSteps(game, options);
                finished = true;
            }
        } catch (const ESetupError& e) {
            error = e.Message;
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
        removeStaging();
    }
    if (!error.isEmpty())
        Messages().Error(error);
    if (finished)
        Messages().Information(QStringLiteral("Instalación completada."));
    else
        Messages().Error(QStringLiteral("Instalación interrumpida."));
    return finished;
}
