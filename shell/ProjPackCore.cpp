#include "ProjPackCore.h"

#include "DriveProbe.h"
#include "FileCopier.h"
#include "FolderTree.h"
#include "IniFile.h"
#include "Materials.h"
#include "ProgramFolder.h"
#include "ScratchFolder.h"
#include "Settings.h"
#include "TextCodec.h"
#include "VudError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QSaveFile>

namespace {
const QString kSection = QStringLiteral("Setup");
const QStringList kProjectFiles = {QStringLiteral("TFPLAY.exe"), QStringLiteral("TFPLAY.ldb"),
                                   QStringLiteral("TFPLAY.ini"), QStringLiteral("TFPLAY.lmt")};
constexpr qint64 kSplitBlock = 64 * 1024;

[[noreturn]] void fail(const QString& message)
{
    throw EVudError(message.toStdString());
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool hasControl(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0))
            return true;
    }
    return false;
}

// What a response file line and the quoted command line can carry unchanged.
bool listablePath(const QString& path)
{
    return !path.contains('"') && !hasControl(path) && IsCp1252Text(path);
}

// The name Setup takes as the game's folder: it refuses the same characters.
bool usableProjectName(const QString& name)
{
    static const QString forbidden = QStringLiteral("\\/:?*<>|\"");
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || hasControl(name) ||
        !IsCp1252Text(name))
        return false;
    for (QChar c : name) {
        if (forbidden.contains(c))
            return false;
    }
    return true;
}

// `name` as it is spelled in `folder` (names from the data ignore letter case), or empty.
QString existingName(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + name))
        return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    }
    return QString();
}

void addExisting(QStringList& lines, const QString& folder, const QStringList& names)
{
    for (const QString& n : names) {
        if (!existingName(folder, n).isEmpty())
            lines << n;
    }
}

QString quoted(const QString& folder)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(folder) + QLatin1Char('"');
}
} // namespace

TUnlhaFunction LoadUnlha(const QString& programFolder)
{
    // Never unloaded: the address must stay valid while the program runs. One load per file.
    static QHash<QString, TUnlhaFunction> loaded;
    const QString file = WithTrailingSeparator(programFolder) + QStringLiteral("UNLHA32.DLL");
    if (const auto it = loaded.constFind(file); it != loaded.cend())
        return *it;
    auto* library = new QLibrary(file);
    if (!library->load()) {
        delete library;
        return nullptr;
    }
    auto unlha = reinterpret_cast<TUnlhaFunction>(library->resolve("Unlha"));
    if (!unlha) {
        delete library;
        return nullptr;
    }
    loaded.insert(file, unlha);
    return unlha;
}

QString PackVolumeName(const QString& projectName, int number)
{
    return projectName + QStringLiteral(".%1").arg(number, 3, 10, QLatin1Char('0'));
}

QStringList SplitArchive(const QString& archive, const QString& projectName, qint64 first, qint64 next)
{
    QFile in(archive);
    if (!in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("No se puede abrir el archivo %1.").arg(native(archive)));
    const QString folder = QFileInfo(archive).absolutePath() + '/';
    QStringList volumes;
    qint64 left = in.size();
    // An empty archive still makes one (empty) volume: Setup expects at least disk 1.
    do {
        const qint64 size = std::min(left, volumes.isEmpty() ? first : next);
        const QString path = folder + PackVolumeName(projectName, int(volumes.size()) + 1);
        if (volumes.size() >= 999)
            fail(QStringLiteral("El juego necesita más de 999 disquetes."));
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            fail(QStringLiteral("No se puede escribir el archivo %1.").arg(native(path)));
        for (qint64 done = 0; done < size;) {
            const QByteArray block = in.read(std::min(kSplitBlock, size - done));
            if (block.isEmpty())
                fail(QStringLiteral("No se puede leer el archivo %1.").arg(native(archive)));
            if (out.write(block) != block.size())
                fail(QStringLiteral("No se puede escribir el archivo %1.").arg(native(path)));
            done += block.size();
        }
        if (!out.commit())
            fail(QStringLiteral("No se puede escribir el archivo %1.").arg(native(path)));
        volumes << path;
        left -= size;
    } while (left > 0);
    return volumes;
}

QStringList PackResponseLines(const QString& projectFolder, const QString& runtimePackage)
{
    const QString project = WithTrailingSeparator(projectFolder);
    const QString rtp = WithTrailingSeparator(runtimePackage);
    QStringList lines;
    if (!rtp.isEmpty()) {
        lines << quoted(rtp);
        addExisting(lines, rtp, MaterialFolders());
    }
    lines << quoted(project);
    addExisting(lines, project, MaterialFolders());
    addExisting(lines, project, kProjectFiles);
    lines << QStringLiteral("Map????.lmu");
    if (!rtp.isEmpty())
        lines << quoted(rtp);
    return lines;
}

