// Game disk creation without windows: the staging folder, the response file, the archive, the
// floppy volumes, Setup.ini and the copy of the installer set. The pack dialog and "tfdata pack"
// both run it; what needs a person (disk prompts, the copy's progress) comes in as callbacks.
#pragma once
#include "ScratchFolder.h"

#include <QString>
#include <QStringList>
#include <functional>

// The first volume leaves room for the installer set on disk 1.
constexpr qint64 kFirstVolumeSize = 640000;
constexpr qint64 kNextVolumeSize = 1440000;

using TUnlhaFunction = int (*)(void* owner, const char* cmdLine, char* out, unsigned long outSize);

// "Unlha" of UNLHA32.DLL in `programFolder`; null when it cannot be loaded. The library stays
// loaded for the rest of the run, as the editor keeps it from start-up.
TUnlhaFunction LoadUnlha(const QString& programFolder);

// "<name>.001", "<name>.002", ...
QString PackVolumeName(const QString& projectName, int number);
// Cuts `archive` into volumes beside it named after `projectName`: `first` bytes, then `next`
// bytes each, the last holding the rest. Returns their paths in order; throws EVudError.
QStringList SplitArchive(const QString& archive, const QString& projectName, qint64 first = kFirstVolumeSize,
                         qint64 next = kNextVolumeSize);

// The response file's lines. Names that do not exist in their base folder are left out: the
// archiver refuses a missing literal name, and a project may lack a material folder.
QStringList PackResponseLines(const QString& projectFolder, const QString& runtimePackage);
QString PackCommandLine(const QString& archive, const QString& responseFile);

// Why the project's game title cannot go onto a disk (empty: it can).
QString GamePackTitleProblem(const QString& projectFolder);

// The installer set that goes beside the archive.
inline const QStringList kInstallerFiles = {QStringLiteral("Setup.exe.dat"), QStringLiteral("UNLHA32.DLL"),
                                            QStringLiteral("UNLHA32.TXT")};

struct TGamePackJob {
    QString ProjectFolder;   // the project, with or without a trailing '/'
    QString Destination;     // a folder, or a floppy drive's root
    bool IncludeRtp = false;
    QString RuntimePackage;  // used when IncludeRtp
    QString ProgramFolder;   // holds kInstallerFiles
};

// The copy for callers without a window: FileCopier with no progress display.
bool CopyWithoutProgress(const QStringList& from, const QStringList& to, QString& failedFile);

class TGamePacker {
public:
    explicit TGamePacker(const TGamePackJob& job);

    TUnlhaFunction Unlha = nullptr;
    // Copies files to a parallel list of targets; false when it failed (`failedFile` names the
    // file) or was cancelled (`failedFile` empty).
    std::function<bool(const QStringList& from, const QStringList& to, QString& failedFile)> Copy;
    // "Por favor, inserte el disco %d previamente formateado.": false cancels.
    std::function<bool(int disk)> AskDisk;
    // "Se necesitan %d disquetes de 1.44 MB."
    std::function<void(int count)> TellDiskCount;

    // True when the disk is complete. Otherwise Error() says why; it is empty when the user
    // cancelled. Either way "FullPackageFlag" is gone and the staging folder removed.
    bool Run();

    const QString& Error() const { return error; }
    int DiskCount() const { return diskCount; }
    bool OnFloppy() const;
    QString ProjectName() const;
    QString StagingFolder() const;
    QString ArchivePath() const;

private:
    void check();
    void prepareStaging();
    void removeStaging();
    void setFlag(bool value);
    void writeResponseFile();
    void pack();
    void writeSetupIni();
    bool copySet();
    bool copy(const QStringList& from, const QStringList& to);

    TGamePackJob job;
    QString gameTitle;
    QString error;
    QStringList volumes;
    int diskCount = 0;
    TStagingFolder staging;
};
