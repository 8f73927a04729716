// What the editor remembers between runs: its two registry keys, the project's TFPLAY.ini, the
// run-time package folder and the current project folder. Folders are returned with a trailing
// '/', the separator of this system.
#pragma once
#include <QByteArray>
#include <QString>

// Key "Software\Halvane\Taleforge".
bool ReadFullScreenFlag();
void WriteFullScreenFlag(bool value);
bool ReadShowTitleFlag();
void WriteShowTitleFlag(bool value);
// Missing: the program folder, or ~/Taleforge/ when the program folder is not writable.
QString ReadProjectBasePath();
void WriteProjectBasePath(const QString& folder);
QString ReadOpenedProjectFolder();
void WriteOpenedProjectFolder(const QString& name);
// Written at every start; never read by the editor.
void WriteApplicationPath();
bool ReadIncludeRtpOption();
void WriteIncludeRtpOption(bool value);
QString ReadMaterialPath();
void WriteMaterialPath(const QString& folder);

// Key "Software\Corvel\Taleforge".
QString ReadRuntimePackagePathValue();
void WriteRuntimePackagePathValue(const QString& folder);
// "<formName>_Placement": the window's saved geometry.
QByteArray ReadWindowPlacement(const QString& formName);
void WriteWindowPlacement(const QString& formName, const QByteArray& geometry);

// The run-time package folder with a trailing '/', or empty when none is installed. Adopts an
// "RTP" folder beside the editor when the registry names none.
QString RuntimePackagePath();

// The open project's folder with a trailing '/', empty when none is open. Setting it also tells
// storage where the map files are.
QString CurrentProjectFolder();
void SetCurrentProjectFolder(const QString& folder);

// The project's TFPLAY.ini, section "TFPLAY". `projectFolder` may end in a separator or not.
QString ProjectIniPath(const QString& projectFolder);
QString ReadGameTitle(const QString& projectFolder);
bool WriteGameTitle(const QString& projectFolder, const QString& title);
int ReadMapEditMode(const QString& projectFolder);
bool WriteMapEditMode(const QString& projectFolder, int mode);
int ReadMapEditZoom(const QString& projectFolder);
bool WriteMapEditZoom(const QString& projectFolder, int zoom);
// True writes "FullPackageFlag", false deletes it.
bool SetFullPackageFlag(const QString& projectFolder, bool value);