QString GamePackTitleProblem(const QString& projectFolder)
{
    // Setup ends without a word on a disk without a title.
    if (ReadGameTitle(projectFolder).trimmed().isEmpty())
        return QStringLiteral("El juego no tiene título. Escriba un título para el proyecto antes de "
                              "crear la instalación.");
    return QString();
}

QString PackCommandLine(const QString& archive, const QString& responseFile)
{
    return QStringLiteral("a -+ -r2 -d -jsl \"%1\" @%2").arg(native(archive), native(responseFile));
}

TGamePacker::TGamePacker(const TGamePackJob& j) : job(j)
{
    job.ProjectFolder = WithTrailingSeparator(QDir::cleanPath(QDir(j.ProjectFolder).absolutePath()));
    job.Destination = WithTrailingSeparator(QDir::cleanPath(QDir(j.Destination).absolutePath()));
    job.ProgramFolder = WithTrailingSeparator(j.ProgramFolder);
    job.RuntimePackage = WithTrailingSeparator(j.RuntimePackage);
}

QString TGamePacker::ProjectName() const
{
    return QDir(job.ProjectFolder).dirName();
}

bool CopyWithoutProgress(const QStringList& from, const QStringList& to, QString& failedFile)
{
    FileCopier copier;
    copier.Progress = [](qint64, qint64) { return true; };
    const bool ok = copier.Copy(from, to);
    failedFile = copier.FailedFile();
    return ok;
}

QString TGamePacker::StagingFolder() const
{
    return TStagingFolder::Path();
}

QString TGamePacker::ArchivePath() const
{
    return StagingFolder() + ProjectName() + QStringLiteral(".lzh");
}

bool TGamePacker::OnFloppy() const
{
    return Drives().IsFloppy(job.Destination);
}

bool TGamePacker::Run()
{
    error.clear();
    volumes.clear();
    diskCount = 0;
    bool complete = false;
    try {
        check();
        prepareStaging();
        setFlag(job.IncludeRtp);
        writeResponseFile();
        pack();
        // The archive holds the ini as it was while packing; the project itself keeps no flag.
        setFlag(false);
        if (OnFloppy()) {
            volumes = SplitArchive(ArchivePath(), ProjectName());
            diskCount = int(volumes.size());
            if (TellDiskCount)
                TellDiskCount(diskCount);
        }
        writeSetupIni();
        complete = copySet();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    // Whatever happened, the project must not keep the flag: a run that cannot remove it failed.
    if (QFileInfo(job.ProjectFolder).isDir()) {
        SetFullPackageFlag(job.ProjectFolder, false);
        if (IniFile(ProjectIniPath(job.ProjectFolder)).ValueExists(QStringLiteral("TFPLAY"),
                                                                    QStringLiteral("FullPackageFlag"))) {
            complete = false;
            if (error.isEmpty())
                error = QStringLiteral("No se puede escribir el archivo %1.")
                            .arg(native(ProjectIniPath(job.ProjectFolder)));
        }
    }
    removeStaging();
    return complete;
}

void TGamePacker::check()
{
    if (!QFileInfo(job.ProjectFolder).isDir())
        fail(QStringLiteral("No se encuentra la carpeta del proyecto %1.").arg(native(job.ProjectFolder)));
    if (!usableProjectName(ProjectName()))
        fail(QStringLiteral("El nombre de la carpeta del proyecto no es válido para un disco de juego."));
    const QString titleProblem = GamePackTitleProblem(job.ProjectFolder);
    if (!titleProblem.isEmpty())
        fail(titleProblem);
    gameTitle = ReadGameTitle(job.ProjectFolder);
    for (const QString& f : {QStringLiteral("TFPLAY.exe"), QStringLiteral("TFPLAY.ldb"), QStringLiteral("TFPLAY.lmt")}) {
        if (existingName(job.ProjectFolder, f).isEmpty())
            fail(QStringLiteral("Falta el archivo %1 del proyecto.").arg(f));
    }
    if (job.IncludeRtp && (job.RuntimePackage.isEmpty() || !QFileInfo(job.RuntimePackage).isDir()))
        fail(QStringLiteral("No está instalado el RTP de Taleforge Studio."));
    for (const QString& f : kInstallerFiles) {
        if (!QFileInfo(job.ProgramFolder + f).isFile())
            fail(QStringLiteral("No se encuentra el archivo %1.").arg(native(job.ProgramFolder + f)));
    }
    for (const QString& p : {job.ProjectFolder, job.IncludeRtp ? job.RuntimePackage : QString(), StagingFolder()}) {
        if (!listablePath(p))
            fail(QStringLiteral("La ruta %1 contiene caracteres que el archivador no admite.").arg(native(p)));
    }
    // The scratch folder is emptied after the run: a disk made there would be lost.
    if (!QDir::isAbsolutePath(job.Destination) || job.Destination.startsWith(ScratchFolderPath()))
        fail(QStringLiteral("No se puede establecer la ruta especificada."));
}

void TGamePacker::prepareStaging()
{
    const QString failed = staging.Prepare();
    if (!failed.isEmpty())
        fail(QStringLiteral("No se puede crear la carpeta temporal %1.").arg(native(failed)));
}

void TGamePacker::removeStaging()
{
    staging.Remove();
}

void TGamePacker::setFlag(bool value)
{
    const QString ini = ProjectIniPath(job.ProjectFolder);
    const bool written = SetFullPackageFlag(job.ProjectFolder, value);
    if (!written || IniFile(ini).ValueExists(QStringLiteral("TFPLAY"), QStringLiteral("FullPackageFlag")) != value)
        fail(QStringLiteral("No se puede escribir el archivo %1.").arg(native(ini)));
}

void TGamePacker::writeResponseFile()
{
    const QStringList lines = PackResponseLines(job.ProjectFolder, job.IncludeRtp ? job.RuntimePackage : QString());
    const QString path = StagingFolder() + QStringLiteral("Response.lst");
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(ToCp1252Bytes(lines.join(QStringLiteral("\r\n")) + "\r\n")) < 0 ||
        !out.commit())
        fail(QStringLiteral("No se puede escribir el archivo %1.").arg(native(path)));
}

