// What Setup does, apart from its windows: read the disk's Setup.ini, load the archiver, fetch
// and join the archive volumes, extract the game, and leave the uninstaller, the install record,
// the uninstall entry and the menu shortcut behind. Messages go through Messages().
#pragma once
#include "ScratchFolder.h"

#include <QLibrary>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// An error that stops the installation, with the message shown to the player.
struct ESetupError {
    QString Message;
};

struct TSetupSettings {
    QString ProjectName;
    QString GameTitle;
    int DiskNumber = 0;
};

// The settings file of `programFile`: its name with the last extension replaced by ".ini".
QString SetupIniPath(const QString& programFile);
// Nothing when "ProjectName" or "GameTitle" is missing: Setup then ends without a word.
std::optional<TSetupSettings> ReadSetupSettings(const QString& iniPath);
// Why the settings cannot be installed (a message for the player), or empty when they can.
QString CheckSetupSettings(const TSetupSettings& settings);

struct TInstallOptions {
    bool RegisterProgram = false;  // "RegisterProgramOption": the menu shortcut
    bool PrepareUninstall = false; // "PrepareUninstallOption": sweeper, record, uninstall entry
};
TInstallOptions ReadInstallOptions();
void WriteInstallOptions(const TInstallOptions& options);
// "ApplicationPath" of the editor's key, else the games folder in the user's home; with '/'.
QString DefaultInstallBasePath();

using TUnlhaFunction = int (*)(void* owner, const char* cmdLine, char* out, unsigned long outSize);

// UNLHA32.DLL from `folder`, loaded by absolute path for as long as the object lives.
class TArchiverLibrary {
public:
    // Throws ESetupError with "No se puede abrir el archivo UNLHA32.DLL." or "El archivo
    // UNLHA32.DLL no es válido.".
    explicit TArchiverLibrary(const QString& folder);
    ~TArchiverLibrary();
    TUnlhaFunction Unlha() const { return unlha; }

private:
    QLibrary library;
    TUnlhaFunction unlha = nullptr;
};

// The desktop entry of a game's shortcut (name, program, working folder).
QByteArray DesktopEntry(const QString& title, const QString& gameFolder);
// The uninstaller carried inside Setup.
QByteArray SweeperProgram();

class TSetupInstaller {
public:
    TSetupInstaller(const TSetupSettings& settings, const QString& sourceFolder, TUnlhaFunction unlha);

    // Whose file date "sweeper.exe" takes (default: the running program).
    QString SetupProgramFile;
    // The wait after a shortcut is saved.
    int ShortcutPauseMs = 1200;
    // Owner of the copy progress; Progress replaces it (tests).
    QWidget* Owner = nullptr;
    std::function<bool(qint64 done, qint64 total)> Progress;

    // The installation from the options on: true when it finished. Every outcome has been told
    // to the player when it returns.
    bool Install(const QString& basePath, const TInstallOptions& options);

    QString StagingFolder() const;
    QString GameFolder(const QString& basePath) const;
    // The steps; false means interrupted, ESetupError carries a message first.
    bool FetchArchive();
    bool Extract(const QString& gameFolder);
    // Each returns the path it wrote.
    QString WriteUninstaller();
    QString WriteInstallRecord(const QString& gameFolder);
    void WriteUninstallEntry(const QString& gameFolder, const QString& recordPath,
                             const QString& uninstallerPath);
    // The shortcut's name relative to the applications folder.
    QString CreateShortcut(const QString& gameFolder);

    QString UninstallKeyName() const;

private:
    void prepareStaging();
    void removeStaging();
    bool copyFile(const QString& from, const QString& to);
    bool fetchVolumes();
    void joinVolumes();
    void runSteps(const QString& gameFolder, const TInstallOptions& options);

    TSetupSettings settings;
    QString source;
    TUnlhaFunction unlha;
    TStagingFolder staging;
};