void TGamePacker::pack()
{
    const QByteArray command =
        ToCp1252Bytes(PackCommandLine(ArchivePath(), StagingFolder() + QStringLiteral("Response.lst")));
    if (!Unlha)
        fail(QStringLiteral("No se ha encontrado Unlha32.dll."));
    // Our library shows no window: its message is what tells the author why.
    QByteArray message(1024, '\0');
    const int result = Unlha(nullptr, command.constData(), message.data(), static_cast<unsigned long>(message.size()));
    if (result != 0 || !QFileInfo(ArchivePath()).isFile()) {
        const QString why = FromCp1252(QByteArray(message.constData()));
        fail(QStringLiteral("No se pudo crear el archivo del juego%1").arg(why.isEmpty() ? "." : ": " + why));
    }
}

void TGamePacker::writeSetupIni()
{
    IniFile ini(StagingFolder() + QStringLiteral("Setup.ini"));
    if (!ini.WriteString(kSection, QStringLiteral("ProjectName"), ProjectName()) ||
        !ini.WriteString(kSection, QStringLiteral("GameTitle"), gameTitle) ||
        !ini.WriteInteger(kSection, QStringLiteral("DiskNumber"), diskCount))
        fail(QStringLiteral("No se puede escribir el archivo %1.").arg(native(ini.FileName())));
}

bool TGamePacker::copy(const QStringList& from, const QStringList& to)
{
    QString failed;
    if (!Copy)
        fail(QStringLiteral("No se pueden copiar los archivos."));
    if (Copy(from, to, failed))
        return true;
    if (!failed.isEmpty())
        fail(QStringLiteral("No se puede copiar el archivo %1.").arg(native(failed)));
    return false;
}

bool TGamePacker::copySet()
{
    QStringList from = {StagingFolder() + QStringLiteral("Setup.ini")};
    QStringList to = {job.Destination + QStringLiteral("Setup.ini")};
    for (const QString& f : kInstallerFiles) {
        from << job.ProgramFolder + f;
        // The installer travels as "Setup.exe"; its settings file is named after it.
        to << job.Destination + (f == QLatin1String("Setup.exe.dat") ? QStringLiteral("Setup.exe") : f);
    }
    if (diskCount == 0) {
        from << ArchivePath();
        to << job.Destination + ProjectName() + QStringLiteral(".lzh");
        return copy(from, to);
    }
    for (int disk = 1; disk <= diskCount; ++disk) {
        do {
            if (!AskDisk || !AskDisk(disk))
                return false;
        } while (!Drives().IsReady(job.Destination) || !Drives().IsEmpty(job.Destination));
        if (disk > 1) {
            from.clear();
            to.clear();
        }
        from << volumes[disk - 1];
        to << job.Destination + PackVolumeName(ProjectName(), disk);
        if (!copy(from, to))
            return false;
    }
    return true;
}
